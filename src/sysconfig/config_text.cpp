#include "sysconfig/config_text.h"

#include "platform/host.h"

namespace setup32 {
namespace {

constexpr char kCtrlZ = '\x1a';

// The position of the character after the one at `pos`.
std::size_t NextCharacter(const platform::HostFacts& host, std::string_view text, std::size_t pos) {
    const bool doubleByte =
        host.IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
    return pos + (doubleByte ? 2 : 1);
}

}  // namespace

std::string DecodeTextMode(std::string_view raw) {
    raw = raw.substr(0, raw.find(kCtrlZ));
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    return text;
}

std::string EncodeTextMode(std::string_view text) {
    std::string raw;
    raw.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') raw += '\r';
        raw += c;
    }
    return raw;
}

std::string_view FileNamePart(const platform::HostFacts& host, std::string_view path) {
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < path.size(); pos = NextCharacter(host, path, pos)) {
        if (path[pos] == '\\') start = pos + 1;
    }
    return path.substr(start);
}

std::vector<std::string> BuildMatchList(const platform::HostFacts& host,
                                        const std::vector<std::string_view>& entries) {
    std::vector<std::string> matchList;
    for (const std::string_view entry : entries) {
        if (entry.empty() || entry.front() == ';') continue;
        const std::string_view name = FileNamePart(host, entry);
        if (!name.empty()) matchList.push_back(host.UpperCase(name));
    }
    return matchList;
}

bool LineMatches(const platform::HostFacts& host, std::string_view line,
                 const std::vector<std::string>& matchList) {
    if (matchList.empty()) return false;
    const std::string upper = host.UpperCase(line);
    for (std::size_t pos = 0; pos < upper.size(); pos = NextCharacter(host, upper, pos)) {
        for (const std::string& match : matchList) {
            if (upper.compare(pos, match.size(), match) == 0) return true;
        }
    }
    return false;
}

std::string RemoveMatchingLines(const platform::HostFacts& host, std::string_view text,
                                const std::vector<std::string>& matchList) {
    std::string kept;
    kept.reserve(text.size());
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        const std::string_view line = text.substr(start, end - start);
        if (!LineMatches(host, line, matchList)) kept += line;
        start = end;
    }
    return kept;
}

}  // namespace setup32
