// The run's script as the run's machine reads it: sections and [Display]
// values found as its profile service finds them, and each line as it is
// written in the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/rules/rule.h"

namespace setup32::check {

// Whether the run's Windows is of the NT family.
bool OnNt(RunFacts& facts);
// Names compared as the profile service compares them.
bool SameName(RunFacts& facts, std::string_view a, std::string_view b);
const ProfileSection* FindSection(RunFacts& facts, std::string_view name);
// The [Display] line a keyed read of `key` finds: the first of that key.
const ProfileLine* DisplayLine(RunFacts& facts, std::string_view key);
// The [Display] value the program reads, with its fallback and buffer.
std::string DisplayValue(RunFacts& facts, const char* key, const char* fallback,
                         std::size_t capacity);

// The script's lines as written in the file, for RawValue.
std::vector<std::string_view> FileLines(RunFacts& facts);
// The text after the first "=" of the line as written in the file.
std::string_view RawValue(const std::vector<std::string_view>& fileLines, const ProfileLine& line);

// True when the group name put into the line adds a "," to it.
bool GroupNameSplits(RunFacts& facts, std::string_view written);
// True when the line takes in through "<GROUp>" a group name that no path
// can hold: that is reported on the GroupName line alone.
bool PutsInRefusedGroupName(RunFacts& facts, std::string_view written);

}  // namespace setup32::check
