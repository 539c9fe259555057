#include "platform/sim/sim_registry.h"

#include <algorithm>

namespace setup32::platform::sim {
namespace {

constexpr long kOutOfMemory = 14;
constexpr long kInvalidParameter = 87;

// The registry of Windows 95 and 98 (RegSetValue in the Win32 reference of
// their time: "No registry subkey or value name can exceed 255 characters",
// "The maximum size of a single registry value is 16,300 bytes"), and of
// Windows 95 alone (Microsoft knowledge base Q122867: "The Windows 95
// registry is limited to approximately 60 kilobytes (KB) per key. This limit
// consists of value names, value data, and some fixed overhead. ... This
// limitation has been removed in Microsoft Windows 98"). The article gives
// neither the exact limit nor the overhead: a key here holds 60 x 1,024
// bytes, each value counting its name, its data and 16 bytes, a figure of
// our own. Which error a refused write reports is not documented; the
// Windows 95 DDK lists ERROR_INVALID_PARAMETER for a parameter "otherwise
// not valid" and ERROR_OUTOFMEMORY for "insufficient memory".
constexpr std::size_t kMaxValueName9x = 255;
constexpr std::size_t kMaxValueData9x = 16300;
constexpr std::size_t kMaxKeyBytes95 = 60 * 1024;
constexpr std::size_t kValueOverhead95 = 16;

struct KeyOfVersion {
    RegRoot root;
    const char* subkey;
};

// The keys every machine of the version has before any program ran, as the
// version spells them.
constexpr KeyOfVersion kKeysOf9x[] = {
    {RegRoot::LocalMachine, "Enum"},
    {RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"},
    {RegRoot::LocalMachine, "System\\CurrentControlSet\\Control"},
    {RegRoot::LocalMachine, "System\\CurrentControlSet\\Services\\Class"},
    {RegRoot::LocalMachine, "System\\CurrentControlSet\\Services\\VxD"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion"},
};
constexpr KeyOfVersion kKeysOfNt[] = {
    {RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"},
    {RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"},
    {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Control"},
    {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum"},
    {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion"},
};

}  // namespace

struct SimRegistry::OpenHandle {
    RegRoot root;
    Path path;
    std::shared_ptr<Key> key;
    RegAccess access;
};

const char* SimRegistry::RootName(RegRoot root) {
    return root == RegRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string SimRegistry::Described(RegRoot root, const std::string& subkey) {
    return subkey.empty() ? RootName(root) : RootName(root) + std::string("\\") + subkey;
}

SimRegistry::SimRegistry(CallGate& gate, const SimHost& host)
    : gate_(gate),
      host_(host),
      currentUser_(std::make_shared<Key>()),
      localMachine_(std::make_shared<Key>()) {}

SimRegistry::~SimRegistry() = default;

// --- the tree ---

std::optional<SimRegistry::Path> SimRegistry::SplitSubkey(const std::string& subkey) const {
    // A name may not start with "\"; elsewhere, backslashes in a row and at
    // the end count as one separator.
    if (!subkey.empty() && subkey.front() == '\\') return std::nullopt;
    Path path = SplitText(subkey, "\\", host_);
    path.erase(std::remove(path.begin(), path.end(), std::string()), path.end());
    return path;
}

std::string SimRegistry::Received(const std::string& text, const std::string& where) {
    // Windows 95 and 98 keep the bytes as they are: their registry has no
    // Unicode calls (the reference has RegSetValueExW there only through the
    // Microsoft Layer for Unicode).
    if (!host_.IsNtFamily()) return text;
    std::string received = host_.ThroughUnicode(text);
    if (received != text) {
        gate_.RecordVersionDifference(VersionDifferenceMet{"registry-name-code-page", where, 0});
    }
    return received;
}

long SimRegistry::SizeLimitError(const Key& key, const std::string& name,
                                 const std::vector<char>& data, const std::string& where) {
    if (host_.IsNtFamily()) return win_error::kSuccess;
    if (name.size() > kMaxValueName9x) {
        gate_.RecordVersionDifference(VersionDifferenceMet{"registry-value-name-255", where, 0});
        return kInvalidParameter;
    }
    if (data.size() > kMaxValueData9x) {
        gate_.RecordVersionDifference(VersionDifferenceMet{"registry-value-16300", where, 0});
        return kOutOfMemory;
    }
    if (!host_.IsWindows95()) return win_error::kSuccess;
    const auto bytesOf = [](std::size_t nameSize, std::size_t dataSize) {
        return nameSize + dataSize + kValueOverhead95;
    };
    std::size_t total = bytesOf(name.size(), data.size());
    for (const Value& value : key.values) {
        if (!host_.SameName(value.name, name))
            total += bytesOf(value.name.size(), value.data.size());
    }
    if (total > kMaxKeyBytes95) {
        gate_.RecordVersionDifference(VersionDifferenceMet{"registry-key-60k", where, 0});
        return kOutOfMemory;
    }
    return win_error::kSuccess;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Root(RegRoot root) const {
    return root == RegRoot::CurrentUser ? currentUser_ : localMachine_;
}

SimRegistry::Subkeys::iterator SimRegistry::SubkeyNamed(Key& key, const std::string& name) const {
    return std::find_if(key.subkeys.begin(), key.subkeys.end(),
                        [&](const auto& subkey) { return host_.SameName(subkey->name, name); });
}

std::vector<SimRegistry::Value>::iterator SimRegistry::ValueNamed(Key& key,
                                                                  const std::string& name) const {
    return std::find_if(key.values.begin(), key.values.end(),
                        [&](const Value& value) { return host_.SameName(value.name, name); });
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Find(RegRoot root, const Path& path) const {
    std::shared_ptr<Key> key = Root(root);
    for (const std::string& name : path) {
        const auto it = SubkeyNamed(*key, name);
        if (it == key->subkeys.end()) return nullptr;
        key = *it;
    }
    return key;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Make(RegRoot root, const Path& path, bool& created) {
    std::shared_ptr<Key> key = Root(root);
    created = false;
    for (const std::string& name : path) {
        const auto it = SubkeyNamed(*key, name);
        created = it == key->subkeys.end();
        key = created ? AddSubkey(*key, name) : *it;
    }
    return key;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::AddSubkey(Key& parent, const std::string& name) {
    auto child = std::make_shared<Key>();
    child->name = name;
    const std::string upper = host_.UpperCase(name);
    const auto place =
        std::find_if(parent.subkeys.begin(), parent.subkeys.end(),
                     [&](const auto& k) { return host_.UpperCase(k->name) > upper; });
    return *parent.subkeys.insert(place, std::move(child));
}

bool SimRegistry::IsDenied(RegRoot root, const Path& path) const {
    return std::any_of(denied_.begin(), denied_.end(), [&](const auto& denial) {
        const Path& below = denial.second;
        return denial.first == root && below.size() <= path.size() &&
               std::equal(below.begin(), below.end(), path.begin(),
                          [this](const std::string& a, const std::string& b) {
                              return host_.SameName(a, b);
                          });
    });
}

void SimRegistry::PutValue(Key& key, const std::string& name, std::uint32_t type,
                           std::vector<char> data) {
    const auto it = ValueNamed(key, name);
    if (it == key.values.end()) {
        key.values.push_back(Value{name, type, std::move(data)});
    } else {
        it->type = type;
        it->data = std::move(data);
    }
}

bool SimRegistry::Remove(RegRoot root, const Path& path) {
    if (path.empty()) return false;
    const std::shared_ptr<Key> parent = Find(root, Path(path.begin(), path.end() - 1));
    if (!parent) return false;
    const auto it = SubkeyNamed(*parent, path.back());
    if (it == parent->subkeys.end()) return false;
    // Handles still open on the subtree see it as deleted.
    std::vector<std::shared_ptr<Key>> doomed{*it};
    while (!doomed.empty()) {
        const std::shared_ptr<Key> key = doomed.back();
        doomed.pop_back();
        key->deleted = true;
        doomed.insert(doomed.end(), key->subkeys.begin(), key->subkeys.end());
    }
    parent->subkeys.erase(it);
    return true;
}

std::string SimRegistry::FullName(RegRoot root, const Path& path) {
    std::string name = RootName(root);
    for (const std::string& part : path) name += "\\" + part;
    return name;
}

// --- handles ---

RegHandle SimRegistry::AddHandle(RegRoot root, std::shared_ptr<Key> key, const Path& path,
                                 RegAccess access) {
    nextHandle_ += 4;
    handles_[nextHandle_] =
        std::make_unique<OpenHandle>(OpenHandle{root, path, std::move(key), access});
    return nextHandle_;
}

long SimRegistry::Lookup(RegHandle key, OpenHandle*& handle) {
    const auto it = handles_.find(key);
    if (it == handles_.end()) return win_error::kInvalidHandle;
    handle = it->second.get();
    return handle->key->deleted ? win_error::kKeyDeleted : win_error::kSuccess;
}

long SimRegistry::CheckWritable(const OpenHandle& handle) const {
    // Windows 95 and 98 do not check a handle's access.
    const bool readOnly = handle.access == RegAccess::Read && host_.IsNtFamily();
    return readOnly || IsDenied(handle.root, handle.path) ? win_error::kAccessDenied
                                                          : win_error::kSuccess;
}

// --- the calls ---

long SimRegistry::SetDefaultValue(RegRoot root, const std::string& subkey,
                                  const std::string& text) {
    return gate_.Logged(Call::RegSetValueA, Described(root, subkey) + " @",
                        [&] { return SetDefaultValueNow(root, subkey, text); });
}

long SimRegistry::SetDefaultValueNow(RegRoot root, const std::string& subkey,
                                     const std::string& text) {
    const std::string where = Described(root, subkey);
    const std::optional<Path> path = SplitSubkey(Received(subkey, where));
    if (!path) return win_error::kBadPathname;
    if (IsDenied(root, *path)) return win_error::kAccessDenied;
    const std::string stored = Received(text, where);
    std::vector<char> data(stored.begin(), stored.end());
    data.push_back('\0');
    bool created = false;
    const std::shared_ptr<Key> key = Make(root, *path, created);
    if (const long error = SizeLimitError(*key, "", data, where)) return error;
    PutValue(*key, "", static_cast<std::uint32_t>(RegType::String), std::move(data));
    return win_error::kSuccess;
}

long SimRegistry::CreateKey(RegRoot root, const std::string& subkey, RegHandle& key,
                            bool* created) {
    key = 0;
    return gate_.Logged(Call::RegCreateKeyExA, Described(root, subkey),
                        [&] { return CreateKeyNow(root, subkey, key, created); });
}

long SimRegistry::CreateKeyNow(RegRoot root, const std::string& subkey, RegHandle& key,
                               bool* created) {
    const std::optional<Path> path = SplitSubkey(Received(subkey, Described(root, subkey)));
    if (!path) return win_error::kBadPathname;
    if (IsDenied(root, *path)) return win_error::kAccessDenied;
    bool isNew = false;
    std::shared_ptr<Key> node = Make(root, *path, isNew);
    if (created) *created = isNew;
    key = AddHandle(root, std::move(node), *path, RegAccess::AllAccess);
    return win_error::kSuccess;
}

long SimRegistry::OpenKey(RegRoot root, const std::string& subkey, RegAccess access,
                          RegHandle& key) {
    key = 0;
    if (const auto error = gate_.Enter(Call::RegOpenKeyExA)) return *error;
    const std::optional<Path> path = SplitSubkey(Received(subkey, Described(root, subkey)));
    if (!path) return win_error::kBadPathname;
    std::shared_ptr<Key> node = Find(root, *path);
    if (!node) return win_error::kFileNotFound;
    if (access == RegAccess::AllAccess && IsDenied(root, *path)) return win_error::kAccessDenied;
    key = AddHandle(root, std::move(node), *path, access);
    return win_error::kSuccess;
}

long SimRegistry::SetValue(RegHandle key, const std::string& name, RegType type,
                           const std::vector<char>& data) {
    OpenHandle* handle = nullptr;
    const long found = Lookup(key, handle);
    const std::string where = handle ? FullName(handle->root, handle->path) : "?";
    return gate_.Logged(Call::RegSetValueExA, where + " " + name, [&] {
        return found == win_error::kSuccess ? SetValueNow(*handle, where, name, type, data) : found;
    });
}

long SimRegistry::SetValueNow(const OpenHandle& handle, const std::string& where,
                              const std::string& name, RegType type,
                              const std::vector<char>& data) {
    if (const long error = CheckWritable(handle)) return error;
    const std::string value = where + "\\" + name;
    const std::string stored = Received(name, value);
    std::vector<char> bytes = data;
    if (type == RegType::String && host_.IsNtFamily()) {
        // The string is stored in Unicode, up to its first NUL.
        const auto end = std::find(data.begin(), data.end(), '\0');
        const std::string text = Received(std::string(data.begin(), end), value);
        bytes.assign(text.begin(), text.end());
        bytes.insert(bytes.end(), end, data.end());
    }
    if (const long error = SizeLimitError(*handle.key, stored, bytes, value)) return error;
    PutValue(*handle.key, stored, static_cast<std::uint32_t>(type), std::move(bytes));
    return win_error::kSuccess;
}

long SimRegistry::QueryValue(RegHandle key, const std::string& name, std::uint32_t capacity,
                             std::vector<char>& data) {
    if (const auto error = gate_.Enter(Call::RegQueryValueExA)) return *error;
    OpenHandle* handle = nullptr;
    if (const long error = Lookup(key, handle)) return error;
    const auto it = ValueNamed(*handle->key,
                               Received(name, FullName(handle->root, handle->path) + "\\" + name));
    if (it == handle->key->values.end()) return win_error::kFileNotFound;
    if (it->data.size() > capacity) {
        data.clear();
        return win_error::kMoreData;
    }
    data = it->data;
    return win_error::kSuccess;
}

long SimRegistry::DeleteValue(RegHandle key, const std::string& name) {
    OpenHandle* handle = nullptr;
    const long found = Lookup(key, handle);
    const std::string where = handle ? FullName(handle->root, handle->path) : "?";
    return gate_.Logged(Call::RegDeleteValueA, where + " " + name, [&] {
        return found == win_error::kSuccess ? DeleteValueNow(*handle, where, name) : found;
    });
}

long SimRegistry::DeleteValueNow(const OpenHandle& handle, const std::string& where,
                                 const std::string& name) {
    if (const long error = CheckWritable(handle)) return error;
    const auto it = ValueNamed(*handle.key, Received(name, where + "\\" + name));
    if (it == handle.key->values.end()) return win_error::kFileNotFound;
    handle.key->values.erase(it);
    return win_error::kSuccess;
}

long SimRegistry::EnumKey(RegHandle key, std::uint32_t index, std::string& name) {
    if (const auto error = gate_.Enter(Call::RegEnumKeyA)) return *error;
    OpenHandle* handle = nullptr;
    if (const long error = Lookup(key, handle)) return error;
    const auto& subkeys = handle->key->subkeys;
    if (index >= subkeys.size()) return win_error::kNoMoreItems;
    name = subkeys[index]->name;
    return win_error::kSuccess;
}

long SimRegistry::DeleteKey(RegRoot root, const std::string& subkey) {
    return gate_.Logged(Call::RegDeleteKeyA, Described(root, subkey),
                        [&] { return DeleteKeyNow(root, subkey); });
}

long SimRegistry::DeleteKeyNow(RegRoot root, const std::string& subkey) {
    const std::optional<Path> path = SplitSubkey(Received(subkey, Described(root, subkey)));
    if (!path) return win_error::kBadPathname;
    if (path->empty() || IsDenied(root, *path)) return win_error::kAccessDenied;
    const std::shared_ptr<Key> node = Find(root, *path);
    if (!node) return win_error::kFileNotFound;
    // The NT family deletes only a key without subkeys; Windows 95 and 98
    // take the whole subtree.
    if (host_.IsNtFamily() && !node->subkeys.empty()) return win_error::kAccessDenied;
    Remove(root, *path);
    return win_error::kSuccess;
}

long SimRegistry::CloseKey(RegHandle key) {
    if (const auto error = gate_.Enter(Call::RegCloseKey)) return *error;
    return handles_.erase(key) == 1 ? win_error::kSuccess : win_error::kInvalidHandle;
}

// --- test helpers ---

bool SimRegistry::KeyExists(RegRoot root, const std::string& subkey) const {
    const std::optional<Path> path = SplitSubkey(subkey);
    return path && Find(root, *path) != nullptr;
}

const SimRegistry::Value* SimRegistry::FindValue(RegRoot root, const std::string& subkey,
                                                 const std::string& name) const {
    const std::optional<Path> path = SplitSubkey(subkey);
    const std::shared_ptr<Key> key = path ? Find(root, *path) : nullptr;
    if (!key) return nullptr;
    const auto it = ValueNamed(*key, name);
    return it == key->values.end() ? nullptr : &*it;
}

std::vector<std::string> SimRegistry::ValueNames(RegRoot root, const std::string& subkey) const {
    const std::optional<Path> path = SplitSubkey(subkey);
    const std::shared_ptr<Key> key = path ? Find(root, *path) : nullptr;
    std::vector<std::string> names;
    if (key) {
        for (const Value& value : key->values) names.push_back(value.name);
    }
    return names;
}

void SimRegistry::DenyWrites(RegRoot root, const std::string& subkey) {
    if (const std::optional<Path> path = SplitSubkey(subkey)) denied_.emplace_back(root, *path);
}

// --- the keys of the version ---

namespace {

template <std::size_t N>
std::vector<KeyOfVersion> ListOf(const KeyOfVersion (&keys)[N]) {
    return std::vector<KeyOfVersion>(std::begin(keys), std::end(keys));
}

}  // namespace

void SimRegistry::AddKeysOfVersion() {
    for (const KeyOfVersion& key : host_.IsNtFamily() ? ListOf(kKeysOfNt) : ListOf(kKeysOf9x)) {
        bool created = false;
        Make(key.root, *SplitSubkey(key.subkey), created);
    }
}

void SimRegistry::RemoveKeysOfVersion() {
    for (const KeyOfVersion& key : host_.IsNtFamily() ? ListOf(kKeysOfNt) : ListOf(kKeysOf9x)) {
        // From the deepest key up, as long as each is left empty.
        for (Path path = *SplitSubkey(key.subkey); !path.empty(); path.pop_back()) {
            const std::shared_ptr<Key> node = Find(key.root, path);
            if (node && (!node->subkeys.empty() || !node->values.empty())) break;
            if (node) Remove(key.root, path);
        }
    }
}

}  // namespace setup32::platform::sim
