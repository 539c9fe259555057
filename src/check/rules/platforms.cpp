#include "check/rules/platforms.h"

#include "files/file_placement.h"
#include "messages/messages.h"
#include "platform/sim/wine_differences.h"
#include "shellint/shell_text.h"
#include "state/script.h"

namespace setup32::check {

const int kShellPlatforms[4] = {os_kind::kWindows95, os_kind::kWindows98, os_kind::kWindowsNT,
                                os_kind::kWindows2000};

std::vector<std::string> KnownSections() {
    std::vector<std::string> known = {script_names::kDisplay, script_names::kModify,
                                      script_names::kUninstall};
    for (const int kind : kShellPlatforms) {
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
    switch (osKind) {
        case os_kind::kWindows95:
            return "Windows 95";
        case os_kind::kWindows98:
            return "Windows 98";
        case os_kind::kWindowsNT:
            return "Windows NT 4.0";
        case os_kind::kWindows2000:
            return "Windows 2000";
        default:
            return "this Windows";
    }
}

std::string WindowsAgainstWine(std::string_view id) {
    const sim::WineDifference& difference = sim::WineDifferenceById(id);
    return std::string(difference.windows) + "; a trial under Wine does not show this (" +
           std::string(difference.wine) + ")";
}

}  // namespace setup32::check
