// Facts about the running Windows and the desktop calls that can be checked
// without another program.
#include <string>

#include "fixture.h"

namespace setup32::conformance {
namespace {

class HostTest : public ConformanceTest {
  protected:
    unsigned CodePage() const { return machine_.host.AnsiCodePage(); }
};

TEST_F(HostTest, VersionAndLocaleAreKnown) {
    const std::uint32_t version = machine_.host.Version();
    const unsigned major = version & 0xFF;
    EXPECT_GE(major, 3u);
    EXPECT_LE(major, 10u);
    EXPECT_NE(machine_.host.DefaultLcid(), 0u);
}

TEST_F(HostTest, CodePageFollowsTheDefaultLocale) {
    struct Row {
        int line;
        std::uint32_t language;  // primary language and sublanguage
        unsigned codePage;
    };
    const Row rows[] = {
        ROW(0x0409, 1252u), ROW(0x0411, 932u), ROW(0x0404, 950u),
        ROW(0x0804, 936u),  ROW(0x0412, 949u),
    };
    const std::uint32_t language = machine_.host.DefaultLcid() & 0xFFFF;
    for (const Row& row : rows) {
        if (row.language != language) continue;
        TRACE_ROW(row);
        EXPECT_EQ(CodePage(), row.codePage);
    }
}

TEST_F(HostTest, LeadBytesFollowTheCodePage) {
    for (unsigned byte = 0; byte < 0x80; ++byte) {
        EXPECT_FALSE(machine_.host.IsLeadByte(static_cast<unsigned char>(byte))) << byte;
    }
    struct Row {
        int line;
        unsigned codePage;
        unsigned char byte;
        bool lead;
    };
    const Row rows[] = {
        ROW(1252u, 0x82, false), ROW(1252u, 0xE9, false), ROW(1252u, 0xFF, false),
        ROW(932u, 0x81, true),   ROW(932u, 0x9F, true),   ROW(932u, 0xA1, false),
        ROW(932u, 0xB1, false),  ROW(932u, 0xE0, true),   ROW(950u, 0x81, true),
        ROW(950u, 0xA4, true),   ROW(950u, 0xFE, true),   ROW(950u, 0x80, false),
    };
    for (const Row& row : rows) {
        if (row.codePage != CodePage()) continue;
        TRACE_ROW(row);
        EXPECT_EQ(machine_.host.IsLeadByte(row.byte), row.lead);
    }
}

TEST_F(HostTest, UpperCaseStepsOverWholeCharacters) {
    struct Row {
        int line;
        unsigned codePage;  // 0: every code page
        const char* text;
        const char* upper;
    };
    const Row rows[] = {
        ROW(0u, "", ""),
        ROW(0u, "device=c:\\dev\\old.sys /x", "DEVICE=C:\\DEV\\OLD.SYS /X"),
        ROW(0u, "EMM386.exe\r\n", "EMM386.EXE\r\n"),
        ROW(1252u, "caf\xE9", "CAF\xE9"),
        // Full-width a becomes full-width A.
        ROW(932u, "\x82\x81", "\x82\x60"),
        // A trail byte that looks like a letter is not a letter.
        ROW(932u, "\x83\x61z", "\x83\x61Z"),
        ROW(950u, "\xA4\x61x", "\xA4\x61X"),
    };
    for (const Row& row : rows) {
        if (row.codePage != 0 && row.codePage != CodePage()) continue;
        TRACE_ROW(row);
        EXPECT_EQ(machine_.host.UpperCase(row.text), row.upper);
    }
}

TEST_F(HostTest, DesktopCallsWithoutAnotherProgram) {
    EXPECT_EQ(machine_.desktop.FindTopWindow("Untitled - BusProbe32 (not running)"), 0u);
    machine_.desktop.Pause(1);
    const std::uint32_t error = machine_.desktop.AdjustPrivilege("SeNoSuchPrivilege", true);
    if (IsWindows9x()) {
        // Windows 95 and 98 have no tokens (Wine has them anyway).
        EXPECT_NE(error, 0u);
    } else {
        EXPECT_EQ(error, platform::win_error::kNoSuchPrivilege);
    }
}

// WinExec of a file that is there but is no program (a text file named on
// the command line) answers ERROR_BAD_FORMAT, "The .exe file is invalid"
// (the Win32 reference of WinExec); one that is not there, 2.
TEST_F(HostTest, WinExecOfADocumentIsRefusedAsNoProgram) {
    const std::string directory = backend_->ScratchDirectory();
    backend_->WriteFile(directory + "\\README.TXT", "Read me first.\r\n");
    EXPECT_EQ(machine_.desktop.Exec(directory + "\\README.TXT", 1), 11u);
    EXPECT_EQ(machine_.desktop.Exec(directory + "\\MISSING.EXE", 1),
              platform::win_error::kFileNotFound);
}

}  // namespace
}  // namespace setup32::conformance
