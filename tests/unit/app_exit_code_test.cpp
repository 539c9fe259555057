// How a run comes out, as the exit code tells a batch file: every code in
// the shown and in the silent mode, and a run without its script.
#include <gtest/gtest.h>

#include <ostream>
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
        if (!runCase().script && Silent()) sim().FailCall("GetFileAttributesA", kFileNotFound);
        if (runCase().copyFails) {
            sim().FailCall("CopyFileA", kAccessDenied);
            if (runCase().cancelAsked) sim().OnNextBox([&dialog] { dialog.OnCancelRequest(); });
            sim().QueueAnswer(mb::kIdNo);  // give the file up
            if (runCase().cancelAsked) sim().QueueAnswer(mb::kIdYes);
        }
        if (runCase().configFails) {
            sim().WriteFile("C:\\CONFIG.SYS", "DEVICE=OLD.SYS\r\n");
            sim().FailCall("MoveFileA", kAccessDenied);
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

class MissingScriptTest : public testing::SimFixture {};

// Run from a directory without SETUP32.INI: Start says where it looked,
// touches nothing and leaves the dialog open; Exit then ends the program
// with the code that tells it.
TEST_F(MissingScriptTest, StartSaysSoAndChangesNothing) {
    sim().SetVersion(version::kWindows95);
    sim().LoadRegistry(
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1101&DEV_6E02]\r\n\"Driver\"="
        "\"SCSIAdapter\\\\0000\"\r\n");
    sim().WriteFile("C:\\CONFIG.SYS", "FILES=30\r\n");
    const std::string registryBefore = sim().SaveRegistry();
    sim().QueueAnswer(mb::kIdOk);
    sim().QueueAnswer(mb::kIdYes);
    std::size_t eventsBefore = 0;
    sim().OnNextModal([&](platform::sim::SimDialogView& view, platform::DialogHandler& dialog) {
        eventsBefore = sim().Events().size();
        dialog.OnOK(view);
        EXPECT_FALSE(view.EndResult().has_value());
        std::vector<std::string> calls;
        for (std::size_t i = eventsBefore; i < sim().Events().size(); ++i) {
            calls.push_back(sim().Events()[i].call);
        }
        EXPECT_EQ(calls, std::vector<std::string>{"MessageBoxA"});
        dialog.OnCancel(view);
    });
    CSetupApp app(sim().machine(), "A:\\SETUP32.EXE");
    app.InitInstance();

    ASSERT_EQ(sim().Boxes().size(), 2u);
    EXPECT_EQ(sim().Boxes()[0].text,
              "Cannot find the setup script:\nA:\\SETUP32.INI\n\nNothing has been installed or "
              "changed.\nPlease change to the directory of the setup disk and start this "
              "program again.");
    EXPECT_EQ(sim().Boxes()[0].caption, "SETUP32");
    EXPECT_EQ(sim().Boxes()[0].type, mb::kOk | mb::kIconError);
    EXPECT_EQ(sim().SaveRegistry(), registryBefore);
    EXPECT_EQ(sim().ReadFile("C:\\CONFIG.SYS"), "FILES=30\r\n");
    EXPECT_EQ(app.Outcome(), ExitCode::kNoScript);
}

}  // namespace
}  // namespace setup32
