#include "check/default_machine.h"

#include <vector>

#include "check/profile_layout.h"
#include "default_machine_files.h"
#include "state/ascii_text.h"

namespace setup32::check {
namespace {

constexpr std::string_view kSharedSection = "Machine";

// The value of the first line of `key` in the first section named `name`,
// as a keyed read returns it; none when there is no such line.
const std::string* KeyValue(const std::vector<ProfileSection>& layout, std::string_view name,
                            std::string_view key) {
    for (const ProfileSection& section : layout) {
        if (section.number == 0 || !EqualsIgnoringCase(section.name, name)) continue;
        for (const ProfileLine& line : section.lines) {
            if (line.hasKey && EqualsIgnoringCase(line.key, key)) return &line.value;
        }
        return nullptr;
    }
    return nullptr;
}

}  // namespace

MachineDescription ReadMachineDescription(std::string_view machineIni, std::string_view versionId,
                                          std::string configSys) {
    const std::vector<ProfileSection> layout = ReadProfileLayout(machineIni);
    const auto value = [&](std::string_view key) {
        const std::string* found = KeyValue(layout, versionId, key);
        if (found == nullptr) found = KeyValue(layout, kSharedSection, key);
        return found == nullptr ? std::string() : *found;
    };
    return {value("StartDir"), value("WindowsDir"), std::move(configSys)};
}

const MachineDescription& DefaultMachine(const platform::WindowsVersion& version) {
    static const std::vector<MachineDescription> machines = [] {
        const std::string_view ini(kMachineIni, sizeof kMachineIni - 1);
        const std::string configSys(kMachineConfigSys, sizeof kMachineConfigSys - 1);
        std::vector<MachineDescription> all;
        for (const platform::WindowsVersion& each : platform::kWindowsVersions) {
            all.push_back(ReadMachineDescription(ini, each.id, configSys));
        }
        return all;
    }();
    return machines[static_cast<std::size_t>(&version - platform::kWindowsVersions.data())];
}

}  // namespace setup32::check
