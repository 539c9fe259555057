#include "platform/sim/version_differences.h"

#include <cstdio>
#include <cstdlib>

namespace setup32::platform::sim {

const std::vector<VersionDifference>& VersionDifferences() {
    static const std::vector<VersionDifference> differences = {
        // --- profile reads (sim_profile.cpp) ---
        // Met on a 95 or 98 run by each lone CR inside a line (between text on
        // both sides), at the line that CR would end on NT.
        {"lone-cr", "95 98",
         "Windows 95 and 98 do not end a profile line at a lone CR (a CR without LF) as NT and "
         "2000 do: the line runs on into the next, so that next line is not read as a line of "
         "its own",
         "Wine dlls/kernel32/tests/profile.c (copy in reactos rostests/winetests/kernel32/"
         "profile.c), test_GetPrivateProfileString: win_skip(\"Win9x and WinME don't handle 'CR "
         "only' correctly\")",
         false},
        // Met on a 95, 98 or NT 4.0 run by a file that starts with FF FE, at line 1.
        {"utf16-bom", "95 98 NT",
         "Windows 95, 98 and NT 4.0 do not read a profile file written in UTF-16 with its "
         "byte-order mark: they read its bytes as they are, so no section of it is found and "
         "every value takes its default; Windows 2000 reads it, in the ANSI code page",
         "Developer notes of a terminal program, reference/dev/win32api.html (ini file): the "
         "ANSI calls read a UTF-16LE ini file on Windows 2000 and later only (NT 4 and 95, 98, "
         "Me: NG); Wine dlls/kernel32/profile.c PROFILE_DetectTextEncoding (the mark FF FE)",
         true},
        // Met on a 95 or 98 run by a section read cut at 32,767 bytes that the
        // caller's buffer would have held, at the section's header line.
        {"section-32k", "95 98",
         "Windows 95 and 98 fill at most 32,767 bytes of a section read's buffer: a longer "
         "section is cut there and the read answers 32,765, however large the buffer; NT and "
         "2000 have no such limit",
         "Win32 reference of 1998, GetPrivateProfileSection: \"Windows 95: The specified "
         "profile section must not exceed 32K\", \"Windows 95: The maximum buffer size is "
         "32,767 characters\"; Microsoft KB Q230194: just under 32KB per read on Windows 95/98",
         false},
    };
    return differences;
}

const VersionDifference& VersionDifferenceById(std::string_view id) {
    for (const VersionDifference& difference : VersionDifferences()) {
        if (difference.id == id) return difference;
    }
    std::fprintf(stderr, "no version difference named %.*s\n", static_cast<int>(id.size()),
                 id.data());
    std::abort();
}

}  // namespace setup32::platform::sim
