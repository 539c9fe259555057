// How a run comes out, as the exit code tells a batch file: every code in
// the shown and in the silent mode, every way of having no script to read,
// and a second Start after an abandoned install.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/setup_app.h"
#include "sim_fixture.h"

namespace setup32 {
namespace {

namespace mb = platform::mb;
namespace version = platform::sim::version;
using platform::win_error::kAccessDenied;
using platform::win_error::kFileNotFound;
using platform::win_error::kPathNotFound;
using platform::win_error::kSharingViolation;
constexpr std::uint32_t kNotEnoughMemory = 8;

enum class Mode { kShown, kSilent };

// What goes wrong during the run, and what the user answers.
struct RunCase {
    const char* name;
    ExitCode code;
    bool script = true;
    bool copyFails = false;    // the first file cannot be copied and is given up
    bool cancelAsked = false;  // a cancel request comes during that retry question
    bool configFails = false;  // CONFIG.SYS cannot be set aside
    bool exitFirst = false;    // Exit is pressed before Start
};

void PrintTo(const RunCase& run, std::ostream* os) {
    *os << run.name;
}
void PrintTo(Mode mode, std::ostream* os) {
    *os << (mode == Mode::kSilent ? "silent" : "shown");
}

class ExitCodeTest : public testing::SimFixture,
                     public ::testing::WithParamInterface<std::tuple<RunCase, Mode>> {
  protected:
    const RunCase& runCase() const { return std::get<0>(GetParam()); }
    bool Silent() const { return std::get<1>(GetParam()) == Mode::kSilent; }

    void Arrange(CSetupDlg& dialog) {
        sim().SetVersion(version::kWindows95);
        WriteMediumFile("A.SYS", "a");
        WriteMediumFile("B.SYS", "b");
        if (runCase().script || Silent()) {
            WriteScript(std::string("[Display]\r\nbShow=") + (Silent() ? "NO" : "YES") +
                        "\r\n[Win95 Driver Files]\r\n1=.\\A.SYS,.\\SYSTEM\\A.SYS\r\n"
                        "2=.\\B.SYS,.\\SYSTEM\\B.SYS\r\n[Modify]\r\n1=OLD.SYS\r\n");
        }
        // A silent run has found its script before the install looks for it.
        if (!runCase().script && Silent())
            sim().FailCall(platform::sim::Call::GetFileAttributesA, kFileNotFound);
        if (runCase().copyFails) {
            sim().FailCall(platform::sim::Call::CopyFileA, kAccessDenied);
            if (runCase().cancelAsked) sim().OnNextBox([&dialog] { dialog.OnCancelRequest(); });
            sim().QueueAnswer(mb::kIdNo);  // give the file up
            if (runCase().cancelAsked) sim().QueueAnswer(mb::kIdYes);
        }
        if (runCase().configFails) {
            sim().WriteFile("C:\\CONFIG.SYS", "DEVICE=OLD.SYS\r\n");
            sim().FailCall(platform::sim::Call::MoveFileA, kAccessDenied);
        }
        if (!runCase().script || runCase().configFails) sim().QueueAnswer(mb::kIdOk);
    }

    // Start in the shown mode, then the restart question or, when the
    // dialog stayed open, Exit.
    void Finish(CSetupDlg& dialog, platform::DialogView& view) {
        if (!Silent() && !runCase().exitFirst) {
            if (RanToEnd()) sim().QueueAnswer(mb::kIdNo);  // no restart
            dialog.OnOK(view);
        }
        if (!RanToEnd() || runCase().exitFirst) {
            sim().QueueAnswer(mb::kIdYes);
            dialog.OnCancel(view);
        }
    }
    bool RanToEnd() const { return runCase().script && !runCase().configFails; }
};

TEST_P(ExitCodeTest, TellsHowTheRunEnded) {
    CSetupDlg dialog(ctx());
    const std::unique_ptr<platform::DialogView> view = sim().NewView(dialog_ids::kMainTemplate);
    Arrange(dialog);
    dialog.OnInitDialog(*view);
    Finish(dialog, *view);
    EXPECT_EQ(dialog.Outcome(), runCase().code);
}

const RunCase kRuns[] = {
    {"Installed", ExitCode::kInstalled},
    {"NoScript", ExitCode::kNoScript, false},
    {"CopyCancelled", ExitCode::kCopyCancelled, true, true, true},
    {"FileGivenUp", ExitCode::kFilesGivenUp, true, true},
    {"ConfigSysFailed", ExitCode::kConfigSysFailed, true, true, true, true},
};

std::string Name(const ::testing::TestParamInfo<std::tuple<RunCase, Mode>>& info) {
    return std::string(std::get<0>(info.param).name) +
           (std::get<1>(info.param) == Mode::kSilent ? "Silent" : "Shown");
}

INSTANTIATE_TEST_SUITE_P(EachOutcome, ExitCodeTest,
                         ::testing::Combine(::testing::ValuesIn(kRuns),
                                            ::testing::Values(Mode::kShown, Mode::kSilent)),
                         Name);
// The silent mode closes the dialog itself: Exit can come before an install only when shown.
INSTANTIATE_TEST_SUITE_P(ExitBeforeInstall, ExitCodeTest,
                         ::testing::Values(std::make_tuple(RunCase{"Exit",
                                                                   ExitCode::kExitBeforeInstall,
                                                                   true, false, false, false, true},
                                                           Mode::kShown)),
                         Name);

// A medium whose install, should it run, would copy a file, edit
// CONFIG.SYS and remove the adapter's device entries.
constexpr const char* kMediumScript =
    "[Display]\r\nbShow=YES\r\n[Win95 Driver Files]\r\n1=.\\A.SYS,.\\SYSTEM\\A.SYS\r\n"
    "[Modify]\r\n1=OLD.SYS\r\n";

class NoScriptTest : public testing::SimFixture {
  protected:
    NoScriptTest() {
        sim().SetVersion(version::kWindows95);
        WriteMediumFile("A.SYS", "a");
        sim().WriteFile("C:\\CONFIG.SYS", "DEVICE=OLD.SYS\r\nFILES=30\r\n");
        sim().WriteFile("C:\\WINDOWS\\INF\\DRVIDX.BIN", "index");
        EXPECT_TRUE(
            sim().LoadRegistry("REGEDIT4\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02]\r\n\"Driver\"="
                               "\"SCSIAdapter\\\\0000\"\r\n"));
    }

