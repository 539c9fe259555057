// REGEDIT4 text of the simulated registry:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Example]
//   @="default value"
//   "Name"="text with \\ and \""
//   "Count"=dword:0000000a
//   "Data"=hex:01,02,ff
//   "Path"=hex(2):25,00
//
// "[-KEY]" deletes a key with its subtree and "Name"=- a value. A hex
// value may go on over lines that end with "\".
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/sim/sim_registry.h"

namespace setup32::platform::sim {
namespace {

constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegSz = static_cast<std::uint32_t>(RegType::String);
constexpr std::uint32_t kRegDword = static_cast<std::uint32_t>(RegType::Dword);
constexpr std::string_view kHeader = "REGEDIT4";

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string HexBytes(const std::vector<char>& data) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
        out += (i == 0 ? "" : ",") + std::string(byte);
    }
    return out;
}

// A string value that reads back the same from quotes: one terminating NUL,
// no other, and no line breaks.
bool IsPlainString(const std::vector<char>& data) {
    return !data.empty() && data.back() == '\0' &&
           std::none_of(data.begin(), data.end() - 1,
                        [](char c) { return c == '\0' || c == '\r' || c == '\n'; });
}

std::string ValueLine(const SimRegistry::Value& value) {
    std::string line = value.name.empty() ? "@=" : Quoted(value.name) + "=";
    if (value.type == kRegSz && IsPlainString(value.data)) {
        return line + Quoted(std::string_view(value.data.data(), value.data.size() - 1));
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        }
        char text[16];
        std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(number));
        return line + "dword:" + text;
    }
    if (value.type == kRegBinary) return line + "hex:" + HexBytes(value.data);
    char type[16];
    std::snprintf(type, sizeof type, "%x", static_cast<unsigned>(value.type));
    return line + "hex(" + type + "):" + HexBytes(value.data);
}

std::optional<unsigned long> ParseHex(std::string_view text, std::size_t maxDigits) {
    text = Trim(text);
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    unsigned long number = 0;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        number = number * 16 + static_cast<unsigned long>(
                                   std::isdigit(static_cast<unsigned char>(c))
                                       ? c - '0'
                                       : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    return number;
}

// Reads a quoted text at the start of `text`, with \\ and \" escapes, and
// moves `text` past it.
std::optional<std::string> ParseQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"') return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
                return std::nullopt;
            }
            ++i;
        }
        out += text[i];
    }
    return std::nullopt;
}

std::optional<std::vector<char>> ParseHexList(std::string_view text) {
    std::vector<char> data;
    if (Trim(text).empty()) return data;
    while (true) {
        const std::size_t comma = text.find(',');
        const auto byte = ParseHex(text.substr(0, comma), 2);
        if (!byte) return std::nullopt;
        data.push_back(static_cast<char>(*byte));
        if (comma == std::string_view::npos) return data;
        text.remove_prefix(comma + 1);
    }
}

struct ParsedData {
    bool remove = false;
    std::uint32_t type = kRegSz;
    std::vector<char> bytes;
};

std::optional<ParsedData> ParseData(std::string_view text) {
    text = Trim(text);
    ParsedData data;
    if (text == "-") {
        data.remove = true;
        return data;
    }
    if (!text.empty() && text.front() == '"') {
        const std::optional<std::string> value = ParseQuoted(text);
        if (!value || !Trim(text).empty()) return std::nullopt;
        data.bytes.assign(value->begin(), value->end());
        data.bytes.push_back('\0');
        return data;
    }
    if (text.rfind("dword:", 0) == 0) {
        const auto number = ParseHex(text.substr(6), 8);
        if (!number) return std::nullopt;
        data.type = kRegDword;
        for (int i = 0; i < 4; ++i)
            data.bytes.push_back(static_cast<char>((*number >> (8 * i)) & 0xFF));
        return data;
    }
    if (text.rfind("hex:", 0) == 0) {
        data.type = kRegBinary;
        text.remove_prefix(4);
    } else if (text.rfind("hex(", 0) == 0) {
        const std::size_t close = text.find("):");
        const auto type =
            close == std::string_view::npos ? std::nullopt : ParseHex(text.substr(4, close - 4), 8);
        if (!type) return std::nullopt;
        data.type = static_cast<std::uint32_t>(*type);
        text.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = ParseHexList(text);
    if (!bytes) return std::nullopt;
    data.bytes = std::move(*bytes);
    return data;
}

// The logical lines of the text: CR before LF dropped, hex values that go
// on over lines ending in "\" joined.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    bool continues = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = Trim(line);
        const bool joinNext = !trimmed.empty() && trimmed.back() == '\\' &&
                              (continues || trimmed.find("=hex") != std::string_view::npos);
        const std::string_view piece =
            joinNext ? trimmed.substr(0, trimmed.size() - 1) : (continues ? trimmed : line);
        if (continues) {
            lines.back() += piece;
        } else {
            lines.emplace_back(piece);
        }
        continues = joinNext;
    }
    return lines;
}

}  // namespace

