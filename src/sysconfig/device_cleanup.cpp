// Makes Windows 95 and 98 detect the adapter afresh: its PCI enumeration key
// and the driver database files go.
#include <string>
#include <vector>

#include "state/context.h"
#include "state/setup_fields.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

std::vector<std::string> SubkeyNames(platform::Registry& registry, platform::RegRoot root,
                                     const std::string& subkey) {
    std::vector<std::string> names;
    long error = 0;
    const platform::RegKey key =
        platform::OpenRegKey(registry, root, subkey, platform::RegAccess::Read, error);
    std::string name;
    for (std::uint32_t index = 0; key && registry.EnumKey(key.get(), index, name) == 0; ++index) {
        names.push_back(name);
    }
    return names;
}

// Deletes root\subkey with every key below it, deepest first: the NT
// family refuses to delete a key that still has subkeys.
void DeleteKeyTree(platform::Registry& registry, platform::RegRoot root,
                   const std::string& subkey) {
    for (const std::string& child : SubkeyNames(registry, root, subkey)) {
        DeleteKeyTree(registry, root, subkey + "\\" + child);
    }
    registry.DeleteKey(root, subkey);
}

}  // namespace

int RegistryKeyExists(platform::Registry& registry, platform::RegRoot root,
                      const std::string& subkey) {
    long error = 0;
    const platform::RegKey key =
        platform::OpenRegKey(registry, root, subkey, platform::RegAccess::AllAccess, error);
    return key ? 1 : 0;
}

void RemoveDeviceEntries(SetupContext& ctx, const SetupFields& dlg, const std::string& deviceId) {
    platform::Registry& registry = ctx.sys.registry;
    const std::string enumKey = kAdapterEnumKeyPrefix + deviceId;
    if (enumKey.size() <= kMaxKeyPath &&
        RegistryKeyExists(registry, platform::RegRoot::LocalMachine, enumKey)) {
        DeleteKeyTree(registry, platform::RegRoot::LocalMachine, enumKey);
    }
    // Without the Windows directory the INF directory is no place of ours.
    if (dlg.windowsDir.empty()) return;
    for (const char* file : kDriverDatabaseFiles) {
        ctx.sys.files.Remove(dlg.infDir + "\\" + file);
    }
}

}  // namespace setup32
