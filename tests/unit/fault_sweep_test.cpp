// A complete install with one seam call failing at a time. A clean run
// counts the calls; then each of them in turn fails once with a Windows
// error, and then each kind of call fails every time, on every platform and
// in both modes. Every run must end in a state the user can live with:
// CONFIG.SYS holds its old or its new content, every message box is one
// that the failure calls for, no file is given up without the user being
// asked, and the main dialog stays open only after a CONFIG.SYS file error
// or a Start that found no script it could read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/setup_app.h"
#include "messages/messages.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"

namespace setup32 {
namespace {

namespace fs = std::filesystem;
namespace mb = platform::mb;
namespace version = platform::sim::version;
namespace win_error = platform::win_error;
using platform::sim::BoxRecord;
using platform::sim::Event;
using platform::sim::SimDialogView;
using platform::sim::SimMachine;

struct PlatformCase {
    const char* name;
    std::uint32_t version;
    const char* windowsDir;
    const char* family;  // the prefix of the script's shell-integration sections
    const char* firstSection;
    const char* secondSection;
    bool copiesFiles;
};

// Win32s reads none of the platform sections; it gets the script of Windows 95.
const PlatformCase kPlatforms[] = {
    {"Windows95", version::kWindows95, "C:\\WINDOWS", "Win95", "Win95 Driver Files",
     "Win95 Inf File", true},
    {"Windows98", version::kWindows98, "C:\\WINDOWS", "Win98", "Win98 Driver Files",
     "Win98 Inf File", true},
    {"WindowsNT4", version::kWindowsNT4, "C:\\WINNT", "NT", "NT Driver Files", "NT WinASPI32",
     true},
    {"Windows2000", version::kWindows2000, "C:\\WINNT", "WIN2000", "WIN2000 Driver Files",
     "WIN2000 WinASPI32", true},
    {"Win32s", version::kWin32s, "C:\\WINDOWS", "Win95", "Win95 Driver Files", "Win95 Inf File",
     false},
};

constexpr const char* kConfigSys = "C:\\CONFIG.SYS";
constexpr const char* kOldConfig =
    "DEVICE=C:\\OLDDRV\\OLDADP.SYS /V\r\n"
    "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"
    "rem device=c:\\olddrv\\oldadp.sys\r\n"
    "FILES=30\r\n";
constexpr const char* kNewConfig =
    "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"
    "FILES=30\r\n";

constexpr const char* kHeldProgram = "C:\\TOOLS\\PROBE.EXE";
constexpr const char* kApplicationTitle = "SETUP32";

// The errors a failing call reports, taken in turn.
constexpr std::uint32_t kErrors[] = {win_error::kAccessDenied, win_error::kSharingViolation,
                                     win_error::kFileNotFound};

// No run has a reason to show more boxes than this.
constexpr int kMaxBoxes = 40;

std::string Script(const PlatformCase& platform, bool shown) {
    const std::string family = platform.family;
    return std::string("[Display]\r\nGroupName=Disk Tools\r\nbShow=") + (shown ? "YES" : "NO") +
           "\r\nDeviceID=6E02,6E12\r\nTitle=DSKADP\r\nDriver=DSKADP.SYS\r\n\r\n"
           "[" +
           platform.firstSection +
           "]\r\n"
           "; the miniport driver, its help file and the probe tool\r\n"
           "1=.\\DRV\\DSKADP.SYS,.\\SYSTEM\\IOSUBSYS\\DSKADP.SYS\r\n"
           "2=.\\TOOLS\\<GROUp>.HLP,.\\HELP\\<GROUp>.HLP\r\n"
           "3=.\\TOOLS\\PROBE.EXE,C:\\TOOLS\\PROBE.EXE\r\n"
           "4=.\\DRV\\NOWHERE.SYS\r\n\r\n"
           "[" +
           platform.secondSection +
           "]\r\n"
           "1=.\\DRV\\DSKADP.INF,.\\INF\\DSKADP.INF\r\n\r\n"
           "[" +
           family +
           " ShortCut]\r\n"
           "1=HELP\\<GROUp>.HLP,<GROUp>,<GROUp> Help\r\n"
           "2=DSKUNINS.EXE,Startup,Uninstall\r\n\r\n"
           "[" +
           family +
           " Execute]\r\n1=NOTEPAD.EXE README.TXT\r\n\r\n"
           "[" +
           family +
           " UnInstall Extra File]\r\n1=SETUP.INI\r\n\r\n"
           "[UnInstall]\r\n1=DSKUNINS.EXE\r\n\r\n"
           "[Modify]\r\n1=C:\\OLDDRV\\OLDADP.SYS\r\n2=;C:\\WINDOWS\\HIMEM.SYS\r\n";
}

constexpr const char* kRegistry =
    "REGEDIT4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02\\BUS_00&DEV_0A]\r\n"
    "\"Driver\"=\"SCSIAdapter\\\\0000\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E12\\BUS_00&DEV_0B]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Scsiscan]\r\n"
    "\"Start\"=dword:00000003\r\n\"Type\"=dword:00000001\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\DSKADP]\r\n"
    "\"PlugPlayServiceType\"=dword:00000002\r\n\r\n"
    "[HKEY_CURRENT_USER\\software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
    "Folders]\r\n"
    "\"Programs\"=\"C:\\\\WINDOWS\\\\Start Menu\\\\Programs\"\r\n"
    "\"StartUp\"=\"C:\\\\WINDOWS\\\\Start Menu\\\\Programs\\\\StartUp\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
    "Folders]\r\n"
    "\"Common Startup\"=\"C:\\\\WINNT\\\\Profiles\\\\All Users\\\\Start Menu\\\\Programs\\\\"
    "Startup\"\r\n";

const char* Text(int id) {
    return MsgText(Language{}, id);
}

// What a message box is, told by its text.
enum class BoxKind {
    MalformedLine,   // the error reporter, for the line without a destination
    RetryCopy,       // message 42 for one destination
    TempNotCreated,  // message 46 under caption 47
    NoEntries,       // message 49
    Restart,         // message 43
    ConfigFailure,   // the report of a file error that abandoned the install
    NoScript,        // messages 50 and 52: Start found no setup script it could read
    Unknown,
};

// Message `id` with its "%s" filled by `value`.
std::string Filled(int id, const std::string& value) {
    std::string text = Text(id);
    return text.replace(text.find("%s"), 2, value);
}

std::string RetryQuestion(const std::string& destination) {
    return Filled(42, destination);
}

// The destination that message 42 names, when `text` is that message.
std::optional<std::string> RetriedDestination(const std::string& text) {
    const std::string_view format = Text(42);
    const std::size_t at = format.find("%s");
    const std::string_view head = format.substr(0, at);
    const std::string_view tail = format.substr(at + 2);
    if (text.size() < head.size() + tail.size() || text.compare(0, head.size(), head) != 0 ||
        text.compare(text.size() - tail.size(), tail.size(), tail) != 0) {
        return std::nullopt;
    }
    return text.substr(head.size(), text.size() - head.size() - tail.size());
}

constexpr const char* kScriptPath = "A:\\SETUP32.INI";

// What the first Start says when the look-up or the open of the script
// fails with `error`.
std::string NoScriptReport(std::uint32_t error) {
    if (error == win_error::kFileNotFound || error == win_error::kPathNotFound) {
        return Filled(50, kScriptPath);
    }
    std::string text = Filled(52, kScriptPath);
    return text.replace(text.find("%d"), 2, std::to_string(error));
}

// What the first Start says when Windows answers no section name: message
// 57, its second "%s" the line of a first Start.
std::string NoSectionReport() {
    std::string text = Filled(57, kScriptPath);
    return text.replace(text.find("%s"), 2, Text(58));
}

bool IsNoScriptReport(const std::string& text) {
    if (text == NoSectionReport()) return true;
    for (const std::uint32_t error : kErrors) {
        if (text == NoScriptReport(error)) return true;
    }
    return false;
}

BoxKind KindOf(const std::string& text) {
    if (text == Text(14)) return BoxKind::MalformedLine;
    if (RetriedDestination(text)) return BoxKind::RetryCopy;
    if (text == Text(46)) return BoxKind::TempNotCreated;
    if (text == Text(49)) return BoxKind::NoEntries;
    if (text == Text(43)) return BoxKind::Restart;
    if (text.rfind(std::string(Text(46)) + "\n\n", 0) == 0) return BoxKind::ConfigFailure;
    if (IsNoScriptReport(text)) return BoxKind::NoScript;
    return BoxKind::Unknown;
}

std::string CaptionOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::MalformedLine:
            return Text(10);
        case BoxKind::TempNotCreated:
            return Text(47);
        case BoxKind::NoEntries:
            return "";
        default:
            return kApplicationTitle;
    }
}

