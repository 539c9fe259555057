// The whole install sequence on each platform, from the worked example of a
// floppy-disk medium, and the one failure that abandons it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "messages/messages.h"
#include "sim_fixture.h"
#include "state/script.h"

namespace setup32 {
namespace {

namespace mb = platform::mb;
namespace version = platform::sim::version;
using platform::RegRoot;
using platform::sim::SimDialogView;
using platform::sim::SimMachine;

constexpr const char* kExampleScript =
    "[Display]\r\n"
    "GroupName=Disk Tools\r\n"
    "bShow=NO\r\n"
    "DeviceID=6E02,6E12\r\n"
    "\r\n"
    "[Win95 Driver Files]\r\n"
    "; miniport driver and its help file\r\n"
    "1=.\\W95\\DSKADP.MPD,.\\SYSTEM\\IOSUBSYS\\DSKADP.MPD\r\n"
    "2=.\\W95\\<GROUp>.HLP,.\\HELP\\<GROUp>.HLP\r\n"
    "3=.\\W95\\DSKADP.VXD\r\n"
    "\r\n"
    "[Win95 Inf File]\r\n"
    "1=.\\W95\\DSKADP.INF,.\\INF\\DSKADP.INF\r\n"
    "\r\n"
    "[NT Driver Files]\r\n"
    "1=.\\NT\\DSKADP.SYS,.\\SYSTEM32\\DRIVERS\\DSKADP.SYS\r\n"
    "\r\n"
    "[NT WinASPI32]\r\n"
    "1=.\\NT\\WNASPI32.DLL,.\\SYSTEM32\\WNASPI32.DLL\r\n"
    "2=C:\\TOOLS\\PROBE.EXE,C:\\TOOLS\\NEW\\PROBE.EXE\r\n"
    "\r\n"
    "[Modify]\r\n"
    "1=C:\\OLDDRV\\OLDADP.SYS\r\n";

constexpr const char* kConfigSys =
    "DEVICE=C:\\OLDDRV\\OLDADP.SYS /V\r\nFILES=30\r\nrem device=c:\\olddrv\\oldadp.sys\r\n";

constexpr const char* kDefaultDeviceKey = "Enum\\PCI\\VEN_7A3E&DEV_6E02";

class InstallSequenceTest : public testing::SimFixture {
  protected:
    InstallSequenceTest() {
        AddDrive('D');
        for (const char* file :
             {"A:\\W95\\DSKADP.MPD", "A:\\W95\\Disk Tools.HLP", "A:\\W95\\DSKADP.INF",
              "D:\\DRV\\NT\\DSKADP.SYS", "D:\\DRV\\NT\\WNASPI32.DLL", "C:\\TOOLS\\PROBE.EXE"}) {
            sim().WriteFile(file, std::string("contents of ") + file);
        }
        sim().WriteFile("C:\\CONFIG.SYS", kConfigSys);
    }

