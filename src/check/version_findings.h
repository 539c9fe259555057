// Findings for the places where a run met a difference of its Windows
// version (Windows 95 and 98 against NT, say), as the simulated machine
// recorded them: one finding a difference and file, on the first line met.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "platform/host.h"
#include "platform/sim/version_differences.h"

namespace setup32::check {

using VersionDifferenceLookup =
    std::function<const platform::sim::VersionDifference&(std::string_view id)>;

// A finding with the rule that gives it: for a version difference, the
// difference's id ("win9x-control-char"), which stays as it is.
struct RuledFinding {
    std::string_view rule;
    Finding finding;
};

// The findings of the differences `met`, one for each difference and file
// or key; a meeting in `scriptPath` is reported on its first line, any other
// with the file or key it names. A difference whose source leaves the result
// open is a warning, any other an error.
std::vector<RuledFinding> RuledVersionDifferenceFindings(
    const std::vector<platform::sim::VersionDifferenceMet>& met, const std::string& scriptPath,
    const platform::HostFacts& host,
    const VersionDifferenceLookup& lookup = platform::sim::VersionDifferenceById);

// The same findings without their rules.
std::vector<Finding> VersionDifferenceFindings(
    const std::vector<platform::sim::VersionDifferenceMet>& met, const std::string& scriptPath,
    const platform::HostFacts& host,
    const VersionDifferenceLookup& lookup = platform::sim::VersionDifferenceById);

}  // namespace setup32::check
