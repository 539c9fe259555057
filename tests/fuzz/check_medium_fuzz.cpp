// The checker over the shape of a medium rather than its script's text:
// SETUP32.INI as a directory, an empty, unreadable or huge file, a link to a
// file or to a directory, a link that leads nowhere or a pipe, beside other
// entries of those kinds whose names hold any bytes but "/" and NUL (those
// above 0x7F too). On any platform and language the check either runs to
// its end and makes both reports, or gives the reason it cannot; it never
// stops the process.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "check/check.h"
#include "check/report.h"
#include "fuzz_machine.h"
#include "platform/sim/temp_directory.h"

using namespace setup32::check;
namespace fs = std::filesystem;

namespace {

enum class Shape : int {
    File,
    EmptyFile,
    UnreadableFile,
    HugeFile,  // larger than a script can be; its bytes are not written (a hole)
    Directory,
    LinkToFile,
    LinkToDirectory,  // to the medium itself: a loop
    DanglingLink,
    Pipe,
    kMaxValue = Pipe,
};

constexpr std::size_t kMostEntries = 4;

// A name of 1 to 12 bytes, any but "/" and NUL; "." and ".." become "_".
std::string EntryName(FuzzedDataProvider& input) {
    std::string name = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(1, 12));
    for (char& c : name) {
        if (c == '/' || c == '\0') c = '_';
    }
    return name.empty() || name == "." || name == ".." ? "_" : name;
}

// Makes the entry unless its name is taken (a pipe there would hold the
// writer up).
void MakeEntry(const fs::path& medium, const fs::path& path, Shape shape, const std::string& bytes,
               FuzzedDataProvider& input) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(path, error))) return;
    switch (shape) {
        case Shape::File:
            std::ofstream(path, std::ios::binary) << bytes;
            break;
        case Shape::EmptyFile:
            std::ofstream(path, std::ios::binary).flush();
            break;
        case Shape::UnreadableFile:
            std::ofstream(path, std::ios::binary) << bytes;
            fs::permissions(path, fs::perms::none, error);
            break;
        case Shape::HugeFile:
            std::ofstream(path, std::ios::binary).flush();
            fs::resize_file(
                path, kLargestScript + input.ConsumeIntegralInRange<std::uintmax_t>(1, 1 << 20),
                error);
            break;
        case Shape::Directory:
            fs::create_directory(path, error);
            std::ofstream(path / "INSIDE.TXT", std::ios::binary) << bytes;
            break;
        case Shape::LinkToFile:
            MakeEntry(medium, medium / "TARGET.TXT", Shape::File, bytes, input);
            fs::create_symlink(medium / "TARGET.TXT", path, error);
            break;
        case Shape::LinkToDirectory:
            fs::create_directory_symlink(medium, path, error);
            break;
        case Shape::DanglingLink:
            fs::create_symlink(medium / "NOWHERE", path, error);
            break;
        case Shape::Pipe:
            mkfifo(path.c_str(), 0600);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const setup32::platform::sim::TempDirectory medium("setup32-check-medium-fuzz");
    FuzzedDataProvider input(data, size);
    CheckOptions options;
    options.medium = medium.path();
    options.platforms = {Platforms()[input.ConsumeIntegralInRange<std::size_t>(0, 3)]};
    options.languages = {Languages()[input.ConsumeIntegralInRange<std::size_t>(0, 2)]};
    options.retry = input.ConsumeBool() ? RetryAnswer::Yes : RetryAnswer::No;
    options.floppy = input.ConsumeBool();
    const std::size_t entries = input.ConsumeIntegralInRange<std::size_t>(0, kMostEntries);
    for (std::size_t i = 0; i < entries; ++i) {
        const Shape shape = input.ConsumeEnum<Shape>();
        const std::string name = EntryName(input);
        const std::string bytes =
            input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, 64));
        MakeEntry(medium.path(), medium.path() / name, shape, bytes, input);
    }
    const Shape scriptShape = input.ConsumeEnum<Shape>();
    const char* const scriptName = input.ConsumeBool() ? "SETUP32.INI" : "Setup32.ini";
    const std::string script = input.ConsumeRemainingBytesAsString();
    MakeEntry(medium.path(), medium.path() / scriptName, scriptShape, script, input);

    std::string whyNot;
    const std::optional<CheckResult> result = CheckMedium(options, whyNot);
    if (!result) {
        FUZZ_CHECK(!whyNot.empty());
        return 0;
    }
    FUZZ_CHECK(result->runs.size() == 1);
    FUZZ_CHECK(!TextReport(*result, PlanDetail::Full).empty());
    FUZZ_CHECK(!JsonReport(*result).empty());
    return 0;
}
