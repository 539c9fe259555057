// What one run did, read from the machine's own record.
#pragma once

#include <vector>

#include "check/check.h"
#include "check/dry_run.h"
#include "check/profile_layout.h"

namespace setup32::check {

Plan PlanOf(DryRun& run, const std::vector<ProfileSection>& layout);

}  // namespace setup32::check
