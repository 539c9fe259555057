#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <cctype>
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

// The ways an unquoted command line can be read, shortest program name
// first: "C:\Program Files\My Tool.exe /x" is tried as "C:\Program", then
// "C:\Program Files\My", then "C:\Program Files\My Tool.exe" (the Win32
// reference of CreateProcess: "c:\program files\sub dir\program name ...
// The system tries to interpret the possibilities in the following order").
// A quoted program name is read only as written.
std::vector<std::string> ProgramNames(const std::string& commandLine) {
    const std::size_t start = commandLine.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    if (commandLine[start] == '"') {
        const std::size_t close = commandLine.find('"', start + 1);
        return {
            commandLine.substr(start + 1, close == std::string::npos ? close : close - start - 1)};
    }
    std::vector<std::string> names;
    for (std::size_t blank = commandLine.find(' ', start); blank != std::string::npos;
         blank = commandLine.find(' ', blank + 1)) {
        if (commandLine[blank - 1] != ' ')
            names.push_back(commandLine.substr(start, blank - start));
    }
    const std::size_t end = commandLine.find_last_not_of(' ');
    names.push_back(commandLine.substr(start, end - start + 1));
    return names;
}

bool HasDirectory(const std::string& name) {
    return name.find_first_of("\\/:") != std::string::npos;
}

std::string WithExtension(const std::string& name) {
    const std::size_t component = name.find_last_of("\\/:");
    const std::size_t dot = name.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (component == std::string::npos || dot > component);
    return hasExtension ? name : name + ".exe";
}

std::string InDirectory(const std::string& directory, const std::string& name) {
    return !directory.empty() && directory.back() == '\\' ? directory + name
                                                          : directory + "\\" + name;
}

}  // namespace

bool IsProgramName(std::string_view path) {
    const std::size_t component = path.find_last_of("\\/:");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (component != std::string_view::npos && dot < component))
        return false;
    std::string extension;
    for (const char c : path.substr(dot + 1))
        extension += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension == "EXE" || extension == "COM" || extension == "BAT" || extension == "PIF";
}

WindowHandle SimWindows::Add(const std::string& title, bool closesOnRequest) {
    const WindowHandle handle = NewHandle();
    windows_.push_back(WindowRecord{handle, title, closesOnRequest, true, 0});
    return handle;
}

WindowHandle SimWindows::FindOpen(const std::string& title, const HostFacts& host) const {
    const auto it = std::find_if(windows_.begin(), windows_.end(), [&](const WindowRecord& w) {
        return w.open && SameNameOn(host, w.title, title);
    });
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
    if (const auto error = gate_.EnterLogged(Call::WinExec, commandLine)) {
        return *error <= kLastExecError ? *error : 0;
    }
    std::string image = FindImage(commandLine);
    const bool found = !image.empty();
    execs_.push_back(
        ExecRecord{commandLine, show, files_.CurrentDirectoryText(), std::move(image)});
    if (!found) return win_error::kFileNotFound;
    return IsProgramName(execs_.back().image) ? kExecStarted : kExecNotAProgram;
}

std::string SimDesktop::FindImage(const std::string& commandLine) const {
    for (const std::string& name : ProgramNames(commandLine)) {
        std::string image = FindProgram(name);
        if (!image.empty()) return image;
    }
    return std::string();
}

std::string SimDesktop::FindProgram(const std::string& name) const {
    const auto isFile = [this](const std::string& path) {
        const std::uint32_t attributes = files_.AttributesOf(path);
        return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
    };
    const std::string file = WithExtension(name);
    if (HasDirectory(file)) return isFile(file) ? file : std::string();
    // The reference of WinExec: the directory the application was loaded
    // from, the current directory, the system directory, the Windows
    // directory, then PATH. This machine starts its programs from the
    // current directory and has no PATH.
    const std::string& windows = files_.WindowsDirectoryText();
    const std::string directories[] = {
        files_.CurrentDirectoryText(),
        InDirectory(windows, std::string(host_.VersionLike().systemDir)),
        windows,
    };
    for (const std::string& directory : directories) {
        const std::string path = InDirectory(directory, file);
        if (isFile(path)) return path;
    }
    return std::string();
}

WindowHandle SimDesktop::FindTopWindow(const std::string& title) {
    if (gate_.EnterLogged(Call::FindWindowA, title)) return 0;
    // Titles are compared without regard to case (the Win32 reference of
    // FindWindow; Wine's dlls/user32/win.c compares them with wcsicmp).
    return windows_.FindOpen(title, host_);
}

bool SimDesktop::SendClose(WindowHandle window, unsigned timeoutMs) {
    WindowRecord* const record = windows_.Find(window);
    const bool delivered = record && record->open;
    std::string detail =
        "WM_CLOSE " + (record ? record->title : Hex(static_cast<unsigned>(window)));
    if (delivered && !record->closesOnRequest) {
        detail += ", no answer within " + std::to_string(timeoutMs) + " ms";
    }
    if (gate_.EnterLogged(Call::SendMessageTimeoutA, detail) || !delivered) return false;
    ++record->closeRequests;
    if (!record->closesOnRequest) return false;
    record->open = false;
    return true;
}

void SimDesktop::BringToForeground(WindowHandle window) {
    if (gate_.EnterLogged(Call::SetForegroundWindow, Hex(static_cast<unsigned>(window)))) return;
    foreground_.push_back(window);
}

void SimDesktop::Beep(unsigned type) {
    if (gate_.EnterLogged(Call::MessageBeep, Hex(type))) return;
    beeps_.push_back(type);
}

void SimDesktop::SetCursorShape(CursorShape shape) {
    if (gate_.EnterLogged(Call::SetCursor, shape == CursorShape::Wait ? "wait" : "arrow")) return;
    cursors_.push_back(shape);
}

void SimDesktop::Pause(unsigned milliseconds) {
    if (gate_.EnterLogged(Call::Sleep, std::to_string(milliseconds))) return;
    pauses_.push_back(milliseconds);
}

std::uint32_t SimDesktop::AdjustPrivilege(const std::string& name, bool enable) {
    privilegeCalls_.emplace_back(name, enable);
    return gate_.Logged(Call::AdjustTokenPrivileges, name + (enable ? " enable" : " disable"),
                        [&] { return PrivilegeError(name); });
}

std::uint32_t SimDesktop::PrivilegeError(const std::string& name) const {
    const std::string known = KnownPrivilege(name);
    if (known.empty()) return win_error::kNoSuchPrivilege;
    const auto it = held_.find(known);
    return it != held_.end() && it->second ? win_error::kSuccess : win_error::kNotAllAssigned;
}

bool SimDesktop::ShutDownSystem(unsigned flags) {
    if (gate_.EnterLogged(Call::ExitWindowsEx, Hex(flags))) return false;
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
