// The script as the program reads it, with the line number of each line.
#pragma once

#include <string>
#include <string_view>
#include <utility>
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

// The list sections a run of the platform reads, each with the capacity of
// the program's buffer for it: the driver-file sections, and on the
// platforms of the shell pass its three sections and [UnInstall].
std::vector<std::pair<std::string, std::size_t>> ListSectionsRead(int osKind);

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
    int parseCode;          // 0 or one of parse_error
    std::string section;    // the section it is read from
    std::string text = {};  // as the program read it, "<GROUp>" replaced
};
std::vector<DriverLine> ReadDriverLines(DryRun& run, const std::vector<ProfileSection>& layout);

// The script path the program reads in the run.
std::string ScriptPathOf(const DryRun& run);

// The [Display] line a keyed read of `key` finds (the first of that key);
// none when the script has no such line.
const ProfileLine* DisplayLineOf(DryRun& run, const std::vector<ProfileSection>& layout,
                                 std::string_view key);

// True when the line as written holds the placeholder the program replaces.
bool HoldsPlaceholder(std::string_view written);

// The lines besides a list line whose bytes went into what the program
// read from it: the GroupName line when "<GROUp>" was put in.
std::vector<int> LinesPutInto(DryRun& run, const std::vector<ProfileSection>& layout,
                              std::string_view written);

}  // namespace setup32::check
