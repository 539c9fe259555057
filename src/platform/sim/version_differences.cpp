#include "platform/sim/version_differences.h"

#include <cstdio>
#include <cstdlib>

namespace setup32::platform::sim {

const std::vector<VersionDifference>& VersionDifferences() {
    static const std::vector<VersionDifference> differences = {
        // --- profile reads (sim_profile.cpp) ---
        // Met on a 95 or 98 run by each line whose value a keyed or section
        // read returns with a control character inside it (a tab, a lone CR,
        // which ends no line there), and by each other line with a lone CR
        // inside it (a header, a comment), at that line.
        {"win9x-control-char", "95 98",
         "Windows 95 and 98 may cut a profile value at a control character (a character code "
         "below 32: a tab, a CR that is not followed by LF, which does not end the line there): "
         "the value is taken up to that character and the rest of the line is lost",
         "the Win32 reference, GetPrivateProfileString: \"Windows Me/98/95: The string cannot "
         "contain control characters (character code less than 32). Strings containing control "
         "characters may be truncated.\"; Wine dlls/kernel32/tests/profile.c (older copies), "
         "test_GetPrivateProfileString: win_skip(\"Win9x and WinME don't handle 'CR only' "
         "correctly\")",
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
        // Met on a 95 or 98 run by a section read that a buffer larger than
        // 32,767 bytes would have held whole, at the section's header line.
        {"section-32k", "95 98",
         "Windows 95 and 98 take at most 32,767 bytes of a section read's buffer; the sources "
         "give that limit and say that a call past it fails, not how a longer section reads: "
         "the simulated machine cuts the section there and answers 32,765, however large the "
         "buffer; NT and 2000 have no such limit",
         "Win32 reference of 1998, GetPrivateProfileSection: \"Windows 95: The specified "
         "profile section must not exceed 32K\", \"Windows 95: The maximum buffer size is "
         "32,767 characters\"; Microsoft KB Q230194: just under 32KB per read and per write on "
         "Windows 95/98, and a call past it fails without setting the last error",
         false},
        // Met on a 95 or 98 run by a profile file longer than 65,536 bytes,
        // at the first line that is not read whole.
        {"win9x-profile-64k", "95 98",
         "Windows 95 and 98 may not read a profile file past its first 65,536 bytes: the "
         "sections and keys that start beyond are not found, and a line across the limit is "
         "cut there; NT and 2000 read the whole file",
         "Microsoft KB Q230194 (Windows 95/98): \".ini files and registry files are limited in "
         "size\", referring to Q78346 (written for Windows 3.x): \"the information beyond 64K "
         "is ignored\"",
         false},
        // Met on a 95 or 98 run by a read of a profile file that another
        // program holds open for reading, sharing reading and writing.
        {"held-profile", "95 98",
         "Windows 95 and 98 read nothing from a profile file that another program holds open, "
         "unless that program reads it and shares it for reading alone: every keyed read gives "
         "its default and every section read is empty; NT and 2000 read the file when its "
         "holder shares reading",
         "Wine dlls/kernel32/tests/profile.c (older copies), test_profile_existing: \"Win9x "
         "and WinME returns 0 for all cases except the first one\" (the first holds the file "
         "with GENERIC_READ and FILE_SHARE_READ only); test_profile_delete_on_close: a holder "
         "with GENERIC_WRITE and FILE_SHARE_READ, broken(res == 0 && GetLastError() == "
         "ERROR_SHARING_VIOLATION), /* Win9x, WinME */",
         true},
        // --- files (sim_files.cpp) ---
        {"write-over-open-file", "95 98",
         "CopyFileA over a file another program reads, sharing reading and writing, fails with "
         "error 32 (a holder that shares reading alone makes it fail on NT too)",
         "Wine's older dlls/kernel32/tests/file.c, test_CopyFileA: \"copy to a file that's "
         "opened the way Wine opens the source\", broken(GetLastError() == "
         "ERROR_SHARING_VIOLATION) /* Win 9x */",
         true},
        {"win9x-lcreat-over-open-file", "95 98",
         "_lcreat over a file another program reads, sharing reading and writing, fails with "
         "error 32 as CopyFileA does",
         "no source for _lcreat: modelled on CopyFileA's case in Wine's older "
         "dlls/kernel32/tests/file.c, test_CopyFileA, broken(GetLastError() == "
         "ERROR_SHARING_VIOLATION) /* Win 9x */",
         false},
        {"win9x-copy-onto-itself", "95 98",
         "CopyFileA of a file onto itself fails with error 80 (the file exists), where NT and "
         "2000 fail it with error 32",
         "Wine dlls/kernel32/tests/file.c, test_CopyFileA: \"copying a file to itself must "
         "fail\", GetLastError() == ERROR_SHARING_VIOLATION || broken(GetLastError() == "
         "ERROR_FILE_EXISTS) /* Win 9x */",
         true},
        // --- registry (sim_registry.cpp) ---
        {"registry-value-name-255", "95 98", "a registry value name past 255 characters is refused",
         "RegSetValue in the Win32 reference: \"Windows 95/98: No registry subkey or value name "
         "can exceed 255 characters\"",
         true},
        {"registry-value-16300", "95 98", "a registry value past 16,300 bytes is refused",
         "RegSetValue in the Win32 reference: \"Windows 95/98: The maximum size of a single "
         "registry value is 16,300 bytes\"",
         true},
        {"registry-key-60k", "95",
         "a write that would take a registry key past about 60 KB of value names, value data "
         "and overhead is refused; the simulated machine counts 16 bytes of overhead a value, a "
         "figure no source gives, so where the limit falls is uncertain",
         "Microsoft knowledge base Q122867: \"The Windows 95 registry is limited to approximately "
         "60 kilobytes (KB) per key. This limit consists of value names, value data, and some "
         "fixed overhead\"; \"This limitation has been removed in Microsoft Windows 98\"",
         false},
        // --- file and registry names ---
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
