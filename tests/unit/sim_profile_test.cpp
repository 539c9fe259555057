// Profile reads of the simulated machine: names matched without regard to
// case, values and lines exactly as written, and the block of a section
// read kept inside its capacity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_fixture.h"

namespace setup32::testing {
namespace {

class SimProfile : public SimFixture {
  protected:
    std::string Value(const std::string& section, const std::string& key,
                      std::size_t capacity = 200) {
        return machine().profile.ReadString(kScriptPath, section, key, "DEFAULT", capacity);
    }
    platform::SectionBlock Section(const std::string& section, std::size_t capacity = 2048) {
        return machine().profile.ReadSection(kScriptPath, section, capacity);
    }
    std::vector<std::string> Lines(const std::string& section) {
        const platform::SectionBlock block = Section(section);
        const std::vector<std::string_view> lines = block.Lines();
        return std::vector<std::string>(lines.begin(), lines.end());
    }
};

TEST_F(SimProfile, KeyedReadsMatchNamesWithoutCaseAndKeepValuesAsWritten) {
    WriteScript(
        "[Display]\r\n"
        "GroupName= Disk Tools \r\n"
        "  bShow  =yes\r\n"
        "Title=\"MDR\"=x\r\n"
        "Empty=\r\n"
        "[display]\r\n"
        "DeviceID=6E12\r\n");
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    } const rows[] = {
        {"Display", "GroupName", " Disk Tools "},
        {"DISPLAY", "groupname", " Disk Tools "},
        {"Display", "bShow", "yes"},
        {"Display", "Title", "\"MDR\"=x"},
        {"Display", "Empty", ""},
        {"Display", "DeviceID", "DEFAULT"},  // only the first [Display] counts
        {"Display", "Missing", "DEFAULT"},
        {"Missing", "GroupName", "DEFAULT"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Value(row.section, row.key), row.value) << row.section << "/" << row.key;
    }
}

TEST_F(SimProfile, KeyedReadsAreCutToTheCapacityLessOne) {
    WriteScript("[Display]\nbShow=YES PLEASE\n");
    EXPECT_EQ(Value("Display", "bShow", 10), "YES PLEAS");
    EXPECT_EQ(Value("Display", "Missing", 4), "DEF");
    EXPECT_EQ(Value("Display", "bShow", 1), "");
    EXPECT_EQ(Value("Display", "bShow", 0), "");
}

TEST_F(SimProfile, AMissingFileGivesDefaultsAndEmptySections) {
    EXPECT_EQ(Value("Display", "GroupName"), "DEFAULT");
    const platform::SectionBlock block = Section("Win95 Driver Files");
    EXPECT_EQ(block.count, 0u);
    EXPECT_EQ(block.Capacity(), 2048u);
    EXPECT_TRUE(block.Lines().empty());
}

TEST_F(SimProfile, APathWithoutADirectoryNamesAFileInTheWindowsDirectory) {
    sim().WriteFile("C:\\WINDOWS\\SETUP.INI", "[s]\nk=windows\n");
    sim().WriteFile("A:\\SETUP.INI", "[s]\nk=medium\n");
    EXPECT_EQ(machine().profile.ReadString("SETUP.INI", "s", "k", "", 20), "windows");
    EXPECT_EQ(machine().profile.ReadString(".\\SETUP.INI", "s", "k", "", 20), "medium");
}

TEST_F(SimProfile, SectionReadsDropBlankLinesAndKeepEveryOtherLineAsWritten) {
    WriteScript(
        "[Win95 Driver Files]\r\n"
        "; miniport driver\r\n"
        "\r\n"
        " \t\r\n"
        "1=.\\W95\\A.MPD,.\\SYSTEM\\A.MPD \r\n"
        " ;not a comment\n"
        "no equals sign\n"
        "\n"
        "[Next]\n"
        "1=x\n");
    const std::vector<std::string> expected = {"; miniport driver",
                                               "1=.\\W95\\A.MPD,.\\SYSTEM\\A.MPD ",
                                               " ;not a comment", "no equals sign"};
    EXPECT_EQ(Lines("win95 driver files"), expected);
    EXPECT_EQ(Section("Win95 Driver Files").count, 79u);
}

TEST_F(SimProfile, ASectionThatDoesNotFitIsCutAndAnswersCapacityLessTwo) {
    // "1=abc\0" "2=defgh\0" and the final "\0" take 15 bytes. Lines that
    // leave fewer than two bytes spare answer capacity - 2, complete or not.
    WriteScript("[S]\n1=abc\n2=defgh\n");
    struct Row {
        std::size_t capacity;
        std::size_t count;
        std::vector<char> bytes;
    } const rows[] = {
        {17, 14, {'1', '=', 'a', 'b', 'c', 0, '2', '=', 'd', 'e', 'f', 'g', 'h', 0, 0, 0, 0}},
        {16, 14, {'1', '=', 'a', 'b', 'c', 0, '2', '=', 'd', 'e', 'f', 'g', 'h', 0, 0, 0}},
        {15, 13, {'1', '=', 'a', 'b', 'c', 0, '2', '=', 'd', 'e', 'f', 'g', 'h', 0, 0}},
        {14, 12, {'1', '=', 'a', 'b', 'c', 0, '2', '=', 'd', 'e', 'f', 'g', 0, 0}},
        {10, 8, {'1', '=', 'a', 'b', 'c', 0, '2', '=', 0, 0}},
        {7, 5, {'1', '=', 'a', 'b', 'c', 0, 0}},
        {3, 1, {'1', 0, 0}},
        {2, 0, {0, 0}},
        {1, 0, {0}},
        {0, 0, {}},
    };
    for (const Row& row : rows) {
        const platform::SectionBlock block = Section("S", row.capacity);
        EXPECT_EQ(block.count, row.count) << "capacity " << row.capacity;
        EXPECT_EQ(block.bytes, row.bytes) << "capacity " << row.capacity;
    }
    EXPECT_TRUE(Section("S", 15).TooLarge());
    EXPECT_FALSE(Section("S", 17).TooLarge());
}

TEST_F(SimProfile, DoubleByteNamesAndBinaryJunkAreReadSafely) {
    sim().SetLcid(0x0411);
    // Full-width "a" (0x82 0x81) matches full-width "A" (0x82 0x60).
    std::string junk = "[\x82\x81]\nkey=\xFF\xFE\x81\n";
    for (int i = 1; i < 256; ++i) junk += static_cast<char>(i);
    junk += "\n[\x95";  // a header cut in the middle of a character
    WriteScript(junk);
    EXPECT_EQ(Value("\x82\x60", "KEY"), "\xFF\xFE\x81");
    EXPECT_EQ(Section("\x82\x60", 64).count, 62u);
    EXPECT_EQ(Value("\x95", "key"), "DEFAULT");
}

}  // namespace
}  // namespace setup32::testing
