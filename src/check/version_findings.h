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

// The findings of the differences `met`; a meeting in `scriptPath` is
// reported on its line, any other with the file or key it names.
std::vector<Finding> VersionDifferenceFindings(
    const std::vector<platform::sim::VersionDifferenceMet>& met, const std::string& scriptPath,
    const platform::HostFacts& host,
    const VersionDifferenceLookup& lookup = platform::sim::VersionDifferenceById);

}  // namespace setup32::check