void SimRegistry::SaveKey(const Key& key, const std::string& fullName, bool withHeader,
                          std::string& out) const {
    if (withHeader) {
        out += "[" + fullName + "]\n";
        for (const Value& value : key.values) out += ValueLine(value) + "\n";
        out += "\n";
    }
    for (const auto& subkey : key.subkeys) {
        SaveKey(*subkey, fullName + "\\" + subkey->name, true, out);
    }
}

std::string SimRegistry::Save(const std::string& prefix) const {
    std::string out = std::string(kHeader) + "\n\n";
    for (const RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
        const std::string rootName = RootName(root);
        if (prefix.empty()) {
            SaveKey(*Root(root), rootName, !Root(root)->values.empty(), out);
            continue;
        }
        const std::vector<std::string> parts = SplitText(prefix, "\\", host_);
        if (!host_.SameName(parts.front(), rootName)) continue;
        // The key's name as stored, walking down from the root.
        std::string fullName = rootName;
        std::shared_ptr<Key> key = Root(root);
        for (std::size_t i = 1; key && i < parts.size(); ++i) {
            key = Find(root, Path(parts.begin() + 1, parts.begin() + static_cast<long>(i) + 1));
            if (key) fullName += "\\" + key->name;
        }
        if (key) SaveKey(*key, fullName, true, out);
    }
    return out;
}

bool SimRegistry::Load(const std::string& text) {
    struct Change {
        RegRoot root;
        Path path;
        bool removeKey = false;
        std::optional<std::string> valueName;
        ParsedData data;
    };
    std::vector<Change> changes;
    std::optional<Change> current;  // the key of the latest header
    bool sawHeader = false;

    const auto parseKeyName = [this](std::string_view name) -> std::optional<Change> {
        const std::vector<std::string> parts = SplitText(name, "\\", host_);
        Change change;
        if (host_.SameName(parts.front(), "HKEY_CURRENT_USER") ||
            host_.SameName(parts.front(), "HKCU")) {
            change.root = RegRoot::CurrentUser;
        } else if (host_.SameName(parts.front(), "HKEY_LOCAL_MACHINE") ||
                   host_.SameName(parts.front(), "HKLM")) {
            change.root = RegRoot::LocalMachine;
        } else {
            return std::nullopt;
        }
        change.path.assign(parts.begin() + 1, parts.end());
        if (std::any_of(change.path.begin(), change.path.end(),
                        [](const std::string& p) { return p.empty(); })) {
            return std::nullopt;
        }
        return change;
    };

    for (const std::string& rawLine : LogicalLines(text)) {
        const std::string_view line = Trim(rawLine);
        if (line.empty() || line.front() == ';') continue;
        if (!sawHeader) {
            if (line != kHeader) return false;
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') return false;
            std::string_view name = line.substr(1, line.size() - 2);
            const bool remove = !name.empty() && name.front() == '-';
            if (remove) name.remove_prefix(1);
            current = parseKeyName(name);
            if (!current) return false;
            current->removeKey = remove;
            changes.push_back(*current);
            continue;
        }
        if (!current || current->removeKey) return false;
        std::string_view rest = line;
        Change change = *current;
        if (rest.front() == '@') {
            change.valueName = "";
            rest.remove_prefix(1);
        } else {
            change.valueName = ParseQuoted(rest);
            if (!change.valueName) return false;
        }
        rest = Trim(rest);
        if (rest.empty() || rest.front() != '=') return false;
        const std::optional<ParsedData> data = ParseData(rest.substr(1));
        if (!data) return false;
        change.data = *data;
        changes.push_back(std::move(change));
    }
    if (!sawHeader) return false;

    for (Change& change : changes) {
        if (change.removeKey) {
            Remove(change.root, change.path);
            continue;
        }
        bool created = false;
        const std::shared_ptr<Key> key = Make(change.root, change.path, created);
        if (!change.valueName) continue;
        if (change.data.remove) {
            auto& values = key->values;
            values.erase(std::remove_if(values.begin(), values.end(),
                                        [&](const Value& v) {
                                            return host_.SameName(v.name, *change.valueName);
                                        }),
                         values.end());
        } else {
            PutValue(*key, *change.valueName, change.data.type, std::move(change.data.bytes));
        }
    }
    return true;
}

}  // namespace setup32::platform::sim
