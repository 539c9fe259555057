// The post-install programs and the pass's working directory.
#include <string>

#include "shellint/shell_integration.h"
#include "shellint_fixture.h"

namespace setup32::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(ShellFixture, ProgramsStartInSectionOrderFromTheWorkingDirectory) {
    WriteScript(
        "[Display]\r\nGroupName=Disk Tools\r\n"
        "[Win98 Execute]\r\n"
        "1=SETUPAPI.EXE /quiet\r\n"
        ";2=SKIPPED.EXE\r\n"
        "3=\r\n"
        "4=README.EXE \"<GROUp>.TXT\"\r\n"
        "5=" +
        std::string(61, 'x') +
        "\r\n"
        "6=" +
        std::string(60, 'y') + "\r\n");
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows98);
    // An entry without a program and a command line that would not fit its
    // 64 bytes are passed over; the others start in order.
    EXPECT_THAT(Started(platform::sw::kShowNormal),
                ElementsAre("A:\\SETUPAPI.EXE /quiet", "A:\\README.EXE \"Disk Tools.TXT\"",
                            "A:\\" + std::string(60, 'y')));
}

TEST_F(ShellFixture, AtMostTenProgramsStart) {
    std::string script = "[WIN2000 Execute]\r\n";
    for (int i = 0; i < 12; ++i) script += "1=P" + std::to_string(i) + ".EXE\r\n";
    WriteScript(script);
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows2000);
    const std::vector<std::string> started = Started(platform::sw::kShowNormal);
    ASSERT_EQ(started.size(), kMaxPrograms);
    EXPECT_EQ(started.front(), "A:\\P0.EXE");
    EXPECT_EQ(started.back(), "A:\\P9.EXE");
}

TEST_F(ShellFixture, ASectionTooLargeStartsNothing) {
    std::string script = "[Win95 Execute]\r\n";
    for (int i = 0; i < 80; ++i)
        script += "1=PROGRAM" + std::to_string(i) + ".EXE /with /arguments\r\n";
    WriteScript(script);
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
    EXPECT_THAT(Started(platform::sw::kShowNormal), IsEmpty());
}

TEST_F(ShellFixture, WithoutAWorkingDirectoryThePassDoesNothing) {
    WriteScript("[Win95 Execute]\r\n1=P.EXE\r\n");
    sim().FailCall(platform::sim::Call::GetCurrentDirectoryA, platform::win_error::kAccessDenied);
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
    EXPECT_THAT(sim().Execs(), IsEmpty());
    EXPECT_FALSE(sim().Exists("C:\\WINDOWS\\SETUP.INI"));
}

// Wherever the main dialog found its script, the pass reads the same one:
// a start directory of 254 characters, the most it can have.
TEST_F(ShellFixture, ThePassRunsFromTheLongestStartDirectory) {
    const std::string directory = "A:\\" + std::string(120, 'd') + "\\" + std::string(130, 'e');
    ASSERT_EQ(directory.size(), 254u);
    sim().WriteFile(directory + "\\SETUP32.INI", "[Win95 ShortCut]\r\n1=TOOL.EXE,Tools,Tool\r\n");
    sim().WriteFile("C:\\WINDOWS\\TOOL.EXE", "");
    sim().SetCurrentDirectory(directory);

    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);

    EXPECT_EQ(ctx().scriptPath, directory + "\\SETUP32.INI");
    EXPECT_TRUE(sim().Exists("C:\\WINDOWS\\SETUP.INI"));
}

TEST_F(ShellFixture, TheWorkingDirectoryIsTheCurrentDirectoryAtADriveRootOrBelow) {
    WriteScript("[NT Execute]\r\n1=PROBE.EXE -x\r\n");
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindowsNT);
    EXPECT_EQ(ctx().shell.workingDirectory, "A:");
    EXPECT_EQ(ctx().scriptPath, "A:\\SETUP32.INI");

    WriteMediumFile("DRV\\SETUP32.INI", "[NT Execute]\r\n1=PROBE.EXE -y\r\n");
    sim().SetCurrentDirectory("A:\\DRV");
    RunShellIntegration(ctx(), kMainWindow, os_kind::kWindowsNT);
    EXPECT_EQ(ctx().scriptPath, "A:\\DRV\\SETUP32.INI");
    EXPECT_THAT(Started(platform::sw::kShowNormal),
                ElementsAre("A:\\PROBE.EXE -x", "A:\\DRV\\PROBE.EXE -y"));
}

}  // namespace
}  // namespace setup32::testing
