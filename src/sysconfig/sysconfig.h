// System configuration: CONFIG.SYS, device clean-up, services, restart.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"
#include "platform/types.h"

namespace setup32 {

struct SetupContext;
struct SetupFields;
namespace platform {
class Desktop;
}

// What ModifyConfig leaves behind. A FileError is the one failure that ends
// the install sequence: the caller reports it and abandons the remaining steps.
struct ConfigOutcome {
    bool fileError = false;
    std::string failedCall;     // the step that failed, for the report
    std::string path;           // the file it failed on
    std::uint32_t error = 0;    // the Windows error code
};

// Fills `block` with the values of keys "1", "2", ... up to the first
// missing or empty one; the bytes stored, or capacity - 2 when they do not fit.
platform::SectionBlock ReadNumberedKeys(SetupContext& ctx, const std::string& section,
                                        std::size_t capacity, const std::string& scriptPath);
ConfigOutcome ModifyConfig(SetupContext& ctx, const SetupFields& dlg, const std::string& target,
                           const std::string& section);

// 1 when root\subkey can be opened.
int RegistryKeyExists(platform::Registry& registry, platform::RegRoot root,
                      const std::string& subkey);
void RemoveDeviceEntries(SetupContext& ctx, const SetupFields& dlg, const std::string& deviceId);

void DisableScsiscanService(platform::Registry& registry);
// Registers the adapter's miniport service; 0 or the registry error.
long RegisterMiniportService(platform::Registry& registry, const std::string& serviceName,
                             const std::string& imagePath);

void RestartWindows(SetupContext& ctx);
int EnablePrivilege(platform::Desktop& desktop, const std::string& name);
int DisablePrivilege(platform::Desktop& desktop, const std::string& name);

}  // namespace setup32
