// The checker over arbitrary scripts: on any platforms and language it
// runs to its end with every rule, every finding points at a line of the
// script or at none and carries its rule's id, and both reports are made.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const setup32::platform::sim::TempDirectory medium("setup32-check-fuzz");
    FuzzedDataProvider input(data, size);
    CheckOptions options;
    options.medium = medium.path();
    // One platform or more: the rules that hold the runs against each
    // other run too.
    const unsigned chosen = input.ConsumeIntegralInRange<unsigned>(1, 15);
    for (std::size_t i = 0; i < Platforms().size(); ++i) {
        if ((chosen >> i) & 1u) options.platforms.push_back(Platforms()[i]);
    }
    options.languages = {Languages()[input.ConsumeIntegralInRange<std::size_t>(0, 2)]};
    options.retry = input.ConsumeBool() ? RetryAnswer::Yes : RetryAnswer::No;
    const std::string script = input.ConsumeRemainingBytesAsString();
    std::ofstream(medium.path() / "SETUP32.INI", std::ios::binary | std::ios::trunc) << script;

    std::string whyNot;
    const std::optional<CheckResult> result = CheckMedium(options, whyNot);
    FUZZ_CHECK(result.has_value());
    // Lines end at CR LF, a lone CR or a lone LF: there are at most this many.
    const long lines = 1 + std::count_if(script.begin(), script.end(),
                                         [](char c) { return c == '\n' || c == '\r'; });
    for (const RunResult& run : result->runs) {
        for (const Finding& finding : run.findings) {
            FUZZ_CHECK(finding.line >= 0 && finding.line <= lines);
            FUZZ_CHECK(!finding.message.empty());
            FUZZ_CHECK(!finding.rule.empty());
        }
    }
    FUZZ_CHECK(!TextReport(*result).empty());
    FUZZ_CHECK(!JsonReport(*result).empty());
    return 0;
}
