// The simulated machine's host facts, desktop, message boxes, dialog
// windows and fault injection.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "sim_fixture.h"

namespace setup32::testing {
namespace {

namespace mb = platform::mb;
namespace win_error = platform::win_error;
using platform::sim::Call;
using platform::sim::Event;
using platform::sim::SimDialogView;

class SimMachineTest : public SimFixture {};

TEST_F(SimMachineTest, TheCodePageAndItsCharacterRulesFollowTheLocale) {
    struct Row {
        std::uint32_t lcid;
        unsigned codePage;
        std::vector<unsigned char> leadBytes;
        std::vector<unsigned char> otherBytes;
    } const rows[] = {
        {0x0409, 1252, {}, {0x81, 0xE0, 0xFE}},
        {0x0411, 932, {0x81, 0x9F, 0xE0, 0xFC}, {0x80, 0xA0, 0xDF, 0xFD}},
        {0x0404, 950, {0x81, 0xFE}, {0x80, 0xFF}},
        {0x0804, 936, {0x81, 0xFE}, {0x80, 0xFF}},
        {0x0412, 949, {0x81, 0xFE}, {0x80, 0xFF}},
        {0x0407, 1252, {}, {0x81}},
    };
    for (const Row& row : rows) {
        sim().SetLcid(row.lcid);
        const platform::HostFacts& host = machine().host;
        EXPECT_EQ(host.DefaultLcid(), row.lcid);
        EXPECT_EQ(host.AnsiCodePage(), row.codePage);
        for (const unsigned char byte : row.leadBytes) EXPECT_TRUE(host.IsLeadByte(byte)) << +byte;
        for (const unsigned char byte : row.otherBytes)
            EXPECT_FALSE(host.IsLeadByte(byte)) << +byte;
    }
}

TEST_F(SimMachineTest, UpperCaseKeepsDoubleByteCharactersWhole) {
    const platform::HostFacts& host = machine().host;
    EXPECT_EQ(host.UpperCase("abc\xE9z"), "ABC\xE9Z");
    sim().SetLcid(0x0411);
    // A trail byte in the range of a-z stays; full-width a becomes full-width A;
    // a lead byte at the very end is left alone.
    EXPECT_EQ(host.UpperCase("a\x83\x61\x82\x81\x82\x9A\x82\x9Bz\x83"),
              "A\x83\x61\x82\x60\x82\x79\x82\x9BZ\x83");
    sim().SetLcid(0x0404);
    EXPECT_EQ(host.UpperCase("\xA4\x61\x82\x81x"), "\xA4\x61\x82\x81X");
}

TEST_F(SimMachineTest, PrivilegesAreGrantedOnlyWhenTheTokenHoldsThem) {
    platform::Desktop& desktop = machine().desktop;
    EXPECT_EQ(desktop.AdjustPrivilege("SeShutdownPrivilege", true), 0u);
    EXPECT_EQ(desktop.AdjustPrivilege("SeShutdownPrivilege", false), 0u);
    EXPECT_EQ(desktop.AdjustPrivilege("SeNoSuchPrivilege", true), win_error::kNoSuchPrivilege);
    sim().SetPrivilegeHeld("seshutdownprivilege", false);
    EXPECT_EQ(desktop.AdjustPrivilege("SeShutdownPrivilege", true), win_error::kNotAllAssigned);
    EXPECT_EQ(sim().PrivilegeCalls().size(), 4u);
}

TEST_F(SimMachineTest, DesktopCallsAreRecordedInOrderWithoutWaiting) {
    sim().SetCurrentDirectory("A:\\W95");
    sim().WriteFile("C:\\WINDOWS\\GRPCONV.EXE", "program");
    platform::Desktop& desktop = machine().desktop;
    desktop.SetCursorShape(platform::CursorShape::Wait);
    desktop.Pause(200);
    EXPECT_GT(desktop.Exec("grpconv -o", platform::sw::kShowNormal), 31u);
    desktop.Beep(mb::kIconQuestion);
    EXPECT_TRUE(desktop.ShutDownSystem(platform::kExitWindowsReboot));

    EXPECT_EQ(sim().Pauses(), std::vector<unsigned>{200});
    ASSERT_EQ(sim().Execs().size(), 1u);
    EXPECT_EQ(sim().Execs()[0].commandLine, "grpconv -o");
    EXPECT_EQ(sim().Execs()[0].currentDirectory, "A:\\W95");
    EXPECT_EQ(sim().Execs()[0].image, "C:\\WINDOWS\\grpconv.exe");
    EXPECT_EQ(sim().ExitWindowsCalls(), std::vector<unsigned>{platform::kExitWindowsReboot});
    std::vector<std::string> calls;
    for (const Event& event : sim().Events()) calls.push_back(event.call);
    EXPECT_EQ(calls, (std::vector<std::string>{"SetCursor", "Sleep", "WinExec", "MessageBeep",
                                               "ExitWindowsEx"}));
}

// WinExec reads an unquoted command line with blanks the way CreateProcess
// does, shortest program name first (the Win32 reference of CreateProcess),
// adds ".exe" to a name without an extension, and looks for a name without
// a directory in the current, the system and the Windows directory (the
// reference of WinExec).
TEST_F(SimMachineTest, WinExecFindsItsProgramAsWindowsDoes) {
    sim().SetCurrentDirectory("A:\\");
    for (const char* file : {"C:\\Program Files\\My Tools\\Probe.exe", "C:\\Program Files\\My.exe",
                             "A:\\SETUP\\README.TXT", "A:\\LOCAL.EXE",
                             "C:\\WINDOWS\\SYSTEM\\SYSPROG.EXE", "C:\\WINDOWS\\NOTEPAD.EXE"}) {
        sim().WriteFile(file, "program");
    }
    struct Row {
        int line;
        const char* commandLine;
        const char* image;  // empty: not found
        std::uint32_t answer;
    };
    constexpr std::uint32_t kStarted = 33;
    constexpr std::uint32_t kNotFound = win_error::kFileNotFound;
    // A document is found but is no program (ERROR_BAD_FORMAT, the Win32
    // reference of WinExec).
    constexpr std::uint32_t kBadFormat = 11;
    const Row rows[] = {
        {__LINE__, "C:\\Program Files\\My Tools\\Probe.exe /x", "C:\\Program Files\\My.exe",
         kStarted},
        {__LINE__, "C:\\Program Files\\Other Tools\\Probe.exe", "", kNotFound},
        {__LINE__, "\"C:\\Program Files\\My Tools\\Probe.exe\" /x",
         "C:\\Program Files\\My Tools\\Probe.exe", kStarted},
        {__LINE__, "A:\\SETUP\\README.TXT", "A:\\SETUP\\README.TXT", kBadFormat},
        {__LINE__, "A:\\SETUP\\README", "", kNotFound},
        {__LINE__, "local", "A:\\local.exe", kStarted},
        {__LINE__, "sysprog -q", "C:\\WINDOWS\\SYSTEM\\sysprog.exe", kStarted},
        {__LINE__, "notepad A:\\SETUP\\README.TXT", "C:\\WINDOWS\\notepad.exe", kStarted},
        {__LINE__, "  ", "", kNotFound},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(machine().desktop.Exec(row.commandLine, 1), row.answer);
        EXPECT_EQ(sim().Execs().back().image, row.image);
    }
    EXPECT_EQ(sim().Execs().size(), std::size(rows));
    sim().SetVersion(platform::sim::version::kWindowsNT4);
    EXPECT_EQ(machine().desktop.Exec("sysprog", 1), win_error::kFileNotFound);
}

TEST_F(SimMachineTest, FindWindowMatchesATitleInAnyLetterCase) {
    sim().SetLcid(0x0411);
    const platform::WindowHandle probe = sim().AddWindow("Probe \x82\x81");
    platform::Desktop& desktop = machine().desktop;
    EXPECT_EQ(desktop.FindTopWindow("PROBE \x82\x60"), probe);
    EXPECT_EQ(desktop.FindTopWindow("probe \x82\x81"), probe);
    EXPECT_EQ(desktop.FindTopWindow("Probe"), 0u);
}

// Without the fixture: this test leaves an unanswered box behind on purpose.
TEST(SimMessageBoxes, TakeQueuedAnswersAndCountTheOthers) {
    platform::sim::SimMachine sim;
    platform::MessageBoxes& boxes = sim.machine().boxes;
    sim.QueueAnswer(mb::kIdNo);
    sim.QueueAnswer(mb::kIdYes);
    bool clicked = false;
    sim.OnNextBox([&] { clicked = true; });
    EXPECT_EQ(boxes.Show(7, "Retry?", "Setup", mb::kYesNo), mb::kIdNo);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(sim.PendingAnswers(), 1u);
    EXPECT_EQ(boxes.Show(7, "Again?", "Setup", mb::kYesNo), mb::kIdYes);
    EXPECT_EQ(boxes.Show(7, "Surprise", "Setup", mb::kOk), mb::kIdOk);
    EXPECT_EQ(sim.UnexpectedBoxes(), 1);
    EXPECT_EQ(sim.PendingAnswers(), 0u);
    ASSERT_EQ(sim.Boxes().size(), 3u);
    const platform::sim::BoxRecord& first = sim.Boxes()[0];
    EXPECT_EQ(first.owner, 7u);
    EXPECT_EQ(first.text, "Retry?");
    EXPECT_EQ(first.caption, "Setup");
    EXPECT_EQ(first.type, mb::kYesNo);
    EXPECT_EQ(first.answer, mb::kIdNo);
}

// A dialog behaviour that sets what a test can then read from the view.
class TestDialog : public platform::DialogHandler {
  public:
    bool OnInitDialog(platform::DialogView& view) override {
        view.SetItemFont(1000, 0xF001);
        view.SetItemText(1000, "Welcome");
        view.SetCaption("Setup");
        menuAdded = view.AppendSystemMenuItem(0x10, "&About...");
        if (endAtOnce) view.End(mb::kIdCancel);
        return true;
    }
    void OnDestroy() override { destroyed = true; }
    bool endAtOnce = false;
    bool menuAdded = false;
    bool destroyed = false;
};

TEST_F(SimMachineTest, AModalDialogRunsItsInitialisationAndTheTestsAction) {
    TestDialog dialog;
    sim().OnNextModal([](SimDialogView& view, platform::DialogHandler& handler) {
        EXPECT_TRUE(view.Visible());
        handler.OnOK(view);
    });
    EXPECT_EQ(machine().dialogs.RunModal(102, dialog, 0x20), mb::kIdOk);
    EXPECT_TRUE(dialog.menuAdded);
    EXPECT_TRUE(dialog.destroyed);

    ASSERT_EQ(sim().DialogViews().size(), 1u);
    const SimDialogView& view = *sim().DialogViews()[0];
    EXPECT_EQ(view.TemplateId(), 102);
    EXPECT_EQ(view.Owner(), 0x20u);
    EXPECT_TRUE(view.Destroyed());
    EXPECT_EQ(view.ItemAt(1000).text, "Welcome");
    EXPECT_EQ(view.Caption(), "Setup");
    EXPECT_EQ(view.Log(), (std::vector<std::string>{"font 1000", "text 1000", "caption", "end 1"}));
    ASSERT_EQ(view.SystemMenuItems().size(), 1u);
    EXPECT_EQ(view.SystemMenuItems()[0].first, 0x10u);

    // Ended during its initialisation: never shown, and no action taken.
    TestDialog silent;
    silent.endAtOnce = true;
    sim().SetHasSystemMenu(false);
    EXPECT_EQ(machine().dialogs.RunModal(102, silent, 0), mb::kIdCancel);
    EXPECT_FALSE(silent.menuAdded);
    EXPECT_FALSE(sim().DialogViews()[1]->Visible());
}

TEST_F(SimMachineTest, AModelessDialogStaysReadableAfterItIsDestroyed) {
    TestDialog dialog;
    std::unique_ptr<platform::DialogView> window = machine().dialogs.CreateModeless(130, dialog);
    ASSERT_TRUE(window);
    const SimDialogView& view = *sim().DialogViews().back();
    EXPECT_FALSE(view.Visible());
    window->Show(platform::sw::kShow);
    window->SetProgressRange(1003, 3);
    EXPECT_EQ(window->SetProgressPos(1003, 1), 0);
    EXPECT_EQ(window->SetProgressPos(1003, 5), 1);
    EXPECT_EQ(window->SetProgressPos(1003, 2), 3);
    EXPECT_TRUE(view.Visible());
    window.reset();
    EXPECT_TRUE(view.Destroyed());
    EXPECT_EQ(view.ProgressMax(), 3u);
    EXPECT_EQ(view.ProgressPositions(), (std::vector<int>{1, 5, 2}));
    EXPECT_EQ(view.ProgressPos(), 2);
}

TEST_F(SimMachineTest, FontsAndResourceStringsAreRecorded) {
    platform::Dialogs& dialogs = machine().dialogs;
    const platform::FontHandle first = dialogs.MakeFont(16, "MS Sans Serif");
    const platform::FontHandle second = dialogs.MakeFont(12, "MS Sans Serif");
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(sim().Fonts().back(), std::make_pair(12, std::string("MS Sans Serif")));
    EXPECT_EQ(dialogs.ResourceString(101), "&About M420x Setup Program...");
    EXPECT_EQ(dialogs.ResourceString(999), "");
    sim().SetResourceString(101, "");
    EXPECT_EQ(dialogs.ResourceString(101), "");
}

TEST_F(SimMachineTest, ANamedCallFailsAtItsNthUseFromNow) {
    platform::FileSystem& files = machine().files;
    files.MakeDirectory("C:\\before");  // uses before arming do not count
    sim().FailCall(platform::sim::Call::CreateDirectoryA, win_error::kWriteProtect, 2);
    EXPECT_EQ(files.MakeDirectory("C:\\ONE"), 0u);
    EXPECT_EQ(files.MakeDirectory("C:\\TWO"), win_error::kWriteProtect);
    EXPECT_FALSE(sim().Exists("C:\\TWO"));
    EXPECT_EQ(files.MakeDirectory("C:\\THREE"), 0u);

    sim().FailCall(platform::sim::Call::GetPrivateProfileStringA, win_error::kReadFault, 1, true);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(machine().profile.ReadString(kScriptPath, "s", "k", "dflt", 3), "df");
    }
}

TEST_F(SimMachineTest, EachKindOfCallReportsAnInjectedFailureAsTheRealCallWould) {
    sim().WriteFile("C:\\F.TXT", "abc");
    platform::FileSystem& files = machine().files;
    std::uint32_t error = 0;
    const platform::FileHandle file = files.OpenForRead("C:\\F.TXT", error);
    char buffer[4];
    std::string text;
    platform::RegHandle key = 0;
    const long fault = win_error::kWriteFault;
    struct Row {
        const char* call;
        std::function<bool()> failed;
    } const rows[] = {
        {"_lopen", [&] { return files.OpenForRead("C:\\F.TXT", error) == 0 && error == fault; }},
        {"_lcreat",
         [&] { return files.CreateForWrite("C:\\G.TXT", error) == 0 && error == fault; }},
        {"_lread", [&] { return files.Read(file, buffer, 4) == -1; }},
        {"_lclose", [&] { return files.Close(file) == fault; }},
        {"GetCurrentDirectoryA", [&] { return files.CurrentDirectory(255).empty(); }},
        {"GetWindowsDirectoryA", [&] { return !files.WindowsDirectory(255, text); }},
        {"CopyFileA", [&] { return files.Copy("C:\\F.TXT", "C:\\H.TXT", false) == fault; }},
        {"RegCreateKeyExA",
         [&] {
             return machine().registry.CreateKey(platform::RegRoot::CurrentUser, "K", key,
                                                 nullptr) == fault &&
                    key == 0;
         }},
        {"FindWindowA", [&] { return machine().desktop.FindTopWindow("x") == 0; }},
        {"WinExec", [&] { return machine().desktop.Exec("x", 1) == fault; }},
        {"ExitWindowsEx", [&] { return !machine().desktop.ShutDownSystem(2); }},
        {"MessageBoxA", [&] { return machine().boxes.Show(0, "x", "y", 0) == 0; }},
        {"CreateFontA", [&] { return machine().dialogs.MakeFont(1, "x") == 0; }},
    };
    for (const Row& row : rows) {
        const long before = sim().CallCount();
        sim().FailNthCall(1, fault);
        EXPECT_TRUE(row.failed()) << row.call;
        EXPECT_EQ(sim().CallCount(), before + 1) << row.call;
    }
    // A failed call changed nothing.
    EXPECT_FALSE(sim().Exists("C:\\G.TXT"));
    EXPECT_FALSE(sim().Exists("C:\\H.TXT"));
    EXPECT_FALSE(sim().KeyExists(platform::RegRoot::CurrentUser, "K"));
    EXPECT_TRUE(sim().Boxes().empty());
    EXPECT_TRUE(sim().Execs().empty());
    // The stream is gone even though its close failed.
    EXPECT_EQ(files.Close(file), win_error::kInvalidHandle);
}

// A fault is armed for a call the machine knows: a name given as text does
// not compile, and a name read at run time is looked up exactly.
static_assert(
    !std::is_invocable_v<decltype(&platform::sim::SimMachine::FailCall), platform::sim::SimMachine&,
                         const char*, std::uint32_t, int, bool>);

TEST(SimFaults, OnlyTheExactNameOfAKnownCallNamesOne) {
    EXPECT_EQ(platform::sim::CallNamed("CopyFileA"), Call::CopyFileA);
    EXPECT_EQ(platform::sim::CallNamed("_lcreat"), Call::_lcreat);
    for (const char* unknown : {"CopyFileW", "copyfilea", "CopyFile", "CopyFileA ", "", "_lcreate"})
        EXPECT_EQ(platform::sim::CallNamed(unknown), std::nullopt) << unknown;
}

// Without the fixture: the faults of this test are left unfired on purpose.
TEST(SimFaults, AFaultThatNeverFiredFailsTheTestAtItsEnd) {
    platform::sim::SimMachine sim;
    platform::FileSystem& files = sim.machine().files;
    sim.FailCall(Call::CreateDirectoryA, win_error::kWriteFault, 2);
    sim.FailCall(Call::RegDeleteKeyA, win_error::kWriteFault, 1, true);
    sim.FailNthCall(3, win_error::kWriteFault);
    files.MakeDirectory("C:\\ONE");
    EXPECT_NONFATAL_FAILURE(ExpectScriptPlayedOut(sim),
                            "CreateDirectoryA, use 2 after it was armed\n"
                            "  RegDeleteKeyA, use 1 after it was armed\n"
                            "  call 3 of any kind");

    EXPECT_EQ(files.MakeDirectory("C:\\TWO"), win_error::kWriteFault);
    EXPECT_EQ(files.MakeDirectory("C:\\THREE"), win_error::kWriteFault);
    EXPECT_EQ(sim.machine().registry.DeleteKey(platform::RegRoot::CurrentUser, "K"),
              static_cast<long>(win_error::kWriteFault));
    ExpectScriptPlayedOut(sim);
}

TEST_F(SimMachineTest, TheEventLogKeepsTheErrorEachCallEndedWith) {
    sim().WriteFile("C:\\F.TXT", "abc");
    platform::FileSystem& files = machine().files;
    std::uint32_t error = 0;
    files.Copy("C:\\F.TXT", "C:\\G.TXT", false);
    files.Copy("C:\\F.TXT", "C:\\G.TXT", true);
    files.MakeDirectory("C:\\NO\\SUB");
    sim().FailCall(Call::CreateDirectoryA, win_error::kWriteProtect);
    files.MakeDirectory("C:\\D");
    files.CreateForWrite("C:\\NO\\NEW.TXT", error);
    machine().registry.DeleteKey(platform::RegRoot::CurrentUser, "Missing");
    machine().desktop.AdjustPrivilege("SeNoSuchPrivilege", true);
    machine().desktop.Pause(10);

    struct Row {
        std::string call;
        std::string detail;
        std::uint32_t error;
        std::vector<std::string> paths;
    };
    const std::vector<Row> expected = {
        {"CopyFileA", "C:\\F.TXT -> C:\\G.TXT", 0, {"C:\\F.TXT", "C:\\G.TXT"}},
        {"CopyFileA", "C:\\F.TXT -> C:\\G.TXT", win_error::kFileExists, {"C:\\F.TXT", "C:\\G.TXT"}},
        {"CreateDirectoryA", "C:\\NO\\SUB", win_error::kPathNotFound, {"C:\\NO\\SUB"}},
        {"CreateDirectoryA", "C:\\D", win_error::kWriteProtect, {"C:\\D"}},
        {"_lcreat", "C:\\NO\\NEW.TXT", win_error::kPathNotFound, {"C:\\NO\\NEW.TXT"}},
        {"RegDeleteKeyA", "HKEY_CURRENT_USER\\Missing", win_error::kFileNotFound, {}},
        {"AdjustTokenPrivileges", "SeNoSuchPrivilege enable", win_error::kNoSuchPrivilege, {}},
        {"Sleep", "10", 0, {}},
    };
    ASSERT_EQ(sim().Events().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Event& event = sim().Events()[i];
        EXPECT_EQ(event.call, expected[i].call) << i;
        EXPECT_EQ(event.detail, expected[i].detail) << i;
        EXPECT_EQ(event.error, expected[i].error) << i;
        EXPECT_EQ(event.paths, expected[i].paths) << i;
    }
}

}  // namespace
}  // namespace setup32::testing
