// The script as the program reads it, with the line number of each line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/dry_run.h"
#include "check/profile_layout.h"
#include "state/copy_list.h"

namespace setup32::check {

struct NumberedLine {
    int number;
    std::string text;     // as the program's section read gives it, "<GROUp>" replaced
    std::string written;  // the same line before "<GROUp>" is replaced
};

struct ListSection {
    const ProfileSection* layout = nullptr;
    std::vector<NumberedLine> lines;
    bool tooLarge = false;  // the program skips it whole
};

// A list section read by the program's own reader after the run.
ListSection ReadListSection(DryRun& run, const std::vector<ProfileSection>& layout,
                            const std::string& name, std::size_t capacity);

// A driver line of the platform's two driver-file sections, parsed by the
// program's own ParseLine (sections the program skips for their size are
// left out, and so are comment lines).
struct DriverLine {
    int number;
    std::string written;  // the line before "<GROUp>" is replaced
    CCopyListItem item;
    int parseCode;  // 0 or one of parse_error
};
std::vector<DriverLine> ReadDriverLines(DryRun& run, const std::vector<ProfileSection>& layout);

// The script path the program reads in the run.
std::string ScriptPathOf(const DryRun& run);

}  // namespace setup32::check
