#include <windows.h>

#include <utility>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_services.h"

namespace setup32::platform::win32 {
namespace {

// Owns a kernel handle and closes it when it goes out of scope.
class OwnedHandle {
  public:
    OwnedHandle() = default;
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() {
        if (handle_ != nullptr) CloseHandle(handle_);
    }
    HANDLE* Receive() { return &handle_; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace

std::uint32_t Win32Desktop::Exec(const std::string& commandLine, int show) {
    return WinExec(commandLine.c_str(), static_cast<UINT>(show));
}

WindowHandle Win32Desktop::FindTopWindow(const std::string& title) {
    return FromHwnd(FindWindowA(nullptr, title.c_str()));
}

bool Win32Desktop::SendClose(WindowHandle window, unsigned timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(ToHwnd(window), WM_CLOSE, 0, 0, SMTO_NORMAL, timeoutMs, &result) !=
           0;
}

void Win32Desktop::BringToForeground(WindowHandle window) {
    SetForegroundWindow(ToHwnd(window));
}

void Win32Desktop::Beep(unsigned type) {
    MessageBeep(type);
}

void Win32Desktop::SetCursorShape(CursorShape shape) {
    SetCursor(LoadCursorA(nullptr, shape == CursorShape::Wait ? IDC_WAIT : IDC_ARROW));
}

void Win32Desktop::Pause(unsigned milliseconds) {
    Sleep(milliseconds);
}

std::uint32_t Win32Desktop::AdjustPrivilege(const std::string& name, bool enable) {
    OwnedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          token.Receive())) {
        return GetLastError();
    }
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    if (!LookupPrivilegeValueA(nullptr, name.c_str(), &privileges.Privileges[0].Luid)) {
        return GetLastError();
    }
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    return GetLastError();
}

bool Win32Desktop::ShutDownSystem(unsigned flags) {
    return ExitWindowsEx(flags, 0) != 0;
}

}  // namespace setup32::platform::win32
