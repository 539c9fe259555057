// The simulated machine's registry: the HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE trees, names matched without regard to case but kept
// as first written, typed values, opaque handles and write denial below
// chosen keys. The tree loads from and saves to REGEDIT4 text.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/call_gate.h"
#include "platform/sim/sim_host.h"

namespace setup32::platform::sim {

class SimRegistry final : public Registry {
  public:
    struct Value {
        std::string name;
        std::uint32_t type;
        std::vector<char> data;
    };

    SimRegistry(CallGate& gate, const SimHost& host);
    ~SimRegistry() override;

    long SetDefaultValue(RegRoot root, const std::string& subkey, const std::string& text) override;
    long CreateKey(RegRoot root, const std::string& subkey, RegHandle& key, bool* created) override;
    long OpenKey(RegRoot root, const std::string& subkey, RegAccess access,
                 RegHandle& key) override;
    long SetValue(RegHandle key, const std::string& name, RegType type,
                  const std::vector<char>& data) override;
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t capacity,
                    std::vector<char>& data) override;
    long DeleteValue(RegHandle key, const std::string& name) override;
    long EnumKey(RegHandle key, std::uint32_t index, std::string& name) override;
    long DeleteKey(RegRoot root, const std::string& subkey) override;
    long CloseKey(RegHandle key) override;

    bool KeyExists(RegRoot root, const std::string& subkey) const;
    const Value* FindValue(RegRoot root, const std::string& subkey, const std::string& name) const;
    std::vector<std::string> ValueNames(RegRoot root, const std::string& subkey) const;
    void DenyWrites(RegRoot root, const std::string& subkey);
    // Creates the keys every machine of the host's version has.
    void AddKeysOfVersion();
    // Removes those keys again where nothing was written to them since.
    void RemoveKeysOfVersion();

    // REGEDIT4 text of the keys at and below `prefix` (a full key name such
    // as "HKEY_LOCAL_MACHINE\Software"), or of the whole tree.
    std::string Save(const std::string& prefix) const;
    // Merges REGEDIT4 text; changes nothing and answers false when a line
    // is malformed.
    bool Load(const std::string& text);

  private:
    struct Key;
    using Subkeys = std::vector<std::shared_ptr<Key>>;
    struct Key {
        std::string name;
        Subkeys subkeys;            // in the order of their upper-case names
        std::vector<Value> values;  // in the order first written
        bool deleted = false;
    };
    struct OpenHandle;
    using Path = std::vector<std::string>;

    // The components of a subkey, or none when it is malformed.
    std::optional<Path> SplitSubkey(const std::string& subkey) const;
    // A name or string as the registry stores it: on the NT family turned
    // into Unicode through the code page; `where` names it in the record of
    // a name that changed.
    std::string Received(const std::string& text, const std::string& where);
    // Why Windows 95 and 98 refuse to store `data` under `name` in `key`, or 0.
    long SizeLimitError(const Key& key, const std::string& name, const std::vector<char>& data,
                        const std::string& where);
    std::shared_ptr<Key> Root(RegRoot root) const;
    Subkeys::iterator SubkeyNamed(Key& key, const std::string& name) const;
    std::vector<Value>::iterator ValueNamed(Key& key, const std::string& name) const;
    std::shared_ptr<Key> Find(RegRoot root, const Path& path) const;
    std::shared_ptr<Key> AddSubkey(Key& parent, const std::string& name);
    // Finds or creates the key; `created` tells whether the last one was new.
    std::shared_ptr<Key> Make(RegRoot root, const Path& path, bool& created);
    bool IsDenied(RegRoot root, const Path& path) const;
    long CheckWritable(const OpenHandle& handle) const;
    // The calls once they pass the gate.
    long SetDefaultValueNow(RegRoot root, const std::string& subkey, const std::string& text);
    long CreateKeyNow(RegRoot root, const std::string& subkey, RegHandle& key, bool* created);
    long SetValueNow(const OpenHandle& handle, const std::string& where, const std::string& name,
                     RegType type, const std::vector<char>& data);
    long DeleteValueNow(const OpenHandle& handle, const std::string& where,
                        const std::string& name);
    long DeleteKeyNow(RegRoot root, const std::string& subkey);
    long Lookup(RegHandle key, OpenHandle*& handle);
    RegHandle AddHandle(RegRoot root, std::shared_ptr<Key> key, const Path& path, RegAccess access);
    void PutValue(Key& key, const std::string& name, std::uint32_t type, std::vector<char> data);
    bool Remove(RegRoot root, const Path& path);
    static const char* RootName(RegRoot root);
    static std::string FullName(RegRoot root, const Path& path);
    // root\subkey as written, for the event log.
    static std::string Described(RegRoot root, const std::string& subkey);
    void SaveKey(const Key& key, const std::string& fullName, bool withHeader,
                 std::string& out) const;

    CallGate& gate_;
    const SimHost& host_;
    std::shared_ptr<Key> currentUser_;
    std::shared_ptr<Key> localMachine_;
    std::map<RegHandle, std::unique_ptr<OpenHandle>> handles_;
    RegHandle nextHandle_ = 0x1000;
    std::vector<std::pair<RegRoot, Path>> denied_;
};

}  // namespace setup32::platform::sim
