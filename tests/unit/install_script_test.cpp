// The setup script: where it is found, the placeholder substitution and the
// "does not fit" signal of list sections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_fixture.h"
#include "state/context.h"
#include "state/script.h"

namespace setup32 {
namespace {

class ScriptTest : public testing::SimFixture {
  protected:
    std::vector<std::string> Lines(const std::string& section,
                                   std::size_t capacity = script_capacity::kSection) {
        const platform::SectionBlock block =
            ReadScriptSection(ctx(), section, capacity, kScriptPath);
        std::vector<std::string> lines;
        for (std::string_view line : block.Lines()) lines.emplace_back(line);
        return lines;
    }
};

TEST(ScriptPathTest, DriveRootTakesNoSecondBackslash) {
    EXPECT_EQ("A:\\SETUP32.INI", ScriptPath("A:\\", "SETUP32.INI"));
    EXPECT_EQ("C:\\DRV\\SETUP32.INI", ScriptPath("C:\\DRV", "SETUP32.INI"));
    // Only exactly three characters with ":" and "\" make a drive root.
    EXPECT_EQ("A:\\\\\\SETUP32.INI", ScriptPath("A:\\\\", "SETUP32.INI"));
    EXPECT_EQ("AB\\\\SETUP32.INI", ScriptPath("AB\\", "SETUP32.INI"));
    EXPECT_EQ("\\SETUP32.INI", ScriptPath("", "SETUP32.INI"));
}

TEST_F(ScriptTest, PlaceholderIsReplacedInAnyLetterCase) {
    WriteScript(
        "[Display]\r\nGroupName=Disk Tools\r\n"
        "[win95 driver files]\r\n"
        "1=.\\W95\\<group>.HLP,.\\HELP\\<GROUP>.HLP\r\n"
        "2=<Title>,<GROUp><gRoUp>\r\n"
        "3=a<GROU,<GROUp\r\n");
    EXPECT_EQ((std::vector<std::string>{"1=.\\W95\\Disk Tools.HLP,.\\HELP\\Disk Tools.HLP",
                                        "2=<Title>,Disk ToolsDisk Tools", "3=a<GROU,<GROUp"}),
              Lines("Win95 Driver Files"));
    EXPECT_EQ("Disk Tools", ctx().groupName);
}

TEST_F(ScriptTest, CountFollowsTheSubstitution) {
    WriteScript("[Display]\nGroupName=Disk Tools\n[S]\n1=<GROUp>\n");
    const platform::SectionBlock block = ReadScriptSection(ctx(), "S", 64, kScriptPath);
    EXPECT_EQ(std::string("1=Disk Tools").size() + 1, block.count);
    EXPECT_EQ('\0', block.bytes[block.count]);
}

TEST_F(ScriptTest, EmptyGroupNameLeavesThePlaceholder) {
    WriteScript("[Display]\nGroupName=\n[S]\n1=<GROUp>\n");
    EXPECT_EQ(std::vector<std::string>{"1=<GROUp>"}, Lines("S"));
    EXPECT_EQ("", ctx().groupName);
}

TEST_F(ScriptTest, InsertedNameIsNotExpandedAgain) {
    WriteScript("[Display]\nGroupName=X<GROUp>Y\n[S]\n1=<group>,<group>\n");
    EXPECT_EQ(std::vector<std::string>{"1=X<GROUp>Y,X<GROUp>Y"}, Lines("S"));
}

TEST_F(ScriptTest, GroupNameIsReadAgainAtEverySectionRead) {
    WriteScript("[Display]\nGroupName=First\n[S]\n1=x\n");
    Lines("S");
    EXPECT_EQ("First", ctx().groupName);
    WriteScript("[S]\n1=x\n");
    Lines("S");
    EXPECT_EQ(kDefaultGroupName, ctx().groupName);
}

TEST_F(ScriptTest, LongGroupNameIsCutTo199Characters) {
    WriteScript("[Display]\nGroupName=" + std::string(250, 'G') + "\n[S]\n1=x\n");
    Lines("S");
    EXPECT_EQ(std::string(199, 'G'), ctx().groupName);
}

TEST_F(ScriptTest, SubstitutionThatNoLongerFitsAnswersCapacityMinusTwo) {
    // "1=<GROUp>\0" is 10 characters; with a 20-character name it needs 24
    // plus the final terminator.
    WriteScript("[Display]\nGroupName=" + std::string(20, 'N') + "\n[S]\n1=<GROUp>\n");
    for (std::size_t capacity : {12u, 24u, 25u}) {
        const platform::SectionBlock block = ReadScriptSection(ctx(), "S", capacity, kScriptPath);
        EXPECT_EQ(capacity - 2, block.count) << capacity;
        EXPECT_EQ(capacity, block.bytes.size());
    }
    const platform::SectionBlock fits = ReadScriptSection(ctx(), "S", 26, kScriptPath);
    EXPECT_EQ(23u, fits.count);
    EXPECT_EQ("1=" + std::string(20, 'N'), std::string(fits.Lines().at(0)));
}

TEST_F(ScriptTest, SectionTooLargeBeforeSubstitutionStaysSo) {
    WriteScript("[Display]\nGroupName=G\n[S]\n1=" + std::string(100, 'x') + "<GROUp>\n");
    EXPECT_EQ(48u, ReadScriptSection(ctx(), "S", 50, kScriptPath).count);
    // 22 bytes as written would be 16 with the shorter name in place: the
    // lines that were cut off stay lost, so the section is still too large.
    WriteScript("[Display]\nGroupName=G\n[S]\n1=<GROUp>\n2=abcdefgh\n");
    const platform::SectionBlock cut = ReadScriptSection(ctx(), "S", 20, kScriptPath);
    EXPECT_EQ(18u, cut.count);
    EXPECT_EQ("1=<GROUp>", std::string(cut.Lines().at(0)));
}

TEST_F(ScriptTest, MissingScriptGivesDefaultsAndEmptySections) {
    EXPECT_TRUE(Lines("Win95 Driver Files").empty());
    EXPECT_EQ(kDefaultGroupName, ctx().groupName);
    EXPECT_EQ("YES", ReadScriptValue(ctx(), kScriptPath, "Display", "bShow", "YES",
                                     script_capacity::kShow));
}

TEST_F(ScriptTest, HighBytesAndJunkAreCarriedThrough) {
    std::string junk = "[Display]\nGroupName=\x82\xa0<\x81\n[S]\n1=\xff<GROUp>\xfe\x01\x7f\n";
    WriteScript(junk);
    EXPECT_EQ(std::vector<std::string>{"1=\xff\x82\xa0<\x81\xfe\x01\x7f"}, Lines("S"));
}

TEST(DeviceIdTest, SplitsAtCommasOnlyAndSkipsEmptyPieces) {
    using Ids = std::vector<std::string>;
    EXPECT_EQ((Ids{"6E02", "6E03"}), SplitDeviceIds("6E02,6E03"));
    EXPECT_EQ((Ids{"6E02"}), SplitDeviceIds(",,6E02,"));
    EXPECT_EQ((Ids{"6E02", " 6E03"}), SplitDeviceIds("6E02, 6E03"));
    EXPECT_EQ(Ids{}, SplitDeviceIds(""));
    EXPECT_EQ(Ids{}, SplitDeviceIds(",,,"));
    EXPECT_EQ((Ids{"a b;c"}), SplitDeviceIds("a b;c"));
}

}  // namespace
}  // namespace setup32
