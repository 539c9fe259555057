// Program groups and shortcuts: the group script, the converter, the
// records and the group files.
#include <string>
#include <vector>

#include "shellint/shell_integration.h"
#include "shellint_fixture.h"

namespace setup32::testing {
namespace {

using platform::RegRoot;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kPrograms = "C:\\WINDOWS\\Start Menu\\Programs";

class ProgramGroups : public ShellFixture {
  protected:
    ProgramGroups() {
        SetShellFolder(RegRoot::CurrentUser, "StartUp", std::string(kPrograms) + "\\StartUp");
        SetShellFolder(RegRoot::CurrentUser, "Programs", kPrograms);
    }

    std::string GroupScript() {
        return sim().ReadFile("C:\\WINDOWS\\SETUP.INI").value_or("<no group script>");
    }
};

TEST_F(ProgramGroups, WritesTheGroupScriptStartsTheConverterAndRecordsWhatItMakes) {
    WriteScript(
        "[Display]\r\nGroupName=Disk Tools\r\n"
        "[Win95 ShortCut]\r\n"
        "1=TOOLS\\DSKTOOL.EXE,<GROUp>,Disk Tool\r\n"
        "; a comment takes no record\r\n"
        "2=SCSIVIEW.EXE,startup,SCSI View\r\n"
        "DSKHELP.HLP,Disk Tools,Help,fourth field\r\n");
    sim().WriteFile("C:\\WINDOWS\\TOOLS\\DSKTOOL.EXE", "");
    sim().WriteFile("C:\\WINDOWS\\SCSIVIEW.EXE", "");
    sim().WriteFile("C:\\WINDOWS\\DSKHELP.HLP", "");
    sim().WriteFile("C:\\WINDOWS\\DiskTool.GRP", "old group");

    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);

