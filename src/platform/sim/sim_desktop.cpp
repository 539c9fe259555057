#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <iterator>

#include "platform/sim/sim_files.h"

namespace setup32::platform::sim {
namespace {

// WinExec's answer when the program started.
constexpr std::uint32_t kExecStarted = 33;
// The largest error code WinExec reports; 0 stands for any other failure.
constexpr std::uint32_t kLastExecError = 31;

// The privileges a Windows NT token can name.
constexpr const char* kPrivileges[] = {
    "SeAssignPrimaryTokenPrivilege",
    "SeAuditPrivilege",
    "SeBackupPrivilege",
    "SeChangeNotifyPrivilege",
    "SeCreatePagefilePrivilege",
    "SeCreatePermanentPrivilege",
    "SeCreateTokenPrivilege",
    "SeDebugPrivilege",
    "SeIncreaseBasePriorityPrivilege",
    "SeIncreaseQuotaPrivilege",
    "SeLoadDriverPrivilege",
    "SeLockMemoryPrivilege",
    "SeProfileSingleProcessPrivilege",
    "SeRemoteShutdownPrivilege",
    "SeRestorePrivilege",
    "SeSecurityPrivilege",
    "SeShutdownPrivilege",
    "SeSystemEnvironmentPrivilege",
    "SeSystemProfilePrivilege",
    "SeSystemtimePrivilege",
    "SeTakeOwnershipPrivilege",
    "SeTcbPrivilege",
    "SeUnsolicitedInputPrivilege",
};

std::string Hex(unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return "0x" + text;
}

}  // namespace

WindowHandle SimWindows::Add(const std::string& title, bool closesOnRequest) {
    const WindowHandle handle = NewHandle();
    windows_.push_back(WindowRecord{handle, title, closesOnRequest, true, 0});
    return handle;
}

WindowHandle SimWindows::FindOpen(const std::string& title) const {
    const auto it = std::find_if(windows_.begin(), windows_.end(),
                                 [&](const WindowRecord& w) { return w.open && w.title == title; });
    return it == windows_.end() ? 0 : it->handle;
}

bool SimWindows::IsOpen(WindowHandle window) const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [&](const WindowRecord& w) { return w.handle == window && w.open; });
}

WindowRecord* SimWindows::Find(WindowHandle window) {
    const auto it = std::find_if(windows_.begin(), windows_.end(),
                                 [&](const WindowRecord& w) { return w.handle == window; });
    return it == windows_.end() ? nullptr : &*it;
}

SimDesktop::SimDesktop(CallGate& gate, const SimHost& host, SimWindows& windows,
                       const SimFileSystem& files)
    : gate_(gate), host_(host), windows_(windows), files_(files) {
    held_["SeShutdownPrivilege"] = true;
}

std::uint32_t SimDesktop::Exec(const std::string& commandLine, int show) {
    if (const auto error = gate_.EnterLogged("WinExec", commandLine)) {
        return *error <= kLastExecError ? *error : 0;
    }
    execs_.push_back(ExecRecord{commandLine, show, files_.CurrentDirectoryText()});
    return kExecStarted;
}

WindowHandle SimDesktop::FindTopWindow(const std::string& title) {
    if (gate_.EnterLogged("FindWindowA", title)) return 0;
    return windows_.FindOpen(title);
}

bool SimDesktop::SendClose(WindowHandle window, unsigned timeoutMs) {
    WindowRecord* const record = windows_.Find(window);
    const bool delivered = record && record->open;
    std::string detail =
        "WM_CLOSE " + (record ? record->title : Hex(static_cast<unsigned>(window)));
    if (delivered && !record->closesOnRequest) {
        detail += ", no answer within " + std::to_string(timeoutMs) + " ms";
    }
    if (gate_.EnterLogged("SendMessageTimeoutA", detail) || !delivered) return false;
    ++record->closeRequests;
    if (!record->closesOnRequest) return false;
    record->open = false;
    return true;
}

void SimDesktop::BringToForeground(WindowHandle window) {
    if (gate_.EnterLogged("SetForegroundWindow", Hex(static_cast<unsigned>(window)))) return;
    foreground_.push_back(window);
}

void SimDesktop::Beep(unsigned type) {
    if (gate_.EnterLogged("MessageBeep", Hex(type))) return;
    beeps_.push_back(type);
}

void SimDesktop::SetCursorShape(CursorShape shape) {
    if (gate_.EnterLogged("SetCursor", shape == CursorShape::Wait ? "wait" : "arrow")) return;
    cursors_.push_back(shape);
}

void SimDesktop::Pause(unsigned milliseconds) {
    if (gate_.EnterLogged("Sleep", std::to_string(milliseconds))) return;
    pauses_.push_back(milliseconds);
}

std::uint32_t SimDesktop::AdjustPrivilege(const std::string& name, bool enable) {
    privilegeCalls_.emplace_back(name, enable);
    if (const auto error =
            gate_.EnterLogged("AdjustTokenPrivileges", name + (enable ? " enable" : " disable"))) {
        return *error;
    }
    const std::string known = KnownPrivilege(name);
    if (known.empty()) return win_error::kNoSuchPrivilege;
    const auto it = held_.find(known);
    return it != held_.end() && it->second ? win_error::kSuccess : win_error::kNotAllAssigned;
}

bool SimDesktop::ShutDownSystem(unsigned flags) {
    if (gate_.EnterLogged("ExitWindowsEx", Hex(flags))) return false;
    exits_.push_back(flags);
    return true;
}

void SimDesktop::SetPrivilegeHeld(const std::string& name, bool held) {
    const std::string known = KnownPrivilege(name);
    held_[known.empty() ? name : known] = held;
}

std::string SimDesktop::KnownPrivilege(const std::string& name) const {
    const auto it = std::find_if(std::begin(kPrivileges), std::end(kPrivileges),
                                 [&](const char* known) { return host_.SameName(known, name); });
    return it == std::end(kPrivileges) ? std::string() : std::string(*it);
}

}  // namespace setup32::platform::sim
