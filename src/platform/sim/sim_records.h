// The records of the simulated machine: what a test configures it with and
// what it keeps of the calls the setup made. Every service of the machine
// and the machine itself share them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"
#include "platform/windows_versions.h"

namespace setup32::platform::sim {

// Version values as GetVersion returns them: the four versions of the table
// of Windows versions, and three that setup32 does not run on.
namespace version {
constexpr std::uint32_t kWindows95 = windows_version::kWindows95.getVersion;
constexpr std::uint32_t kWindows98 = windows_version::kWindows98.getVersion;
constexpr std::uint32_t kWindowsMe = 0xC0005A04;
constexpr std::uint32_t kWin32s = 0x80000003;
constexpr std::uint32_t kWindowsNT4 = windows_version::kWindowsNT4.getVersion;
constexpr std::uint32_t kWindows2000 = windows_version::kWindows2000.getVersion;
constexpr std::uint32_t kWindowsXP = 0x0A280105;
}  // namespace version

// Attributes as GetFileAttributesA reports them, beside those of types.h.
using platform::kFileAttributeDirectory;
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

struct BoxRecord {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned type;
    int answer;
};

// Answers a message box from what it shows (its `answer` is not set yet).
using BoxResponder = std::function<int(const BoxRecord&)>;

struct WindowRecord {
    WindowHandle handle;
    std::string title;
    bool closesOnRequest;  // false: a hung program that never answers WM_CLOSE
    bool open;
    int closeRequests;
};

struct ExecRecord {
    std::string commandLine;
    int show;
    std::string currentDirectory;
    // The program file WinExec found for the command line, as a Windows
    // path; empty when it found none and the call failed.
    std::string image;
};

// One thing the setup did that a test may want to see in order.
struct Event {
    std::string call;    // the Win32 call, such as "Sleep" or "CopyFileA"
    std::string detail;  // its main argument, as text
    // The Windows error the call ended with, 0 when it succeeded. A call
    // whose result carries no error (FindWindowA, Sleep, ...) and the events
    // that are no call of their own keep 0 unless made to fail.
    std::uint32_t error = 0;
    // The paths a file call was given, as given (its detail joins them).
    std::vector<std::string> paths = {};
};

// What every dialog window of the machine shares.
struct DialogSettings {
    int systemFontHeight = 16;
    bool hasSystemMenu = true;
};

}  // namespace setup32::platform::sim
