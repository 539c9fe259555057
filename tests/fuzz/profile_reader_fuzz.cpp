// The simulated machine's profile reader over arbitrary file bytes: keyed
// and section reads at any capacity stay inside their buffers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_machine.h"

using namespace setup32;
using namespace setup32::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t lcid = LcidOfChoice(input.ConsumeIntegral<std::uint8_t>());
    const std::size_t capacity = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
    const std::string section = input.ConsumeRandomLengthString(40);
    const std::string key = input.ConsumeRandomLengthString(40);
    FuzzMachine machine(lcid);
    machine.WriteScript(input.ConsumeRemainingBytesAsString());
    platform::Profile& profile = machine.sim().machine().profile;

    const std::string fallback = "fallback value";
    const std::string value = profile.ReadString(kScriptPath, section, key, fallback, capacity);
    FUZZ_CHECK(value.size() < std::max<std::size_t>(capacity, 1));

    CheckSectionBlock(profile.ReadSection(kScriptPath, section, capacity), capacity);
    return 0;
}
