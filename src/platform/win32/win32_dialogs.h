// The dialog windows of the real Win32 API: one dialog procedure routes
// every window message to the portable behaviour (platform::DialogHandler).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/ui.h"

namespace setup32::platform::win32 {

class Win32Dialogs : public Dialogs {
  public:
    // The icon resource every dialog shows in its caption and when minimised.
    static constexpr int kDialogIcon = 128;

    explicit Win32Dialogs(HINSTANCE instance);
    ~Win32Dialogs() override;
    Win32Dialogs(const Win32Dialogs&) = delete;
    Win32Dialogs& operator=(const Win32Dialogs&) = delete;

    FontHandle MakeFont(int height, const std::string& face) override;
    std::string ResourceString(unsigned id) override;
    // A dialog run without an owner is the application's main window for as
    // long as it is open: the owner of the modeless dialogs created meanwhile.
    int RunModal(int templateId, DialogHandler& handler, WindowHandle owner) override;
    std::unique_ptr<DialogView> CreateModeless(int templateId, DialogHandler& handler) override;

  private:
    class View;
    static LRESULT CALLBACK FilterModelessKeyboard(int code, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    HICON icon_;
    HWND mainWindow_ = nullptr;
    // Gives the modeless dialogs their keyboard interface (Tab, Enter, Esc)
    // inside the modal loops of dialogs and message boxes.
    HHOOK keyboardFilter_;
};

std::unique_ptr<Dialogs> MakeWin32Dialogs(HINSTANCE instance);

}  // namespace setup32::platform::win32
