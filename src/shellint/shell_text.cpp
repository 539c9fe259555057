#include "shellint/shell_text.h"

#include "messages/messages.h"
#include "platform/host.h"

namespace setup32::shell_text {

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory).append(1, '\\').append(name);
    return path;
}

std::size_t FindLastBackslash(const platform::HostFacts& host, std::string_view text) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            last = i;
        } else if (host.IsLeadByte(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
    }
    return last;
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
