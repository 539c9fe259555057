#include "platform/sim/call_gate.h"

namespace setup32::platform::sim {

std::optional<std::uint32_t> CallGate::CountUse(std::string_view call, std::string_view detail) {
    const long total = ++total_;
    auto it = uses_.find(call);
    if (it == uses_.end()) it = uses_.emplace(std::string(call), 0).first;
    const std::optional<std::uint32_t> error = ArmedFault(call, ++it->second, total);
    if (error) failed_.push_back(Event{std::string(call), std::string(detail)});
    return error;
}

std::optional<std::uint32_t> CallGate::ArmedFault(std::string_view call, long use,
                                                  long total) const {
    for (const NumberedFault& fault : numbered_) {
        if (fault.use == total) return fault.error;
    }
    for (const NamedFault& fault : named_) {
        if (fault.call != call) continue;
        if (use == fault.use || (fault.persistent && use > fault.use)) return fault.error;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> CallGate::EnterLogged(std::string_view call, std::string detail) {
    Record(call, detail);
    return CountUse(call, detail);
}

void CallGate::Record(std::string_view call, std::string detail) {
    events_.push_back(Event{std::string(call), std::move(detail)});
}

void CallGate::FailCall(const std::string& call, std::uint32_t error, int nth, bool persistent) {
    const auto it = uses_.find(call);
    const long used = it == uses_.end() ? 0 : it->second;
    named_.push_back(NamedFault{call, error, used + nth, persistent});
}

void CallGate::FailNthCall(long n, std::uint32_t error) {
    numbered_.push_back(NumberedFault{total_ + n, error});
}

}  // namespace setup32::platform::sim
