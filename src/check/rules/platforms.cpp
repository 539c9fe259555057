#include "check/rules/platforms.h"

#include "files/file_placement.h"
#include "messages/messages.h"
#include "platform/sim/wine_differences.h"
#include "platform/windows_versions.h"
#include "shellint/shell_text.h"
#include "state/script.h"

namespace setup32::check {

std::vector<std::string> KnownSections() {
    std::vector<std::string> known = {script_names::kDisplay, script_names::kModify,
                                      script_names::kUninstall};
    for (const platform::WindowsVersion& version : platform::kWindowsVersions) {
        const int kind = version.platformCode;
        const DriverSections driver = *DriverSectionsFor(kind);
        known.insert(known.end(), {driver.first, driver.second});
        for (const std::string_view family :
             {shell_text::section_family::kShortcut, shell_text::section_family::kExecute,
              shell_text::section_family::kUninstallExtraFile}) {
            known.push_back(shell_text::PlatformSection(kind, family));
        }
    }
    return known;
}

std::string PlatformTitle(int osKind) {
    for (const platform::WindowsVersion& version : platform::kWindowsVersions) {
        if (version.platformCode == osKind) return std::string(version.name);
    }
    return "this Windows";
}

std::string WindowsAgainstWine(std::string_view id) {
    const sim::WineDifference& difference = sim::WineDifferenceById(id);
    return std::string(difference.windows) + "; a trial under Wine does not show this (" +
           std::string(difference.wine) + ")";
}

}  // namespace setup32::check
