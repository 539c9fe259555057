// The machine a check starts from unless told otherwise: where the medium
// is, the Windows directory and C:\CONFIG.SYS before the install. It is the
// one description in examples/machine that the demo starts from too, built
// into the checker.
#pragma once

#include <string>
#include <string_view>

namespace setup32::check {

struct MachineDescription {
    std::string startDir;    // "A:\"
    std::string windowsDir;  // "C:\windows"
    std::string configSys;   // the file's bytes
};

// StartDir and WindowsDir of the [Machine] section of `machineIni` (a key
// that is missing stays empty), and the CONFIG.SYS bytes as given.
MachineDescription ReadMachineDescription(std::string_view machineIni, std::string configSys);

// examples/machine/machine.ini and examples/machine/CONFIG.SYS.
const MachineDescription& DefaultMachine();

}  // namespace setup32::check
