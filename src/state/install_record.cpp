#include "state/install_record.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "state/ansi_text.h"
#include "state/context.h"

namespace setup32 {

int WriteRegString(platform::Registry& registry, platform::RegRoot root, const std::string& key,
                   const std::string& name, const std::string& data) {
    registry.SetDefaultValue(root, key, "");
    long error = 0;
    const platform::RegKey handle = platform::CreateRegKey(registry, root, key, error);
    if (!handle) return -1;
    // The data is a zero-terminated text: it ends at its first NUL.
    const char* text = data.c_str();
    const std::vector<char> bytes(text, text + std::strlen(text) + 1);
    return registry.SetValue(handle.get(), name, platform::RegType::String, bytes) == 0 ? 0 : -1;
}

int ReadRegValue(platform::Registry& registry, platform::RegRoot root, const std::string& key,
                 const std::string& name, std::string& data, std::size_t capacity) {
    long error = 0;
    const platform::RegKey handle =
        platform::OpenRegKey(registry, root, key, platform::RegAccess::Read, error);
    if (!handle) return -1;
    std::vector<char> bytes;
    if (registry.QueryValue(handle.get(), name, static_cast<std::uint32_t>(capacity), bytes) != 0) {
        return -1;
    }
    data.assign(bytes.begin(), std::find(bytes.begin(), bytes.end(), '\0'));
    return 0;
}

std::string ProductKey(const SetupContext& ctx) {
    const std::string_view name =
        ctx.groupName.empty() ? std::string_view(kDefaultGroupName) : ctx.groupName;
    return "software\\" + std::string(CutToBytes(ctx.sys.host, name, kProductKeyNameLimit));
}

int RecordInstalledItem(SetupContext& ctx, const std::string& path) {
    return WriteRegString(ctx.sys.registry, platform::RegRoot::CurrentUser, ProductKey(ctx), path,
                          path);
}

}  // namespace setup32
