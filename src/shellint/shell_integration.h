// The shell-integration pass: program groups and shortcuts, the uninstall
// entry and the post-install programs. Nothing here shows a message; every
// failure is passed over and the pass goes on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/types.h"
#include "state/ascii_text.h"

namespace setup32 {

struct SetupContext;
struct ShortcutRecord;

// The key below HKEY_LOCAL_MACHINE that holds the uninstall entries.
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall";

// Runs the whole pass for platform code 1, 2, 3 or 5.
void RunShellIntegration(SetupContext& ctx, platform::WindowHandle mainWindow, int osKind);

// The pass's steps, in the order it runs them.
void RecordExtraUninstallFiles(SetupContext& ctx, int osKind);
void CreateShortcuts(SetupContext& ctx, int osKind);
void RunExecuteSection(SetupContext& ctx, int osKind);
void RegisterUninstall(SetupContext& ctx, int osKind);
void DeleteGroupFiles(SetupContext& ctx);

// The process's current directory, at most capacity - 1 characters; a drive
// root such as "A:\" is given as "A:".
void GetWorkingDirectory(SetupContext& ctx, std::string& directory, std::size_t capacity);
// The last component of the Startup folder; `name` is unchanged when the
// folder is not known or its name does not fit 31 characters.
void GetStartupGroupName(SetupContext& ctx, int osKind, std::string& name);
// Whether a shortcut's group field names the Startup group: it is compared
// with "Startup" over its own length only, so "start", "STARTUP" and an
// empty field all do.
inline bool NamesStartupGroup(std::string_view group) {
    constexpr std::string_view kStartup = "Startup";
    return group.size() <= kStartup.size() && StartsWithIgnoringCase(kStartup, 0, group);
}
// The user's Programs folder; `folder` is unchanged when it is not known.
void GetProgramsFolder(SetupContext& ctx, int osKind, std::string& folder);

// The value of a shortcut entry: the text after its first "=", or the whole entry.
std::string_view ShortcutValue(std::string_view entry);
// Parses a shortcut value "program,group,title" into `record` and, for an
// ordinary (non-Startup) group, the group file to delete and the group name.
// False, with nothing filled, when the value has fewer than three fields, a
// field does not fit its buffer, or it names the Startup group while that is
// unknown.
bool ParseShortcutEntry(SetupContext& ctx, std::string_view value, ShortcutRecord& record,
                        std::string& groupFile, std::string& groupName);
// Removes every space (code 32) in place.
void StripSpaces(std::string& text);
// Writes {Windows directory}\SETUP.INI from the shortcut table, starts the
// program-group converter and records the shortcuts and group folders it
// is to make.
void WriteGroupScript(SetupContext& ctx);
// Starts the command lines of the table, at most ten, in order.
void LaunchPrograms(SetupContext& ctx);

}  // namespace setup32
