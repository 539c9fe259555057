// Profile (INI) reads: keyed values and whole sections.
#include <string>
#include <string_view>
#include <vector>

#include "fixture.h"

namespace setup32::conformance {
namespace {

class ProfileTest : public ConformanceTest {
  protected:
    // Writes the script with CR LF line ends and returns its path.
    std::string WriteScript(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        const std::string path = Scratch("SETUP32.INI");
        backend_->WriteFile(path, text);
        return path;
    }

    std::vector<std::string> LinesOf(const platform::SectionBlock& block) {
        std::vector<std::string> lines;
        for (std::string_view line : block.Lines()) lines.emplace_back(line);
        return lines;
    }
};

TEST_F(ProfileTest, KeyedReads) {
    const std::string script = WriteScript({
        "[Display]",
        "GroupName=Disk Tools",
        "Empty=",
        "Long=0123456789",
        "[Other]",
        "GroupName=Other Name",
    });
    struct Row {
        int line;
        const char* section;
        const char* key;
        const char* fallback;
        std::size_t capacity;
        const char* expected;
    };
    const Row rows[] = {
        ROW("Display", "GroupName", "dflt", 200, "Disk Tools"),
        ROW("dISPLAY", "GROUPNAME", "dflt", 200, "Disk Tools"),
        ROW("Other", "GroupName", "dflt", 200, "Other Name"),
        ROW("Display", "Missing", "VELKA Technology Corp", 200, "VELKA Technology Corp"),
        ROW("Nowhere", "GroupName", "dflt", 200, "dflt"),
        // Present but empty is not missing.
        ROW("Display", "Empty", "dflt", 10, ""),
        // Cut to capacity - 1.
        ROW("Display", "Long", "", 11, "0123456789"),
        ROW("Display", "Long", "", 10, "012345678"),
        ROW("Display", "Long", "", 5, "0123"),
        ROW("Display", "Long", "", 1, ""),
        ROW("Display", "Missing", "0123456789", 5, "0123"),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        EXPECT_EQ(
            machine_.profile.ReadString(script, row.section, row.key, row.fallback, row.capacity),
            row.expected);
    }
}

TEST_F(ProfileTest, MissingFileGivesDefaultsAndEmptySections) {
    const std::string missing = Scratch("NOFILE.INI");
    EXPECT_EQ(machine_.profile.ReadString(missing, "Display", "bShow", "YES", 10), "YES");
    const platform::SectionBlock block = machine_.profile.ReadSection(missing, "Display", 2048);
    EXPECT_EQ(block.count, 0u);
    EXPECT_TRUE(block.Lines().empty());
}

TEST_F(ProfileTest, SectionLinesAsWrittenWithoutBlankLines) {
    const std::string script = WriteScript({
        "[Display]",
        "GroupName=Disk Tools",
        "[win95 DRIVER files]",
        "1=.\\W95\\A.MPD,.\\SYSTEM\\IOSUBSYS\\A.MPD",
        "",
        "2=.\\W95\\<GROUp>.HLP,.\\HELP\\<GROUp>.HLP",
        "3=.\\W95\\C.VXD",
        "ABC",
        "[Win95 Inf File]",
        "1=.\\W95\\A.INF,.\\INF\\A.INF",
    });
    const std::vector<std::string> expected = {
        "1=.\\W95\\A.MPD,.\\SYSTEM\\IOSUBSYS\\A.MPD",
        "2=.\\W95\\<GROUp>.HLP,.\\HELP\\<GROUp>.HLP",
        "3=.\\W95\\C.VXD",
        "ABC",
    };
    const platform::SectionBlock block =
        machine_.profile.ReadSection(script, "Win95 Driver Files", 2048);
    EXPECT_EQ(LinesOf(block), expected);
    std::size_t stored = 0;
    for (const std::string& line : expected) stored += line.size() + 1;
    EXPECT_EQ(block.count, stored);
    EXPECT_FALSE(block.TooLarge());
    ASSERT_EQ(block.Capacity(), 2048u);
    EXPECT_EQ(block.bytes[stored], '\0');
}

TEST_F(ProfileTest, MissingSectionIsEmpty) {
    const std::string script = WriteScript({"[Display]", "bShow=YES"});
    const platform::SectionBlock block = machine_.profile.ReadSection(script, "NT Execute", 64);
    EXPECT_EQ(block.count, 0u);
    EXPECT_TRUE(block.Lines().empty());
    EXPECT_EQ(block.Capacity(), 64u);
}

TEST_F(ProfileTest, SectionThatDoesNotFitGivesCapacityMinusTwo) {
    // Two lines of 6 characters: 14 bytes with their terminators, 15 with
    // the empty line that ends the block.
    const std::string script = WriteScript({"[S]", "1=aaaa", "2=bbbb"});
    struct Row {
        int line;
        std::size_t capacity;
        std::size_t count;
        bool tooLarge;
    };
    const Row rows[] = {
        ROW(64, 14, false),
        ROW(17, 14, false),
        // One byte to spare is not enough: the count then equals the
        // too-large signal although every line is there.
        ROW(16, 14, true),
        // Exactly the room for the lines and the empty one is too little.
        ROW(15, 13, true),
        ROW(14, 12, true),
        ROW(8, 6, true),
        ROW(5, 3, true),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        const platform::SectionBlock block =
            machine_.profile.ReadSection(script, "S", row.capacity);
        EXPECT_EQ(block.Capacity(), row.capacity);
        EXPECT_EQ(block.count, row.count);
        EXPECT_EQ(block.TooLarge(), row.tooLarge);
    }
}

TEST_F(ProfileTest, KeyedValuesLoseBlanksAndOnePairOfMatchingQuotes) {
    const std::string script = WriteScript({
        "[Display]",
        "  bShow  =  YES \t",
        "GroupName=\"Disk Tools\"",
        "Inside=\"  two  blanks  \"",
        "Single='A:\\'",
        "OneEnd=\"open",
        "Mixed=\"both'",
        "Nested='\"x\"'",
        "Lone=\"",
        "Twice=\"\"",
        "Middle=a \"b\" c",
    });
    struct Row {
        int line;
        const char* key;
        const char* expected;
    };
    const Row rows[] = {
        ROW("bShow", "YES"),
        ROW(" bShow ", "YES"),
        ROW("GroupName", "Disk Tools"),
        ROW("Inside", "  two  blanks  "),
        ROW("Single", "A:\\"),
        ROW("OneEnd", "\"open"),
        ROW("Mixed", "\"both'"),
        ROW("Nested", "\"x\""),
        ROW("Lone", "\""),
        ROW("Twice", ""),
        ROW("Middle", "a \"b\" c"),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        EXPECT_EQ(machine_.profile.ReadString(script, "Display", row.key, "dflt", 200),
                  row.expected);
    }
}

TEST_F(ProfileTest, ADefaultLosesItsTrailingSpaces) {
    const std::string script = WriteScript({"[Display]"});
    struct Row {
        int line;
        const char* fallback;
        const char* expected;
    };
    const Row rows[] = {
        ROW("default  ", "default"),
        ROW("one two  ", "one two"),
        ROW("  lead", "  lead"),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        EXPECT_EQ(machine_.profile.ReadString(script, "Display", "Missing", row.fallback, 200),
                  row.expected);
        EXPECT_EQ(machine_.profile.ReadString(script, "Nowhere", "Missing", row.fallback, 200),
                  row.expected);
    }
}

// Lines ended by a lone CR: see LoneCr... below.
TEST_F(ProfileTest, LineEndsAndTheEndOfFileMark) {
    struct Row {
        int line;
        const char* bytes;
    };
    // Each file holds [Display] bShow=NO and [Files] with the lines 1=a and 2=b.
    const Row rows[] = {
        ROW("[Display]\nbShow=NO\n[Files]\n1=a\n2=b"),
        ROW("[Display]\r\nbShow=NO\r\n[Files]\r\n1=a\r\n2=b\r\n\x1a"),
        ROW("[Display]\r\nbShow=NO\x1a\r\n[Files]\r\n1=a\r\n2=b\x1a"),
        ROW("\x1a[Display]\r\nbShow=\x1aNO\r\n\x1a\r\n[Files]\r\n1=a\r\n\x1a 2=b"),
    };
    const std::string path = Scratch("SETUP32.INI");
    for (const Row& row : rows) {
        TRACE_ROW(row);
        backend_->WriteFile(path, row.bytes);
        EXPECT_EQ(machine_.profile.ReadString(path, "Display", "bShow", "YES", 20), "NO");
        EXPECT_EQ(LinesOf(machine_.profile.ReadSection(path, "Files", 2048)),
                  (std::vector<std::string>{"1=a", "2=b"}));
    }
}

TEST_F(ProfileTest, SectionLinesLoseTheBlanksAroundKeysAndValues) {
    const std::string script = WriteScript({
        "[NT Execute]",
        "  1 = PROG.EXE  ",
        "\t2\t=\t\"QUOTED.EXE\"\t",
        "  no equals  ",
        "=empty key",
    });
    EXPECT_EQ(
        LinesOf(machine_.profile.ReadSection(script, "NT Execute", 2048)),
        (std::vector<std::string>{"1=PROG.EXE", "2=\"QUOTED.EXE\"", "no equals", "=empty key"}));
}

TEST_F(ProfileTest, CommentLinesStayInSectionReads) {
    ONLY_ON_BACKEND("sim", "Windows returns comment lines in a section read; Wine drops them");
    const std::string script = WriteScript({
        "[NT Execute]",
        "; a comment",
        "  ;indented = too ",
        "1=PROG.EXE",
    });
    EXPECT_EQ(LinesOf(machine_.profile.ReadSection(script, "NT Execute", 2048)),
              (std::vector<std::string>{"; a comment", ";indented = too", "1=PROG.EXE"}));
}

// --- where Windows 95 and 98 (or NT 4.0) read profiles otherwise ---

// CR LF, a lone LF and lone CRs in one file; lines from 1: "[Display]" (CR),
// "bShow=NO" (CR LF), "[Files]" (LF), "1=a" (CR), "2=b" (CR LF), "" (CR),
// and the end-of-file mark.
constexpr std::string_view kMixedLineEnds = "[Display]\rbShow=NO\r\n[Files]\n1=a\r2=b\r\n\r\x1a";

// NT 4.0 and 2000 end a line at a lone CR.
TEST_F(ProfileTest, LoneCrEndsALineOnNtAnd2000) {
    const std::string path = WriteBytes(kMixedLineEnds);
    ForEachVersion({kWindowsNT4, kWindows2000}, [&] {
        EXPECT_EQ(machine_.profile.ReadString(path, "Display", "bShow", "YES", 20), "NO");
        EXPECT_EQ(LinesOf(machine_.profile.ReadSection(path, "Files", 2048)),
                  (std::vector<std::string>{"1=a", "2=b"}));
    });
}

// Windows 95 and 98. The Win32 reference, GetPrivateProfileString: "Windows
// Me/98/95: The string cannot contain control characters (character code
// less than 32). Strings containing control characters may be truncated.";
// Wine's dlls/kernel32/tests/profile.c (older copies),
// test_GetPrivateProfileString, skips its "CR only" file there with
// win_skip("Win9x and WinME don't handle 'CR only' correctly"). Neither says
// more, so the simulated machine takes the least they support: a lone CR
// ends no line, and a value ends at its first control character, the rest
// of the line lost (win9x-control-char, uncertain). "[Display]" runs on into
// "bShow=NO" and has no lines; "1=a" keeps "a", and "2=b" is no line of its
// own. Wine ends the line at the CR in every version setting.
TEST_F(ProfileTest, ALoneCrCutsTheValueOn95And98) {
    ONLY_ON_SIM_AS_9X("control-char");
    const std::string path = WriteBytes(kMixedLineEnds);
    ForEachVersion({kWindows95, kWindows98}, [&] {
        EXPECT_EQ(machine_.profile.ReadString(path, "Display", "bShow", "YES", 20), "YES");
        EXPECT_EQ(machine_.profile.ReadString(path, "Files", "1", "", 20), "a");
        EXPECT_EQ(machine_.profile.ReadString(path, "Files", "2", "none", 20), "none");
        EXPECT_EQ(LinesOf(machine_.profile.ReadSection(path, "Files", 2048)),
                  (std::vector<std::string>{"1=a"}));
    });
}

// A tab inside a value: the same sentence of the reference for 95 and 98
// (and the reference of 1998, WriteProfileString: "Windows 95: The system
// does not support the use of the TAB (\t) character as part of this
// parameter"); NT and 2000 keep it. Tabs around a value are blanks on every
// version. Wine keeps the tab in every version setting (control-char).
TEST_F(ProfileTest, ATabInsideAValueCutsItOn95And98Only) {
    struct Row {
        int line;
        WindowsVersion version;
        const char* tab;  // "x<TAB>y"
        std::vector<std::string> section;
    };
    const Row rows[] = {
        ROW(kWindows95, "x", {"Tab=x", "Edge=z"}),
        ROW(kWindows98, "x", {"Tab=x", "Edge=z"}),
        ROW(kWindowsNT4, "x\ty", {"Tab=x\ty", "Edge=z"}),
        ROW(kWindows2000, "x\ty", {"Tab=x\ty", "Edge=z"}),
    };
    const std::string path = WriteScript({"[T]", "Tab=x\ty", "Edge=\tz\t"});
    int ran = 0;
    for (const Row& row : rows) {
        if (!RunsAs(row.version.getVersion, Language())) continue;
        TRACE_ROW(row);
        ++ran;
        EXPECT_EQ(machine_.profile.ReadString(path, "T", "Tab", "", 20), row.tab);
        EXPECT_EQ(machine_.profile.ReadString(path, "T", "Edge", "", 20), "z");
        EXPECT_EQ(LinesOf(machine_.profile.ReadSection(path, "T", 2048)), row.section);
    }
    if (ran == 0) GTEST_SKIP() << "Windows 95 and 98 cut the value; Wine keeps it as NT does";
}

// A script that another program holds open for reading, sharing reading and
// writing (a viewer that shows it). Wine's dlls/kernel32/tests/profile.c
// (older copies), test_profile_existing: "Win9x and WinME returns 0 for all
// cases except the first one", the first being a holder that reads and
// shares reading alone; test_profile_delete_on_close: a writer that shares
// reading, broken(res == 0 && GetLastError() == ERROR_SHARING_VIOLATION),
// /* Win9x, WinME */. NT reads the file in every case that shares reading
// (held-profile). Wine reads it in every version setting.
TEST_F(ProfileTest, AScriptHeldOpenBySharingIsReadOnNtOnly) {
    struct Row {
        int line;
        WindowsVersion version;
        const char* bShow;
        std::size_t sectionLines;
    };
    const Row rows[] = {
        {__LINE__, kWindows95, "YES", 0},
        {__LINE__, kWindows98, "YES", 0},
        {__LINE__, kWindowsNT4, "NO", 1},
        {__LINE__, kWindows2000, "NO", 1},
    };
    const std::string path = WriteScript({"[Display]", "bShow=NO"});
    const auto viewer = backend_->HoldForReading(path);
    int ran = 0;
    for (const Row& row : rows) {
        if (!RunsAs(row.version.getVersion, Language())) continue;
        TRACE_ROW(row);
        ++ran;
        EXPECT_EQ(machine_.profile.ReadString(path, "Display", "bShow", "YES", 20), row.bShow);
        EXPECT_EQ(LinesOf(machine_.profile.ReadSection(path, "Display", 2048)).size(),
                  row.sectionLines);
    }
    if (ran == 0) GTEST_SKIP() << "Windows 95 and 98 read nothing; Wine reads it as NT does";
}

// Little-endian UTF-16 of ASCII text.
std::string Utf16(std::string_view ascii) {
    std::string bytes;
    for (const char c : ascii) bytes += std::string{c, '\0'};
    return bytes;
}

const std::string kUtf16Script = Utf16("[Display]\r\nGroupName=Disk Tools\r\n");

// Windows 2000's ANSI calls read a UTF-16 file with its byte-order mark, in
// the ANSI code page: a terminal program's developer notes on ini files and
// the Win32 API (reference/dev/win32api.html: "Windows 2000 以降" convert
// automatically); Wine's dlls/kernel32/profile.c reads the mark FF FE too.
TEST_F(ProfileTest, Utf16WithItsByteOrderMarkIsReadOn2000) {
    const std::string path = WriteBytes("\xFF\xFE" + kUtf16Script);
    ForEachVersion({kWindows2000}, [&] {
        EXPECT_EQ(machine_.profile.ReadString(path, "Display", "GroupName", "dflt", 200),
                  "Disk Tools");
        EXPECT_EQ(LinesOf(machine_.profile.ReadSection(path, "Display", 2048)),
                  (std::vector<std::string>{"GroupName=Disk Tools"}));
    });
}

// The same notes: on NT 4 and on 95, 98 and Me the ANSI calls do not read a
// UTF-16LE file (their table: NG). Wine reads it in every version setting
// (wine_differences.tsv: utf16-bom).
TEST_F(ProfileTest, Utf16WithItsByteOrderMarkIsNotReadOn9xAndNt4) {
    ONLY_ON_BACKEND("sim", "Wine reads a UTF-16 profile in every version setting (utf16-bom)");
    const std::string path = WriteBytes("\xFF\xFE" + kUtf16Script);
    ForEachVersion({kWindows95, kWindows98, kWindowsNT4}, [&] {
        EXPECT_EQ(machine_.profile.ReadString(path, "Display", "GroupName", "dflt", 200), "dflt");
        EXPECT_EQ(machine_.profile.ReadSection(path, "Display", 2048).count, 0u);
    });
}

// Without its mark a UTF-16 file is ANSI text full of zero bytes on every
// version (the notes: a Unicode ini file is one that starts with FF FE).
TEST_F(ProfileTest, Utf16WithoutItsByteOrderMarkIsNotRead) {
    const std::string path = WriteBytes(kUtf16Script);
    ForEachVersion({kWindows95, kWindows98, kWindowsNT4, kWindows2000}, [&] {
        EXPECT_EQ(machine_.profile.ReadString(path, "Display", "GroupName", "dflt", 200), "dflt");
        EXPECT_EQ(machine_.profile.ReadSection(path, "Display", 2048).count, 0u);
    });
}

// A section of one line that needs `bytes` bytes with its terminator.
std::string SectionNeeding(std::size_t bytes) {
    return "[Big]\r\n1=" + std::string(bytes - 3, 'x') + "\r\n";
}

// The Win32 reference of 1998, GetPrivateProfileSection: "Windows NT: The
// specified profile section has no size limit."
TEST_F(ProfileTest, SectionReadsPast32KBOnNtAnd2000) {
    const std::string path = WriteBytes(SectionNeeding(32766));
    ForEachVersion({kWindowsNT4, kWindows2000}, [&] {
        const platform::SectionBlock block = machine_.profile.ReadSection(path, "Big", 40000);
        EXPECT_EQ(block.count, 32766u);
        EXPECT_FALSE(block.TooLarge());
    });
}

// The same page: "Windows 95: The specified profile section must not exceed
// 32K", "Windows 95: The maximum buffer size is 32,767 characters";
// Microsoft KB Q230194: just under 32KB per read on Windows 95/98, and a call
// past it fails. Nothing says how a longer section reads: the simulated
// machine fills 32,767 bytes of the buffer as it would a buffer of that size
// (section-32k, uncertain). The program reads sections into 2,048 bytes,
// which this never touches. Wine fills the whole buffer.
TEST_F(ProfileTest, SectionReadsStopAt32767BytesOn95And98) {
    ONLY_ON_SIM_AS_9X("section-32k");
    struct Row {
        int line;
        std::size_t needed;
        std::size_t count;
        std::size_t kept;  // of the line's bytes
    };
    const Row rows[] = {
        // The line and the final terminator fill 32,766 bytes: all there.
        ROW(32765, 32765, 32764),
        // One byte more: cut, the last byte is the final terminator.
        ROW(32766, 32765, 32765),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        const std::string path = WriteBytes(SectionNeeding(row.needed));
        ForEachVersion({kWindows95, kWindows98}, [&] {
            const platform::SectionBlock block = machine_.profile.ReadSection(path, "Big", 40000);
            EXPECT_EQ(block.count, row.count);
            EXPECT_EQ(block.Capacity(), 40000u);
            EXPECT_EQ(std::string(block.bytes.data()).size(), row.kept);
            EXPECT_EQ(block.bytes[32766], '\0');
        });
    }
}

// A script of `size` bytes whose last line is "Key=yes" with no line end.
std::string ScriptEndingInKey(std::size_t size) {
    const std::string last = "[Last]\r\nKey=yes";
    std::string script = "[First]\r\n";
    script += std::string(size - script.size() - last.size() - 2, ';') + "\r\n" + last;
    return script;
}

// Microsoft KB Q230194, for Windows 95/98: ".ini files and registry files
// are limited in size", referring to Q78346 (written for Windows 3.x): "the
// information beyond 64K is ignored". The simulated machine reads the first
// 65,536 bytes on 95 and 98 (win9x-profile-64k, uncertain): the last byte of
// a 65,537-byte file is lost. NT and 2000 read it whole. Wine reads it whole
// in every version setting (profile-64k).
TEST_F(ProfileTest, ScriptsPast64KBLoseTheirEndOn95And98) {
    struct Row {
        int line;
        std::size_t size;
        WindowsVersion version;
        const char* key;
    };
    const Row rows[] = {
        ROW(65536, kWindows95, "yes"),  ROW(65536, kWindows98, "yes"),
        ROW(65537, kWindows95, "ye"),   ROW(65537, kWindows98, "ye"),
        ROW(65537, kWindowsNT4, "yes"), ROW(65537, kWindows2000, "yes"),
    };
    int ran = 0;
    for (const Row& row : rows) {
        if (!RunsAs(row.version.getVersion, Language())) continue;
        TRACE_ROW(row);
        ++ran;
        const std::string path = WriteBytes(ScriptEndingInKey(row.size));
        EXPECT_EQ(machine_.profile.ReadString(path, "Last", "Key", "no", 10), row.key);
    }
    if (ran == 0) GTEST_SKIP() << "holds for other versions of Windows than this machine's";
}

// A script path that names a directory reads as a missing file.
TEST_F(ProfileTest, APathThatNamesADirectoryGivesDefaults) {
    const std::string path = Scratch("SETUP32.INI");
    ASSERT_EQ(machine_.files.MakeDirectory(path), 0u);
    EXPECT_EQ(machine_.profile.ReadString(path, "Display", "bShow", "YES", 10), "YES");
    const platform::SectionBlock block = machine_.profile.ReadSection(path, "Display", 64);
    EXPECT_EQ(block.count, 0u);
    EXPECT_EQ(block.Capacity(), 64u);
}

}  // namespace
}  // namespace setup32::conformance
