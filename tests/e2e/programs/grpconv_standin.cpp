// A test-only stand-in for the program-group converter. Placed in the
// Windows directory as GRPCONV.EXE, it appends its argument text to
// GRPCONV.LOG beside itself, one line per start, and keeps a copy of the
// group script it was started for as GRPCONV.INI, so a test can see both
// after the setup has finished.
#include <windows.h>

#include <string>

#include "program_log.h"

namespace {

std::string WindowsDirectory() {
    char path[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    using namespace setup32::e2e;
    const std::string here = DirectoryOf(OwnPath());
    const std::string script = WindowsDirectory() + "\\SETUP.INI";
    const bool copied = CopyFileA(script.c_str(), (here + "\\GRPCONV.INI").c_str(), FALSE) != 0;
    const bool logged = AppendLine(here + "\\GRPCONV.LOG", std::string(commandLine) + "\r\n");
    return copied && logged ? 0 : 1;
}
