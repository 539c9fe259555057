// The install sequence that Start runs (or the main dialog's initialisation
// in the silent mode).
#include <algorithm>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "files/ansi_text.h"
#include "files/file_placement.h"
#include "install/run_outcome.h"
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

constexpr int kMsgDiskWriteError = 46;
constexpr int kMsgNoScript = 50;
constexpr int kMsgBothContents = 51;

// True when Windows says that there is no setup script; a directory of
// that name is none either. A script that cannot be looked at for another
// reason is left for the profile reads to find.
bool ScriptMissing(platform::FileSystem& files, const std::string& scriptPath) {
    std::uint32_t attributes = 0;
    const std::uint32_t error = files.Attributes(scriptPath, attributes);
    if (error == platform::win_error::kFileNotFound ||
        error == platform::win_error::kPathNotFound) {
        return true;
    }
    return error == 0 && (attributes & platform::kFileAttributeDirectory) != 0;
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

InstallResult CSetupDlg::RunInstall() {
    InstallResult result;
    const std::string scriptPath = ScriptPath(fields_.startDir, fields_.scriptName);
    // Without its script the sequence would install nothing and still
    // remove the default device's entries: nothing is done at all.
    if (ScriptMissing(ctx_.sys.files, scriptPath)) {
        ReportMissingScript(scriptPath);
        result.scriptMissing = true;
        return result;
    }
    platform::Desktop& desktop = ctx_.sys.desktop;
    desktop.SetCursorShape(platform::CursorShape::Wait);
    fields_.osKind = GetOsKind(ctx_.sys.host);
    const int osKind = fields_.osKind;

    PrepareDriverCopyList(ctx_, fields_);
    const CopyPassResult copied = CopyFilesInCopyList(ctx_, fields_);
    result.copyCancelled = copied.cancelled;
    result.filesGivenUp = copied.givenUp;
    if (RunsShellIntegration(osKind)) {
        RunShellIntegration(ctx_, ctx_.mainWindow, osKind);
    }
    const ConfigOutcome config = ModifyConfig(ctx_, fields_, kConfigSysPath, script_names::kModify);
    if (config.fileError) {
        ReportConfigFailure(config);
        result.configSysFailed = true;
        return result;
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
    return result;
}

void CSetupDlg::ReportMissingScript(const std::string& scriptPath) {
    ctx_.AppMessageBox(FillPlaceholder(ctx_.Msg(kMsgNoScript), "%s", scriptPath),
                       platform::mb::kOk | platform::mb::kIconError);
}

void CSetupDlg::ReportConfigFailure(const ConfigOutcome& outcome) {
    std::string text = std::string(ctx_.Msg(kMsgDiskWriteError)) + "\n\n" + outcome.path + " (" +
                       outcome.failedCall + ", " + std::to_string(outcome.error) + ")";
    if (!outcome.oldContentPath.empty()) {
        text += "\n\n" + FillPlaceholders(ctx_.Msg(kMsgBothContents), "%s",
                                          {outcome.oldContentPath, outcome.newContentPath});
    }
    ctx_.AppMessageBox(text, platform::mb::kOk | platform::mb::kIconError);
}

}  // namespace setup32
