// What one run did, read from the machine's own record.
#pragma once

#include <vector>

#include "check/check.h"
#include "check/dry_run.h"
#include "check/profile_layout.h"
#include "platform/sim/version_differences.h"

namespace setup32::check {

Plan PlanOf(DryRun& run, const std::vector<ProfileSection>& layout);

// The differences between Windows versions met in a run whose source does
// not settle what those versions do: one for each difference and file or
// key, in the order first met, its texts in UTF-8 from code page `codePage`.
std::vector<Uncertainty> UncertaintiesOf(
    const std::vector<platform::sim::VersionDifferenceMet>& met, unsigned codePage);

}  // namespace setup32::check
