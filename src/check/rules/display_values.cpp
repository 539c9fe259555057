#include "check/rules/display_values.h"

#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {

const KeyedValue kDisplayValues[5] = {
    {script_names::kGroupName, script_capacity::kGroupName,
     "names the product key, the program group and the uninstall entry"},
    {script_names::kShow, script_capacity::kShow, "decides between the shown and the silent mode"},
    {script_names::kDeviceId, script_capacity::kDeviceId, "lists the device ids to clean up"},
    {script_names::kTitle, script_capacity::kTitle, "names the miniport service"},
    {script_names::kDriver, script_capacity::kDriver, "names the miniport driver file"},
};

std::vector<std::string> DisplayKeys() {
    std::vector<std::string> keys;
    for (const KeyedValue& value : kDisplayValues) keys.emplace_back(value.key);
    return keys;
}

std::string DefaultsTaken(RunFacts& facts) {
    std::string text = "the group name " + Quoted(kDefaultGroupName) +
                       " names the product key, the program group and the uninstall entry";
    if (OnNt(facts)) {
        return text + ", and without a Driver no miniport service is registered, so " +
               PlatformTitle(facts.run.OsKind()) + " does not start the adapter's driver";
    }
    return text + ", and the clean-up removes the entries of device id " +
           script_default::kDeviceId + " only";
}

}  // namespace setup32::check
