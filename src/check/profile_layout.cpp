#include "check/profile_layout.h"

namespace setup32::check {

std::vector<std::string_view> RawLines(std::string_view fileBytes) {
    std::vector<std::string_view> lines;
    while (!fileBytes.empty()) {
        const std::size_t end = fileBytes.find_first_of("\r\n");
        lines.push_back(fileBytes.substr(0, end));
        if (end == std::string_view::npos) break;
        const bool crlf =
            fileBytes[end] == '\r' && end + 1 < fileBytes.size() && fileBytes[end + 1] == '\n';
        fileBytes.remove_prefix(end + (crlf ? 2 : 1));
    }
    return lines;
}

}  // namespace setup32::check