    EXPECT_EQ(GroupScript(),
              "[progman.groups]\r\n"
              "groupX0=Disk Tools\r\n"
              "groupX1=StartUp\r\n"
              "groupX2=Disk Tools\r\n"
              "[groupX0]\r\n\"Disk Tool\",\"C:\\WINDOWS\\TOOLS\\DSKTOOL.EXE\",,,,"
              "\"C:\\WINDOWS\\TOOLS\"\r\n"
              "[groupX1]\r\n\"SCSI View\",\"C:\\WINDOWS\\SCSIVIEW.EXE\",,,,\"C:\\WINDOWS\"\r\n"
              "[groupX2]\r\n\"Help\",\"C:\\WINDOWS\\DSKHELP.HLP\",,,,\"C:\\WINDOWS\"\r\n");
    EXPECT_THAT(sim().Execs(), ::testing::SizeIs(1));
    EXPECT_THAT(Started(platform::sw::kShowNA), ElementsAre("grpconv -o"));
    EXPECT_THAT(sim().ForegroundCalls(), ElementsAre(kMainWindow));
    const std::string programs = kPrograms;
    EXPECT_THAT(
        Recorded("Disk Tools"),
        ElementsAre(programs + "\\Disk Tools\\Disk Tool.LNK", programs + "\\StartUp\\SCSI View.LNK",
                    programs + "\\Disk Tools\\Help.LNK", programs + "\\Disk Tools"));
    EXPECT_FALSE(sim().Exists("C:\\WINDOWS\\DiskTool.GRP"));
}

TEST_F(ProgramGroups, AnEmptySectionStillStartsTheConverterButRecordsNothing) {
    WriteScript("[Display]\r\nbShow=YES\r\n");
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
    EXPECT_EQ(GroupScript(), "[progman.groups]\r\n");
    EXPECT_THAT(Started(platform::sw::kShowNA), ElementsAre("grpconv -o"));
    EXPECT_THAT(Recorded(), IsEmpty());
}

TEST_F(ProgramGroups, ASectionReadAsEmptyIsReadOnceMore) {
    WriteScript("[Win95 ShortCut]\r\n1=P.EXE,Disk Tools,T\r\n");
    ctx().scriptPath = kScriptPath;
    sim().FailCall(platform::sim::Call::GetPrivateProfileSectionA,
                   platform::win_error::kFileNotFound);
    CreateShortcuts(ctx(), os_kind::kWindows95);
    EXPECT_EQ(GroupScript(),
              "[progman.groups]\r\ngroupX0=Disk Tools\r\n"
              "[groupX0]\r\n\"T\",\"C:\\WINDOWS\\P.EXE\",,,,\"C:\\WINDOWS\"\r\n");
}

TEST_F(ProgramGroups, ASectionTooLargeForItsBufferSkipsTheWholeStep) {
    std::string script = "[Win95 ShortCut]\r\n";
    for (int i = 0; i < 60; ++i)
        script += "1=PROGRAM.EXE,Some Group Name,Some Title " + std::to_string(i) + "\r\n";
    WriteScript(script);
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
    EXPECT_FALSE(sim().Exists("C:\\WINDOWS\\SETUP.INI"));
    EXPECT_THAT(sim().Execs(), IsEmpty());
    EXPECT_THAT(Recorded(), IsEmpty());
}

TEST_F(ProgramGroups, AGroupScriptThatCannotBeCreatedStartsNothingButGroupFilesGo) {
    WriteScript("[Win95 ShortCut]\r\n1=P.EXE,Disk Tools,T\r\n");
    sim().WriteFile("C:\\WINDOWS\\DiskTool.GRP", "old group");
    sim().FailCall(platform::sim::Call::_lcreat, platform::win_error::kAccessDenied);
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
    EXPECT_THAT(sim().Execs(), IsEmpty());
    EXPECT_THAT(sim().ForegroundCalls(), IsEmpty());
    EXPECT_THAT(Recorded(), IsEmpty());
    EXPECT_FALSE(sim().Exists("C:\\WINDOWS\\DiskTool.GRP"));
}

TEST_F(ProgramGroups, AProgramWithoutAShortNameKeepsItsLongPath) {
    WriteScript("[Win95 ShortCut]\r\n1=NO SUCH PROGRAM.EXE,G,T\r\n");
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
    EXPECT_THAT(
        GroupScript(),
        ::testing::HasSubstr("\"T\",\"C:\\WINDOWS\\NO SUCH PROGRAM.EXE\",,,,\"C:\\WINDOWS\""));
}

TEST_F(ProgramGroups, TheTableHoldsFortyShortcutsAndNoEntryEndsItEarly) {
    SetShellFolder(RegRoot::CurrentUser, "StartUp", "");
    std::string script = "[Win95 ShortCut]\r\n";
    script += "1=P,Startup,Lost\r\n";
    for (int i = 0; i < 45; ++i) script += "1=P,G,T" + std::to_string(i) + "\r\n";
    WriteScript(script);
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
    ASSERT_EQ(UsedSlots(ctx().shell.shortcuts), kMaxShortcuts);
    EXPECT_EQ(ctx().shell.shortcuts[0].title, "T0");
    EXPECT_EQ(ctx().shell.shortcuts[kMaxShortcuts - 1].title, "T39");
    EXPECT_EQ(UsedSlots(ctx().shell.groupNames), kMaxShortcuts);
}

struct EntryCase {
    const char* value;
    bool taken;
    const char* group;
    const char* groupFile;  // empty for the Startup group
    const char* title;
};

class ShortcutEntries : public ShellFixture, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(ShortcutEntries, AreParsedIntoARecordAndTheGroupSlots) {
    const EntryCase& row = GetParam();
    ctx().shell.startupGroupName = "StartUp";
    ShortcutRecord record;
    std::string groupFile;
    std::string groupName;
    ASSERT_EQ(row.taken, ParseShortcutEntry(ctx(), row.value, record, groupFile, groupName));
    if (!row.taken) {
        EXPECT_TRUE(record.group.empty() && groupFile.empty() && groupName.empty());
        return;
    }
    EXPECT_EQ(record.group, row.group);
    EXPECT_EQ(record.title, row.title);
    EXPECT_EQ(record.target, "C:\\WINDOWS\\P");
    EXPECT_EQ(groupFile, row.groupFile);
    EXPECT_EQ(groupName, *row.groupFile ? row.group : "");
}

const std::string kLong31(31, 'x');
const std::string kLong32(32, 'x');
const std::string kLong127(127, 'g');
const std::string kLong128(128, 'g');
const std::string kTitle31 = "P,G," + kLong31;
const std::string kTitle32 = "P,G," + kLong32;
const std::string kGroup127 = "P," + kLong127 + ",T";
const std::string kGroup128 = "P," + kLong128 + ",T";
const std::string kProgram180 = std::string(180, 'p') + ",G,T";

INSTANTIATE_TEST_SUITE_P(
    Values, ShortcutEntries,
    ::testing::Values(
        EntryCase{"P,VELKA Technology Corp,T", true, "VELKA Technology Corp",
                  "C:\\WINDOWS\\VELKATec.GRP", "T"},
        EntryCase{"P,Startup,T", true, "StartUp", "", "T"},
        EntryCase{"P,sTART,T", true, "StartUp", "", "T"},
        EntryCase{"P,,T", true, "StartUp", "", "T"},
        EntryCase{"P,Startup Items,T", true, "Startup Items", "C:\\WINDOWS\\StartupI.GRP", "T"},
        EntryCase{"P, A B ,T,fourth,fifth", true, " A B ", "C:\\WINDOWS\\AB.GRP", "T"},
        EntryCase{"P,G,", true, "G", "C:\\WINDOWS\\G.GRP", ""}, EntryCase{"P,G", false, "", "", ""},
        EntryCase{"P", false, "", "", ""},
        EntryCase{kTitle31.c_str(), true, "G", "C:\\WINDOWS\\G.GRP", kLong31.c_str()},
        EntryCase{kTitle32.c_str(), false, "", "", ""},
        EntryCase{kGroup127.c_str(), true, kLong127.c_str(), "C:\\WINDOWS\\gggggggg.GRP", "T"},
        EntryCase{kGroup128.c_str(), false, "", "", ""},
        EntryCase{kProgram180.c_str(), false, "", "", ""}));

TEST_F(ShellFixture, TheGroupFileNameNeverSplitsADoubleByteCharacter) {
    sim().SetLcid(0x0411);
    ShortcutRecord record;
    std::string groupFile;
    std::string groupName;
    // "ABCDEFG" and a two-byte character whose second byte is a backslash.
    ASSERT_TRUE(ParseShortcutEntry(ctx(), "P,ABCDEFG\x83\x5C,T", record, groupFile, groupName));
    EXPECT_EQ(groupFile, "C:\\WINDOWS\\ABCDEFG.GRP");
}

struct StartupCase {
    int osKind;
    const char* expected;
};

class StartupGroupName : public ShellFixture, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupGroupName, IsReadFromThePlatformsStartupFolder) {
    SetShellFolder(RegRoot::CurrentUser, "StartUp", "C:\\WINDOWS\\Start Menu\\Programs\\Autostart");
    SetShellFolder(RegRoot::LocalMachine, "Common Startup",
                   "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Startup");
    std::string name = "unchanged";
    GetStartupGroupName(ctx(), GetParam().osKind, name);
    EXPECT_EQ(name, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Platforms, StartupGroupName,
                         ::testing::Values(StartupCase{os_kind::kWindows95, "Autostart"},
                                           StartupCase{os_kind::kWindows98, "Autostart"},
                                           StartupCase{os_kind::kWindowsNT, "Startup"},
                                           StartupCase{os_kind::kWindows2000, "Startup"},
                                           StartupCase{os_kind::kWin32s, "unchanged"},
                                           StartupCase{os_kind::kUnrecognised, "unchanged"}));

TEST_F(ShellFixture, TheStartupGroupNameIsTheLastWholeComponentAndMustFit) {
    sim().SetLcid(0x0411);
    std::string name;
    // The folder's last component is a three-character name whose first
    // character's second byte is a backslash.
    SetShellFolder(RegRoot::CurrentUser, "StartUp", "C:\\WINDOWS\\\x83\x5C\x83\x74\x83\x67");
    GetStartupGroupName(ctx(), os_kind::kWindows95, name);
    EXPECT_EQ(name, "\x83\x5C\x83\x74\x83\x67");

    SetShellFolder(RegRoot::CurrentUser, "StartUp", "C:\\" + std::string(32, 's'));
    GetStartupGroupName(ctx(), os_kind::kWindows95, name);
    EXPECT_EQ(name, "\x83\x5C\x83\x74\x83\x67");

    SetShellFolder(RegRoot::CurrentUser, "StartUp", "NoBackslash");
    GetStartupGroupName(ctx(), os_kind::kWindows95, name);
    EXPECT_EQ(name, "NoBackslash");
}

}  // namespace
}  // namespace setup32::testing
