// Top-level windows, started programs, pauses, the cursor, privileges and
// restart requests of the simulated machine. Nothing waits or sleeps: every
// request is recorded for the test to look at.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "platform/sim/call_gate.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_records.h"

namespace setup32::platform::sim {

class SimFileSystem;

// The machine's top-level windows. Dialog windows take their handles from
// here too, so that no two windows share one.
class SimWindows {
  public:
    WindowHandle NewHandle() { return next_ += 0x10; }
    WindowHandle Add(const std::string& title, bool closesOnRequest);
    // The first open window whose title is `title` in any letter case, or 0.
    WindowHandle FindOpen(const std::string& title, const HostFacts& host) const;
    bool IsOpen(WindowHandle window) const;
    WindowRecord* Find(WindowHandle window);
    const std::vector<WindowRecord>& All() const { return windows_; }

  private:
    WindowHandle next_ = 0x10000;
    std::vector<WindowRecord> windows_;
};

class SimDesktop final : public Desktop {
  public:
    SimDesktop(CallGate& gate, const SimHost& host, SimWindows& windows,
               const SimFileSystem& files);

    std::uint32_t Exec(const std::string& commandLine, int show) override;
    WindowHandle FindTopWindow(const std::string& title) override;
    bool SendClose(WindowHandle window, unsigned timeoutMs) override;
    void BringToForeground(WindowHandle window) override;
    void Beep(unsigned type) override;
    void SetCursorShape(CursorShape shape) override;
    void Pause(unsigned milliseconds) override;
    std::uint32_t AdjustPrivilege(const std::string& name, bool enable) override;
    bool ShutDownSystem(unsigned flags) override;

    void SetPrivilegeHeld(const std::string& name, bool held);

    const std::vector<ExecRecord>& Execs() const { return execs_; }
    const std::vector<unsigned>& Pauses() const { return pauses_; }
    const std::vector<unsigned>& Beeps() const { return beeps_; }
    const std::vector<CursorShape>& Cursors() const { return cursors_; }
    const std::vector<WindowHandle>& ForegroundCalls() const { return foreground_; }
    const std::vector<unsigned>& ExitWindowsCalls() const { return exits_; }
    const std::vector<std::pair<std::string, bool>>& PrivilegeCalls() const {
        return privilegeCalls_;
    }

  private:
    // The program file a command line starts, or an empty text.
    std::string FindImage(const std::string& commandLine) const;
    // The existing program file `name` stands for, ".exe" added when its
    // last component has no extension; a name without a directory is looked
    // for where WinExec looks.
    std::string FindProgram(const std::string& name) const;
    // The privilege as the system names it, or an empty text when unknown.
    std::string KnownPrivilege(const std::string& name) const;

    CallGate& gate_;
    const SimHost& host_;
    SimWindows& windows_;
    const SimFileSystem& files_;
    std::map<std::string, bool> held_;
    std::vector<ExecRecord> execs_;
    std::vector<unsigned> pauses_;
    std::vector<unsigned> beeps_;
    std::vector<CursorShape> cursors_;
    std::vector<WindowHandle> foreground_;
    std::vector<unsigned> exits_;
    std::vector<std::pair<std::string, bool>> privilegeCalls_;
};

}  // namespace setup32::platform::sim
