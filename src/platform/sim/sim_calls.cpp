#include "platform/sim/sim_calls.h"

#include <cstddef>
#include <iterator>

namespace setup32::platform::sim {
namespace {

constexpr std::string_view kNames[] = {
#define SETUP32_SIM_CALL_NAME(name) #name,
    SETUP32_SIM_CALLS(SETUP32_SIM_CALL_NAME)
#undef SETUP32_SIM_CALL_NAME
};

}  // namespace

std::string_view NameOf(Call call) {
    return kNames[static_cast<std::size_t>(call)];
}

std::optional<Call> CallNamed(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        if (kNames[i] == name) return static_cast<Call>(i);
    }
    return std::nullopt;
}

}  // namespace setup32::platform::sim
