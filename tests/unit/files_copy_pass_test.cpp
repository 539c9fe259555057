// Building the copy list from the script and the copy pass: order, pauses,
// the progress window, window closing, the retry and cancel questions.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/progress_dialog.h"
#include "files/file_placement.h"
#include "install/setup_fields.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"
#include "state/context.h"

namespace setup32 {
namespace {

namespace fs = std::filesystem;
using platform::RegRoot;
using platform::sim::SimDialogView;
using platform::sim::SimMachine;
namespace mb = platform::mb;

constexpr platform::WindowHandle kMainWindow = 0x1001;

// The main dialog as the progress window sees it: it only takes the cancel request.
class MainDialogStub : public platform::DialogHandler {
  public:
    explicit MainDialogStub(SetupFields& fields) : fields_(fields) {}
    bool OnInitDialog(platform::DialogView&) override { return true; }
    long OnCancelRequest() override {
        fields_.cancelRequested = 1;
        return 0;
    }

  private:
    SetupFields& fields_;
};

class FilePlacementTest : public ::testing::Test {
  protected:
    FilePlacementTest() {
        for (const char drive : {'A', 'C', 'D'}) {
            fs::create_directories(root_.path() / std::string(1, drive));
            sim.MapDrive(drive, root_.path() / std::string(1, drive));
        }
        sim.SetWindowsDirectory("C:\\WINDOWS");
        sim.SetCurrentDirectory("A:\\");
        ctx.language = Language{0x09, 0x01};
        ctx.appTitle = "SETUP32";
        ctx.mainWindow = kMainWindow;
        fields.startDir = "A:\\";
        fields.showMain = 1;
        fields.osKind = os_kind::kWindows95;
        fields.progress = std::make_unique<CProgressDlg>(ctx, 0, mainDialog);
    }
    void AddEntry(const std::string& source, const std::string& destination) {
        auto item = std::make_unique<CCopyListItem>();
        item->source = source;
        item->destination = destination;
        fields.copyList.push_back(std::move(item));
    }
    // An entry whose source exists, holding `bytes`.
    void AddFile(const std::string& source, const std::string& destination,
                 const std::string& bytes = "driver") {
        sim.WriteFile(source, bytes);
        AddEntry(source, destination);
    }
    std::vector<std::pair<std::string, std::string>> ListedPaths() const {
        std::vector<std::pair<std::string, std::string>> paths;
        for (const auto& item : fields.copyList)
            paths.emplace_back(item->source, item->destination);
        return paths;
    }
    const SimDialogView* ProgressView() const {
        for (const SimDialogView* view : sim.DialogViews()) {
            if (view->TemplateId() == progress_ids::kTemplate) return view;
        }
        return nullptr;
    }
    std::size_t ProgressWindows() const {
        std::size_t count = 0;
        for (const SimDialogView* view : sim.DialogViews()) {
            count += view->TemplateId() == progress_ids::kTemplate;
        }
        return count;
    }
    void CancelDuringTheFirstEntry(int answerToCancel);
    // Every recorded call as "call: detail".
    std::vector<std::string> Trace() const {
        std::vector<std::string> trace;
        for (const platform::sim::Event& event : sim.Events()) {
            trace.push_back(event.call + ": " + event.detail);
        }
        return trace;
    }
    // The details of every recorded use of one call.
    std::vector<std::string> Uses(const std::string& call) const {
        std::vector<std::string> details;
        for (const platform::sim::Event& event : sim.Events()) {
            if (event.call == call) details.push_back(event.detail);
        }
        return details;
    }
    // Presses the progress window's Cancel button the next time a box shows.
    void PressCancelDuringNextBox() {
        sim.OnNextBox([this] {
            fields.progress->OnCommand(*fields.progress->View(), progress_ids::kCancel);
        });
    }
    std::string RetryText(const std::string& destination) const {
        return "Destination File: '" + destination +
               "'\n can't be copied !\nIt may be write protected or run on system.\nPlease set "
               "the file writable or terminate the program and try again.\n\nDo you want to try "
               "again ?";
    }
    bool Recorded(const std::string& path) const {
        return sim.StringValue(RegRoot::CurrentUser, "software\\" + ctx.groupName, path) == path;
    }

