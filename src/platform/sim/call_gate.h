// Every call the setup makes into the simulated machine passes through one
// gate: it is counted, may be recorded as an event with its result, and may
// be made to fail with a Windows error that a test armed beforehand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sim/sim_calls.h"
#include "platform/sim/sim_records.h"
#include "platform/sim/version_differences.h"

namespace setup32::platform::sim {

class CallGate {
  public:
    // Counts one use of `call`. Returns the error the call must fail with
    // when a fault is armed for this use.
    std::optional<std::uint32_t> Enter(Call call) { return CountUse(call, {}); }
    // The same, and records the call with `detail` in the event log; the
    // event of a call made to fail keeps its error.
    std::optional<std::uint32_t> EnterLogged(Call call, std::string detail) {
        return Log(call, std::move(detail), {}).fault;
    }
    // A logged call whose result is a Windows error: `body` makes the call
    // unless it is made to fail, and its event keeps the error the call
    // ends with (0: it succeeded).
    template <typename Body>
    auto Logged(Call call, std::string detail, Body body) {
        return Finish(Log(call, std::move(detail), {}), body);
    }
    // The same for a call given paths: its detail is the paths joined by
    // " -> ", and its event keeps them one by one.
    template <typename Body>
    auto LoggedOnPaths(Call call, std::vector<std::string> paths, Body body) {
        std::string detail = Joined(paths);
        return Finish(Log(call, std::move(detail), std::move(paths)), body);
    }
    // Records an event that is no seam call of its own (what a window did).
    void Record(std::string_view event, std::string detail);
    // Records that a call met a difference of the machine's version.
    void RecordVersionDifference(VersionDifferenceMet met) {
        differences_.push_back(std::move(met));
    }
    const std::vector<VersionDifferenceMet>& VersionDifferencesMet() const { return differences_; }

    // Uses are counted from the moment a fault is armed: nth = 1 is the
    // next use.
    void FailCall(Call call, std::uint32_t error, int nth, bool persistent);
    void FailNthCall(long n, std::uint32_t error);
    // The faults armed so far that no call has met, described.
    std::vector<std::string> UnfiredFaults() const;
    long CallCount() const { return total_; }
    const std::vector<Event>& Events() const { return events_; }
    // The calls that were made to fail, in order, each with its detail
    // when the call is one that is recorded.
    const std::vector<Event>& FailedCalls() const { return failed_; }

  private:
    struct NamedFault {
        Call call;
        std::uint32_t error;
        int nth;   // as armed
        long use;  // the per-call count at which it fires
        bool persistent;
        bool fired;
    };
    struct NumberedFault {
        long n;    // as armed
        long use;  // the overall count at which it fires
        std::uint32_t error;
        bool fired;
    };
    // A logged call as it entered: where its event is, and its fault.
    struct Entered {
        std::size_t event;
        std::optional<std::uint32_t> fault;
    };

    static std::string Joined(const std::vector<std::string>& paths);
    Entered Log(Call call, std::string detail, std::vector<std::string> paths);
    template <typename Body>
    auto Finish(const Entered& entered, Body& body) {
        using Result = decltype(body());
        const Result error = entered.fault ? static_cast<Result>(*entered.fault) : body();
        events_[entered.event].error = static_cast<std::uint32_t>(error);
        return error;
    }
    std::optional<std::uint32_t> CountUse(Call call, std::string_view detail);
    std::optional<std::uint32_t> ArmedFault(Call call, long use, long total);

    std::map<Call, long> uses_;
    long total_ = 0;
    std::vector<NamedFault> named_;
    std::vector<NumberedFault> numbered_;
    std::vector<Event> events_;
    std::vector<Event> failed_;
    std::vector<VersionDifferenceMet> differences_;
};

}  // namespace setup32::platform::sim
