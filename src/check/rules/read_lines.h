// The script lines a run reads as list entries or [Display] values, as
// written in the file.
#pragma once

#include <vector>

#include "check/rules/rule.h"

namespace setup32::check {

// The lines of [Display] and of the run's driver, ShortCut, Execute,
// UnInstall Extra File and [UnInstall] sections, comment lines left out,
// in line order.
std::vector<const ProfileLine*> LinesReadByRun(RunFacts& facts);

}  // namespace setup32::check
