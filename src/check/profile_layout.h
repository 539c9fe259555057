// The setup script's layout as the profile service sees it, with the line
// number of every section header and line, so that a finding can point at
// the line it is about.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup32::check {

struct ProfileLine {
    int number;
    std::string text;  // the line as a section read returns it
    bool hasKey;
    std::string key;    // as a keyed read matches it
    std::string value;  // as a keyed read gives it
};

struct ProfileSection {
    int number;
    std::string name;
    std::vector<ProfileLine> lines;  // blank lines left out, as a section read does
};

std::vector<ProfileSection> ReadProfileLayout(std::string_view fileBytes);

}  // namespace setup32::check
