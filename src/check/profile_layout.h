// The script's layout as the simulated machine's profile service sees it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim_profile.h"

namespace setup32::check {

using platform::sim::ProfileLine;
using platform::sim::ProfileSection;
using platform::sim::ReadProfileLayout;

// The file's lines as written, split where the profile service ends a line
// (CR LF, a lone CR, a lone LF); index 0 is line 1.
std::vector<std::string_view> RawLines(std::string_view fileBytes);

}  // namespace setup32::check
