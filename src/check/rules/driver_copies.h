// The run's driver lines and what became of their copies, as the driver
// rules and the rules that say where a file went read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/rules/rule.h"
#include "check/script_view.h"

namespace setup32::check {

// The error of the item's last copy, 0 when it was copied; none when the
// program never tried it.
std::optional<std::uint32_t> LastCopyError(DryRun& run, const CCopyListItem& item);

// The driver lines the program parses without error.
std::vector<DriverLine> WellFormedDriverLines(RunFacts& facts);

// The well-formed driver lines whose destination the driver rules judge:
// a line that the group name's commas split is judged on the GroupName
// line, and a copy that an earlier line gives already is judged once.
std::vector<DriverLine> JudgedDriverLines(RunFacts& facts);

// A destination written with "/" (one that the group name brought in is
// judged on the GroupName line).
bool WrittenWithSlash(const DriverLine& line);

// The driver line of the run that copies a file of a path's name, for the
// finding of a file the script names but does not install there: its
// number (0 when no line copies it), whether its copy failed, and what
// became of the copy (empty when it went to that very path).
struct InstallingLine {
    int number = 0;
    bool failed = false;
    std::string where;
};
InstallingLine InstalledBy(RunFacts& facts, std::string_view path);

// What became of a file of that path's name: InstalledBy's `where`.
std::string WhereInstalled(RunFacts& facts, std::string_view path);

}  // namespace setup32::check
