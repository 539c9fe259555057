// What in the script will not work as its writer meant it, for one run:
// read from the script's layout with the program's own readers and rules,
// and from the machine's record of what the install did.
#pragma once

#include <vector>

#include "check/check.h"
#include "check/dry_run.h"
#include "check/profile_layout.h"

namespace setup32::check {

// The findings of one run, in line order (those without a line first).
std::vector<Finding> FindingsOf(DryRun& run, const std::vector<ProfileSection>& layout);

}  // namespace setup32::check
