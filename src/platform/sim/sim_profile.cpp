#include "platform/sim/sim_profile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace setup32::platform::sim {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsBlank(std::string_view line) {
    return TrimBlanks(line).empty();
}

// A line ends at LF; a CR right before it is not part of the line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The name of a section header line ("[name]", blanks around allowed), or none.
std::optional<std::string_view> HeaderName(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    const std::string_view inside = trimmed.substr(1);
    return TrimBlanks(inside.substr(0, inside.find(']')));
}

// A path without a directory names a file in the Windows directory.
bool HasDirectory(const std::string& path) {
    return path.find_first_of("\\/:") != std::string::npos;
}

}  // namespace

SectionBlock PackSection(const std::vector<std::string_view>& lines, std::size_t capacity) {
    SectionBlock block;
    block.bytes.assign(capacity, '\0');
    if (capacity < 2) return block;
    // Each line with its terminator must leave the last byte for the final one.
    std::size_t pos = 0;
    bool complete = true;
    for (const std::string_view line : lines) {
        if (pos + line.size() + 1 > capacity - 1) {
            const std::size_t keep =
                std::min(line.size(), capacity - 2 - std::min(pos, capacity - 2));
            std::copy_n(line.begin(), keep, block.bytes.begin() + static_cast<long>(pos));
            complete = false;
            break;
        }
        std::copy(line.begin(), line.end(), block.bytes.begin() + static_cast<long>(pos));
        pos += line.size() + 1;
    }
    // Lines that leave fewer than two bytes count as not fitting, even when
    // they are all there; the block still ends with two terminators.
    if (!complete || pos > capacity - 2) {
        block.bytes[capacity - 2] = '\0';
        block.bytes[capacity - 1] = '\0';
        block.count = capacity - 2;
    } else {
        block.count = pos;
    }
    return block;
}

SimProfile::SimProfile(CallGate& gate, const SimHost& host, const SimFileSystem& files)
    : gate_(gate), host_(host), files_(files) {}

std::string SimProfile::ReadString(const std::string& path, const std::string& section,
                                   const std::string& key, const std::string& fallback,
                                   std::size_t capacity) {
    const auto cut = [capacity](std::string_view value) {
        return std::string(value.substr(0, capacity == 0 ? 0 : capacity - 1));
    };
    if (gate_.Enter("GetPrivateProfileStringA")) return cut(fallback);
    const std::string text = FileText(path);
    const auto lines = SectionLines(text, section);
    if (!lines) return cut(fallback);
    for (const std::string_view line : *lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        if (host_.SameName(TrimBlanks(line.substr(0, equals)), key)) {
            return cut(line.substr(equals + 1));
        }
    }
    return cut(fallback);
}

SectionBlock SimProfile::ReadSection(const std::string& path, const std::string& section,
                                     std::size_t capacity) {
    if (gate_.Enter("GetPrivateProfileSectionA")) return PackSection({}, capacity);
    const std::string text = FileText(path);
    std::vector<std::string_view> kept;
    if (const auto lines = SectionLines(text, section)) {
        std::copy_if(lines->begin(), lines->end(), std::back_inserter(kept),
                     [](std::string_view line) { return !IsBlank(line); });
    }
    return PackSection(kept, capacity);
}

std::string SimProfile::FileText(const std::string& path) const {
    const std::string windowsPath =
        HasDirectory(path) ? path : files_.WindowsDirectoryText() + "\\" + path;
    const std::filesystem::path host = files_.HostPath(windowsPath);
    std::ifstream in(host, std::ios::binary);
    if (host.empty() || !in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::vector<std::string_view>> SimProfile::SectionLines(
    std::string_view text, const std::string& section) const {
    std::optional<std::vector<std::string_view>> found;
    bool inside = false;
    for (const std::string_view line : SplitLines(text)) {
        if (const auto name = HeaderName(line)) {
            if (inside) break;
            inside = host_.SameName(*name, section);
            if (inside) found.emplace();
        } else if (inside) {
            found->push_back(line);
        }
    }
    return found;
}

}  // namespace setup32::platform::sim
