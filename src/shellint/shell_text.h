// Text rules shared by the steps of the shell-integration pass.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "messages/messages.h"
#include "platform/windows_versions.h"

namespace setup32::shell_text {

// True when `text` fits a zero-terminated buffer of `capacity` bytes.
constexpr bool Fits(std::string_view text, std::size_t capacity) {
    return text.size() < capacity;
}

// "{directory}\{name}".
std::string JoinPath(std::string_view directory, std::string_view name);

constexpr bool IsWindows9x(int osKind) {
    return platform::Is9xFamilyPlatform(osKind);
}
constexpr bool IsNtFamily(int osKind) {
    return platform::IsNtFamilyPlatform(osKind);
}
// The platforms the pass runs on: every version of the table.
constexpr bool IsShellPlatform(int osKind) {
    return platform::IsSupportedPlatform(osKind);
}

// The list-section families of the pass, named after the platform prefix.
namespace section_family {
constexpr std::string_view kShortcut = "ShortCut";
constexpr std::string_view kExecute = "Execute";
constexpr std::string_view kUninstallExtraFile = "UnInstall Extra File";
}  // namespace section_family

// The group script's file name in the Windows directory, and the command
// line that starts the program-group converter on it.
constexpr const char* kGroupScriptName = "SETUP.INI";
constexpr const char* kConverterCommand = "grpconv -o";

// The list section of a family for the platform, such as "Win95 ShortCut"
// for code 2 and "ShortCut"; empty for a platform that has none.
std::string PlatformSection(int osKind, std::string_view family);

// A list entry whose first character is ";".
constexpr bool IsComment(std::string_view entry) {
    return !entry.empty() && entry[0] == ';';
}

// The value of an entry written as a one-character key, "=" and the value:
// the entry from its third character on, whatever the first two are. Empty
// for an entry of fewer than three characters.
constexpr std::string_view ValueAfterKey(std::string_view entry) {
    return entry.size() > 2 ? entry.substr(2) : std::string_view();
}

}  // namespace setup32::shell_text
