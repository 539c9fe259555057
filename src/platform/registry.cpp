#include "platform/registry.h"

namespace setup32::platform {

RegKey CreateRegKey(Registry& registry, RegRoot root, const std::string& subkey, long& error,
                    bool* created) {
    RegHandle handle = 0;
    error = registry.CreateKey(root, subkey, handle, created);
    return error == 0 ? RegKey(registry, handle) : RegKey();
}

RegKey OpenRegKey(Registry& registry, RegRoot root, const std::string& subkey, RegAccess access,
                  long& error) {
    RegHandle handle = 0;
    error = registry.OpenKey(root, subkey, access, handle);
    return error == 0 ? RegKey(registry, handle) : RegKey();
}

}  // namespace setup32::platform
