#include "app/setup_app.h"

#include "messages/messages.h"
#include "state/ansi_text.h"
#include "state/ascii_text.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
std::string ApplicationTitle(const platform::HostFacts& host, const std::string& programPath) {
    const std::size_t slash = FindLastCharOf(host, programPath, "\\/:");
    std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
    const std::size_t dot = FindLastCharOf(host, name, ".");
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

CSetupApp::CSetupApp(platform::Machine& machine, const std::string& programPath) : ctx_(machine) {
    ctx_.appTitle = ApplicationTitle(machine.host, programPath);
}

bool CSetupApp::InitInstance() {
    CSetupDlg dialog(ctx_);
    const int ended = ctx_.sys.dialogs.RunModal(dialog_ids::kMainTemplate, dialog, 0);
    outcome_ = ended == platform::kDialogFailed ? ExitCode::kNoDialog : dialog.Outcome();
    return false;
}

bool CAboutDlg::OnInitDialog(platform::DialogView& view) {
    const std::pair<int, int> texts[] = {
        {dialog_ids::kAboutVersion, 70}, {dialog_ids::kAboutCopyright, 71}, {dialog_ids::kOk, 72}};
    for (const auto& [control, message] : texts) {
        view.SetItemFont(control, font_);
        view.SetItemText(control, ctx_.Msg(message));
    }
    view.SetCaption(ctx_.Msg(73));
    return true;
}

CSetupDlg::CSetupDlg(SetupContext& ctx) : ctx_(ctx) {
    ctx_.scriptPath = fields_.scriptName;
}

bool CSetupDlg::OnInitDialog(platform::DialogView& view) {
    ctx_.mainWindow = view.Handle();
    const SystemIdentity identity = IdentifySystem(ctx_.sys.host);
    ctx_.language = identity.language;
    ctx_.osKind = identity.osKind;

    const int systemHeight = view.SystemFontHeight();
    const int height =
        ctx_.language.primary == primary_language::kEnglish ? systemHeight : systemHeight * 3 / 4;
    dialogFont_ = ctx_.sys.dialogs.MakeFont(height, ctx_.Msg(9000));

    const std::string aboutText = ctx_.sys.dialogs.ResourceString(dialog_ids::kAboutMenuString);
    if (!aboutText.empty()) view.AppendSystemMenuItem(dialog_ids::kAboutCommand, aboutText);

    view.SetIcon(true);
    view.SetIcon(false);

    fields_.progress = std::make_unique<CProgressDlg>(ctx_, dialogFont_, *this);
    fields_.cancelRequested = 0;
    fields_.startDir = ctx_.sys.files.CurrentDirectory(kStartDirCapacity);

    const std::string scriptPath = ScriptPath(fields_.startDir, fields_.scriptName);
    const std::string show =
        ReadScriptValue(ctx_, scriptPath, script_names::kDisplay, script_names::kShow,
                        script_default::kShow, script_capacity::kShow);
    fields_.showMain = EqualsIgnoringCase(show, "YES") ? 1 : 0;

    SetTexts(view);
    if (fields_.showMain == 1) {
        view.Show(platform::sw::kShow);
    } else if (Install()) {
        view.End(dialog_ids::kOk);
    } else {
        // The install was abandoned: the dialog stays, now for the user to see.
        view.Show(platform::sw::kShow);
    }
    return true;
}

void CSetupDlg::SetTexts(platform::DialogView& view) {
    const std::pair<int, int> texts[] = {{dialog_ids::kWelcome, 60},
                                         {dialog_ids::kDescription, 61},
                                         {dialog_ids::kOk, 62},
                                         {dialog_ids::kCancel, 63}};
    for (const auto& [control, message] : texts) {
        view.SetItemFont(control, dialogFont_);
        view.SetItemText(control, ctx_.Msg(message));
    }
    view.SetCaption(ctx_.Msg(64));
}

bool CSetupDlg::Install() {
    const InstallResult result = RunInstall();
    outcome_ = ExitCodeAfter(outcome_, result);
    return result.RanToEnd();
}

void CSetupDlg::OnOK(platform::DialogView& view) {
    if (!Install()) return;
    ctx_.sys.desktop.BringToForeground(view.Handle());
    ctx_.sys.desktop.Beep(platform::mb::kIconQuestion);
    const int answer =
        ctx_.AppMessageBox(ctx_.Msg(43), platform::mb::kYesNo | platform::mb::kIconInformation);
    if (answer == platform::mb::kIdYes) RestartWindows(ctx_);
    view.End(dialog_ids::kOk);
}

void CSetupDlg::OnCancel(platform::DialogView& view) {
    const int answer = ctx_.sys.boxes.Show(view.Handle(), ctx_.Msg(44), ctx_.Msg(45),
                                           platform::mb::kYesNo | platform::mb::kIconExclamation);
    if (answer == platform::mb::kIdYes) view.End(dialog_ids::kCancel);
}

bool CSetupDlg::OnSysCommand(platform::DialogView& view, unsigned command) {
    if ((command & 0xFFF0) != dialog_ids::kAboutCommand) return false;
    CAboutDlg about(ctx_, dialogFont_);
    ctx_.sys.dialogs.RunModal(dialog_ids::kAboutTemplate, about, view.Handle());
    return true;
}

long CSetupDlg::OnCancelRequest() {
    fields_.cancelRequested = 1;
    return 0;
}

void CSetupDlg::OnDestroy() {
    fields_.copyList.clear();
}

}  // namespace setup32
