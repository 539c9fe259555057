// The install sequence that Start runs (or the main dialog's initialisation
// in the silent mode).
#pragma once

#include "install/run_outcome.h"

namespace setup32 {

class CopyProgress;
struct SetupContext;
struct SetupFields;

// Runs the install sequence once: what it met, and whether it ran to its
// end. `installedBefore` tells the report of a missing script that an
// earlier install of this run got past its script.
InstallResult RunInstall(SetupContext& ctx, SetupFields& fields, CopyProgress& progress,
                         bool installedBefore);

}  // namespace setup32
