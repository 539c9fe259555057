// The machines a check starts from unless told otherwise, one for each
// Windows version: where the medium is, the Windows directory and
// C:\CONFIG.SYS before the install. They are the customer's machines that
// examples/machine describes, which the demo starts from too, built into
// the checker.
#pragma once

#include <string>
#include <string_view>

#include "platform/windows_versions.h"

namespace setup32::check {

struct MachineDescription {
    std::string startDir;    // "A:\"
    std::string windowsDir;  // "C:\WINDOWS", "C:\WINNT"
    std::string configSys;   // the file's bytes
};

// StartDir and WindowsDir for the version named `versionId` ("nt40"): those
// of its own section of `machineIni`, else of the [Machine] section that
// every version shares (a key that neither has stays empty); and the
// CONFIG.SYS bytes as given.
MachineDescription ReadMachineDescription(std::string_view machineIni, std::string_view versionId,
                                          std::string configSys);

// examples/machine's machine of `version`.
const MachineDescription& DefaultMachine(const platform::WindowsVersion& version);

}  // namespace setup32::check
