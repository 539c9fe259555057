// Profile (INI) reads: keyed values and whole sections.
#include <string>
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

TEST_F(ProfileTest, LineEndsAndTheEndOfFileMark) {
    struct Row {
        int line;
        const char* bytes;
    };
    // Each file holds [Display] bShow=NO and [Files] with the lines 1=a and 2=b.
    const Row rows[] = {
        ROW("[Display]\rbShow=NO\r[Files]\r1=a\r2=b\r"),
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

}  // namespace
}  // namespace setup32::conformance
