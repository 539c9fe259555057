// The buffers of the shell-integration pass. They are process-wide: each
// pass clears what it must and the rest lives until the program ends.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "platform/types.h"

namespace setup32 {

// Sizes in bytes of the pass's zero-terminated texts: a text fits when it is
// at most capacity - 1 characters long.
namespace shell_capacity {
// The start directory's size: the pass works from every directory that the
// main dialog found its script in.
constexpr std::size_t kWorkingDirectory = 255;
constexpr std::size_t kStartupGroupName = 32;
constexpr std::size_t kFolderValue = 180;  // a Shell Folders value as read
constexpr std::size_t kProgramField = 180;
constexpr std::size_t kGroup = 128;
constexpr std::size_t kTitle = 32;
constexpr std::size_t kTarget = 260;
constexpr std::size_t kListSlot = 180;  // a group file or a group name
constexpr std::size_t kCommandLine = 64;
constexpr std::size_t kExtraFilePath = 200;      // an extra file recorded for uninstalling
constexpr std::size_t kUninstallEntryKey = 200;  // the uninstall entry's key path
constexpr std::size_t kUninstallProgram = 180;   // the uninstall program's path
}  // namespace shell_capacity

struct ShortcutRecord {
    std::string group;   // program group; empty ends the table
    std::string title;   // the shortcut's title
    std::string target;  // {Windows directory}\{program}, later its short form
};

// The shortcut table and the two lists keep one empty slot as their end mark.
constexpr std::size_t kShortcutSlots = 41;
constexpr std::size_t kMaxShortcuts = kShortcutSlots - 1;
constexpr std::size_t kProgramSlots = 11;
constexpr std::size_t kMaxPrograms = 10;

struct ShellIntegrationState {
    platform::WindowHandle mainWindow = 0;
    std::string workingDirectory;  // a drive root without its backslash
    std::string startupGroupName;  // empty until found
    std::string programsFolder;    // empty until found
    std::array<ShortcutRecord, kShortcutSlots> shortcuts;
    std::array<std::string, kShortcutSlots> groupFiles;   // .GRP paths to delete
    std::array<std::string, kShortcutSlots> groupNames;   // ordinary groups
    std::array<std::string, kProgramSlots> commandLines;  // post-install programs
};

inline bool IsEmptySlot(const std::string& slot) {
    return slot.empty();
}
inline bool IsEmptySlot(const ShortcutRecord& record) {
    return record.group.empty();
}

// The number of slots in use: those before the first empty one.
template <typename Slot, std::size_t N>
std::size_t UsedSlots(const std::array<Slot, N>& slots) {
    const auto end = std::find_if(slots.begin(), slots.end(),
                                  [](const Slot& slot) { return IsEmptySlot(slot); });
    return static_cast<std::size_t>(end - slots.begin());
}

}  // namespace setup32
