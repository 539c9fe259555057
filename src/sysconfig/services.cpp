// Service settings on Windows NT and 2000.
#include <string>
#include <vector>

#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

using platform::RegType;

constexpr std::uint32_t kStartDisabled = 4;
constexpr std::uint32_t kTypeKernelDriver = 1;
constexpr std::uint32_t kErrorControlNormal = 1;

std::vector<char> DwordData(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
            static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
}

std::vector<char> StringData(const std::string& text) {
    std::vector<char> data(text.begin(), text.end());
    data.push_back('\0');
    return data;
}

// A service name must name one key directly below Services.
bool IsServiceName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

}  // namespace

void DisableScsiscanService(platform::Registry& registry) {
    long error = 0;
    const platform::RegKey key = platform::CreateRegKey(
        registry, platform::RegRoot::LocalMachine, std::string(kServicesKey) + "Scsiscan", error);
    if (key) registry.SetValue(key.get(), "Start", RegType::Dword, DwordData(kStartDisabled));
}

long RegisterMiniportService(platform::Registry& registry, const std::string& serviceName,
                             const std::string& imagePath) {
    const std::string keyPath = kServicesKey + serviceName;
    // An empty name would write the values onto the Services key itself.
    if (!IsServiceName(serviceName) || keyPath.size() > kMaxKeyPath) {
        return platform::win_error::kBadPathname;
    }
    long error = 0;
    bool created = false;
    const platform::RegKey key =
        platform::CreateRegKey(registry, platform::RegRoot::LocalMachine, keyPath, error, &created);
    if (!key) return error;
    if (!created) registry.DeleteValue(key.get(), "PlugPlayServiceType");
    registry.SetValue(key.get(), "ErrorControl", RegType::Dword, DwordData(kErrorControlNormal));
    registry.SetValue(key.get(), "Start", RegType::Dword, DwordData(kStartBoot));
    registry.SetValue(key.get(), "Type", RegType::Dword, DwordData(kTypeKernelDriver));
    registry.SetValue(key.get(), "Group", RegType::String, StringData("SCSI Miniport"));
    registry.SetValue(key.get(), "ImagePath", RegType::String, StringData(imagePath));
    return 0;
}

}  // namespace setup32
