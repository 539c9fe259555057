// The platform's shell-integration lists as the program takes them: the
// shortcuts it makes, the programs it starts, the extra files and the
// uninstall program it records.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/rules/rule.h"
#include "check/script_view.h"

namespace setup32::check {

// The platform's list section of the shell-integration family, unless the
// platform has none or the program skips it for its size (which
// section-too-large reports).
std::optional<ListSection> ShellSection(RunFacts& facts, std::string_view family);

// False when a line of a section whose entries are a one-character key, "="
// and the value has a key of another length.
bool HasOneCharacterKey(const NumberedLine& line);

// A shortcut line, not a comment, as the program takes it.
struct ShortcutLine {
    const NumberedLine& line;
    std::vector<std::string_view> fields;  // as the program splits the value
    bool made;                             // the program's reader takes the entry
    bool splitByGroupComma;                // the group name's commas split its fields
    bool pastLimit;                        // taken, but past the shortcuts the program makes
};
void ForEachShortcutLine(RunFacts& facts, const std::function<void(const ShortcutLine&)>& visit);

// A shortcut's program written as a path of its own ("C:\...", "\..."),
// which the program joins to the Windows directory all the same.
bool WrittenAsFullPath(std::string_view program);

// An Execute line, not a comment nor empty, with a one-character key.
struct ProgramLine {
    const NumberedLine& line;
    std::string commandLine;  // as the program starts it
    bool fits;                // in the program's command-line buffer
    bool pastLimit;           // fits, but past the programs the program starts
};
void ForEachProgramLine(RunFacts& facts, const std::function<void(const ProgramLine&)>& visit);

// [UnInstall] as the program reads it, when the platform reads it and it
// has lines.
struct UninstallList {
    ListSection section;
    std::string entry;                   // the uninstall entry's key
    std::optional<std::string> command;  // what the install registered there
    std::string program;  // the first line's program, joined to the Windows directory
    // True when the first line names the uninstall program: no comment,
    // a one-character key.
    bool NamesProgram() const;
};
std::optional<UninstallList> ReadUninstallList(RunFacts& facts);

}  // namespace setup32::check
