// The restart after the install.
#include "platform/windows_versions.h"
#include "state/context.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

constexpr const char* kShutdownPrivilege = "SeShutdownPrivilege";

bool NeedsShutdownPrivilege(int osKind) {
    return platform::IsNtFamilyPlatform(osKind);
}

}  // namespace

int EnablePrivilege(platform::Desktop& desktop, const std::string& name) {
    return desktop.AdjustPrivilege(name, true) == platform::win_error::kSuccess ? 1 : 0;
}

int DisablePrivilege(platform::Desktop& desktop, const std::string& name) {
    return desktop.AdjustPrivilege(name, false) == platform::win_error::kSuccess ? 1 : 0;
}

void RestartWindows(SetupContext& ctx) {
    platform::Desktop& desktop = ctx.sys.desktop;
    if (!NeedsShutdownPrivilege(ctx.osKind)) {
        desktop.ShutDownSystem(platform::kExitWindowsReboot);
        return;
    }
    // Without the privilege the user may not restart: nothing is requested.
    if (!EnablePrivilege(desktop, kShutdownPrivilege)) return;
    desktop.ShutDownSystem(platform::kExitWindowsReboot);
    DisablePrivilege(desktop, kShutdownPrivilege);
}

}  // namespace setup32