bool IsOneOf(const std::string& call, std::initializer_list<std::string_view> calls) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// Calls whose failure the behaviour passes over without a trace on screen.
bool FailsSilently(const Event& call) {
    return call.call.rfind("Reg", 0) == 0 ||
           IsOneOf(call.call,
                   {"WinExec", "Sleep", "SetCursor", "MessageBeep", "SetForegroundWindow",
                    "ExitWindowsEx", "AdjustTokenPrivileges", "CreateFontA", "LoadStringA",
                    "GetShortPathNameA", "SetFileAttributesA", "CreateDialogParamA"}) ||
           (call.call == "_lcreat" && call.detail.find("CONFIG") == std::string::npos);
}

bool MayReportConfigFailure(const Event& call) {
    return IsOneOf(call.call, {"_lread", "_lwrite", "_lclose", "MoveFileA", "DeleteFileA"});
}

// Calls whose failure can make a copy fail and so ask message 42.
bool MayFailACopy(const Event& call) {
    return IsOneOf(call.call, {"CopyFileA", "CreateDirectoryA", "FindWindowA",
                               "SendMessageTimeoutA", "GetPrivateProfileStringA"});
}

// One simulated machine: the distribution medium in A:\, the current
// directory, and a Windows installation on C: with a program holding one
// of the files to replace open under its window.
class Installation {
  public:
    Installation(const PlatformCase& platform, bool shown) {
        for (const char drive : {'A', 'C'}) {
            const fs::path host = root_.path() / std::string(1, drive);
            fs::create_directory(host);
            sim.MapDrive(drive, host);
        }
        sim.SetVersion(platform.version);
        sim.SetWindowsDirectory(platform.windowsDir);
        sim.SetCurrentDirectory("A:\\");

        sim.WriteFile("A:\\SETUP32.INI", Script(platform, shown));
        for (const char* file :
             {"A:\\DRV\\DSKADP.SYS", "A:\\DRV\\DSKADP.INF", "A:\\TOOLS\\Disk Tools.HLP",
              "A:\\TOOLS\\PROBE.EXE", "A:\\README.TXT"}) {
            sim.WriteFile(file, std::string("new ") + file);
        }

        const std::string windowsDir = platform.windowsDir;
        sim.WriteFile(windowsDir + "\\INF\\DRVIDX.BIN", "index");
        sim.WriteFile(windowsDir + "\\INF\\DRVDATA.BIN", "data");
        sim.WriteFile(windowsDir + "\\DiskTool.GRP", "group");
        sim.WriteFile(kConfigSys, kOldConfig);
        sim.WriteFile(kHeldProgram, "old probe");
        sim.HoldFile(kHeldProgram, sim.AddWindow("PROBE"));
        EXPECT_TRUE(sim.LoadRegistry(kRegistry));
    }

