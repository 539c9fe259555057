// Profile reads of the simulated machine: names matched without regard to
// case, lines split and trimmed as Windows does, quotes stripped from keyed
// values, and the block of a section read kept inside its capacity.
#include "platform/sim/sim_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sim/sim_host.h"
#include "sim_fixture.h"

namespace setup32::platform::sim {

void PrintTo(const VersionDifferenceMet& met, std::ostream* out) {
    *out << "{" << met.id << ", " << met.path << ", " << met.line << "}";
}

}  // namespace setup32::platform::sim

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

TEST_F(SimProfile, KeyedReadsMatchNamesWithoutCaseTrimBlanksAndStripQuotes) {
    WriteScript(
        "[Display]\r\n"
        "GroupName= Disk Tools \x1a\r\n"
        "  bShow  =yes\r\n"
        "Title=\"MDR\"=x\r\n"
        "Empty=\r\n"
        "Quoted=  \" Disk Tools \" \r\n"
        "Single='A:\\'\r\n"
        "OneEnd=\"open\r\n"
        "Mixed=\"both'\r\n"
        "Lone=\"\r\n"
        "Nested=\"'x'\"\r\n"
        ";Comment=hidden\r\n"
        "[display]\r\n"
        "DeviceID=6E12\r\n");
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    } const rows[] = {
        {"Display", "GroupName", "Disk Tools"},
        {"DISPLAY", "groupname", "Disk Tools"},
        {" Display ", " bShow ", "yes"},
        {"Display", "Title", "\"MDR\"=x"},
        {"Display", "Empty", ""},
        {"Display", "Quoted", " Disk Tools "},
        {"Display", "Single", "A:\\"},
        {"Display", "OneEnd", "\"open"},
        {"Display", "Mixed", "\"both'"},
        {"Display", "Lone", "\""},
        {"Display", "Nested", "'x'"},
        {"Display", ";Comment", "DEFAULT"},
        {"Display", "DeviceID", "DEFAULT"},  // only the first [Display] counts
        {"Display", "Missing", "DEFAULT"},
        {"Missing", "GroupName", "DEFAULT"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Value(row.section, row.key), row.value) << row.section << "/" << row.key;
    }
}

