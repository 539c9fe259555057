// ReadScriptSection over arbitrary script bytes, group names and
// capacities: the substituted block keeps its shape and its capacity, and
// says "too large" exactly when the substituted lines do not fit.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_machine.h"
#include "state/ascii_text.h"
#include "state/script.h"

using namespace setup32;
using namespace setup32::fuzz;

namespace {

constexpr std::string_view kPlaceholder = "<GROUp>";

// The placeholder replaced in one left-to-right walk over the bytes.
std::string Substituted(std::string_view text, std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (StartsWithIgnoringCase(text, i, kPlaceholder)) {
            out.append(name);
            i += kPlaceholder.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t lcid = LcidOfChoice(input.ConsumeIntegral<std::uint8_t>());
    const std::size_t capacity = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
    const bool writeGroupName = input.ConsumeBool();
    const std::string groupName = input.ConsumeRandomLengthString(260);
    const std::string section = input.ConsumeBool() ? "S" : input.ConsumeRandomLengthString(40);
    std::string script = input.ConsumeRemainingBytesAsString();
    if (writeGroupName) script = "[Display]\r\nGroupName=" + groupName + "\r\n" + script;

    FuzzMachine machine(lcid);
    machine.WriteScript(script);
    SetupContext& ctx = machine.ctx();
    const platform::SectionBlock block = ReadScriptSection(ctx, section, capacity, kScriptPath);
    CheckSectionBlock(block, capacity);
    FUZZ_CHECK(ctx.groupName.size() < script_capacity::kGroupName);

    platform::Profile& profile = machine.sim().machine().profile;
    const platform::SectionBlock plain = profile.ReadSection(kScriptPath, section, capacity);
    if (ctx.groupName.empty() || plain.count == 0 || plain.TooLarge()) {
        FUZZ_CHECK(block.count == plain.count && block.bytes == plain.bytes);
        return 0;
    }
    const std::string expected =
        Substituted(std::string_view(plain.bytes.data(), plain.count), ctx.groupName);
    if (expected.size() >= capacity - 2) {
        FUZZ_CHECK(block.TooLarge());
        return 0;
    }
    CheckBlockHolds(block, expected);
    return 0;
}
