#include "platform/sim/sim_profile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace setup32::platform::sim {
namespace {

// What the profile service counts as blank: C's white space and the DOS
// end-of-file mark that old editors leave at the end of a file.
constexpr std::string_view kBlanks = " \t\n\v\f\r\x1a";

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A default loses its trailing spaces (other blanks stay).
std::string_view TrimTrailingSpaces(std::string_view text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

// One pair of matching quotes, double or single, around the whole value.
std::string_view Unquoted(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// The last ']' of `line` that is not the second byte of a double-byte
// character, or npos.
std::size_t LastClosingBracket(std::string_view line, const HostFacts* codePage) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (codePage != nullptr && codePage->IsLeadByte(static_cast<unsigned char>(line[i]))) {
            ++i;
        } else if (line[i] == ']') {
            found = i;
        }
    }
    return found;
}

// The name of a section header ('[' first, a ']' somewhere after), or none.
std::optional<std::string_view> HeaderName(std::string_view line, const HostFacts* codePage) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t bracket = LastClosingBracket(line, codePage);
    if (bracket == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(1, bracket - 1));
}

// A trimmed line that is not blank and not a header.
ProfileLine EntryLine(int number, std::string_view line) {
    ProfileLine entry;
    entry.number = number;
    entry.text = std::string(line);
    const std::size_t equals = line.find('=');
    if (line.front() == ';' || equals == std::string_view::npos) return entry;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    const std::string_view value = TrimBlanks(line.substr(equals + 1));
    entry.hasKey = true;
    entry.key = std::string(key);
    entry.value = std::string(Unquoted(value));
    entry.text = entry.key + "=" + std::string(value);
    return entry;
}

// A path without a directory names a file in the Windows directory.
bool HasDirectory(const std::string& path) {
    return path.find_first_of("\\/:") != std::string::npos;
}

}  // namespace

std::vector<std::string_view> ProfileFileLines(std::string_view fileBytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < fileBytes.size()) {
        const std::size_t end = std::min(fileBytes.find_first_of("\r\n", start), fileBytes.size());
        lines.push_back(fileBytes.substr(start, end - start));
        start = fileBytes.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    }
    return lines;
}

std::vector<ProfileSection> ReadProfileLayout(std::string_view fileBytes,
                                              const HostFacts* codePage) {
    std::vector<ProfileSection> sections;
    int number = 0;
    for (const std::string_view written : ProfileFileLines(fileBytes)) {
        ++number;
        const std::string_view line = TrimBlanks(written);
        if (line.empty()) continue;
        if (const auto name = HeaderName(line, codePage)) {
            sections.push_back({number, std::string(*name), {}});
            continue;
        }
        if (sections.empty()) sections.push_back({0, std::string(), {}});
        sections.back().lines.push_back(EntryLine(number, line));
    }
    return sections;
}

const ProfileSection* FindProfileSection(const std::vector<ProfileSection>& layout,
                                         std::string_view name, const HostFacts& host) {
    for (const ProfileSection& section : layout) {
        if (section.number > 0 && SameNameOn(host, section.name, TrimBlanks(name))) return &section;
    }
    return nullptr;
}

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
    const std::string_view shownFallback = TrimTrailingSpaces(fallback);
    if (gate_.Enter("GetPrivateProfileStringA")) return cut(shownFallback);
    if (const auto found = FindSection(path, section)) {
        for (const ProfileLine& line : found->lines) {
            if (line.hasKey && host_.SameName(line.key, TrimBlanks(key))) return cut(line.value);
        }
    }
    return cut(shownFallback);
}

SectionBlock SimProfile::ReadSection(const std::string& path, const std::string& section,
                                     std::size_t capacity) {
    if (gate_.Enter("GetPrivateProfileSectionA")) return PackSection({}, capacity);
    std::vector<std::string_view> texts;
    const auto found = FindSection(path, section);
    if (found) {
        for (const ProfileLine& line : found->lines) texts.push_back(line.text);
    }
    return PackSection(texts, capacity);
}

std::string SimProfile::FileText(const std::string& path) const {
    const std::string windowsPath =
        HasDirectory(path) ? path : files_.WindowsDirectoryText() + "\\" + path;
    const std::filesystem::path host = files_.HostPath(windowsPath);
    std::ifstream in(host, std::ios::binary);
    if (host.empty() || !in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<ProfileSection> SimProfile::FindSection(const std::string& path,
                                                      const std::string& section) const {
    const std::vector<ProfileSection> layout = ReadProfileLayout(FileText(path), &host_);
    const ProfileSection* found = FindProfileSection(layout, section, host_);
    return found == nullptr ? std::nullopt : std::optional<ProfileSection>(*found);
}

}  // namespace setup32::platform::sim