TEST_F(SimProfile, ALoneCrEndsALineOnNtOnlyAndCutsTheValueOn95And98) {
    // Lines from 1: "[Display]" (CR), "bShow=NO" (CR LF), "[Other]" (LF),
    // "A=1" (CR), "B=2" (CR LF), "" (CR), the end-of-file mark.
    WriteScript("[Display]\rbShow=NO\r\n[Other]\nA=1\rB=2\r\n\r\x1a");
    struct Row {
        std::uint32_t version;
        const char* show;
        std::vector<std::string> other;
    } const rows[] = {
        {platform::sim::version::kWindowsNT4, "NO", {"A=1", "B=2"}},
        {platform::sim::version::kWindows2000, "NO", {"A=1", "B=2"}},
        {platform::sim::version::kWindows95, "DEFAULT", {"A=1"}},
        {platform::sim::version::kWindows98, "DEFAULT", {"A=1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.version);
        sim().SetVersion(row.version);
        EXPECT_EQ(Value("Display", "bShow"), row.show);
        EXPECT_EQ(Lines("Other"), row.other);
    }
    // The header that swallowed a line and the value read that was cut,
    // once each; the CR on the blank line 6 changes nothing.
    const std::vector<platform::sim::VersionDifferenceMet> met = {
        {"win9x-control-char", kScriptPath, 1}, {"win9x-control-char", kScriptPath, 4}};
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
}

// Only the values a read returns are recorded: a tab in a section nobody
// reads, or in a key nobody asks for, is not; nor is a value on NT.
TEST_F(SimProfile, ControlCharactersAreRecordedInTheValuesReadOn95And98) {
    WriteScript("[Display]\nGroupName=Disk\tTools\nOther=a\tb\n[Notes]\nText=see\there\n");
    sim().SetVersion(platform::sim::version::kWindowsNT4);
    EXPECT_EQ(Value("Display", "GroupName"), "Disk\tTools");
    EXPECT_TRUE(sim().VersionDifferencesMet().empty());
    sim().SetVersion(platform::sim::version::kWindows95);
    EXPECT_EQ(Value("Display", "GroupName"), "Disk");
    EXPECT_EQ(Value("Display", "GroupName"), "Disk");
    const std::vector<platform::sim::VersionDifferenceMet> met = {
        {"win9x-control-char", kScriptPath, 2}};
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
    EXPECT_EQ(Lines("Display"), (std::vector<std::string>{"GroupName=Disk", "Other=a"}));
    EXPECT_EQ(sim().VersionDifferencesMet().back(),
              (platform::sim::VersionDifferenceMet{"win9x-control-char", kScriptPath, 3}));
    EXPECT_EQ(sim().VersionDifferencesMet().size(), 2u);
}

// The first 65,536 bytes are read on 95 and 98; the line the limit cuts, or
// the first that starts past it, is recorded. A file whose limit falls in a
// line end loses nothing and records nothing.
TEST_F(SimProfile, AScriptPast64KBIsCutAndRecordedAtItsFirstLineNotReadOn95And98) {
    sim().SetVersion(platform::sim::version::kWindows98);
    const std::string head = "[A]\n;" + std::string(65536 - 7, 'x') + "\n";  // lines 1 and 2
    ASSERT_EQ(head.size(), 65535u);
    WriteScript(head + "\n");  // 65,536 bytes: all read
    EXPECT_EQ(Value("A", "k"), "DEFAULT");
    WriteScript(head + "\r\n");  // the LF past the limit: line 3 is blank and read
    EXPECT_EQ(Value("A", "k"), "DEFAULT");
    EXPECT_TRUE(sim().VersionDifferencesMet().empty());
    WriteScript(head + "k=1\n");  // "k" read, "=1" not: line 3
    EXPECT_EQ(Value("A", "k"), "DEFAULT");
    const std::vector<platform::sim::VersionDifferenceMet> met = {
        {"win9x-profile-64k", kScriptPath, 3}};
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
    sim().SetVersion(platform::sim::version::kWindows2000);
    EXPECT_EQ(Value("A", "k"), "1");
}

TEST_F(SimProfile, ADefaultLosesItsTrailingSpaces) {
    WriteScript("[Display]\n");
    EXPECT_EQ(machine().profile.ReadString(kScriptPath, "Display", "k", " YES  ", 20), " YES");
    EXPECT_EQ(machine().profile.ReadString(kScriptPath, "Display", "k", "YES\t", 20), "YES\t");
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

TEST_F(SimProfile, SectionReadsDropBlankLinesAndTrimTheOthers) {
    WriteScript(
        "[Win95 Driver Files]\r\n"
        "; miniport driver\r\n"
        "\r\n"
        " \t\r\n"
        "1 = .\\W95\\A.MPD,.\\SYSTEM\\A.MPD \r\n"
        " ;indented comment\n"
        "no equals sign \x1a\n"
        "2=\"quoted\"\n"
        "\n"
        "[Next]\n"
        "1=x\n");
    // Windows keeps comment lines in a section read; keyed reads skip them.
    const std::vector<std::string> expected = {
        "; miniport driver", "1=.\\W95\\A.MPD,.\\SYSTEM\\A.MPD", ";indented comment",
        "no equals sign", "2=\"quoted\""};
    EXPECT_EQ(Lines("win95 driver files"), expected);
    EXPECT_EQ(Section("Win95 Driver Files").count, 91u);
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

TEST(ProfileLayout, NumbersLinesAndReadsThemAsTheProfileServiceDoes) {
    const std::string bytes =
        "stray=1\r\n"             // 1: before any header
        "\r\n"                    // 2
        "[ Display ] tail\r"      // 3: a lone CR ends a line
        "GroupName = \"A B\" \n"  // 4
        "; note=x\r\n"            // 5
        "[Files]]\r\n"            // 6: the name runs to the last ']'
        "[no end\r\n"             // 7: no ']', so not a header
        "=v\r\n"                  // 8
        "\x1a";                   // 9: blank
    struct Line {
        int number;
        const char* text;
        bool hasKey;
        const char* key;
        const char* value;
    };
    struct Section {
        int number;
        const char* name;
        std::vector<Line> lines;
    };
    const std::vector<Section> expected = {
        {0, "", {{1, "stray=1", true, "stray", "1"}}},
        {3,
         "Display",
         {{4, "GroupName=\"A B\"", true, "GroupName", "A B"}, {5, "; note=x", false, "", ""}}},
        {6, "Files]", {{7, "[no end", false, "", ""}, {8, "=v", true, "", "v"}}},
    };
    const auto layout = platform::sim::ReadProfileLayout(bytes);
    ASSERT_EQ(layout.size(), expected.size());
    for (std::size_t s = 0; s < expected.size(); ++s) {
        SCOPED_TRACE(expected[s].name);
        EXPECT_EQ(layout[s].number, expected[s].number);
        EXPECT_EQ(layout[s].name, expected[s].name);
        ASSERT_EQ(layout[s].lines.size(), expected[s].lines.size());
        for (std::size_t l = 0; l < expected[s].lines.size(); ++l) {
            const Line& want = expected[s].lines[l];
            const platform::sim::ProfileLine& got = layout[s].lines[l];
            SCOPED_TRACE(want.number);
            EXPECT_EQ(got.number, want.number);
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(got.hasKey, want.hasKey);
            EXPECT_EQ(got.key, want.key);
            EXPECT_EQ(got.value, want.value);
        }
    }
}

TEST_F(SimProfile, AUtf16ScriptWithItsMarkIsReadOn2000OnlyInTheAnsiCodePage) {
    sim().SetLcid(0x0411);
    // "[Display]" CR LF "GroupName=" katakana DE I SU KU, Thai KO KAI (not in
    // code page 932), a character outside the basic plane, CR LF.
    const std::u16string text =
        u"[Display]\r\nGroupName=\u30C7\u30A3\u30B9\u30AF\u0E01\U0001F600\r\n";
    std::string units;
    for (const char16_t unit : text) {
        units += static_cast<char>(unit & 0xFF);
        units += static_cast<char>(unit >> 8);
    }
    struct Row {
        std::uint32_t version;
        const char* bytes;
        const char* groupName;
    } const rows[] = {
        {platform::sim::version::kWindows2000, "\xFF\xFE", "\x83\x66\x83\x42\x83\x58\x83\x4E??"},
        {platform::sim::version::kWindowsNT4, "\xFF\xFE", "DEFAULT"},
        {platform::sim::version::kWindows95, "\xFF\xFE", "DEFAULT"},
        {platform::sim::version::kWindows98, "\xFF\xFE", "DEFAULT"},
        // Without the mark, or with the big-endian one, no version reads it.
        {platform::sim::version::kWindows2000, "", "DEFAULT"},
        {platform::sim::version::kWindows2000, "\xFE\xFF", "DEFAULT"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.version << " " << row.bytes);
        sim().SetVersion(row.version);
        WriteScript(row.bytes + units);
        EXPECT_EQ(Value("Display", "GroupName"), row.groupName);
    }
    const std::vector<platform::sim::VersionDifferenceMet> met = {{"utf16-bom", kScriptPath, 1}};
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
}

TEST_F(SimProfile, ASectionCutAt32767BytesIsRecordedOn95And98) {
    sim().SetVersion(platform::sim::version::kWindows98);
    // One line that needs 32,765 bytes with its terminator still fits.
    WriteScript("\r\n[Big]\r\n1=" + std::string(32762, 'x') + "\r\n");
    EXPECT_EQ(Section("Big", 40000).count, 32765u);
    EXPECT_TRUE(sim().VersionDifferencesMet().empty());
    WriteScript("\r\n[Big]\r\n1=" + std::string(32763, 'x') + "\r\n");
    EXPECT_EQ(Section("Big", 40000).count, 32765u);
    // A buffer no larger than the limit cuts it on NT as well.
    EXPECT_EQ(Section("Big", 32767).count, 32765u);
    const std::vector<platform::sim::VersionDifferenceMet> met = {{"section-32k", kScriptPath, 2}};
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
}

TEST_F(SimProfile, AScriptThatCannotBeOpenedReadsAsAnEmptyOne) {
    std::filesystem::create_directory(sim().HostPath("A:\\FOLDER.INI"));
    ASSERT_EQ(mkfifo(sim().HostPath("A:\\PIPE.INI").c_str(), 0600), 0);
    sim().WriteFile("A:\\HELD.INI", "[Display]\nbShow=NO\n");
    sim().HoldFile("A:\\HELD.INI", sim().AddWindow("EDITOR"));
    for (const char* path : {"A:\\FOLDER.INI", "A:\\PIPE.INI", "A:\\HELD.INI", "Q:\\SETUP32.INI",
                             "\\\\server\\share\\SETUP32.INI", "A:\\MISSING\\SETUP32.INI", ""}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(machine().profile.ReadString(path, "Display", "bShow", "YES", 10), "YES");
        const platform::SectionBlock block = machine().profile.ReadSection(path, "Display", 64);
        EXPECT_EQ(block.count, 0u);
        EXPECT_EQ(block.bytes, std::vector<char>(64, '\0'));
    }
}

TEST_F(SimProfile, AScriptRewrittenBetweenReadsIsReadAfresh) {
    WriteScript("[s]\nk=1\n");
    EXPECT_EQ(Value("s", "k"), "1");
    WriteScript("[s]\nk=2\n");  // the same size, at once
    EXPECT_EQ(Value("s", "k"), "2");
    // A file that had long been left alone is trusted by its stamp, which
    // a rewrite changes even where it sets the old time again.
    const std::filesystem::path host = sim().HostPath(kScriptPath);
    const auto longAgo = std::filesystem::last_write_time(host) - std::chrono::hours(1);
    std::filesystem::last_write_time(host, longAgo);
    EXPECT_EQ(Value("s", "k"), "2");
    WriteScript("[s]\nk=3\n");
    std::filesystem::last_write_time(host, longAgo);
    EXPECT_EQ(Value("s", "k"), "3");
}

TEST(ProfileLayout, ABracketThatEndsADoubleByteCharacterClosesNoHeader) {
    platform::sim::SimHost host;
    host.SetLcid(0x0411);
    // 0x83 0x5D is one character whose second byte is ']'.
    const auto layout = platform::sim::ReadProfileLayout("[\x83\x5D\nk=v\n[\x83\x5D]\n", &host);
    ASSERT_EQ(layout.size(), 2u);
    EXPECT_EQ(layout[0].number, 0);
    EXPECT_EQ(layout[1].name, "\x83\x5D");
    EXPECT_EQ(platform::sim::ReadProfileLayout("[\x83\x5D\n")[0].name, "\x83");
}

TEST(ProfileLayout, On95And98ALineRunsOnOverLoneCrsAndItsValueEndsAtTheFirst) {
    platform::sim::SimHost host;
    host.SetVersion(platform::sim::version::kWindows95);
    const auto layout =
        platform::sim::ReadProfileLayout("[A]\rk=1\r\n\r\n[B]\nx=1\r y = 2\n", &host);
    ASSERT_EQ(layout.size(), 2u);
    EXPECT_EQ(layout[0].number, 1);
    EXPECT_EQ(layout[0].name, "A");
    EXPECT_TRUE(layout[0].lines.empty());
    EXPECT_EQ(layout[1].number, 4);
    ASSERT_EQ(layout[1].lines.size(), 1u);
    EXPECT_EQ(layout[1].lines[0].number, 5);
    EXPECT_EQ(layout[1].lines[0].text, "x=1");
    EXPECT_EQ(layout[1].lines[0].value, "1");
    EXPECT_TRUE(layout[1].lines[0].cutAtControl);
}

}  // namespace
}  // namespace setup32::testing