    // Every file of the two drives with its content, and the registry.
    std::string MachineState() {
        std::string state = sim().SaveRegistry();
        for (const char* drive : {"A:\\", "C:\\"}) {
            const std::filesystem::path root = sim().HostPath(drive);
            std::set<std::string> files;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
                files.insert(entry.path().lexically_relative(root).string());
            }
            for (const std::string& file : files) {
                state += "\n" + std::string(drive) + file + ": " +
                         sim().ReadFile(std::string(drive) + file).value_or("(directory)");
            }
        }
        return state;
    }

    // The calls a press of Start records.
    std::vector<std::string> CallsOfStart(platform::sim::SimDialogView& view,
                                          platform::DialogHandler& dialog) {
        const std::size_t before = sim().Events().size();
        dialog.OnOK(view);
        std::vector<std::string> calls;
        for (std::size_t i = before; i < sim().Events().size(); ++i) {
            calls.push_back(sim().Events()[i].call);
        }
        return calls;
    }
};

constexpr const char* kNotFoundText =
    "Cannot find the setup script:\nA:\\SETUP32.INI\n\nNothing has been installed or "
    "changed.\nPlease change to the directory of the setup disk and start this program again.";

std::string UnreadableText(std::uint32_t error) {
    return "Cannot read the setup script:\nA:\\SETUP32.INI\n(Windows error " +
           std::to_string(error) +
           ")\n\nNothing has been installed or changed.\nPlease check that the setup disk is in "
           "its drive and can be read, and press Start again.";
}

// How Start comes to have no script it can read.
enum class Unreadable { kAbsent, kDirectory, kLookUpFails, kOpenFails, kHeldOpen };

struct NoScriptCase {
    const char* name;
    Unreadable how;
    std::uint32_t error;  // of the call that fails
    bool notFound;        // said to be missing rather than unreadable
};

void PrintTo(const NoScriptCase& c, std::ostream* os) {
    *os << c.name;
}

class StartWithoutAReadableScript : public NoScriptTest,
                                    public ::testing::WithParamInterface<NoScriptCase> {
  protected:
    void Arrange() {
        const NoScriptCase& c = GetParam();
        if (c.how != Unreadable::kAbsent) WriteScript(kMediumScript);
        switch (c.how) {
            case Unreadable::kAbsent:
                break;
            case Unreadable::kDirectory:
                std::filesystem::remove(sim().HostPath(kScriptPath));
                std::filesystem::create_directory(sim().HostPath(kScriptPath));
                break;
            case Unreadable::kLookUpFails:
                sim().FailCall(platform::sim::Call::GetFileAttributesA, c.error);
                break;
            case Unreadable::kOpenFails:
                sim().FailCall(platform::sim::Call::_lopen, c.error);
                break;
            case Unreadable::kHeldOpen:
                sim().HoldFile(kScriptPath, sim().AddWindow("SETUP32.INI - Editor"));
                break;
        }
    }
};

// Start says where it looked and why it found nothing to read, touches
// nothing and leaves the dialog open; Exit then ends the program with the
// code that tells it.
TEST_P(StartWithoutAReadableScript, ChangesNothingAndEndsWithCodeTwo) {
    const NoScriptCase& c = GetParam();
    sim().QueueAnswer(mb::kIdOk);
    sim().QueueAnswer(mb::kIdYes);
    sim().OnNextModal([&](platform::sim::SimDialogView& view, platform::DialogHandler& dialog) {
        // The medium changes while the dialog waits, as when the floppy is
        // taken out before Start.
        Arrange();
        const std::string before = MachineState();
        EXPECT_EQ(CallsOfStart(view, dialog), std::vector<std::string>{"MessageBoxA"});
        EXPECT_EQ(MachineState(), before);
        EXPECT_FALSE(view.EndResult().has_value());
        dialog.OnCancel(view);
    });
    CSetupApp app(sim().machine(), "A:\\SETUP32.EXE");
    app.InitInstance();

    ASSERT_EQ(sim().Boxes().size(), 2u);
    EXPECT_EQ(sim().Boxes()[0].text, c.notFound ? kNotFoundText : UnreadableText(c.error));
    EXPECT_EQ(sim().Boxes()[0].caption, "SETUP32");
    EXPECT_EQ(sim().Boxes()[0].type, mb::kOk | mb::kIconError);
    EXPECT_EQ(app.Outcome(), ExitCode::kNoScript);
}

constexpr std::uint32_t kDriveNotReady = 21;  // the floppy was taken out
constexpr std::uint32_t kBadNetworkPath = 53;
constexpr std::uint32_t kBadNetworkName = 67;

INSTANTIATE_TEST_SUITE_P(
    EachWay, StartWithoutAReadableScript,
    ::testing::Values(
        NoScriptCase{"Absent", Unreadable::kAbsent, kFileNotFound, true},
        NoScriptCase{"ADirectory", Unreadable::kDirectory, 0, true},
        NoScriptCase{"PathNotFound", Unreadable::kLookUpFails, kPathNotFound, true},
        NoScriptCase{"LookUpAccessDenied", Unreadable::kLookUpFails, kAccessDenied, false},
        NoScriptCase{"LookUpDriveNotReady", Unreadable::kLookUpFails, kDriveNotReady, false},
        NoScriptCase{"LookUpSharingViolation", Unreadable::kLookUpFails, kSharingViolation, false},
        NoScriptCase{"LookUpNetworkPathGone", Unreadable::kLookUpFails, kBadNetworkPath, false},
        NoScriptCase{"LookUpNetworkNameGone", Unreadable::kLookUpFails, kBadNetworkName, false},
        NoScriptCase{"OpenDriveNotReady", Unreadable::kOpenFails, kDriveNotReady, false},
        NoScriptCase{"HeldOpenByAnotherProgram", Unreadable::kHeldOpen, kSharingViolation, false}),
    [](const ::testing::TestParamInfo<NoScriptCase>& info) { return info.param.name; });

// A first Start copied the files and then the CONFIG.SYS edit abandoned
// the install; a second Start that finds no script must not say that
// nothing was changed, and the run keeps the code of that install.
TEST_F(NoScriptTest, AfterAnAbandonedInstallTheRunKeepsItsCode) {
    struct Case {
        bool lookUpFails;  // else the script is gone
        const char* text;
    } const cases[] = {
        {false,
         "Cannot find the setup script:\nA:\\SETUP32.INI\n\nThis Start has changed nothing; what "
         "the Start before it installed stays in place.\nPlease put the setup disk back and press "
         "Start again."},
        {true,
         "Cannot read the setup script:\nA:\\SETUP32.INI\n(Windows error 21)\n\nThis Start has "
         "changed nothing; what the Start before it installed stays in place.\nPlease check that "
         "the setup disk is in its drive and can be read, and press Start again."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteScript(kMediumScript);
        sim().FailCall(platform::sim::Call::MoveFileA,
                       kAccessDenied);  // CONFIG.SYS cannot be set aside
        sim().QueueAnswer(mb::kIdOk);
        sim().QueueAnswer(mb::kIdOk);
        sim().QueueAnswer(mb::kIdYes);
        const std::size_t boxesBefore = sim().Boxes().size();
        sim().OnNextModal([&](platform::sim::SimDialogView& view, platform::DialogHandler& dialog) {
            dialog.OnOK(view);
            ASSERT_FALSE(view.EndResult().has_value());
            if (c.lookUpFails) {
                sim().FailCall(platform::sim::Call::GetFileAttributesA, kDriveNotReady);
            } else {
                std::filesystem::remove(sim().HostPath(kScriptPath));
            }
            dialog.OnOK(view);
            dialog.OnCancel(view);
        });
        CSetupApp app(sim().machine(), "A:\\SETUP32.EXE");
        app.InitInstance();

        ASSERT_EQ(sim().Boxes().size(), boxesBefore + 3);
        EXPECT_EQ(sim().Boxes()[boxesBefore + 1].text, c.text);
        EXPECT_EQ(sim().ReadFile("C:\\WINDOWS\\SYSTEM\\A.SYS"), "a");
        EXPECT_EQ(app.Outcome(), ExitCode::kConfigSysFailed);
    }
}

// No window, no Start and no Exit: the code says so, not that the user left.
TEST_F(NoScriptTest, AMainDialogThatCannotBeMadeHasItsOwnCode) {
    WriteScript(kMediumScript);
    const std::string before = MachineState();
    sim().FailCall(platform::sim::Call::DialogBoxParamA, kNotEnoughMemory);
    CSetupApp app(sim().machine(), "A:\\SETUP32.EXE");
    app.InitInstance();
    EXPECT_EQ(app.Outcome(), ExitCode::kNoDialog);
    EXPECT_EQ(MachineState(), before);
}

}  // namespace
}  // namespace setup32
