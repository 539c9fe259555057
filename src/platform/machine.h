// The whole seam to Windows: one reference per service. Each backend (the
// real Win32 API and the simulated machine) hands one of these out.
#pragma once

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/ui.h"

namespace setup32::platform {

struct Machine {
    HostFacts& host;
    Profile& profile;
    Registry& registry;
    FileSystem& files;
    Desktop& desktop;
    MessageBoxes& boxes;
    Dialogs& dialogs;
};

}  // namespace setup32::platform