    // Starts the program from `startDir` on the given Windows.
    void Run(std::uint32_t windowsVersion, const std::string& windowsDir,
             const std::string& startDir, const std::string& script = kExampleScript) {
        sim().SetVersion(windowsVersion);
        sim().SetWindowsDirectory(windowsDir);
        std::filesystem::create_directories(sim().HostPath(windowsDir + "\\INF"));
        sim().SetCurrentDirectory(startDir);
        sim().WriteFile(ScriptPath(startDir, "SETUP32.INI"), script);
        CSetupApp app(sim().machine(), "SETUP32.EXE");
        app.InitInstance();
    }
    void AddDeviceKeys() {
        ASSERT_TRUE(sim().LoadRegistry(
            "REGEDIT4\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02\\BUS_00&DEV_0A]\r\n"
            "\"Driver\"=\"SCSIAdapter\\\\0000\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E12\\BUS_00&DEV_0B]\r\n"
            "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E99]\r\n"));
    }
    std::vector<std::string> Copies() {
        std::vector<std::string> copies;
        for (const platform::sim::Event& event : sim().Events()) {
            if (event.call == "CopyFileA") copies.push_back(event.detail);
        }
        return copies;
    }
    SimDialogView& MainView() { return *sim().DialogViews().front(); }
};

// What a recorded call belongs to, by the install's steps: the copy pass;
// the shell integration's program groups, post-install programs and
// uninstall entry; the CONFIG.SYS edit; the NT services and the Windows 9x
// device clean-up.
std::string StepOf(const platform::sim::Event& event) {
    const auto names = [&event](const char* part) {
        return event.detail.find(part) != std::string::npos;
    };
    if (event.call == "CopyFileA") return "copy";
    if (event.call == "WinExec") return names("grpconv") ? "groups" : "programs";
    if (names("\\UnInstall\\")) return "uninstall";
    if (names("CONFIG.")) return "config";
    if (names("\\Services\\")) return "services";
    if (names("\\Enum\\") || names("DRVIDX") || names("DRVDATA")) return "devices";
    return "";
}

TEST_F(InstallSequenceTest, StepsComeInTheirOrderOnEveryPlatform) {
    std::string script =
        "[Display]\r\nGroupName=Disk Tools\r\nbShow=NO\r\nDriver=DSKADP.SYS\r\n"
        "[Modify]\r\n1=C:\\OLDDRV\\OLDADP.SYS\r\n";
    for (const char* platform : {"Win95", "Win98", "NT", "WIN2000"}) {
        script += std::string("[") + platform +
                  " Driver Files]\r\n1=.\\W95\\DSKADP.INF,.\\INF\\DSKADP.INF\r\n" + "[" + platform +
                  " ShortCut]\r\n1=P.EXE,Disk Tools,Tool\r\n" + "[" + platform +
                  " Execute]\r\n1=POST.EXE\r\n";
    }
    script += "[UnInstall]\r\n1=UNINST.EXE\r\n";
    using Steps = std::vector<std::string>;
    const Steps nt = {"copy", "groups", "programs", "uninstall", "config", "services"};
    const Steps windows9x = {"copy", "groups", "programs", "uninstall", "config", "devices"};
    struct Row {
        int osKind;
        std::uint32_t version;
        Steps steps;
    } const rows[] = {
        {os_kind::kUnrecognised, 0x80000005u, {"config"}},
        {os_kind::kWindowsNT, version::kWindowsNT4, nt},
        {os_kind::kWindows95, version::kWindows95, windows9x},
        {os_kind::kWindows98, version::kWindows98, windows9x},
        {os_kind::kWin32s, version::kWin32s, {"config"}},
        {os_kind::kWindows2000, version::kWindows2000, nt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.osKind);
        SimMachine machine;
        for (const char drive : {'A', 'C'}) MapDrive(machine, drive);
        machine.SetVersion(row.version);
        ASSERT_EQ(GetOsKind(machine.machine().host), row.osKind);
        machine.SetWindowsDirectory("C:\\WINDOWS");
        machine.SetCurrentDirectory("A:\\");
        machine.WriteFile("A:\\SETUP32.INI", script);
        machine.WriteFile("C:\\CONFIG.SYS", kConfigSys);
        machine.WriteFile("C:\\WINDOWS\\INF\\DRVIDX.BIN", "index");
        machine.WriteFile("A:\\W95\\DSKADP.INF", "inf");
        ASSERT_TRUE(machine.LoadRegistry("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" +
                                         std::string(kDefaultDeviceKey) + "]\r\n"));
        CSetupApp app(machine.machine(), "SETUP32.EXE");
        app.InitInstance();

        Steps steps;
        for (const platform::sim::Event& event : machine.Events()) {
            const std::string step = StepOf(event);
            if (!step.empty() && (steps.empty() || steps.back() != step)) steps.push_back(step);
        }
        EXPECT_EQ(steps, row.steps);
        // The script names no DeviceID: Windows 95 and 98 clean up 6E02.
        EXPECT_EQ(machine.KeyExists(RegRoot::LocalMachine, kDefaultDeviceKey),
                  row.steps != windows9x);
        EXPECT_EQ(machine.ReadFile("C:\\CONFIG.SYS"), "FILES=30\r\n");
        EXPECT_EQ(machine.DialogViews().front()->EndResult(), mb::kIdOk);
    }
}

TEST_F(InstallSequenceTest, WorkedExampleOnWindows95FromAFloppy) {
    AddDeviceKeys();
    sim().WriteFile("C:\\WINDOWS\\INF\\DRVIDX.BIN", "index");
    sim().WriteFile("C:\\WINDOWS\\INF\\DRVDATA.BIN", "data");
    sim().QueueAnswer(mb::kIdOk);  // the malformed third line
    Run(version::kWindows95, "C:\\WINDOWS", "A:\\");

    ASSERT_EQ(1u, sim().Boxes().size());
    EXPECT_EQ("AddSectionFilesToCopyList", sim().Boxes()[0].caption);
    EXPECT_EQ("Cannot find the destination path !", sim().Boxes()[0].text);
    EXPECT_EQ(*sim().ReadFile("A:\\W95\\DSKADP.MPD"),
              sim().ReadFile("C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"));
    EXPECT_EQ(*sim().ReadFile("A:\\W95\\Disk Tools.HLP"),
              sim().ReadFile("C:\\WINDOWS\\HELP\\Disk Tools.HLP"));
    EXPECT_EQ(*sim().ReadFile("A:\\W95\\DSKADP.INF"),
              sim().ReadFile("C:\\WINDOWS\\INF\\DSKADP.INF"));
    EXPECT_EQ(3u, Copies().size());

    EXPECT_FALSE(sim().KeyExists(RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E02"));
    EXPECT_FALSE(sim().KeyExists(RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E12"));
    EXPECT_TRUE(sim().KeyExists(RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E99"));
    EXPECT_FALSE(sim().Exists("C:\\WINDOWS\\INF\\DRVIDX.BIN"));
    EXPECT_FALSE(sim().Exists("C:\\WINDOWS\\INF\\DRVDATA.BIN"));
    EXPECT_EQ("FILES=30\r\n", sim().ReadFile("C:\\CONFIG.SYS"));
    EXPECT_FALSE(
        sim().KeyExists(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Scsiscan"));
    EXPECT_EQ(mb::kIdOk, MainView().EndResult());
    EXPECT_FALSE(MainView().Visible());
    EXPECT_EQ(platform::CursorShape::Arrow, sim().Cursors().back());
}

TEST_F(InstallSequenceTest, WorkedExampleOnWindowsNTFromADirectory) {
    AddDeviceKeys();
    Run(version::kWindowsNT4, "C:\\WINNT", "D:\\DRV");

    EXPECT_EQ(*sim().ReadFile("D:\\DRV\\NT\\DSKADP.SYS"),
              sim().ReadFile("C:\\WINNT\\SYSTEM32\\DRIVERS\\DSKADP.SYS"));
    EXPECT_EQ(*sim().ReadFile("D:\\DRV\\NT\\WNASPI32.DLL"),
              sim().ReadFile("C:\\WINNT\\SYSTEM32\\WNASPI32.DLL"));
    EXPECT_EQ(*sim().ReadFile("C:\\TOOLS\\PROBE.EXE"), sim().ReadFile("C:\\TOOLS\\NEW\\PROBE.EXE"));
    EXPECT_EQ(3u, Copies().size());
    EXPECT_EQ(4u, sim().DwordValue(RegRoot::LocalMachine,
                                   "SYSTEM\\CurrentControlSet\\Services\\Scsiscan", "Start"));
    // The device keys belong to the Windows 9x clean-up only.
    EXPECT_TRUE(sim().KeyExists(RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E02"));
    EXPECT_EQ("FILES=30\r\n", sim().ReadFile("C:\\CONFIG.SYS"));
    // No miniport service without a Driver value.
    EXPECT_FALSE(
        sim().KeyExists(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\MDR420X"));
}

TEST_F(InstallSequenceTest, MiniportServiceIsRegisteredWhenTheScriptNamesADriver) {
    sim().QueueAnswer(mb::kIdOk);  // no [Modify] entries for the existing CONFIG.SYS
    Run(version::kWindows2000, "C:\\WINNT", "D:\\DRV",
        "[Display]\r\nbShow=NO\r\nTitle=DSKADP\r\nDriver=DSKADP.SYS\r\n");
    const std::string key = "SYSTEM\\CurrentControlSet\\Services\\DSKADP";
    EXPECT_EQ("System32\\drivers\\DSKADP.SYS",
              sim().StringValue(RegRoot::LocalMachine, key, "ImagePath"));
    EXPECT_EQ(0u, sim().DwordValue(RegRoot::LocalMachine, key, "Start"));
}

TEST_F(InstallSequenceTest, Win32sAndUnknownVersionsOnlyEditConfigSys) {
    for (const std::uint32_t v : {version::kWin32s, 0x80000005u}) {
        SimMachine machine;
        MapDrive(machine, 'A');
        MapDrive(machine, 'C');
        machine.WriteFile("C:\\CONFIG.SYS", kConfigSys);
        machine.SetVersion(v);
        machine.SetWindowsDirectory("C:\\WINDOWS");
        machine.SetCurrentDirectory("A:\\");
        machine.WriteFile("A:\\SETUP32.INI", kExampleScript);
        CSetupApp app(machine.machine(), "SETUP32.EXE");
        app.InitInstance();
        EXPECT_EQ("FILES=30\r\n", machine.ReadFile("C:\\CONFIG.SYS"));
        EXPECT_TRUE(machine.DialogViews().size() == 1) << "no progress window";
        EXPECT_FALSE(machine.Exists("C:\\WINDOWS\\SETUP.INI")) << "no shell integration";
        EXPECT_TRUE(machine.Execs().empty());
        machine.WriteFile("C:\\CONFIG.SYS", kConfigSys);
    }
}

TEST_F(InstallSequenceTest, ProgressWindowIsDisposedOfOnlyInTheShownMode) {
    std::string shown = kExampleScript;
    shown.replace(shown.find("bShow=NO"), 8, "bShow=YES");
    sim().QueueAnswer(mb::kIdOk);  // malformed line
    sim().QueueAnswer(mb::kIdNo);  // restart
    sim().OnNextModal(
        [](SimDialogView& view, platform::DialogHandler& dialog) { dialog.OnOK(view); });
    Run(version::kWindows95, "C:\\WINDOWS", "A:\\", shown);
    ASSERT_EQ(2u, sim().DialogViews().size());
    const SimDialogView& progress = *sim().DialogViews()[1];
    EXPECT_EQ(130, progress.TemplateId());
    EXPECT_TRUE(progress.Destroyed());
    EXPECT_EQ(3u, progress.ProgressMax());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), progress.ProgressPositions());

    SimMachine silent;
    MapDrive(silent, 'A');
    MapDrive(silent, 'C');
    silent.SetWindowsDirectory("C:\\WINDOWS");
    silent.SetCurrentDirectory("A:\\");
    silent.WriteFile("A:\\SETUP32.INI", kExampleScript);
    silent.QueueAnswer(mb::kIdOk);
    SetupContext ctx(silent.machine());
    CSetupDlg dialog(ctx);
    const std::unique_ptr<platform::DialogView> view = silent.NewView(102);
    dialog.OnInitDialog(*view);
    ASSERT_EQ(2u, silent.DialogViews().size());
    EXPECT_EQ(mb::kIdOk, silent.DialogViews()[0]->EndResult());
    EXPECT_FALSE(silent.DialogViews()[1]->Visible());
    EXPECT_FALSE(silent.DialogViews()[1]->Destroyed());
}

TEST_F(InstallSequenceTest, ConfigSysFailureAbandonsTheRestAndKeepsTheDialog) {
    sim().FailCall("MoveFileA", platform::win_error::kAccessDenied, 1, true);
    sim().QueueAnswer(mb::kIdOk);  // the file error
    Run(version::kWindowsNT4, "C:\\WINNT", "D:\\DRV");
    ASSERT_EQ(1u, sim().Boxes().size());
    EXPECT_EQ("SETUP32", sim().Boxes()[0].caption);
    EXPECT_EQ(0u, sim().Boxes()[0].text.find("Disk write error!"));
    // The old CONFIG.SYS is still there, the platform step did not run, and
    // the silent dialog is now shown instead of ending.
    EXPECT_EQ(kConfigSys, sim().ReadFile("C:\\CONFIG.SYS"));
    EXPECT_FALSE(
        sim().KeyExists(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Scsiscan"));
    EXPECT_TRUE(MainView().Visible());
    EXPECT_FALSE(MainView().EndResult().has_value());
}

}  // namespace
}  // namespace setup32