  private:
    platform::sim::TempDirectory root_;

  protected:
    SimMachine sim;
    SetupContext ctx{sim.machine()};
    SetupFields fields;
    MainDialogStub mainDialog{fields};
};

const char* const kWorkedExample = R"([Display]
GroupName=Disk Tools
bShow=YES
DeviceID=6E02,6E12

[Win95 Driver Files]
; miniport driver and its help file
1=.\W95\DSKADP.MPD,.\SYSTEM\IOSUBSYS\DSKADP.MPD
2=.\W95\<GROUp>.HLP,.\HELP\<GROUp>.HLP
3=.\W95\DSKADP.VXD

[Win95 Inf File]
1=.\W95\DSKADP.INF,.\INF\DSKADP.INF

[NT Driver Files]
1=.\NT\DSKADP.SYS,.\SYSTEM32\DRIVERS\DSKADP.SYS

[NT WinASPI32]
1=.\NT\WNASPI32.DLL,.\SYSTEM32\WNASPI32.DLL
2=C:\TOOLS\PROBE.EXE,C:\TOOLS\NEW\PROBE.EXE

[Modify]
1=C:\OLDDRV\OLDADP.SYS
)";

TEST_F(FilePlacementTest, ListsTheWorkedExampleOnWindows95) {
    sim.WriteFile("A:\\SETUP32.INI", kWorkedExample);
    sim.QueueAnswer(mb::kIdOk);  // line 3 has no ","

    PrepareDriverCopyList(ctx, fields);

    EXPECT_EQ(fields.windowsDir, "C:\\WINDOWS");
    EXPECT_EQ(fields.infDir, "C:\\WINDOWS\\inf");
    EXPECT_EQ(ctx.windowsDirText, "C:\\WINDOWS");
    EXPECT_EQ(ListedPaths(),
              (std::vector<std::pair<std::string, std::string>>{
                  {"A:\\W95\\DSKADP.MPD", "C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"},
                  {"A:\\W95\\Disk Tools.HLP", "C:\\WINDOWS\\HELP\\Disk Tools.HLP"},
                  {"A:\\W95\\DSKADP.INF", "C:\\WINDOWS\\INF\\DSKADP.INF"},
              }));
    ASSERT_EQ(sim.Boxes().size(), 1u);
    EXPECT_EQ(sim.Boxes()[0].owner, kMainWindow);
    EXPECT_EQ(sim.Boxes()[0].caption, "AddSectionFilesToCopyList");
    EXPECT_EQ(sim.Boxes()[0].text, "Cannot find the destination path !");
    EXPECT_EQ(sim.Boxes()[0].type, mb::kOk);
    EXPECT_EQ(ctx.errorReporter.Code(), 102);
}

TEST_F(FilePlacementTest, ListsTheWorkedExampleOnWindowsNT) {
    sim.WriteFile("D:\\DRV\\SETUP32.INI", kWorkedExample);
    sim.SetWindowsDirectory("C:\\WINNT");
    fields.startDir = "D:\\DRV";
    fields.osKind = os_kind::kWindowsNT;

    PrepareDriverCopyList(ctx, fields);

    EXPECT_EQ(ListedPaths(),
              (std::vector<std::pair<std::string, std::string>>{
                  {"D:\\DRV\\NT\\DSKADP.SYS", "C:\\WINNT\\SYSTEM32\\DRIVERS\\DSKADP.SYS"},
                  {"D:\\DRV\\NT\\WNASPI32.DLL", "C:\\WINNT\\SYSTEM32\\WNASPI32.DLL"},
                  {"C:\\TOOLS\\PROBE.EXE", "C:\\TOOLS\\NEW\\PROBE.EXE"},
              }));
    EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(FilePlacementTest, PlatformsWithoutSectionsListNothingAndOpenNoWindow) {
    sim.WriteFile("A:\\SETUP32.INI", kWorkedExample);  // has no Windows 98 sections
    for (const int osKind : {os_kind::kWin32s, os_kind::kUnrecognised, 7, os_kind::kWindows98}) {
        SCOPED_TRACE(osKind);
        fields.osKind = osKind;
        PrepareDriverCopyList(ctx, fields);
        CopyFilesInCopyList(ctx, fields);
        EXPECT_EQ(fields.windowsDir, "C:\\WINDOWS");
        EXPECT_EQ(fields.infDir, "C:\\WINDOWS\\inf");
        EXPECT_TRUE(fields.copyList.empty());
    }
    EXPECT_TRUE(sim.DialogViews().empty());
    EXPECT_TRUE(sim.Pauses().empty());
    EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(FilePlacementTest, ASectionThatDoesNotFitIsSkippedWhole) {
    std::string script = "[Win95 Driver Files]\n";
    for (int i = 0; i < 100; ++i) {
        script += std::to_string(i) + "=.\\W95\\FILE" + std::to_string(i) + ".SYS,.\\X.SYS\n";
    }
    script += "[Win95 Inf File]\n1=.\\W95\\DSKADP.INF,.\\INF\\DSKADP.INF\n";
    sim.WriteFile("A:\\SETUP32.INI", script);

    PrepareDriverCopyList(ctx, fields);

    EXPECT_EQ(ListedPaths(), (std::vector<std::pair<std::string, std::string>>{
                                 {"A:\\W95\\DSKADP.INF", "C:\\WINDOWS\\INF\\DSKADP.INF"}}));
    EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(FilePlacementTest, PreparingAgainReplacesTheList) {
    sim.WriteFile("A:\\SETUP32.INI", "[Win95 Inf File]\n1=.\\A.INF,.\\INF\\A.INF\n");
    AddEntry("A:\\OLD", "C:\\OLD");
    PrepareDriverCopyList(ctx, fields);
    EXPECT_EQ(ListedPaths(), (std::vector<std::pair<std::string, std::string>>{
                                 {"A:\\A.INF", "C:\\WINDOWS\\INF\\A.INF"}}));
}

TEST_F(FilePlacementTest, WithoutAWindowsDirectoryDestinationsStartAtTheRoot) {
    sim.WriteFile("A:\\SETUP32.INI", "[Win95 Inf File]\n1=.\\A.INF,.\\INF\\A.INF\n");
    sim.SetWindowsDirectory("");
    ctx.windowsDirText = "C:\\EARLIER";

    PrepareDriverCopyList(ctx, fields);

    EXPECT_EQ(fields.windowsDir, "");
    EXPECT_EQ(fields.infDir, "\\inf");
    EXPECT_EQ(ctx.windowsDirText, "C:\\EARLIER");
    EXPECT_EQ(ListedPaths(),
              (std::vector<std::pair<std::string, std::string>>{{"A:\\A.INF", "\\INF\\A.INF"}}));
}

TEST_F(FilePlacementTest, CopiesEveryEntryInOrderWithItsPausesTextsAndBar) {
    ctx.groupName = "Disk Tools";
    AddFile("A:\\W95\\DSKADP.MPD", "C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\DSKADP.MPD", "mpd");
    AddFile("A:\\W95\\DSKADP.INF", "C:\\WINDOWS\\INF\\DSKADP.INF", "new inf");
    AddFile("A:\\W95\\DSKADP.HLP", "C:\\WINDOWS\\HELP\\DSKADP.HLP", "hlp");
    sim.SetAttributes("A:\\W95\\DSKADP.MPD", platform::kFileAttributeReadOnly);
    sim.WriteFile("C:\\WINDOWS\\INF\\DSKADP.INF", "old inf");

    CopyFilesInCopyList(ctx, fields);

    EXPECT_EQ(sim.Pauses(), (std::vector<unsigned>{200, 100, 200, 100, 200, 100}));
    EXPECT_EQ(sim.ReadFile("C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"), "mpd");
    EXPECT_EQ(sim.ReadFile("C:\\WINDOWS\\INF\\DSKADP.INF"), "new inf");
    EXPECT_EQ(sim.Attributes("C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"),
              platform::kFileAttributeNormal);
    for (const auto& item : fields.copyList) EXPECT_TRUE(Recorded(item->destination));

    ASSERT_EQ(ProgressWindows(), 1u);
    const SimDialogView& view = *ProgressView();
    EXPECT_TRUE(view.Visible());
    EXPECT_EQ(view.Caption(), "Progress");
    EXPECT_EQ(view.ProgressMax(), 3u);
    EXPECT_EQ(view.ProgressPositions(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(view.ItemAt(progress_ids::kSource).text, "From: A:\\W95\\DSKADP.HLP");
    EXPECT_EQ(view.ItemAt(progress_ids::kDestination).text, "To: C:\\WINDOWS\\HELP\\DSKADP.HLP");
    EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(FilePlacementTest, AnEntryTakesItsStepsInOrder) {
    ctx.groupName = "Disk Tools";
    AddFile("A:\\W95\\DSKADP.MPD", "C:\\WINDOWS\\SYSTEM\\DSKADP.MPD");

    CopyFilesInCopyList(ctx, fields);

    const std::string key = "HKEY_CURRENT_USER\\software\\Disk Tools";
    EXPECT_EQ(Trace(), (std::vector<std::string>{
                           "CreateDialogParamA: 130",
                           "SetDlgItemTextA: 1005 &Cancel",
                           "ShowWindow: 130 5",
                           "Sleep: 200",
                           "CreateDirectoryA: C:\\",
                           "CreateDirectoryA: C:\\WINDOWS\\",
                           "CreateDirectoryA: C:\\WINDOWS\\SYSTEM\\",
                           "Sleep: 100",
                           "SetDlgItemTextA: 1006 From: A:\\W95\\DSKADP.MPD",
                           "SetDlgItemTextA: 1004 To: C:\\WINDOWS\\SYSTEM\\DSKADP.MPD",
                           "CopyFileA: A:\\W95\\DSKADP.MPD -> C:\\WINDOWS\\SYSTEM\\DSKADP.MPD",
                           "RegSetValueA: " + key + " @",
                           "RegCreateKeyExA: " + key,
                           "RegSetValueExA: " + key + " C:\\WINDOWS\\SYSTEM\\DSKADP.MPD",
                           "SetFileAttributesA: C:\\WINDOWS\\SYSTEM\\DSKADP.MPD",
                           "PBM_SETPOS: 1",
                       }));
    EXPECT_EQ(ProgressView()->ProgressMax(), 1u);
}

TEST_F(FilePlacementTest, TheSilentModeKeepsTheWindowHiddenButStillAsks) {
    fields.showMain = 0;
    AddEntry("A:\\MISSING.SYS", "C:\\WINDOWS\\MISSING.SYS");
    sim.QueueAnswer(mb::kIdNo);

    CopyFilesInCopyList(ctx, fields);

    ASSERT_EQ(ProgressWindows(), 1u);
    EXPECT_FALSE(ProgressView()->Visible());
    ASSERT_EQ(sim.Boxes().size(), 1u);
    EXPECT_EQ(sim.Boxes()[0].text, RetryText("C:\\WINDOWS\\MISSING.SYS"));
    EXPECT_EQ(ProgressView()->ProgressPositions(), (std::vector<int>{1}));
}

TEST_F(FilePlacementTest, RetriesAFailedCopyWhileTheUserSaysYes) {
    // A window titled like the file is never looked for: only executables
    // are closed.
    sim.AddWindow("WNASPI32");
    AddFile("A:\\WNASPI32.DLL", "C:\\WINDOWS\\SYSTEM32\\WNASPI32.DLL");
    sim.FailCall("CopyFileA", platform::win_error::kSharingViolation, 1);
    sim.FailCall("CopyFileA", platform::win_error::kSharingViolation, 2);
    sim.QueueAnswer(mb::kIdYes);
    sim.QueueAnswer(mb::kIdYes);

    CopyFilesInCopyList(ctx, fields);

    ASSERT_EQ(sim.Boxes().size(), 2u);
    const platform::sim::BoxRecord& box = sim.Boxes()[0];
    EXPECT_EQ(box.owner, kMainWindow);
    EXPECT_EQ(box.caption, "SETUP32");
    EXPECT_EQ(box.type, mb::kYesNo | mb::kIconQuestion);
    EXPECT_EQ(box.text, RetryText("C:\\WINDOWS\\SYSTEM32\\WNASPI32.DLL"));
    EXPECT_TRUE(Uses("FindWindowA").empty());
    EXPECT_EQ(sim.Windows()[0].closeRequests, 0);
    EXPECT_TRUE(sim.Exists("C:\\WINDOWS\\SYSTEM32\\WNASPI32.DLL"));
    EXPECT_EQ(sim.Pauses(), (std::vector<unsigned>{200, 100}));
}

TEST_F(FilePlacementTest, NoToTheRetryQuestionSkipsTheFileButAdvancesTheBar) {
    ctx.groupName = "Disk Tools";
    AddEntry("A:\\MISSING.SYS", "C:\\WINDOWS\\MISSING.SYS");
    AddFile("A:\\B.SYS", "C:\\WINDOWS\\B.SYS");
    sim.QueueAnswer(mb::kIdNo);

    CopyFilesInCopyList(ctx, fields);

    EXPECT_FALSE(sim.Exists("C:\\WINDOWS\\MISSING.SYS"));
    EXPECT_FALSE(Recorded("C:\\WINDOWS\\MISSING.SYS"));
    EXPECT_TRUE(Recorded("C:\\WINDOWS\\B.SYS"));
    EXPECT_EQ(ProgressView()->ProgressPositions(), (std::vector<int>{1, 2}));
}

TEST_F(FilePlacementTest, ALongDestinationIsShownWholeInTheQuestion) {
    const std::string destination = "C:\\" + std::string(300, 'D') + "\\X.SYS";
    AddEntry("A:\\MISSING.SYS", destination);
    sim.QueueAnswer(mb::kIdNo);
    CopyFilesInCopyList(ctx, fields);
    ASSERT_EQ(sim.Boxes().size(), 1u);
    EXPECT_EQ(sim.Boxes()[0].text, RetryText(destination));
}

TEST_F(FilePlacementTest, ClosesTheWindowOfARunningExecutableAndRetries) {
    const platform::WindowHandle probe = sim.AddWindow("PROBE");
    sim.WriteFile("C:\\TOOLS\\NEW\\PROBE.EXE", "old");
    sim.HoldFile("C:\\TOOLS\\NEW\\PROBE.EXE", probe);
    AddFile("C:\\TOOLS\\PROBE.EXE", "C:\\TOOLS\\NEW\\PROBE.EXE", "new");

    CopyFilesInCopyList(ctx, fields);

    EXPECT_EQ(sim.Windows()[0].closeRequests, 1);
    EXPECT_FALSE(sim.Windows()[0].open);
    EXPECT_EQ(sim.Pauses(), (std::vector<unsigned>{200, 100, 500}));
    EXPECT_EQ(sim.ReadFile("C:\\TOOLS\\NEW\\PROBE.EXE"), "new");
    EXPECT_TRUE(sim.Boxes().empty());
}

// FindWindowA matches a title without regard to case on every version (the
// Win32 reference of FindWindow; Wine's dlls/user32/win.c compares with
// wcsicmp), so a holder whose title differs from the file's name only in
// case is closed, and the copy goes through without a retry question.
TEST_F(FilePlacementTest, ClosesAHolderWhoseTitleDiffersOnlyInCaseOnEveryVersion) {
    struct Row {
        std::uint32_t version;
        int osKind;
    };
    namespace version = platform::sim::version;
    const Row rows[] = {
        {version::kWindows95, os_kind::kWindows95},
        {version::kWindows98, os_kind::kWindows98},
        {version::kWindowsNT4, os_kind::kWindowsNT},
        {version::kWindows2000, os_kind::kWindows2000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.osKind);
        sim.SetVersion(row.version);
        fields.osKind = row.osKind;
        fields.copyList.clear();
        const platform::WindowHandle probe = sim.AddWindow("Probe");
        sim.WriteFile("C:\\TOOLS\\PROBE.EXE", "old");
        sim.HoldFile("C:\\TOOLS\\PROBE.EXE", probe);
        AddFile("A:\\PROBE.EXE", "C:\\TOOLS\\PROBE.EXE", "new");

        CopyFilesInCopyList(ctx, fields);

        EXPECT_EQ(sim.Windows().back().closeRequests, 1);
        EXPECT_FALSE(sim.Windows().back().open);
        EXPECT_EQ(sim.ReadFile("C:\\TOOLS\\PROBE.EXE"), "new");
    }
    EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(FilePlacementTest, ClosesAtMostOneWindowPerEntryAndSurvivesAHungOne) {
    const platform::WindowHandle probe = sim.AddWindow("PROBE", /*closesOnRequest=*/false);
    sim.WriteFile("C:\\TOOLS\\PROBE.EXE", "old");
    sim.HoldFile("C:\\TOOLS\\PROBE.EXE", probe);
    AddFile("A:\\PROBE.EXE", "C:\\TOOLS\\PROBE.EXE");
    AddFile("A:\\B.SYS", "C:\\WINDOWS\\B.SYS");
    sim.QueueAnswer(mb::kIdYes);
    sim.QueueAnswer(mb::kIdNo);

    CopyFilesInCopyList(ctx, fields);

    EXPECT_EQ(Uses("FindWindowA"), (std::vector<std::string>{"PROBE"}));
    EXPECT_EQ(Uses("SendMessageTimeoutA"),
              (std::vector<std::string>{"WM_CLOSE PROBE, no answer within 10000 ms"}));
    EXPECT_EQ(sim.Windows()[0].closeRequests, 1);
    EXPECT_EQ(sim.Boxes().size(), 2u);
    EXPECT_EQ(sim.ReadFile("C:\\TOOLS\\PROBE.EXE"), "old");
    EXPECT_TRUE(sim.Exists("C:\\WINDOWS\\B.SYS"));
    EXPECT_EQ(sim.Pauses(), (std::vector<unsigned>{200, 100, 500, 200, 100}));
}

TEST_F(FilePlacementTest, ClosesTheCompanionUtilityForAnAspiExecutable) {
    const platform::WindowHandle companion = sim.AddWindow("Untitled - BusProbe32");
    sim.WriteFile("C:\\WINDOWS\\aspimon.exe", "old");
    sim.HoldFile("C:\\WINDOWS\\aspimon.exe", companion);
    AddFile("A:\\ASPIMON.EXE", "C:\\WINDOWS\\aspimon.exe");

    CopyFilesInCopyList(ctx, fields);

    EXPECT_EQ(sim.Windows()[0].closeRequests, 1);
    EXPECT_TRUE(sim.Exists("C:\\WINDOWS\\aspimon.exe"));
    EXPECT_EQ(sim.Pauses(), (std::vector<unsigned>{200, 100, 500}));
}

TEST_F(FilePlacementTest, AnAspiExecutablesOwnWindowComesBeforeTheCompanion) {
    sim.AddWindow("Untitled - BusProbe32");
    sim.WriteFile("C:\\WINDOWS\\ASPIMON.EXE", "old");
    sim.HoldFile("C:\\WINDOWS\\ASPIMON.EXE", sim.AddWindow("ASPIMON"));
    AddFile("A:\\ASPIMON.EXE", "C:\\WINDOWS\\ASPIMON.EXE");

    CopyFilesInCopyList(ctx, fields);

    EXPECT_EQ(sim.Windows()[0].closeRequests, 0);
    EXPECT_EQ(sim.Windows()[1].closeRequests, 1);
    EXPECT_TRUE(sim.Exists("C:\\WINDOWS\\ASPIMON.EXE"));
}

// The first entry fails; while its retry question is open the Cancel button
// is pressed and the question is answered No. The second entry can be copied.
void FilePlacementTest::CancelDuringTheFirstEntry(int answerToCancel) {
    AddEntry("A:\\MISSING.SYS", "C:\\WINDOWS\\MISSING.SYS");
    AddFile("A:\\B.SYS", "C:\\WINDOWS\\B.SYS");
    PressCancelDuringNextBox();
    sim.QueueAnswer(mb::kIdNo);
    sim.QueueAnswer(answerToCancel);
    CopyFilesInCopyList(ctx, fields);

    ASSERT_EQ(sim.Boxes().size(), 2u);
    const platform::sim::BoxRecord& box = sim.Boxes()[1];
    EXPECT_EQ(box.owner, kMainWindow);
    EXPECT_EQ(box.caption, "Abort");
    EXPECT_EQ(box.text, "The setup process is not completed!\nDo you want to exit this program?");
    EXPECT_EQ(box.type, mb::kYesNo | mb::kIconExclamation);
}

TEST_F(FilePlacementTest, NoToTheCancelQuestionGoesOnWithTheEntry) {
    fields.cancelRequested = 1;  // left from before the pass, which clears it
    CancelDuringTheFirstEntry(mb::kIdNo);
    EXPECT_TRUE(sim.Exists("C:\\WINDOWS\\B.SYS"));
    EXPECT_EQ(fields.cancelRequested, 0);
    EXPECT_EQ(ProgressView()->ProgressPositions(), (std::vector<int>{1, 2}));
}

TEST_F(FilePlacementTest, YesToTheCancelQuestionStopsThePass) {
    CancelDuringTheFirstEntry(mb::kIdYes);
    EXPECT_FALSE(sim.Exists("C:\\WINDOWS\\B.SYS"));
    EXPECT_EQ(ProgressView()->ProgressPositions(), (std::vector<int>{1}));
    EXPECT_EQ(sim.Pauses(), (std::vector<unsigned>{200, 100, 200}));
}

TEST_F(FilePlacementTest, CreatesTheDestinationsDirectoriesFromTheLeft) {
    sim.SetLcid(0x0411);  // code page 932: 0x95 0x5C is one character
    const std::string dbcs = "\x95\x5C";
    const struct {
        std::string path;
        std::vector<std::string> created;
    } cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\X.MPD",
         {"C:\\", "C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\"}},
        {"C:\\A" + dbcs + "B\\X.SYS", {"C:\\", "C:\\A" + dbcs + "B\\"}},
        {"X.SYS", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::size_t before = Uses("CreateDirectoryA").size();
        CreateDirectoryTree(sim.machine().host, sim.machine().files, c.path);
        const std::vector<std::string> made = Uses("CreateDirectoryA");
        EXPECT_EQ(std::vector<std::string>(made.begin() + before, made.end()), c.created);
    }
    EXPECT_TRUE(sim.Exists("C:\\WINDOWS\\SYSTEM\\IOSUBSYS"));
    EXPECT_FALSE(sim.Exists("C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\X.MPD"));
}

}  // namespace
}  // namespace setup32