    // Runs the program as WinMain does. A user presses Start when the main
    // dialog waits for it, and once more when it stays open after an
    // install that was abandoned.
    void Run() {
        sim.AnswerBoxesWith([this](const BoxRecord& box) { return Answer(box); });
        sim.OnNextModal([this](SimDialogView& view, platform::DialogHandler& dialog) {
            if (static_cast<CSetupDlg&>(dialog).Fields().showMain == 1) PressStart(view, dialog);
            if (view.EndResult()) return;
            visibleAfterAbandon = view.Visible();
            PressStart(view, dialog);
        });
        CSetupApp app(sim.machine(), std::string("A:\\") + kApplicationTitle + ".EXE");
        app.InitInstance();
    }

    // Box texts in the order asked, boxes that failed to show included.
    std::vector<std::string> AskedTexts() const { return Details("MessageBoxA"); }
    std::vector<std::string> ShownTexts() const {
        std::vector<std::string> texts;
        for (const BoxRecord& box : sim.Boxes()) texts.push_back(box.text);
        return texts;
    }
    std::vector<std::string> Details(std::string_view call) const {
        std::vector<std::string> details;
        for (const Event& event : sim.Events()) {
            if (event.call == call) details.push_back(event.detail);
        }
        return details;
    }
    // Whether a box of `kind` was asked, shown or not.
    bool Asked(BoxKind kind) const {
        const std::vector<std::string> texts = AskedTexts();
        return std::any_of(texts.begin(), texts.end(),
                           [kind](const std::string& text) { return KindOf(text) == kind; });
    }
    // Whether a file error abandoned an install.
    bool ReportedConfigFailure() const { return Asked(BoxKind::ConfigFailure); }
    // Whether the user was asked about `destination` and did not ask for
    // another try (a box that failed to show gives no Yes either).
    bool GaveUp(const std::string& destination) const {
        const std::vector<std::string> asked = AskedTexts();
        const auto times = std::count(asked.begin(), asked.end(), RetryQuestion(destination));
        return times > (retried_.count(RetryQuestion(destination)) ? 1 : 0);
    }

