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

// One change that a line of the text asks for.
struct Change {
    RegRoot root = RegRoot::CurrentUser;
    std::vector<std::string> path;
    bool removeKey = false;
    std::optional<std::string> valueName;  // none: the line names the key only
    ParsedData data;
};

// "[KEY]" or "[-KEY]", KEY starting with a root we have.
std::optional<Change> ParseKeyLine(std::string_view line, const SimHost& host) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    std::string_view name = line.substr(1, line.size() - 2);
    Change change;
    change.removeKey = !name.empty() && name.front() == '-';
    if (change.removeKey) name.remove_prefix(1);
    const std::vector<std::string> parts = SplitText(name, "\\", host);
    const std::string root = host.UpperCase(parts.front());
    if (root == "HKEY_CURRENT_USER" || root == "HKCU") {
        change.root = RegRoot::CurrentUser;
    } else if (root == "HKEY_LOCAL_MACHINE" || root == "HKLM") {
        change.root = RegRoot::LocalMachine;
    } else {
        return std::nullopt;
    }
    change.path.assign(parts.begin() + 1, parts.end());
    if (std::any_of(change.path.begin(), change.path.end(),
                    [](const std::string& part) { return part.empty(); })) {
        return std::nullopt;
    }
    return change;
}

// "NAME"=DATA or @=DATA for the key of `key`.
std::optional<Change> ParseValueLine(std::string_view line, const Change& key) {
    Change change = key;
    if (line.front() == '@') {
        change.valueName = "";
        line.remove_prefix(1);
    } else {
        change.valueName = ParseQuoted(line);
        if (!change.valueName) return std::nullopt;
    }
    line = Trim(line);
    if (line.empty() || line.front() != '=') return std::nullopt;
    std::optional<ParsedData> data = ParseData(line.substr(1));
    if (!data) return std::nullopt;
    change.data = std::move(*data);
    return change;
}

// The changes of the whole text in order, or none when a line is malformed.
std::optional<std::vector<Change>> ParseRegedit(std::string_view text, const SimHost& host) {
    std::vector<Change> changes;
    std::optional<Change> key;  // the latest key line
    bool sawHeader = false;
    for (const std::string& logical : LogicalLines(text)) {
        const std::string_view line = Trim(logical);
        if (line.empty() || line.front() == ';') continue;
        if (!sawHeader) {
            if (line != kHeader) return std::nullopt;
            sawHeader = true;
            continue;
        }
        std::optional<Change> change;
        if (line.front() == '[') {
            key = change = ParseKeyLine(line, host);
        } else if (key && !key->removeKey) {
            change = ParseValueLine(line, *key);
        }
        if (!change) return std::nullopt;
        changes.push_back(std::move(*change));
    }
    if (!sawHeader) return std::nullopt;
    return changes;
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
    const std::vector<std::string> parts = SplitText(prefix, "\\", host_);
    for (const RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
        std::string fullName = RootName(root);
        std::shared_ptr<Key> key = Root(root);
        if (prefix.empty()) {
            SaveKey(*key, fullName, !key->values.empty(), out);
            continue;
        }
        if (!host_.SameName(parts.front(), fullName)) continue;
        // The name as stored, down from the root.
        for (auto part = parts.begin() + 1; key && part != parts.end(); ++part) {
            const auto it = SubkeyNamed(*key, *part);
            key = it == key->subkeys.end() ? nullptr : *it;
            if (key) fullName += "\\" + key->name;
        }
        if (key) SaveKey(*key, fullName, true, out);
    }
    return out;
}

bool SimRegistry::Load(const std::string& text) {
    std::optional<std::vector<Change>> changes = ParseRegedit(text, host_);
    if (!changes) return false;
    for (Change& change : *changes) {
        if (change.removeKey) {
            Remove(change.root, change.path);
            continue;
        }
        bool created = false;
        const std::shared_ptr<Key> key = Make(change.root, change.path, created);
        if (!change.valueName) continue;
        if (!change.data.remove) {
            PutValue(*key, *change.valueName, change.data.type, std::move(change.data.bytes));
        } else if (const auto it = ValueNamed(*key, *change.valueName); it != key->values.end()) {
            key->values.erase(it);
        }
    }
    return true;
}

}  // namespace setup32::platform::sim
