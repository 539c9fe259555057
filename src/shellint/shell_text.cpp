#include "shellint/shell_text.h"

namespace setup32::shell_text {

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory).append(1, '\\').append(name);
    return path;
}

std::string PlatformSection(int osKind, std::string_view family) {
    const char* prefix = nullptr;
    switch (osKind) {
        case os_kind::kWindowsNT:
            prefix = "NT ";
            break;
        case os_kind::kWindows95:
            prefix = "Win95 ";
            break;
        case os_kind::kWindows98:
            prefix = "Win98 ";
            break;
        case os_kind::kWindows2000:
            prefix = "WIN2000 ";
            break;
        default:
            return std::string();
    }
    return std::string(prefix).append(family);
}

}  // namespace setup32::shell_text
