// The Windows versions a script writes sections for, as findings name them,
// and what Windows does where Wine, which the vendor may try the medium
// under, does otherwise.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup32::check {

// The sections the program reads on one platform or another.
std::vector<std::string> KnownSections();

// "Windows 95" for os_kind::kWindows95, as the versions table names it.
std::string PlatformTitle(int osKind);

// What Windows does for the Wine difference `id`, and what a trial under
// Wine shows instead.
std::string WindowsAgainstWine(std::string_view id);

}  // namespace setup32::check
