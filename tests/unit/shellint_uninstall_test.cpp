// The extra files recorded for uninstalling and the uninstall entry.
#include <string>

#include "shellint/shell_integration.h"
#include "shellint_fixture.h"

namespace setup32::testing {
namespace {

using platform::RegRoot;
using ::testing::ElementsAre;

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall";

TEST_F(ShellFixture, ExtraFilesAreRecordedBelowTheWindowsDirectory) {
    WriteScript(
        "[Display]\r\nGroupName=Disk Tools\r\n"
        "[NT UnInstall Extra File]\r\n"
        "1=SYSTEM32\\DRIVERS\\DSKADP.SYS\r\n"
        ";1=COMMENT.SYS\r\n"
        "12=HELP\\<GROUp>.HLP\r\n"
        "1=\r\n"
        "2=" +
        std::string(189, 'x') +
        "\r\n"
        "9=X\r\n");
    ctx().scriptPath = kScriptPath;
    RecordExtraUninstallFiles(ctx(), os_kind::kWindowsNT);
    // A key of two characters leaves its "=" in the name; an entry without
    // a name and a path too long for its buffer are not recorded.
    EXPECT_THAT(Recorded("Disk Tools"),
                ElementsAre("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\DSKADP.SYS",
                            "C:\\WINDOWS\\=HELP\\Disk Tools.HLP", "C:\\WINDOWS\\X"));
}

struct UninstallCase {
    const char* label;
    int osKind;
    std::string display;    // the [Display] section's lines
    std::string uninstall;  // the [UnInstall] section's lines
    std::string command;    // expected UnInstallString; empty: no entry written
};

const std::string kDefaultDisplay = "bShow=YES\r\n";
const std::string kUninst = "1=UNINST.EXE\r\n";

class UninstallEntry : public ShellFixture, public ::testing::WithParamInterface<UninstallCase> {};

TEST_P(UninstallEntry, IsWrittenOnlyWhenItsKeyAndProgramAreSound) {
    const UninstallCase& row = GetParam();
    WriteScript("[Display]\r\n" + row.display + "[UnInstall]\r\n" + row.uninstall);
    ctx().scriptPath = kScriptPath;
    RegisterUninstall(ctx(), row.osKind);
    if (row.command.empty()) {
        EXPECT_FALSE(sim().KeyExists(RegRoot::LocalMachine, kUninstallKey));
        return;
    }
    const std::string entry = std::string(kUninstallKey) + "\\" + ctx().groupName;
    EXPECT_EQ(sim().StringValue(RegRoot::LocalMachine, entry, "DisplayName"), ctx().groupName);
    EXPECT_EQ(sim().StringValue(RegRoot::LocalMachine, entry, "UnInstallString"), row.command);
    EXPECT_EQ(sim().StringValue(RegRoot::LocalMachine, entry, ""), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UninstallEntry,
    ::testing::Values(
        UninstallCase{"Windows95", os_kind::kWindows95, kDefaultDisplay, kUninst,
                      "C:\\WINDOWS\\UNINST.EXE C:\\WINDOWS"},
        UninstallCase{"Windows98", os_kind::kWindows98, kDefaultDisplay, kUninst,
                      "C:\\WINDOWS\\UNINST.EXE C:\\WINDOWS"},
        UninstallCase{"SubdirectoryOnNT", os_kind::kWindowsNT, kDefaultDisplay,
                      "1=D\\UNINST.EXE\r\n2=LATER.EXE\r\n",
                      "C:\\WINDOWS\\D\\UNINST.EXE C:\\WINDOWS\\D"},
        UninstallCase{"Windows2000", os_kind::kWindows2000, kDefaultDisplay, kUninst,
                      "C:\\WINDOWS\\UNINST.EXE C:\\WINDOWS"},
        UninstallCase{"Win32s", os_kind::kWin32s, kDefaultDisplay, kUninst, ""},
        UninstallCase{"FirstEntryAComment", os_kind::kWindows95, kDefaultDisplay,
                      ";1=OLD.EXE\r\n" + kUninst, ""},
        UninstallCase{"EntryWithoutName", os_kind::kWindows95, kDefaultDisplay, "1=\r\n", ""},
        UninstallCase{"SectionTooLarge", os_kind::kWindows95, kDefaultDisplay,
                      kUninst + "2=" + std::string(180, 'x') + "\r\n", ""},
        UninstallCase{"ProgramPathTooLong", os_kind::kWindows95, kDefaultDisplay,
                      "1=" + std::string(169, 'x') + "\r\n", ""},
        UninstallCase{"EmptyGroupName", os_kind::kWindows95, "GroupName=\r\n", kUninst, ""},
        UninstallCase{"GroupNameEndingInBackslash", os_kind::kWindows95,
                      "GroupName=Disk Tools\\\r\n", kUninst, ""},
        UninstallCase{"GroupNameOf147", os_kind::kWindows95,
                      "GroupName=" + std::string(147, 'g') + "\r\n", kUninst,
                      "C:\\WINDOWS\\UNINST.EXE C:\\WINDOWS"},
        UninstallCase{"GroupNameOf148", os_kind::kWindows95,
                      "GroupName=" + std::string(148, 'g') + "\r\n", kUninst, ""}),
    [](const ::testing::TestParamInfo<UninstallCase>& info) { return info.param.label; });

}  // namespace
}  // namespace setup32::testing
