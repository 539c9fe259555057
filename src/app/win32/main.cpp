// The program's entry: the Win32 machine and the application object. All
// behaviour lives in the portable application.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>

#include "app/setup_app.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_machine.h"
#include "resource.h"

namespace setup32 {
namespace {

// The resource script and the dialogs' behaviour name the same resources.
static_assert(IDD_ABOUTBOX == dialog_ids::kAboutTemplate);
static_assert(IDD_SETUP_DIALOG == dialog_ids::kMainTemplate);
static_assert(IDD_PROGRESS == progress_ids::kTemplate);
static_assert(IDS_ABOUTBOX == dialog_ids::kAboutMenuString);
static_assert(IDR_MAINFRAME == dialog_ids::kMainIcon);
static_assert(IDR_MAINFRAME == platform::win32::Win32Dialogs::kDialogIcon);
static_assert(IDI_ADAPTER == dialog_ids::kSecondIcon);
static_assert(IDC_WELCOME == dialog_ids::kWelcome && IDC_DESCRIPTION == dialog_ids::kDescription);
static_assert(IDC_ABOUT_VERSION == dialog_ids::kAboutVersion &&
              IDC_ABOUT_COPYRIGHT == dialog_ids::kAboutCopyright);
static_assert(IDC_SOURCE == progress_ids::kSource &&
              IDC_DESTINATION == progress_ids::kDestination &&
              IDC_PROGRESS_BAR == progress_ids::kBar &&
              IDC_PROGRESS_CANCEL == progress_ids::kCancel);

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

}  // namespace
}  // namespace setup32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    using namespace setup32;
    InitCommonControls();
    platform::win32::Win32Machine machine(platform::win32::MakeWin32Dialogs(instance));
    CSetupApp app(machine.machine(), ProgramPath());
    app.InitInstance();
    return static_cast<int>(app.Outcome());
}
