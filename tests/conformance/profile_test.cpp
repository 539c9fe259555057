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

TEST_F(ProfileTest, CommentAndIndentedLinesKeptAsWritten) {
    ONLY_ON_BACKEND("sim", "Windows' own reader drops comment lines and trims blanks");
    const std::string script = WriteScript({
        "[NT Execute]",
        "; a comment",
        " ;not a comment",
        "1 = PROG.EXE ",
    });
    const platform::SectionBlock block = machine_.profile.ReadSection(script, "NT Execute", 2048);
    EXPECT_EQ(LinesOf(block),
              (std::vector<std::string>{"; a comment", " ;not a comment", "1 = PROG.EXE "}));
}

TEST_F(ProfileTest, KeyedValuesKeepTheirBlanks) {
    ONLY_ON_BACKEND("sim", "Windows' own reader trims blanks around values");
    const std::string script = WriteScript({"[Display]", "bShow=YES ", "Title= MDR420X"});
    EXPECT_EQ(machine_.profile.ReadString(script, "Display", "bShow", "", 10), "YES ");
    EXPECT_EQ(machine_.profile.ReadString(script, "Display", "Title", "", 30), " MDR420X");
}

}  // namespace
}  // namespace setup32::conformance
