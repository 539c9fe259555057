#include "check/profile_layout.h"

namespace setup32::check {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A value as Windows gives it: blanks trimmed, then one pair of matching
// quotes around it removed.
std::string_view WindowsValue(std::string_view raw) {
    std::string_view value = TrimBlanks(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

ProfileLine LineOf(int number, std::string_view text) {
    ProfileLine line{number, std::string(text), false, {}, {}};
    const std::size_t equals = text.find('=');
    if (equals != std::string_view::npos) {
        line.hasKey = true;
        line.key = TrimBlanks(text.substr(0, equals));
        line.value = WindowsValue(text.substr(equals + 1));
    }
    return line;
}

}  // namespace

std::vector<ProfileSection> ReadProfileLayout(std::string_view fileBytes) {
    std::vector<ProfileSection> sections;
    int number = 0;
    while (!fileBytes.empty()) {
        ++number;
        const std::size_t end = fileBytes.find('\n');
        std::string_view text = fileBytes.substr(0, end);
        fileBytes.remove_prefix(end == std::string_view::npos ? fileBytes.size() : end + 1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        const std::string_view trimmed = TrimBlanks(text);
        if (trimmed.empty()) continue;
        if (trimmed.front() == '[') {
            const std::string_view inside = trimmed.substr(1);
            sections.push_back(
                {number, std::string(TrimBlanks(inside.substr(0, inside.find(']')))), {}});
        } else if (!sections.empty()) {
            sections.back().lines.push_back(LineOf(number, text));
        }
    }
    return sections;
}

}  // namespace setup32::check
