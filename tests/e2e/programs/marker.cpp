// A test-only post-install program. Each start appends one line to
// MARKER.LOG beside the executable: the process's creation time (100 ns
// units, so the lines sort into start order even when the processes race
// for the file), the executable's file name and its argument text.
#include <windows.h>

#include <string>

#include "program_log.h"

namespace {

unsigned long long CreationTime() {
    FILETIME created = {}, exited = {}, kernel = {}, user = {};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    using namespace setup32::e2e;
    const std::string path = OwnPath();
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    const std::string line =
        std::to_string(CreationTime()) + ' ' + name + ' ' + commandLine + "\r\n";
    return AppendLine(DirectoryOf(path) + "\\MARKER.LOG", line) ? 0 : 1;
}
