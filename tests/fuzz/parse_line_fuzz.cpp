// CCopyListItem::ParseLine over arbitrary lines and directories, and the
// error reporter over the codes it returns and any other.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_machine.h"
#include "state/copy_list.h"
#include "state/script.h"

using namespace setup32;
using namespace setup32::fuzz;

namespace {

// The path a line's field resolves to: below `directory` when it starts
// with ".\", as written otherwise.
std::string Resolved(std::string_view field, const std::string& directory, bool rootJoinsBare) {
    if (field.substr(0, 2) != ".\\") return std::string(field);
    const bool bare = rootJoinsBare && IsDriveRoot(directory);
    return directory + (bare ? "" : "\\") + std::string(field.substr(2));
}

std::string Directory(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return "A:\\";
        case 1:
            return "C:\\WINDOWS";
        default:
            return input.ConsumeRandomLengthString(300);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Language language = LanguageFromLcid(LcidOfChoice(input.ConsumeIntegral<std::uint8_t>()));
    const std::string startDir = Directory(input);
    const std::string windowsDir = Directory(input);
    const int otherCode = input.ConsumeIntegral<int>();
    const std::string line = input.ConsumeRemainingBytesAsString();

    CCopyListItem item;
    const int code = item.ParseLine(line, startDir, windowsDir);
    const std::size_t equals = line.find('=');
    const std::size_t comma = line.find(',');
    if (code != 0) {
        FUZZ_CHECK(code == parse_error::kNoEquals || code == parse_error::kNoComma ||
                   code == parse_error::kCommaBeforeEquals);
        FUZZ_CHECK(item.source.empty() && item.destination.empty());
    } else {
        FUZZ_CHECK(equals != std::string::npos && comma != std::string::npos && equals < comma);
        const std::string_view text(line);
        FUZZ_CHECK(item.source == Resolved(text.substr(equals + 1, comma - equals - 1), startDir,
                                           /*rootJoinsBare=*/true));
        FUZZ_CHECK(item.destination == Resolved(text.substr(comma + 1), windowsDir,
                                                /*rootJoinsBare=*/false));
    }

    CCopyListError reporter;
    for (const int reported : {code, otherCode}) {
        reporter.SetError(language, reported);
        FUZZ_CHECK(reporter.Code() == reported);
        FUZZ_CHECK(!reporter.Caption().empty() && !reporter.Text().empty());
    }
    return 0;
}
