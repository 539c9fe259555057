// ReadNumberedKeys over arbitrary script bytes and capacities: the block
// holds the values of keys 1, 2, ... up to the first empty one, or says
// "too large" exactly when they do not fit with the block's final NUL.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_machine.h"
#include "sysconfig/sysconfig.h"

using namespace setup32;
using namespace setup32::fuzz;

namespace {

constexpr std::size_t kValueCapacity = 255;

// The values of the keys "1", "2", ... up to the first empty one, each with
// its NUL, as one text.
std::string NumberedValues(platform::Profile& profile, const std::string& section) {
    std::string values;
    for (int n = 1;; ++n) {
        const std::string value =
            profile.ReadString(kScriptPath, section, std::to_string(n), "", kValueCapacity);
        if (value.empty()) return values;
        values.append(value).append(1, '\0');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t lcid = LcidOfChoice(input.ConsumeIntegral<std::uint8_t>());
    const std::size_t capacity = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
    const std::string section =
        input.ConsumeBool() ? "Modify" : input.ConsumeRandomLengthString(40);
    FuzzMachine machine(lcid);
    machine.WriteScript(input.ConsumeRemainingBytesAsString());

    const platform::SectionBlock block =
        ReadNumberedKeys(machine.ctx(), section, capacity, kScriptPath);
    FUZZ_CHECK(block.bytes.size() == capacity);
    if (capacity < 2) {
        FUZZ_CHECK(block.count == 0);
        return 0;
    }
    const std::string expected = NumberedValues(machine.sim().machine().profile, section);
    if (expected.size() + 1 > capacity) {
        FUZZ_CHECK(block.TooLarge());
        return 0;
    }
    CheckBlockHolds(block, expected);
    return 0;
}
