// The install sequence that Start runs (or the main dialog's initialisation
// in the silent mode).
#include "install/run_install.h"

#include <string>

#include "files/copy_progress.h"
#include "files/file_placement.h"
#include "install/run_outcome.h"
#include "platform/windows_versions.h"
#include "shellint/shell_integration.h"
#include "state/ansi_text.h"
#include "state/script.h"
#include "state/setup_fields.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

constexpr const char* kDriverDirectory = "System32\\drivers\\";

constexpr int kMsgDiskWriteError = 46;
constexpr int kMsgBothContents = 51;
constexpr int kMsgAsideNamesTaken = 55;

constexpr int kMsgNothingChanged = 58;
constexpr int kMsgThisStartChangedNothing = 59;

// The report of a script that Start cannot read, by why it cannot, and
// whether an earlier Start of this run has installed something.
int NoScriptMessage(ScriptAccess::State state, bool installedBefore) {
    switch (state) {
        case ScriptAccess::State::kNotFound:
            return installedBefore ? 53 : 50;
        case ScriptAccess::State::kEmpty:
            return 56;
        case ScriptAccess::State::kReadsNoSection:
            return 57;
        case ScriptAccess::State::kReadable:
        case ScriptAccess::State::kUnreadable:
            break;
    }
    return installedBefore ? 54 : 52;
}

// Messages 56 and 57 leave a line open for what this Start has changed, the
// one line that tells a first Start from a later one.
void ReportUnreadableScript(const SetupContext& ctx, const std::string& scriptPath,
                            const ScriptAccess& access, bool installedBefore) {
    const char* format = ctx.Msg(NoScriptMessage(access.state, installedBefore));
    const char* changed =
        ctx.Msg(installedBefore ? kMsgThisStartChangedNothing : kMsgNothingChanged);
    // The number first: a "%d" in the path stays as it is.
    const std::string text = FillPlaceholders(
        FillPlaceholder(format, "%d", std::to_string(access.error)), "%s", {scriptPath, changed});
    ctx.AppMessageBox(text, platform::mb::kOk | platform::mb::kIconError);
}

void ReportConfigFailure(const SetupContext& ctx, const ConfigOutcome& outcome) {
    if (outcome.asideNamesTaken) {
        ctx.AppMessageBox(
            FillPlaceholders(ctx.Msg(kMsgAsideNamesTaken), "%s",
                             {outcome.path, outcome.firstAsidePath, outcome.lastAsidePath}),
            platform::mb::kOk | platform::mb::kIconError);
        return;
    }
    std::string text = std::string(ctx.Msg(kMsgDiskWriteError)) + "\n\n" + outcome.path + " (" +
                       outcome.failedCall + ", " + std::to_string(outcome.error) + ")";
    if (!outcome.oldContentPath.empty()) {
        text += "\n\n" + FillPlaceholders(ctx.Msg(kMsgBothContents), "%s",
                                          {outcome.oldContentPath, outcome.newContentPath});
    }
    ctx.AppMessageBox(text, platform::mb::kOk | platform::mb::kIconError);
}

}  // namespace

InstallResult RunInstall(SetupContext& ctx, SetupFields& fields, CopyProgress& progress,
                         bool installedBefore) {
    InstallResult result;
    const std::string scriptPath = ScriptPath(fields.startDir, fields.scriptName);
    // Without a script it can read, the sequence would install nothing and
    // still remove the default device's entries: nothing is done at all.
    // What decides is what the profile functions read, not the open alone.
    const ScriptAccess access = CheckScriptAccess(ctx.sys.files, ctx.sys.profile, scriptPath);
    if (access.state != ScriptAccess::State::kReadable) {
        ReportUnreadableScript(ctx, scriptPath, access, installedBefore);
        result.scriptUnreadable = true;
        return result;
    }
    platform::Desktop& desktop = ctx.sys.desktop;
    desktop.SetCursorShape(platform::CursorShape::Wait);
    fields.osKind = GetOsKind(ctx.sys.host);
    const int osKind = fields.osKind;

    PrepareDriverCopyList(ctx, fields);
    const CopyPassResult copied = CopyFilesInCopyList(ctx, fields, progress);
    result.copyCancelled = copied.cancelled;
    result.filesGivenUp = copied.givenUp;
    if (platform::IsSupportedPlatform(osKind)) {
        RunShellIntegration(ctx, ctx.mainWindow, osKind);
    }
    const ConfigOutcome config = ModifyConfig(ctx, fields, kConfigSysPath, script_names::kModify);
    if (config.fileError) {
        ReportConfigFailure(ctx, config);
        result.configSysFailed = true;
        return result;
    }
    if (fields.showMain == 1) progress.Close();

    if (platform::IsNtFamilyPlatform(osKind)) {
        const std::string title =
            ReadScriptValue(ctx, scriptPath, script_names::kDisplay, script_names::kTitle,
                            script_default::kServiceTitle, script_capacity::kTitle);
        const std::string driver =
            ReadScriptValue(ctx, scriptPath, script_names::kDisplay, script_names::kDriver, "",
                            script_capacity::kDriver);
        if (!driver.empty()) {
            RegisterMiniportService(ctx.sys.registry, title, kDriverDirectory + driver);
        }
        DisableScsiscanService(ctx.sys.registry);
    } else if (platform::Is9xFamilyPlatform(osKind)) {
        const std::string deviceIds =
            ReadScriptValue(ctx, scriptPath, script_names::kDisplay, script_names::kDeviceId,
                            script_default::kDeviceId, script_capacity::kDeviceId);
        for (const std::string& id : SplitDeviceIds(deviceIds)) {
            RemoveDeviceEntries(ctx, fields, id);
        }
    }
    desktop.SetCursorShape(platform::CursorShape::Arrow);
    return result;
}

}  // namespace setup32
