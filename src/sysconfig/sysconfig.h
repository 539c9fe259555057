// System configuration: CONFIG.SYS, device clean-up, services, restart.
#pragma once

#include <cstddef>
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

// What ModifyConfig leaves behind. A fileError (a failed file step, or no
// free name for the old content) is the one failure that ends the install
// sequence: the caller reports it and abandons the remaining steps.
struct ConfigOutcome {
    bool fileError = false;
    std::string failedCall;   // the step that failed, for the report
    std::string path;         // the file it failed on
    std::uint32_t error = 0;  // the Windows error code
    // Set only when neither the new nor the old content could take the
    // file's name: where each of them is now.
    std::string oldContentPath;
    std::string newContentPath;
    // Set when the old content had no free name to move to, so that
    // nothing was written: the first and the last of the names it may take.
    bool asideNamesTaken = false;
    std::string firstAsidePath;
    std::string lastAsidePath;
};

// Capacities in bytes of one numbered entry and of the editor's whole list.
constexpr std::size_t kModifyEntryCapacity = 255;
constexpr std::size_t kModifyListCapacity = 2048;

// The key below HKEY_LOCAL_MACHINE that holds each service's settings, and
// the Start of a service that starts at boot.
constexpr const char* kServicesKey = "SYSTEM\\CurrentControlSet\\Services\\";
constexpr std::uint32_t kStartBoot = 0;

// The longest registry key path that a service's or a device's key may
// take; a longer one is left alone.
constexpr std::size_t kMaxKeyPath = 255;

// The file the CONFIG.SYS editor rewrites.
constexpr const char* kConfigSysPath = "c:\\CONFIG.SYS";

// Fills `block` with the values of keys "1", "2", ... up to the first
// missing or empty one; the bytes stored, or capacity - 2 when they do not fit.
platform::SectionBlock ReadNumberedKeys(SetupContext& ctx, const std::string& section,
                                        std::size_t capacity, const std::string& scriptPath);

// Removes from `target` every line that names a file listed in the numbered
// keys of `section`. The file is rewritten through a temporary file beside
// it, and at every step `target` holds either its old or its new content.
// A missing target is left alone; a temporary file that cannot be created
// is reported here. Any later file failure comes back as a fileError.
ConfigOutcome ModifyConfig(SetupContext& ctx, const SetupFields& dlg, const std::string& target,
                           const std::string& section);

// 1 when root\subkey can be opened.
int RegistryKeyExists(platform::Registry& registry, platform::RegRoot root,
                      const std::string& subkey);
// The adapter's PCI enumeration key, before its device id.
constexpr const char* kAdapterEnumKeyPrefix = "Enum\\PCI\\VEN_7A3E&DEV_";
// The driver database files of the INF directory that the clean-up deletes.
constexpr const char* kDriverDatabaseFiles[] = {"DRVIDX.BIN", "DRVDATA.BIN"};

// Deletes the adapter's PCI enumeration key for `deviceId`, with every key
// below it, and the driver database files of the INF directory.
void RemoveDeviceEntries(SetupContext& ctx, const SetupFields& dlg, const std::string& deviceId);

// Sets the Scsiscan service's start type to disabled; failures pass in silence.
void DisableScsiscanService(platform::Registry& registry);
// Registers the adapter's miniport service; 0 or the registry error.
long RegisterMiniportService(platform::Registry& registry, const std::string& serviceName,
                             const std::string& imagePath);

// Asks Windows to restart, with the shutdown privilege on the NT family.
void RestartWindows(SetupContext& ctx);
// 1 when the privilege now has the asked state in the process's token.
int EnablePrivilege(platform::Desktop& desktop, const std::string& name);
int DisablePrivilege(platform::Desktop& desktop, const std::string& name);

}  // namespace setup32
