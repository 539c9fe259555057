// The simulated machine's profile reader over arbitrary file bytes, on each
// Windows version: keyed and section reads at any capacity (past the 32,767
// bytes that 95 and 98 fill, too) stay inside their buffers, and a section
// read returns what the layout the checker reads (ReadProfileLayout) holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_machine.h"
#include "platform/sim/sim_profile.h"

using namespace setup32;
using namespace setup32::fuzz;

namespace {

constexpr std::uint32_t kVersions[] = {
    platform::sim::version::kWindows95, platform::sim::version::kWindows98,
    platform::sim::version::kWindowsNT4, platform::sim::version::kWindows2000};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t lcid = LcidOfChoice(input.ConsumeIntegral<std::uint8_t>());
    const std::uint32_t version = kVersions[input.ConsumeIntegralInRange<std::size_t>(0, 3)];
    const std::size_t capacity = input.ConsumeBool()
                                     ? input.ConsumeIntegralInRange<std::size_t>(0, 4096)
                                     : input.ConsumeIntegralInRange<std::size_t>(32760, 32775);
    const std::string section = input.ConsumeRandomLengthString(40);
    const std::string key = input.ConsumeRandomLengthString(40);
    FuzzMachine machine(lcid);
    machine.sim().SetVersion(version);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    machine.WriteScript(bytes);
    platform::Profile& profile = machine.sim().machine().profile;

    const std::string fallback = "fallback value";
    const std::string value = profile.ReadString(kScriptPath, section, key, fallback, capacity);
    FUZZ_CHECK(value.size() < std::max<std::size_t>(capacity, 1));

    const platform::SectionBlock block = profile.ReadSection(kScriptPath, section, capacity);
    CheckSectionBlock(block, capacity);
    const platform::HostFacts& host = machine.sim().machine().host;
    const std::vector<platform::sim::ProfileSection> layout =
        platform::sim::ReadProfileLayout(bytes, &host);
    std::vector<std::string_view> lines;
    if (const auto* found = platform::sim::FindProfileSection(layout, section, host)) {
        for (const platform::sim::ProfileLine& line : found->lines) lines.push_back(line.text);
    }
    if (capacity <= 32767)
        FUZZ_CHECK(block.bytes == platform::sim::PackSection(lines, capacity).bytes);
    return 0;
}
