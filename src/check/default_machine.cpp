#include "check/default_machine.h"

#include "check/profile_layout.h"
#include "default_machine_files.h"
#include "state/ascii_text.h"

namespace setup32::check {
namespace {

// The value of the first line of `key`, as a keyed read returns it.
std::string KeyValue(const ProfileSection& section, std::string_view key) {
    for (const ProfileLine& line : section.lines) {
        if (line.hasKey && EqualsIgnoringCase(line.key, key)) return line.value;
    }
    return {};
}

}  // namespace

MachineDescription ReadMachineDescription(std::string_view machineIni, std::string configSys) {
    for (const ProfileSection& section : ReadProfileLayout(machineIni)) {
        if (section.number > 0 && EqualsIgnoringCase(section.name, "Machine")) {
            return {KeyValue(section, "StartDir"), KeyValue(section, "WindowsDir"),
                    std::move(configSys)};
        }
    }
    return {{}, {}, std::move(configSys)};
}

const MachineDescription& DefaultMachine() {
    static const MachineDescription machine =
        ReadMachineDescription(std::string_view(kMachineIni, sizeof kMachineIni - 1),
                               std::string(kMachineConfigSys, sizeof kMachineConfigSys - 1));
    return machine;
}

}  // namespace setup32::check
