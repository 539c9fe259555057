// The install sequence that Start runs (or the main dialog's initialisation
// in the silent mode).
#include <algorithm>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "files/file_placement.h"
#include "install/script.h"
#include "shellint/shell_integration.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

constexpr const char* kDriverDirectory = "System32\\drivers\\";

bool RunsShellIntegration(int osKind) {
    return osKind == os_kind::kWindowsNT || osKind == os_kind::kWindows95 ||
           osKind == os_kind::kWindows98 || osKind == os_kind::kWindows2000;
}

bool IsNtFamily(int osKind) {
    return osKind == os_kind::kWindowsNT || osKind == os_kind::kWindows2000;
}

bool IsWindows9x(int osKind) {
    return osKind == os_kind::kWindows95 || osKind == os_kind::kWindows98;
}

}  // namespace

// The DeviceID value split at ","; empty pieces are skipped, blanks are kept.
std::vector<std::string> SplitDeviceIds(const std::string& value) {
    std::vector<std::string> ids;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        if (comma > start) ids.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    return ids;
}

bool CSetupDlg::RunInstall() {
    platform::Desktop& desktop = ctx_.sys.desktop;
    desktop.SetCursorShape(platform::CursorShape::Wait);
    fields_.osKind = GetOsKind(ctx_.sys.host);
    const int osKind = fields_.osKind;
    const std::string scriptPath = ScriptPath(fields_.startDir, fields_.scriptName);

    PrepareDriverCopyList(ctx_, fields_);
    CopyFilesInCopyList(ctx_, fields_);
    if (RunsShellIntegration(osKind)) {
        RunShellIntegration(ctx_, ctx_.mainWindow, osKind);
    }
    const ConfigOutcome config = ModifyConfig(ctx_, fields_, kConfigSysPath, script_names::kModify);
    if (config.fileError) {
        ReportConfigFailure(config);
        return false;
    }
    if (fields_.showMain == 1) fields_.progress.reset();

    if (IsNtFamily(osKind)) {
        const std::string title =
            ReadScriptValue(ctx_, scriptPath, script_names::kDisplay, script_names::kTitle,
                            script_default::kServiceTitle, script_capacity::kTitle);
        const std::string driver =
            ReadScriptValue(ctx_, scriptPath, script_names::kDisplay, script_names::kDriver, "",
                            script_capacity::kDriver);
        if (!driver.empty()) {
            RegisterMiniportService(ctx_.sys.registry, title, kDriverDirectory + driver);
        }
        DisableScsiscanService(ctx_.sys.registry);
    } else if (IsWindows9x(osKind)) {
        const std::string deviceIds =
            ReadScriptValue(ctx_, scriptPath, script_names::kDisplay, script_names::kDeviceId,
                            script_default::kDeviceId, script_capacity::kDeviceId);
        for (const std::string& id : SplitDeviceIds(deviceIds)) {
            RemoveDeviceEntries(ctx_, fields_, id);
        }
    }
    desktop.SetCursorShape(platform::CursorShape::Arrow);
    return true;
}

void CSetupDlg::ReportConfigFailure(const ConfigOutcome& outcome) {
    const std::string text = std::string(ctx_.Msg(46)) + "\n\n" + outcome.path + " (" +
                             outcome.failedCall + ", " + std::to_string(outcome.error) + ")";
    ctx_.AppMessageBox(text, platform::mb::kOk | platform::mb::kIconError);
}

}  // namespace setup32
