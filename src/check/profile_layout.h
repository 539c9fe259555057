// The script's layout as the simulated machine's profile service sees it.
#pragma once

#include "platform/sim/sim_profile.h"

namespace setup32::check {

using platform::sim::FindProfileSection;
using platform::sim::ProfileFileLines;
using platform::sim::ProfileLine;
using platform::sim::ProfileSection;
using platform::sim::ReadProfileLayout;

}  // namespace setup32::check
