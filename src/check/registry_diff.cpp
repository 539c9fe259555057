#include "check/registry_diff.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <unordered_map>

namespace setup32::check {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The end of a quoted name that starts at text[0], after its closing quote.
std::size_t QuotedEnd(std::string_view text) {
    for (std::size_t pos = 1; pos < text.size(); ++pos) {
        if (text[pos] == '\\') {
            ++pos;
        } else if (text[pos] == '"') {
            return pos + 1;
        }
    }
    return std::string_view::npos;
}

std::optional<NamedValue> ParseValue(std::string_view line) {
    const std::size_t nameEnd = line.front() == '@' ? 1 : QuotedEnd(line);
    if (nameEnd == std::string_view::npos || nameEnd >= line.size() || line[nameEnd] != '=') {
        return std::nullopt;
    }
    return NamedValue{std::string(line.substr(0, nameEnd)), std::string(line.substr(nameEnd + 1))};
}

// The keys of an export by lower-case name, and each key's values by
// lower-case name: made once, so that a difference of two large exports
// takes one look-up per key and value.
class KeyIndex {
  public:
    // A key, and its values by lower-case name.
    struct Entry {
        const ExportedKey* key;
        std::unordered_map<std::string, const NamedValue*> values;
    };

    explicit KeyIndex(const std::vector<ExportedKey>& keys) {
        for (const ExportedKey& key : keys) {
            Entry& entry = keys_.try_emplace(Lower(key.name), Entry{&key, {}}).first->second;
            if (entry.key != &key) continue;  // a repeated key: the first one counts
            for (const NamedValue& value : key.values)
                entry.values.try_emplace(Lower(value.name), &value);
        }
    }

    const Entry* Find(const std::string& name) const {
        const auto it = keys_.find(Lower(name));
        return it == keys_.end() ? nullptr : &it->second;
    }

  private:
    std::unordered_map<std::string, Entry> keys_;
};

const NamedValue* FindValue(const KeyIndex::Entry* key, const std::string& name) {
    if (key == nullptr) return nullptr;
    const auto it = key->values.find(Lower(name));
    return it == key->values.end() ? nullptr : it->second;
}

std::optional<std::string> DataOf(const NamedValue* value) {
    if (value == nullptr) return std::nullopt;
    return value->data;
}

// What changed in `key`, present in `from` and maybe in `to`, seen from
// `from`'s side: `forward` when `from` is the later export.
void DiffKey(const ExportedKey& key, const KeyIndex& other, bool forward,
             std::vector<RegistryChange>& changes) {
    const KeyIndex::Entry* counterpart = other.Find(key.name);
    const auto change = [forward, &key](std::optional<std::string> value,
                                        std::optional<std::string> mine,
                                        std::optional<std::string> theirs) {
        return forward
                   ? RegistryChange{key.name, std::move(value), std::move(theirs), std::move(mine)}
                   : RegistryChange{key.name, std::move(value), std::move(mine), std::move(theirs)};
    };
    if (counterpart == nullptr) {
        changes.push_back(change(std::nullopt, std::string(), std::nullopt));
        if (!forward) return;  // a deleted key's values went with it
    }
    for (const NamedValue& value : key.values) {
        const std::optional<std::string> theirs = DataOf(FindValue(counterpart, value.name));
        if (theirs == value.data) continue;
        if (!forward && theirs) continue;  // a change, already seen from the later side
        changes.push_back(change(value.name, value.data, theirs));
    }
}

}  // namespace

std::vector<ExportedKey> ParseRegistryExport(std::string_view text) {
    std::vector<ExportedKey> keys;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            keys.push_back({std::string(line.substr(1, line.size() - 2)), {}});
        } else if (!keys.empty()) {
            if (auto value = ParseValue(line)) keys.back().values.push_back(std::move(*value));
        }
    }
    return keys;
}

std::vector<RegistryChange> DiffRegistry(std::string_view before, std::string_view after) {
    const std::vector<ExportedKey> oldKeys = ParseRegistryExport(before);
    const std::vector<ExportedKey> newKeys = ParseRegistryExport(after);
    const KeyIndex oldIndex(oldKeys);
    const KeyIndex newIndex(newKeys);
    std::vector<RegistryChange> changes;
    for (const ExportedKey& key : newKeys) DiffKey(key, oldIndex, true, changes);
    for (const ExportedKey& key : oldKeys) DiffKey(key, newIndex, false, changes);
    return changes;
}

}  // namespace setup32::check
