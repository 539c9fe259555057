// The application object and the main dialog's and About box's behaviour.
#pragma once

#include <memory>
#include <string>

#include "app/progress_dialog.h"
#include "install/run_outcome.h"
#include "install/setup_fields.h"
#include "platform/ui.h"
#include "state/context.h"

namespace setup32 {

struct ConfigOutcome;
struct ScriptAccess;

namespace dialog_ids {
constexpr int kAboutTemplate = 100;
constexpr int kMainTemplate = 102;
constexpr int kWelcome = 1000;
constexpr int kDescription = 1001;
constexpr int kAboutVersion = 1008;
constexpr int kAboutCopyright = 1009;
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr unsigned kAboutCommand = 0x10;
constexpr unsigned kAboutMenuString = 101;
constexpr int kMainIcon = 128;
constexpr int kSecondIcon = 129;
}  // namespace dialog_ids

class CAboutDlg : public platform::DialogHandler {
  public:
    CAboutDlg(SetupContext& ctx, platform::FontHandle dialogFont) : ctx_(ctx), font_(dialogFont) {}
    bool OnInitDialog(platform::DialogView& view) override;

  private:
    SetupContext& ctx_;
    platform::FontHandle font_;
};

class CSetupDlg : public platform::DialogHandler {
  public:
    explicit CSetupDlg(SetupContext& ctx);

    bool OnInitDialog(platform::DialogView& view) override;
    void OnOK(platform::DialogView& view) override;      // Start
    void OnCancel(platform::DialogView& view) override;  // Exit
    bool OnSysCommand(platform::DialogView& view, unsigned command) override;
    long OnCancelRequest() override;
    void OnDestroy() override;

    // The install sequence (install/run_install.cpp): what it met, and
    // whether it ran to its end.
    InstallResult RunInstall();

    SetupFields& Fields() { return fields_; }
    platform::FontHandle DialogFont() const { return dialogFont_; }
    // How the run has come out so far: kExitBeforeInstall while no install
    // has run, then the code of the last install that found its script, or
    // kNoScript while none has.
    ExitCode Outcome() const { return outcome_; }

  private:
    void SetTexts(platform::DialogView& view);
    // Runs the install sequence and keeps its outcome; true when it ran to
    // its end.
    bool Install();
    void ReportUnreadableScript(const std::string& scriptPath, const ScriptAccess& access);
    void ReportConfigFailure(const ConfigOutcome& outcome);

    SetupContext& ctx_;
    SetupFields fields_;
    platform::FontHandle dialogFont_ = 0;
    ExitCode outcome_ = ExitCode::kExitBeforeInstall;
};

class CSetupApp {
  public:
    // `programPath` is the program file's path; its name without the
    // extension is the application title.
    CSetupApp(platform::Machine& machine, const std::string& programPath);

    // Runs the main dialog modally; always false, so the process ends after it.
    bool InitInstance();
    SetupContext& Context() { return ctx_; }
    // The process's exit code, once InitInstance has returned: the main
    // dialog's outcome, or kNoDialog when it could not be created.
    ExitCode Outcome() const { return outcome_; }

  private:
    SetupContext ctx_;
    ExitCode outcome_ = ExitCode::kExitBeforeInstall;
};

// "C:\DIR\SETUP32.EXE" gives "SETUP32". A "\" that is the second byte of a
// double-byte character separates nothing.
std::string ApplicationTitle(const platform::HostFacts& host, const std::string& programPath);

}  // namespace setup32
