// The characters Windows refuses inside a file or folder name.
#pragma once

#include <string_view>

namespace setup32::check {

// Inside a name (the Win32 reference, "Naming a File"); "\" and "/" end a
// name where a path is read, and ":" names a drive only after its letter.
constexpr std::string_view kRefusedInNames = "\\/:*?\"<>|";

// The first character of `name` that no name holds; 0 when there is none.
inline char RefusedCharacter(std::string_view name, std::string_view refused = kRefusedInNames) {
    const std::size_t at = name.find_first_of(refused);
    return at == std::string_view::npos ? '\0' : name[at];
}

// A group name's "\" makes folders below folders, which the name-refused
// rule speaks for apart; the others are refused.
constexpr std::string_view kRefusedInGroupName = "/:*?\"<>|";

}  // namespace setup32::check
