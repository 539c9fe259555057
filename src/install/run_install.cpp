// The install sequence that Start runs (or the main dialog's initialisation
// in the silent mode).
#include <algorithm>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "files/file_placement.h"
#include "install/run_outcome.h"
#include "platform/windows_versions.h"
#include "shellint/shell_integration.h"
#include "state/ansi_text.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

constexpr const char* kDriverDirectory = "System32\\drivers\\";

constexpr int kMsgDiskWriteError = 46;
constexpr int kMsgBothContents = 51;
constexpr int kMsgAsideNamesTaken = 55;

// The report of a script that Start cannot read: not found or unreadable,
// and whether an earlier Start of this run has installed something.
int NoScriptMessage(ScriptAccess::State state, bool installedBefore) {
    constexpr int kNotFound = 50;
    constexpr int kUnreadable = 52;
    constexpr int kNotFoundAfterInstall = 53;
    constexpr int kUnreadableAfterInstall = 54;
    if (state == ScriptAccess::State::kNotFound) {
        return installedBefore ? kNotFoundAfterInstall : kNotFound;
    }
    return installedBefore ? kUnreadableAfterInstall : kUnreadable;
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
    // Without a script it can read, the sequence would install nothing and
    // still remove the default device's entries: nothing is done at all.
    const ScriptAccess access = CheckScriptAccess(ctx_.sys.files, scriptPath);
    if (access.state != ScriptAccess::State::kReadable) {
        ReportUnreadableScript(scriptPath, access);
        result.scriptUnreadable = true;
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
    if (platform::IsSupportedPlatform(osKind)) {
        RunShellIntegration(ctx_, ctx_.mainWindow, osKind);
    }
    const ConfigOutcome config = ModifyConfig(ctx_, fields_, kConfigSysPath, script_names::kModify);
    if (config.fileError) {
        ReportConfigFailure(config);
        result.configSysFailed = true;
        return result;
    }
    if (fields_.showMain == 1) fields_.progress.reset();

    if (platform::IsNtFamilyPlatform(osKind)) {
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
    } else if (platform::Is9xFamilyPlatform(osKind)) {
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

void CSetupDlg::ReportUnreadableScript(const std::string& scriptPath, const ScriptAccess& access) {
    const char* format = ctx_.Msg(NoScriptMessage(access.state, InstallHasRun(outcome_)));
    // The number first: a "%d" in the path stays as it is.
    const std::string text = FillPlaceholder(
        FillPlaceholder(format, "%d", std::to_string(access.error)), "%s", scriptPath);
    ctx_.AppMessageBox(text, platform::mb::kOk | platform::mb::kIconError);
}

void CSetupDlg::ReportConfigFailure(const ConfigOutcome& outcome) {
    if (outcome.asideNamesTaken) {
        ctx_.AppMessageBox(
            FillPlaceholders(ctx_.Msg(kMsgAsideNamesTaken), "%s",
                             {outcome.path, outcome.firstAsidePath, outcome.lastAsidePath}),
            platform::mb::kOk | platform::mb::kIconError);
        return;
    }
    std::string text = std::string(ctx_.Msg(kMsgDiskWriteError)) + "\n\n" + outcome.path + " (" +
                       outcome.failedCall + ", " + std::to_string(outcome.error) + ")";
    if (!outcome.oldContentPath.empty()) {
        text += "\n\n" + FillPlaceholders(ctx_.Msg(kMsgBothContents), "%s",
                                          {outcome.oldContentPath, outcome.newContentPath});
    }
    ctx_.AppMessageBox(text, platform::mb::kOk | platform::mb::kIconError);
}

}  // namespace setup32