    SimMachine sim;
    int startsCompleted = 0;  // presses of Start that ended the dialog
    // Whether the dialog could be seen when it stayed open after an
    // abandoned install; empty when none was abandoned.
    std::optional<bool> visibleAfterAbandon;

  private:
    void PressStart(SimDialogView& view, platform::DialogHandler& dialog) {
        dialog.OnOK(view);
        if (view.EndResult()) ++startsCompleted;
    }

    // Yes to the restart question and to the first retry question of each
    // file, No to any later one, so that a copy that keeps failing is given up.
    int Answer(const BoxRecord& box) {
        if (++answered_ > kMaxBoxes) {
            ADD_FAILURE() << "the install keeps asking: " << box.text;
            return mb::kIdNo;
        }
        switch (KindOf(box.text)) {
            case BoxKind::Restart:
                return mb::kIdYes;
            case BoxKind::RetryCopy:
                return retried_.insert(box.text).second ? mb::kIdYes : mb::kIdNo;
            default:
                return mb::kIdOk;
        }
    }

    platform::sim::TempDirectory root_{"setup32-sweep"};
    std::set<std::string> retried_;
    int answered_ = 0;
};

// What the clean run did, for comparison.
struct CleanRun {
    long calls = 0;
    std::vector<std::string> boxTexts;
};

bool IsWholeConfig(const std::optional<std::string>& content) {
    return content == kOldConfig || content == kNewConfig;
}

// Whether the old content set aside as `name` could not be deleted once
// the new CONFIG.SYS was in place: the edit succeeded and leaves it.
bool KeptAside(const Installation& run, const std::string& name) {
    const std::vector<Event>& failed = run.sim.FailedCalls();
    return std::any_of(failed.begin(), failed.end(), [&name](const Event& call) {
        return call.call == "DeleteFileA" && call.detail.find(name) != std::string::npos;
    });
}

// CONFIG.SYS holds its old or its new content. A file is left beside it
// only after a reported failure or as an old content that could not be
// deleted, and holds one of the two whole.
void ExpectConfigSysSound(const Installation& run) {
    const std::optional<std::string> config = run.sim.ReadFile(kConfigSys);
    ASSERT_TRUE(config) << "CONFIG.SYS is gone";
    EXPECT_TRUE(IsWholeConfig(config)) << *config;
    for (const auto& entry : fs::directory_iterator(run.sim.HostPath("C:\\"))) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("CONFIG.", 0) != 0 || name == "CONFIG.SYS") continue;
        EXPECT_TRUE(run.ReportedConfigFailure() || KeptAside(run, name))
            << name << " left without a report";
        EXPECT_TRUE(IsWholeConfig(run.sim.ReadFile("C:\\" + name))) << name;
    }
}

// Every box shown is a known one, under its own caption.
void ExpectKnownBoxes(const Installation& run) {
    for (const BoxRecord& box : run.sim.Boxes()) {
        const BoxKind kind = KindOf(box.text);
        ASSERT_NE(BoxKind::Unknown, kind) << box.text;
        EXPECT_EQ(CaptionOf(kind), box.caption) << box.text;
    }
}

