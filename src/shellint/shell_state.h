// The buffers of the shell-integration pass. They are process-wide: each
// pass clears what it must and the rest lives until the program ends.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/types.h"

namespace setup32 {

struct ShortcutRecord {
    std::string group;   // program group; empty ends the table
    std::string title;   // the shortcut's title
    std::string target;  // {Windows directory}\{program}, later its short form
};

constexpr std::size_t kShortcutSlots = 41;
constexpr std::size_t kProgramSlots = 11;

struct ShellIntegrationState {
    platform::WindowHandle mainWindow = 0;
    std::string workingDirectory;   // 180 bytes; a drive root without its backslash
    std::string startupGroupName;   // 32 bytes; empty until found
    std::string programsFolder;     // 180 bytes; empty until found
    std::array<ShortcutRecord, kShortcutSlots> shortcuts;
    std::array<std::string, kShortcutSlots> groupFiles;  // .GRP paths to delete
    std::array<std::string, kShortcutSlots> groupNames;  // ordinary groups
    std::array<std::string, kProgramSlots> commandLines; // post-install programs
};

}  // namespace setup32
