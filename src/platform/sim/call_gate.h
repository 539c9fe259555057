// Every call the setup makes into the simulated machine passes through one
// gate: it is counted, may be recorded as an event, and may be made to fail
// with a Windows error that a test armed beforehand.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sim/sim_records.h"
#include "platform/sim/version_differences.h"

namespace setup32::platform::sim {

class CallGate {
  public:
    // Counts one use of the Win32 call `call`. Returns the error the call
    // must fail with when a fault is armed for this use.
    std::optional<std::uint32_t> Enter(std::string_view call) { return CountUse(call, {}); }
    // The same, and records the call with `detail` in the event log.
    std::optional<std::uint32_t> EnterLogged(std::string_view call, std::string detail);
    // Records an event that is no seam call of its own (what a window did).
    void Record(std::string_view call, std::string detail);
    // Records that a call met a difference of the machine's version.
    void RecordVersionDifference(VersionDifferenceMet met) {
        differences_.push_back(std::move(met));
    }
    const std::vector<VersionDifferenceMet>& VersionDifferencesMet() const { return differences_; }

    // Uses are counted from the moment a fault is armed: nth = 1 is the
    // next use.
    void FailCall(const std::string& call, std::uint32_t error, int nth, bool persistent);
    void FailNthCall(long n, std::uint32_t error);
    long CallCount() const { return total_; }
    const std::vector<Event>& Events() const { return events_; }
    // The calls that were made to fail, in order, each with its detail
    // when the call is one that is recorded.
    const std::vector<Event>& FailedCalls() const { return failed_; }

  private:
    struct NamedFault {
        std::string call;
        std::uint32_t error;
        long use;  // the per-call count at which it fires
        bool persistent;
    };
    struct NumberedFault {
        long use;  // the overall count at which it fires
        std::uint32_t error;
    };

    std::optional<std::uint32_t> CountUse(std::string_view call, std::string_view detail);
    std::optional<std::uint32_t> ArmedFault(std::string_view call, long use, long total) const;

    std::map<std::string, long, std::less<>> uses_;
    long total_ = 0;
    std::vector<NamedFault> named_;
    std::vector<NumberedFault> numbered_;
    std::vector<Event> events_;
    std::vector<Event> failed_;
    std::vector<VersionDifferenceMet> differences_;
};

}  // namespace setup32::platform::sim
