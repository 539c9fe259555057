// Processes, top-level windows, the cursor, pauses, privileges and the
// restart: the parts of the Windows desktop the setup touches.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace setup32::platform {

enum class CursorShape { Arrow, Wait };

class Desktop {
  public:
    virtual ~Desktop() = default;
    // WinExec: the result code (above 31 when the program started).
    virtual std::uint32_t Exec(const std::string& commandLine, int show) = 0;
    // FindWindowA with no class name: the top-level window with this exact title, or 0.
    virtual WindowHandle FindTopWindow(const std::string& title) = 0;
    // Sends WM_CLOSE (both parameters 0) and waits until the window has
    // handled it, at most `timeoutMs`. False when it did not answer in time.
    virtual bool SendClose(WindowHandle window, unsigned timeoutMs) = 0;
    // SetForegroundWindow.
    virtual void BringToForeground(WindowHandle window) = 0;
    // MessageBeep.
    virtual void Beep(unsigned type) = 0;
    // SetCursor(LoadCursorA(NULL, IDC_ARROW or IDC_WAIT)).
    virtual void SetCursorShape(CursorShape shape) = 0;
    // Sleep.
    virtual void Pause(unsigned milliseconds) = 0;
    // OpenProcessToken, LookupPrivilegeValueA and AdjustTokenPrivileges on
    // the current process; the error GetLastError reports afterwards (0 when
    // the privilege now has the asked state).
    virtual std::uint32_t AdjustPrivilege(const std::string& name, bool enable) = 0;
    // ExitWindowsEx(flags, 0).
    virtual bool ShutDownSystem(unsigned flags) = 0;
};

}  // namespace setup32::platform
