// The known name nearest to a name the program never reads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup32::check {

// Edit distance (insertions, deletions, substitutions) without regard to
// ASCII letter case.
std::size_t EditDistance(std::string_view a, std::string_view b);

// The name of `known` nearest to `name`; the first of equals. Empty when
// `known` is empty.
std::string ClosestName(std::string_view name, const std::vector<std::string>& known);

}  // namespace setup32::check
