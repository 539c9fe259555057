#include "fuzz_machine.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/sim/temp_directory.h"

namespace setup32::fuzz {
namespace {

namespace fs = std::filesystem;

// Every input lays the drives out anew, so they live in memory where the
// host has a memory file system and no other temporary folder was asked for.
platform::sim::TempDirectory MakeDriveRoot() {
    std::error_code error;
    if (!std::getenv("TMPDIR") && fs::is_directory("/dev/shm", error)) {
        setenv("TMPDIR", "/dev/shm", 0);
    }
    return platform::sim::TempDirectory("setup32-fuzz");
}

// The host directory behind the drives, one per process, emptied for every
// input so that no input sees what an earlier one left.
const fs::path& FreshDrives() {
    static const platform::sim::TempDirectory root = MakeDriveRoot();
    std::error_code error;
    for (const char* drive : {"A", "C"}) {
        fs::remove_all(root.path() / drive, error);
        fs::create_directory(root.path() / drive, error);
    }
    fs::create_directory(root.path() / "C" / "WINDOWS", error);
    return root.path();
}

}  // namespace

void CheckSectionBlock(const platform::SectionBlock& block, std::size_t capacity) {
    FUZZ_CHECK(block.bytes.size() == capacity);
    if (capacity < 2) {
        FUZZ_CHECK(block.count == 0);
        return;
    }
    FUZZ_CHECK(block.count <= capacity - 2);
    FUZZ_CHECK(block.bytes[capacity - 1] == '\0');
    std::size_t used = 0;
    for (const std::string_view line : block.Lines()) used += line.size() + 1;
    FUZZ_CHECK(used <= capacity - 1);
    if (!block.TooLarge()) {
        // A NUL byte written inside a line ends the walk over the lines early.
        FUZZ_CHECK(used <= block.count);
        FUZZ_CHECK(block.bytes[block.count] == '\0');
    }
}

void CheckBlockHolds(const platform::SectionBlock& block, const std::string& expected) {
    FUZZ_CHECK(block.count == expected.size());
    FUZZ_CHECK(std::equal(expected.begin(), expected.end(), block.bytes.begin()));
    FUZZ_CHECK(std::all_of(block.bytes.begin() + static_cast<long>(block.count), block.bytes.end(),
                           [](char byte) { return byte == '\0'; }));
}

std::uint32_t LcidOfChoice(unsigned choice) {
    constexpr std::uint32_t kLcids[] = {0x0409, 0x0411, 0x0404};  // 1252, 932, 950
    return kLcids[choice % 3];
}

FuzzMachine::FuzzMachine(std::uint32_t lcid) {
    const fs::path& root = FreshDrives();
    sim_.MapDrive('A', root / "A");
    sim_.MapDrive('C', root / "C");
    sim_.SetWindowsDirectory(kWindowsDir);
    sim_.SetCurrentDirectory(kMedium);
    sim_.SetLcid(lcid);
    ctx_.language = LanguageFromLcid(lcid);
    ctx_.windowsDirText = kWindowsDir;
}

}  // namespace setup32::fuzz
