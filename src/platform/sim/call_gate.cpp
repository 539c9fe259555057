#include "platform/sim/call_gate.h"

namespace setup32::platform::sim {

std::optional<std::uint32_t> CallGate::CountUse(Call call, std::string_view detail) {
    const long total = ++total_;
    const std::optional<std::uint32_t> error = ArmedFault(call, ++uses_[call], total);
    if (error) failed_.push_back(Event{std::string(NameOf(call)), std::string(detail)});
    return error;
}

std::optional<std::uint32_t> CallGate::ArmedFault(Call call, long use, long total) {
    for (NumberedFault& fault : numbered_) {
        if (fault.use != total) continue;
        fault.fired = true;
        return fault.error;
    }
    for (NamedFault& fault : named_) {
        if (fault.call != call) continue;
        if (use == fault.use || (fault.persistent && use > fault.use)) {
            fault.fired = true;
            return fault.error;
        }
    }
    return std::nullopt;
}

std::string CallGate::Joined(const std::vector<std::string>& paths) {
    std::string joined;
    for (const std::string& path : paths) joined += (joined.empty() ? "" : " -> ") + path;
    return joined;
}

CallGate::Entered CallGate::Log(Call call, std::string detail, std::vector<std::string> paths) {
    const std::size_t at = events_.size();
    events_.push_back(Event{std::string(NameOf(call)), detail, 0, std::move(paths)});
    const std::optional<std::uint32_t> fault = CountUse(call, detail);
    if (fault) events_[at].error = *fault;
    return Entered{at, fault};
}

void CallGate::Record(std::string_view event, std::string detail) {
    events_.push_back(Event{std::string(event), std::move(detail)});
}

void CallGate::FailCall(Call call, std::uint32_t error, int nth, bool persistent) {
    named_.push_back(NamedFault{call, error, nth, uses_[call] + nth, persistent, false});
}

void CallGate::FailNthCall(long n, std::uint32_t error) {
    numbered_.push_back(NumberedFault{n, total_ + n, error, false});
}

std::vector<std::string> CallGate::UnfiredFaults() const {
    std::vector<std::string> unfired;
    for (const NamedFault& fault : named_) {
        if (fault.fired) continue;
        unfired.push_back(std::string(NameOf(fault.call)) + ", use " + std::to_string(fault.nth) +
                          " after it was armed");
    }
    for (const NumberedFault& fault : numbered_) {
        if (!fault.fired) unfired.push_back("call " + std::to_string(fault.n) + " of any kind");
    }
    return unfired;
}

}  // namespace setup32::platform::sim