// Every box is one the failed call can cause.
void ExpectBoxesCalledFor(const Installation& run, const Event& failed, std::uint32_t error) {
    ExpectKnownBoxes(run);
    for (const BoxRecord& box : run.sim.Boxes()) {
        switch (KindOf(box.text)) {
            case BoxKind::RetryCopy:
                EXPECT_TRUE(MayFailACopy(failed)) << box.text;
                break;
            case BoxKind::TempNotCreated:
                EXPECT_EQ("_lcreat", failed.call);
                break;
            case BoxKind::NoEntries:
                EXPECT_EQ("GetPrivateProfileStringA", failed.call);
                break;
            case BoxKind::NoScript:
                if (failed.call == "GetPrivateProfileSectionNamesA") {
                    EXPECT_EQ(NoSectionReport(), box.text);
                    break;
                }
                EXPECT_TRUE(IsOneOf(failed.call, {"GetFileAttributesA", "_lopen"})) << failed.call;
                EXPECT_EQ(NoScriptReport(error), box.text);
                break;
            case BoxKind::ConfigFailure: {
                EXPECT_TRUE(MayReportConfigFailure(failed)) << box.text;
                // The report names the file and keeps the error that caused it.
                EXPECT_NE(std::string::npos, box.text.find("\\CONFIG.")) << box.text;
                const bool keepsError =
                    box.text.find(", " + std::to_string(error) + ")") != std::string::npos ||
                    (failed.call == "_lread" &&
                     box.text.find(", " + std::to_string(win_error::kReadFault) + ")") !=
                         std::string::npos);
                EXPECT_TRUE(keepsError) << box.text;
                break;
            }
            default:
                break;
        }
    }
    if (failed.call == "_lcreat" && failed.detail == "c:\\CONFIG.tmp") {
        const std::vector<std::string> texts = run.ShownTexts();
        EXPECT_EQ(1, std::count(texts.begin(), texts.end(), Text(46)));
        EXPECT_EQ(kOldConfig, run.sim.ReadFile(kConfigSys));
    }
}

// Every file the pass tried to place is in place, or the user gave it up.
void ExpectNoFileLostSilently(const Installation& run) {
    for (const std::string& copy : run.Details("CopyFileA")) {
        const std::size_t arrow = copy.find(" -> ");
        const std::string source = copy.substr(0, arrow);
        const std::string destination = copy.substr(arrow + 4);
        const std::optional<std::string> bytes = run.sim.ReadFile(source);
        const bool placed = bytes && run.sim.ReadFile(destination) == bytes;
        EXPECT_TRUE(placed || run.GaveUp(destination)) << destination << " skipped unasked";
    }
}

// The main dialog stays open and visible only after a CONFIG.SYS file
// error or a script not found, and a second Start then completes the
// install. A Start that ends the dialog has asked the restart question, and
// nothing else asks it.
void ExpectDialogOutcome(const Installation& run) {
    const bool abandoned = run.ReportedConfigFailure() || run.Asked(BoxKind::NoScript);
    EXPECT_EQ(abandoned, run.visibleAfterAbandon.value_or(false));
    EXPECT_EQ(abandoned, run.visibleAfterAbandon.has_value());
    EXPECT_EQ(mb::kIdOk, run.sim.DialogViews().front()->EndResult());
    if (abandoned) {
        EXPECT_EQ(kNewConfig, run.sim.ReadFile(kConfigSys)) << "after a second Start";
    }

    const std::vector<std::string> asked = run.AskedTexts();
    EXPECT_EQ(run.startsCompleted, std::count(asked.begin(), asked.end(), Text(43)));
}

// Without its dialog the program ends at once, having done nothing.
void ExpectNothingDoneWithoutTheDialog(const Installation& run) {
    EXPECT_TRUE(run.sim.DialogViews().empty());
    EXPECT_TRUE(run.sim.Boxes().empty());
    EXPECT_EQ(kOldConfig, run.sim.ReadFile(kConfigSys));
}

// One call failed once.
void ExpectSoundAfterFault(const Installation& run, const CleanRun& clean,
                           const PlatformCase& platform, std::uint32_t error) {
    ASSERT_EQ(1u, run.sim.FailedCalls().size());
    const Event& failed = run.sim.FailedCalls().front();
    SCOPED_TRACE("failed call: " + failed.call + " " + failed.detail);

    ExpectConfigSysSound(run);
    if (failed.call == "DialogBoxParamA") return ExpectNothingDoneWithoutTheDialog(run);
    ExpectBoxesCalledFor(run, failed, error);
    ExpectNoFileLostSilently(run);
    ExpectDialogOutcome(run);

    // The malformed line is reported once per install that reads it.
    const std::vector<std::string> asked = run.AskedTexts();
    const auto malformedReports = std::count(asked.begin(), asked.end(), Text(14));
    const int installs = run.visibleAfterAbandon && !run.Asked(BoxKind::NoScript) ? 2 : 1;
    if (failed.call == "GetPrivateProfileSectionA") {
        EXPECT_LE(malformedReports, installs);
    } else {
        EXPECT_EQ(platform.copiesFiles ? installs : 0, malformedReports);
    }
    if (FailsSilently(failed)) {
        EXPECT_EQ(clean.boxTexts, run.ShownTexts());
        EXPECT_EQ(kNewConfig, run.sim.ReadFile(kConfigSys));
    }
}

