// The application object and the main dialog's and About box's behaviour.
#pragma once

#include <memory>
#include <string>

#include "app/progress_dialog.h"
#include "install/context.h"
#include "install/setup_fields.h"
#include "platform/ui.h"

namespace setup32 {

struct ConfigOutcome;

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

    // The install sequence (install/run_install.cpp). False when a file
    // error abandoned it: the steps after it did not run.
    bool RunInstall();

    SetupFields& Fields() { return fields_; }
    platform::FontHandle DialogFont() const { return dialogFont_; }

  private:
    void SetTexts(platform::DialogView& view);
    void ReportConfigFailure(const ConfigOutcome& outcome);

    SetupContext& ctx_;
    SetupFields fields_;
    platform::FontHandle dialogFont_ = 0;
};

class CSetupApp {
  public:
    // `programPath` is the program file's path; its name without the
    // extension is the application title.
    CSetupApp(platform::Machine& machine, const std::string& programPath);

    // Runs the main dialog modally; always false, so the process ends after it.
    bool InitInstance();
    SetupContext& Context() { return ctx_; }

  private:
    SetupContext ctx_;
};

// "C:\DIR\SETUP32.EXE" gives "SETUP32".
std::string ApplicationTitle(const std::string& programPath);

}  // namespace setup32
