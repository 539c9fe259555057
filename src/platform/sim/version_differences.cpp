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
        // Met on a 95 or 98 run by a read of a profile file that another
        // program holds open for reading, sharing reading and writing.
        {"held-profile", "95 98",
         "Windows 95 and 98 read nothing from a profile file that another program holds open "
         "for reading while sharing it for writing: every keyed read gives its default and "
         "every section read is empty; NT and 2000 read the file",
         "Wine dlls/kernel32/tests/profile.c (older copies), test_profile_existing: \"Win9x "
         "and WinME returns 0 for all cases except the first one\" (the first holds the file "
         "with GENERIC_READ and FILE_SHARE_READ only)",
         true},
        {"write-over-open-file", "95 98",
         "CopyFileA and _lcreat over a file another program reads, sharing reading and writing, "
         "fail with error 32",
         "Wine's older dlls/kernel32/tests/file.c, test_CopyFileA: \"copy to a file that's opened "
         "the way Wine opens the source\", broken(GetLastError() == ERROR_SHARING_VIOLATION) "
         "/* Win 9x */",
         true},
        {"registry-value-name-255", "95 98", "a registry value name past 255 characters is refused",
         "RegSetValue in the Win32 reference: \"Windows 95/98: No registry subkey or value name "
         "can exceed 255 characters\"",
         true},
        {"registry-value-16300", "95 98", "a registry value past 16,300 bytes is refused",
         "RegSetValue in the Win32 reference: \"Windows 95/98: The maximum size of a single "
         "registry value is 16,300 bytes\"",
         true},
        {"registry-key-64k", "95",
         "a registry key whose value names and data would pass 64 KB takes no more",
         "Microsoft knowledge base Q122867: \"The Windows 95 registry is limited to approximately "
         "60 kilobytes (KB) per key ... This limitation has been removed in Microsoft Windows 98\"",
         true},
        {"file-name-code-page", "NT 2000",
         "a byte pair of a file name that the code page lacks becomes its default character, and "
         "a name with \"?\" is refused with error 123",
         "MultiByteToWideChar with the code page tables' default characters (U+30FB on 932, \"?\" "
         "on 936, 949, 950); the Win32 reference, \"Naming a File\"",
         true},
        {"file-name-code-page-9x", "95 98",
         "a byte pair of a file name that the code page lacks becomes its default character, and "
         "a name with \"?\" is refused with error 123",
         "Microsoft's FAT file system specification: long names are stored in Unicode; which "
         "character an unconvertible pair becomes on Windows 95 and 98 is not documented",
         false},
        {"registry-name-code-page", "NT 2000",
         "a byte pair of a registry name or string that the code page lacks is stored as its "
         "default character",
         "RegSetValue in the Win32 reference: \"If the ANSI version of this function is used ... "
         "The string is converted to Unicode before it is stored in the registry\"",
         true},
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