// One call fails every time. The user may face the same failure twice,
// but the dialog still ends, or stays open after a reported CONFIG.SYS error.
void ExpectSoundWhileACallAlwaysFails(const Installation& run, const std::string& call) {
    SCOPED_TRACE(call + " always fails");
    ExpectConfigSysSound(run);
    if (call == "DialogBoxParamA") return ExpectNothingDoneWithoutTheDialog(run);
    ExpectKnownBoxes(run);
    ExpectNoFileLostSilently(run);
    const SimDialogView& main = *run.sim.DialogViews().front();
    if (main.EndResult()) {
        EXPECT_EQ(mb::kIdOk, main.EndResult());
    } else {
        EXPECT_TRUE(run.ReportedConfigFailure() || run.Asked(BoxKind::NoScript));
        EXPECT_TRUE(main.Visible());
    }
}

TEST(FaultTest, CopyPassGoesOnWithoutItsProgressWindow) {
    Installation run(kPlatforms[0], true);
    run.sim.FailCall(platform::sim::Call::CreateDialogParamA, win_error::kAccessDenied);
    run.Run();
    EXPECT_EQ(1u, run.sim.FailedCalls().size());
    EXPECT_EQ(1u, run.sim.DialogViews().size()) << "only the main dialog";
    EXPECT_EQ("new A:\\DRV\\DSKADP.SYS",
              run.sim.ReadFile("C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\DSKADP.SYS"));
    EXPECT_EQ("new A:\\DRV\\DSKADP.INF", run.sim.ReadFile("C:\\WINDOWS\\INF\\DSKADP.INF"));
    EXPECT_EQ(kNewConfig, run.sim.ReadFile(kConfigSys));
    EXPECT_EQ(1, run.startsCompleted);
}

struct SweepCase {
    const PlatformCase* platform;
    bool shown;
};

class FaultSweepTest : public ::testing::TestWithParam<SweepCase> {};

TEST_P(FaultSweepTest, EveryCallFailingOnceOrAlwaysLeavesASoundMachine) {
    const PlatformCase& platform = *GetParam().platform;
    const bool shown = GetParam().shown;

    CleanRun clean;
    {
        Installation run(platform, shown);
        run.Run();
        clean.calls = run.sim.CallCount();
        clean.boxTexts = run.ShownTexts();
        EXPECT_EQ(kNewConfig, run.sim.ReadFile(kConfigSys));
        EXPECT_EQ(platform.copiesFiles ? "new A:\\TOOLS\\PROBE.EXE" : "old probe",
                  run.sim.ReadFile(kHeldProgram));
        ExpectDialogOutcome(run);
        std::vector<std::string> expected;
        if (platform.copiesFiles) expected.push_back(Text(14));
        if (shown) expected.push_back(Text(43));
        ASSERT_EQ(expected, clean.boxTexts);
        // The sweep reaches every step of the CONFIG.SYS rewrite.
        for (const char* call : {"_lcreat", "MoveFileA", "DeleteFileA"}) {
            ASSERT_FALSE(run.Details(call).empty()) << call;
        }
    }

    std::set<std::string> calls;
    for (long n = 1; n <= clean.calls; ++n) {
        const std::uint32_t error = kErrors[n % std::size(kErrors)];
        SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(clean.calls) +
                     " fails with " + std::to_string(error));
        Installation run(platform, shown);
        run.sim.FailNthCall(n, error);
        run.Run();
        ExpectSoundAfterFault(run, clean, platform, error);
        if (HasFailure()) return;  // the first faulty call tells enough
        calls.insert(run.sim.FailedCalls().front().call);
    }

    for (const std::string& call : calls) {
        Installation run(platform, shown);
        run.sim.FailCall(platform::sim::CallNamed(call).value(), win_error::kAccessDenied, 1, true);
        run.Run();
        ExpectSoundWhileACallAlwaysFails(run, call);
        if (HasFailure()) return;
    }
}

std::vector<SweepCase> AllCases() {
    std::vector<SweepCase> cases;
    for (const PlatformCase& platform : kPlatforms) {
        cases.push_back({&platform, false});
        cases.push_back({&platform, true});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllPlatforms, FaultSweepTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<SweepCase>& info) {
                             return std::string(info.param.platform->name) +
                                    (info.param.shown ? "Shown" : "Silent");
                         });

}  // namespace
}  // namespace setup32
