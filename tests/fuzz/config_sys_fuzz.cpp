// The CONFIG.SYS editor over arbitrary file bytes and Modify entries, in the
// code pages 1252, 932 and 950: the file is never lost, nothing is left
// beside it, and it comes back as the lines it had that name no listed file.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_machine.h"
#include "state/setup_fields.h"
#include "sysconfig/config_text.h"
#include "sysconfig/sysconfig.h"

using namespace setup32;
using namespace setup32::fuzz;

namespace {

constexpr const char* kConfigSys = "C:\\CONFIG.SYS";
constexpr std::size_t kMostEntries = 12;
constexpr std::size_t kEntryBlock = 2048;
constexpr std::size_t kLongestEntry = 254;
constexpr std::size_t kReadCapacity = 1024;  // more than any value; the editor cuts at its own

// A value that stays one value of one line of the script.
std::string ScriptValue(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](char c) { return c == '\r' || c == '\n' || c == '\0'; }),
               text.end());
    return text;
}

// The lines of `text`, each with its LF; a last line without one too.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return lines;
}

// The entries the editor works with: the values of keys 1, 2, ... up to
// the first empty one, none at all when they overflow the entry block.
std::vector<std::string_view> EffectiveEntries(const std::vector<std::string>& values) {
    std::vector<std::string_view> entries;
    std::size_t used = 0;
    for (const std::string& value : values) {
        if (value.empty()) break;
        const std::string_view entry = std::string_view(value).substr(0, kLongestEntry);
        used += entry.size() + 1;
        entries.push_back(entry);
    }
    // Entries that take exactly two bytes less than the block answer as
    // one that does not fit.
    if (used + 1 > kEntryBlock || used + 2 == kEntryBlock) return {};
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t lcid = LcidOfChoice(input.ConsumeIntegral<std::uint8_t>());
    std::vector<std::string> values(input.ConsumeIntegralInRange<std::size_t>(0, kMostEntries));
    std::string script = "[Modify]\r\n";
    for (std::size_t n = 0; n < values.size(); ++n) {
        values[n] = ScriptValue(input.ConsumeRandomLengthString(300));
        script += std::to_string(n + 1) + "=" + values[n] + "\r\n";
    }
    const std::string before = input.ConsumeRemainingBytesAsString();

    FuzzMachine machine(lcid);
    platform::sim::SimMachine& sim = machine.sim();
    machine.WriteScript(script);
    // The editor works with the values as the profile service reads them
    // (blanks trimmed, quotes taken off), not as they were written.
    for (std::size_t n = 0; n < values.size(); ++n) {
        values[n] = sim.machine().profile.ReadString(kScriptPath, "Modify", std::to_string(n + 1),
                                                     "", kReadCapacity);
    }
    sim.WriteFile(kConfigSys, before);
    SetupFields dlg;
    dlg.startDir = kMedium;

    const ConfigOutcome outcome = ModifyConfig(machine.ctx(), dlg, kConfigSys, "Modify");
    FUZZ_CHECK(!outcome.fileError);
    FUZZ_CHECK(sim.Boxes().size() <= 1);
    FUZZ_CHECK(!sim.Exists("C:\\CONFIG.tmp") && !sim.Exists("C:\\CONFIG.s32"));
    const auto after = sim.ReadFile(kConfigSys);
    FUZZ_CHECK(after.has_value());

    // Every line comes back as it was, with CR LF, unless it names a listed file.
    const platform::HostFacts& host = sim.machine().host;
    const std::vector<std::string> matchList = BuildMatchList(host, EffectiveEntries(values));
    const std::string text = DecodeTextMode(before);
    std::string expected;
    for (const std::string_view line : Lines(text)) {
        if (!LineMatches(host, line, matchList)) expected += line;
    }
    FUZZ_CHECK(*after == EncodeTextMode(expected));
    return 0;
}
