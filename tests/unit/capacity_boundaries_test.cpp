// Every capacity the setup's buffers name, tried one below, at and one above
// it: values read from the script, list sections before and after the group
// name goes in, paths, the copy pass's texts, the shortcut and program
// tables, the uninstall buffers and the CONFIG.SYS editor.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/progress_dialog.h"
#include "app/setup_app.h"
#include "files/file_placement.h"
#include "install/setup_fields.h"
#include "shellint/shell_integration.h"
#include "shellint_fixture.h"
#include "state/ansi_text.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::testing {
namespace {

namespace fs = std::filesystem;
namespace mb = platform::mb;
namespace version = platform::sim::version;
using platform::RegRoot;

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall";
constexpr const char* kServicesKey = "SYSTEM\\CurrentControlSet\\Services\\";
constexpr const char* kDeviceKey = "Enum\\PCI\\VEN_7A3E&DEV_";
constexpr const char* kGroupName = "Disk Tools";

// One below, at and one above `limit`.
std::vector<std::size_t> Around(std::size_t limit) {
    return {limit - 1, limit, limit + 1};
}

// A Windows path of exactly `length` characters below "C:\", in components
// short enough for any host.
std::string LongPath(std::size_t length) {
    std::string path = "C:\\";
    while (path.size() < length) {
        const std::size_t room = length - path.size();
        path += room > 101 ? std::string(100, 'd') + "\\" : std::string(room, 'e');
    }
    return path;
}

using Boundaries = ShellFixture;

// --- values read by key: cut to their capacity less one ---

// True when the run handed `candidate` to the value's consumer.
using ReceivedCheck = bool (*)(const platform::sim::SimMachine& sim, const SetupContext& run,
                               const std::string& candidate);

struct KeyedValue {
    const char* key;
    std::size_t capacity;
    char filler;
    std::uint32_t version;
    const char* otherLines;  // what else the run needs to reach the value's consumer
    ReceivedCheck received;
};

class KeyedValues : public Boundaries,
                    public ::testing::WithParamInterface<std::tuple<KeyedValue, int>> {};

TEST_P(KeyedValues, AreCutToTheirCapacityLessOne) {
    const auto& [value, offset] = GetParam();
    const std::size_t length = value.capacity + offset;
    // A device id's key is deleted only when it exists.
    for (const std::size_t candidate : Around(value.capacity - 1)) {
        ASSERT_TRUE(sim().LoadRegistry("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" +
                                       std::string(kDeviceKey) +
                                       std::string(candidate, value.filler) + "]\r\n"));
    }
    sim().SetVersion(value.version);
    WriteScript("[Display]\r\nbShow=NO\r\n" + std::string(value.key) + "=" +
                std::string(length, value.filler) + "\r\n" + value.otherLines);
    CSetupApp app(machine(), "SETUP32.EXE");
    app.InitInstance();

    for (const std::size_t candidate : Around(value.capacity - 1)) {
        EXPECT_EQ(value.received(sim(), app.Context(), std::string(candidate, value.filler)),
                  candidate == std::min(length, value.capacity - 1))
            << candidate << " characters";
    }
}

bool GroupNameReceived(const platform::sim::SimMachine&, const SetupContext& run,
                       const std::string& candidate) {
    return run.groupName == candidate;
}
bool DeviceIdReceived(const platform::sim::SimMachine& sim, const SetupContext&,
                      const std::string& candidate) {
    return !sim.KeyExists(RegRoot::LocalMachine, kDeviceKey + candidate);
}
bool TitleReceived(const platform::sim::SimMachine& sim, const SetupContext&,
                   const std::string& candidate) {
    return sim.KeyExists(RegRoot::LocalMachine, kServicesKey + candidate);
}
bool DriverReceived(const platform::sim::SimMachine& sim, const SetupContext&,
                    const std::string& candidate) {
    return sim.StringValue(RegRoot::LocalMachine, std::string(kServicesKey) + "T", "ImagePath") ==
           "System32\\drivers\\" + candidate;
}

INSTANTIATE_TEST_SUITE_P(
    Script, KeyedValues,
    ::testing::Combine(
        ::testing::Values(KeyedValue{"GroupName", script_capacity::kGroupName, 'G',
                                     version::kWindows95, "", GroupNameReceived},
                          KeyedValue{"DeviceID", script_capacity::kDeviceId, 'D',
                                     version::kWindows98, "", DeviceIdReceived},
                          KeyedValue{"Title", script_capacity::kTitle, 'T', version::kWindowsNT4,
                                     "Driver=X.SYS\r\n", TitleReceived},
                          KeyedValue{"Driver", script_capacity::kDriver, 'R', version::kWindows2000,
                                     "Title=T\r\n", DriverReceived}),
        ::testing::Values(-1, 0, 1)),
    [](const auto& info) {
        const int offset = std::get<1>(info.param);
        return std::string(std::get<0>(info.param).key) + (offset < 0    ? "BelowCapacity"
                                                           : offset == 0 ? "AtCapacity"
                                                                         : "AboveCapacity");
    });

// --- list sections: a count of capacity - 2 or more skips the section ---

enum class Consumer { DriverFiles, ShortCut, Execute, ExtraFiles, UnInstall };

struct ListSection {
    Consumer consumer;
    const char* section;
    std::size_t capacity;
    const char* entry;  // the one entry whose effect shows the section was used
};

class ListSections : public Boundaries,
                     public ::testing::WithParamInterface<std::tuple<ListSection, int, bool>> {
  protected:
    bool Used(const ListSection& list) {
        ctx().scriptPath = kScriptPath;
        switch (list.consumer) {
            case Consumer::DriverFiles: {
                SetupFields dlg;
                AddSectionFilesToCopyList(ctx(), dlg, list.section, kMedium, kWindowsDir);
                return !dlg.copyList.empty();
            }
            case Consumer::ShortCut:
                CreateShortcuts(ctx(), os_kind::kWindows95);
                return sim().Exists("C:\\WINDOWS\\SETUP.INI");
            case Consumer::Execute:
                RunExecuteSection(ctx(), os_kind::kWindows95);
                return !Started(platform::sw::kShowNormal).empty();
            case Consumer::ExtraFiles:
                RecordExtraUninstallFiles(ctx(), os_kind::kWindows95);
                return !Recorded(kGroupName).empty();
            case Consumer::UnInstall:
                RegisterUninstall(ctx(), os_kind::kWindows95);
                return sim().KeyExists(RegRoot::LocalMachine,
                                       std::string(kUninstallKey) + "\\" + kGroupName);
        }
        return false;
    }
};

TEST_P(ListSections, AreSkippedWholeFromTheTooLargeCountOn) {
    const auto& [list, offset, substituted] = GetParam();
    // The entry, then a comment that brings the count (the lines with their
    // terminators) to the too-large signal plus `offset`; the group name in
    // place of the placeholder adds 3 characters.
    const std::size_t count = list.capacity - 2 + offset;
    const std::size_t comment = count - (std::string(list.entry).size() + 1) - 1;
    const std::string padding = substituted ? ";" + std::string(comment - 11, 'p') + "<GROUp>"
                                            : ";" + std::string(comment - 1, 'p');
    WriteScript(std::string("[Display]\r\nGroupName=") + kGroupName + "\r\n[" + list.section +
                "]\r\n" + list.entry + "\r\n" + padding + "\r\n");
    EXPECT_EQ(Used(list), offset < 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, ListSections,
    ::testing::Combine(
        ::testing::Values(ListSection{Consumer::DriverFiles, "Win95 Driver Files",
                                      script_capacity::kSection, "1=.\\A.SYS,.\\A.SYS"},
                          ListSection{Consumer::ShortCut, "Win95 ShortCut",
                                      script_capacity::kSection, "1=P.EXE,G,T"},
                          ListSection{Consumer::Execute, "Win95 Execute", script_capacity::kSection,
                                      "1=P.EXE"},
                          ListSection{Consumer::ExtraFiles, "Win95 UnInstall Extra File",
                                      script_capacity::kSection, "1=KEEP.SYS"},
                          ListSection{Consumer::UnInstall, "UnInstall",
                                      script_capacity::kUninstallSection, "1=UNINST.EXE"}),
        ::testing::Values(-1, 0, 1), ::testing::Bool()));

// --- paths ---

TEST_F(Boundaries, TheWindowsDirectoryFitsIn254Characters) {
    for (const std::size_t length : Around(255)) {
        const std::string directory = LongPath(length);
        sim().SetWindowsDirectory(directory);
        SetupFields dlg;
        PrepareDriverCopyList(ctx(), dlg);
        const bool fits = length < 255;
        EXPECT_EQ(dlg.windowsDir, fits ? directory : "") << length;
        EXPECT_EQ(dlg.infDir, (fits ? directory : "") + "\\inf") << length;
    }
}

TEST_F(Boundaries, TheGroupScriptNeedsAWindowsDirectoryOf259CharactersAtMost) {
    WriteScript("[Win95 ShortCut]\r\n1=P.EXE,G,T\r\n");
    ctx().scriptPath = kScriptPath;
    for (const std::size_t length : Around(260)) {
        const std::string directory = LongPath(length);
        fs::create_directories(sim().HostPath(directory));
        sim().SetWindowsDirectory(directory);
        CreateShortcuts(ctx(), os_kind::kWindows95);
        EXPECT_EQ(sim().Exists(directory + "\\SETUP.INI"), length < 260) << length;
    }
}

TEST_F(Boundaries, TheStartDirectoryFitsIn254Characters) {
    for (const std::size_t length : Around(255)) {
        SCOPED_TRACE(length);
        platform::sim::SimMachine machine;
        const std::string startDir = LongPath(length);
        machine.MapDrive('C', sim().HostPath("C:\\"));
        machine.WriteFile(startDir + "\\SETUP32.INI", "[Display]\r\nbShow=NO\r\n");
        machine.SetCurrentDirectory(startDir);
        CSetupApp app(machine.machine(), "SETUP32.EXE");
        app.InitInstance();
        // Only a script that was found makes the run silent.
        EXPECT_EQ(machine.DialogViews().front()->Visible(), length >= 255);
    }
}

TEST_F(Boundaries, TheWorkingDirectoryOfTheShellPassFitsIn254Characters) {
    for (const std::size_t length : Around(255)) {
        const std::string directory = LongPath(length);
        sim().WriteFile(directory + "\\SETUP32.INI", "");
        sim().SetCurrentDirectory(directory);
        ctx().shell.workingDirectory.clear();
        RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);
        EXPECT_EQ(ctx().shell.workingDirectory, length < 255 ? directory : "") << length;
    }
}

TEST_F(Boundaries, AShortcutTargetFitsIn259CharactersAndItsProgramFieldIn179) {
    struct Case {
        std::string windowsDir;
        std::size_t program;
        bool taken;
    } const cases[] = {
        {kWindowsDir, 179, true},
        {LongPath(200), 58, true},  // target 259
        {LongPath(200), 59, false},
        {LongPath(200), 60, false},
    };
    // The Startup group keeps the group file, which a long Windows directory
    // would not fit, out of the way.
    ctx().shell.startupGroupName = "StartUp";
    for (const Case& c : cases) {
        ctx().windowsDirText = c.windowsDir;
        ShortcutRecord record;
        std::string groupFile;
        std::string groupName;
        const std::string program(c.program, 'p');
        EXPECT_EQ(ParseShortcutEntry(ctx(), program + ",Startup,T", record, groupFile, groupName),
                  c.taken)
            << c.windowsDir.size() << " + " << c.program;
        EXPECT_EQ(record.target, c.taken ? c.windowsDir + "\\" + program : "");
    }
}

TEST_F(Boundaries, AGroupFilePathFitsItsSlotOf180Bytes) {
    for (const std::size_t length : Around(180)) {
        // "{Windows directory}\GROUPNAM.GRP": the directory and 13 characters.
        ctx().windowsDirText = LongPath(length - 13);
        ShortcutRecord record;
        std::string groupFile;
        std::string groupName;
        const bool taken =
            ParseShortcutEntry(ctx(), "P.EXE,Group Name Nine,T", record, groupFile, groupName);
        EXPECT_EQ(taken, length < 180) << length;
        EXPECT_EQ(groupFile, taken ? ctx().windowsDirText + "\\GroupNam.GRP" : "") << length;
        EXPECT_EQ(groupName, taken ? "Group Name Nine" : "") << length;
    }
}

TEST_F(Boundaries, TheProgramsFolderValueFitsIn179Characters) {
    for (const std::size_t length : Around(180)) {
        const std::string folder = LongPath(length);
        SetShellFolder(RegRoot::CurrentUser, "Programs", folder);
        std::string found = "as it was";
        GetProgramsFolder(ctx(), os_kind::kWindows98, found);
        EXPECT_EQ(found, length < 180 ? folder : "as it was") << length;
    }
}

// --- the copy pass: the window title and the retry question ---

class CopyPassBoundaries : public Boundaries {
  protected:
    class MainDialogStub : public platform::DialogHandler {
        bool OnInitDialog(platform::DialogView&) override { return true; }
    };

    CopyPassBoundaries() {
        fields_.showMain = 1;
        fields_.progress = std::make_unique<CProgressDlg>(ctx(), 0, mainDialog_);
    }
    void Copy(const std::string& source, const std::string& destination) {
        auto item = std::make_unique<CCopyListItem>();
        item->source = source;
        item->destination = destination;
        fields_.copyList.clear();
        fields_.copyList.push_back(std::move(item));
        CopyFilesInCopyList(ctx(), fields_);
    }

  private:
    MainDialogStub mainDialog_;
    SetupFields fields_;
};

TEST_F(CopyPassBoundaries, AWindowTitleIsLookedForWholeAtAnyLength) {
    WriteMediumFile("PROBE.EXE", "new");
    for (const std::size_t length : Around(31)) {
        SCOPED_TRACE(length);
        const std::string title(length, 'W');
        const std::string destination = "C:\\TOOLS\\" + title + ".EXE";
        // A title cut to 31 characters would name this window instead.
        const platform::WindowHandle cut = length > 31 ? sim().AddWindow(title.substr(0, 31)) : 0;
        const platform::WindowHandle holder = sim().AddWindow(title);
        sim().WriteFile(destination, "old");
        sim().HoldFile(destination, holder);

        Copy("A:\\PROBE.EXE", destination);

        EXPECT_EQ(sim().ReadFile(destination), "new");
        for (const platform::sim::WindowRecord& window : sim().Windows()) {
            if (window.handle == holder || window.handle == cut) {
                EXPECT_EQ(window.open, window.handle == cut);
            }
        }
    }
    EXPECT_TRUE(sim().Boxes().empty());
}

TEST_F(CopyPassBoundaries, TheRetryQuestionHoldsTheWholeDestinationAroundItsBuffer) {
    const std::string format = ctx().Msg(42);
    const std::size_t fixedPart = format.size() - 2;  // without "%s"
    for (const std::size_t length : Around(352)) {
        const std::string destination = LongPath(length - fixedPart);
        sim().QueueAnswer(mb::kIdNo);
        Copy("A:\\MISSING.SYS", destination);
        ASSERT_FALSE(sim().Boxes().empty());
        EXPECT_EQ(sim().Boxes().back().text, FillPlaceholder(format, "%s", destination));
        EXPECT_EQ(sim().Boxes().back().text.size(), length);
    }
}

// --- the shortcut and program tables ---

TEST_F(Boundaries, TheShortcutTableHoldsFortyEntries) {
    SetShellFolder(RegRoot::CurrentUser, "Programs", "C:\\PROGRAMS");
    for (const std::size_t entries : Around(kMaxShortcuts)) {
        SCOPED_TRACE(entries);
        std::string script = "[Win95 ShortCut]\r\n";
        for (std::size_t i = 0; i < entries; ++i) {
            script += "1=P.EXE,G,T" + std::to_string(i) + "\r\n";
        }
        WriteScript(script);
        RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows95);

        const std::size_t kept = std::min(entries, kMaxShortcuts);
        EXPECT_EQ(UsedSlots(ctx().shell.shortcuts), kept);
        const std::string groupScript = *sim().ReadFile("C:\\WINDOWS\\SETUP.INI");
        EXPECT_THAT(groupScript, ::testing::HasSubstr("[groupX" + std::to_string(kept - 1) + "]"));
        EXPECT_THAT(groupScript,
                    ::testing::Not(::testing::HasSubstr("[groupX" + std::to_string(kept) + "]")));
        const std::vector<std::string> recorded = Recorded();
        EXPECT_EQ(std::count_if(recorded.begin(), recorded.end(),
                                [](const std::string& path) {
                                    return path.size() > 4 &&
                                           path.compare(path.size() - 4, 4, ".LNK") == 0;
                                }),
                  static_cast<long>(kept));
    }
}

TEST_F(Boundaries, TheProgramTableStartsTenPrograms) {
    for (const std::size_t entries : Around(kMaxPrograms)) {
        std::string script = "[Win98 Execute]\r\n";
        for (std::size_t i = 0; i < entries; ++i) script += "1=P" + std::to_string(i) + "\r\n";
        WriteScript(script);
        const std::size_t before = Started(platform::sw::kShowNormal).size();
        RunShellIntegration(ctx(), kMainWindow, os_kind::kWindows98);
        EXPECT_EQ(Started(platform::sw::kShowNormal).size() - before,
                  std::min(entries, kMaxPrograms))
            << entries;
    }
}

// --- the uninstall buffers ---

TEST_F(Boundaries, TheUninstallEntryTakesA147CharacterGroupAndA179CharacterProgram) {
    struct Case {
        std::size_t groupName;
        std::size_t programPath;  // {Windows directory}\{name}
    } const cases[] = {{146, 20}, {20, 178}, {20, 179}};
    for (const Case& c : cases) {
        const std::string groupName(c.groupName, 'g');
        const std::string name(c.programPath - std::string(kWindowsDir).size() - 1, 'u');
        WriteScript("[Display]\r\nGroupName=" + groupName + "\r\n[UnInstall]\r\n1=" + name +
                    "\r\n");
        ctx().scriptPath = kScriptPath;
        RegisterUninstall(ctx(), os_kind::kWindows95);
        const std::string program = std::string(kWindowsDir) + "\\" + name;
        EXPECT_EQ(
            sim().StringValue(RegRoot::LocalMachine, std::string(kUninstallKey) + "\\" + groupName,
                              "UnInstallString"),
            program + " " + kWindowsDir)
            << c.groupName << ", " << c.programPath;
    }
}

TEST_F(Boundaries, AnExtraFilePathFitsIn199Characters) {
    std::string script = "[Display]\r\nGroupName=G\r\n[Win95 UnInstall Extra File]\r\n";
    for (const std::size_t length : {199, 201}) {
        script += "1=" + std::string(length - std::string(kWindowsDir).size() - 1, 'x') + "\r\n";
    }
    WriteScript(script);
    ctx().scriptPath = kScriptPath;
    RecordExtraUninstallFiles(ctx(), os_kind::kWindows95);
    EXPECT_THAT(Recorded("G"),
                ::testing::ElementsAre(std::string(kWindowsDir) + "\\" + std::string(188, 'x')));
}

// --- the CONFIG.SYS editor ---

class ConfigSysBoundaries : public Boundaries {
  protected:
    std::string Edit(const std::string& modifyLines, const std::string& configSys) {
        WriteScript("[Modify]\r\n" + modifyLines);
        sim().WriteFile("C:\\CONFIG.SYS", configSys);
        SetupFields dlg;
        dlg.startDir = kMedium;
        EXPECT_FALSE(ModifyConfig(ctx(), dlg, "c:\\CONFIG.SYS", "Modify").fileError);
        return sim().ReadFile("C:\\CONFIG.SYS").value_or("(missing)");
    }
};

TEST_F(ConfigSysBoundaries, AModifyValueIsCutTo254Characters) {
    // Line A holds 254 E's and no Z; line B holds 253 E's and a Z.
    const std::string lineA = "A=" + std::string(254, 'E') + "\r\n";
    const std::string lineB = "B=" + std::string(253, 'E') + "Z\r\n";
    for (const std::size_t length : Around(255)) {
        // 253 E's and a Z fit whole and find line B; longer values lose their Z.
        const std::string value = std::string(length - 1, 'E') + "Z";
        EXPECT_EQ(Edit("1=" + value + "\r\n", lineA + lineB), length < 255 ? lineA : lineB)
            << length;
    }
}

TEST_F(ConfigSysBoundaries, TheModifyListFillsItsBlockToTheLastByte) {
    // The entries with their terminators take `count` bytes of the 2048-byte
    // block; the block's own closing NUL takes one more. A list that leaves
    // exactly two bytes free reads as the too-large answer.
    const std::string target = "DEVICE=C:\\OLD.SYS\r\nFILES=30\r\n";
    struct Case {
        std::size_t count;
        bool applied;
    } const cases[] = {{2045, true}, {2046, false}, {2047, true}, {2048, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        std::string lines = "1=OLD.SYS\r\n";
        std::size_t left = c.count - std::string("OLD.SYS").size() - 1;
        for (int key = 2; left > 0; ++key) {
            const std::size_t entry = std::min<std::size_t>(left, 255) - 1;
            lines += std::to_string(key) + "=" + std::string(entry, 'F') + "\r\n";
            left -= entry + 1;
        }
        if (!c.applied) sim().QueueAnswer(mb::kIdOk);
        const std::size_t boxes = sim().Boxes().size();
        EXPECT_EQ(Edit(lines, target), c.applied ? "FILES=30\r\n" : target);
        if (!c.applied) {
            ASSERT_EQ(sim().Boxes().size(), boxes + 1);
            EXPECT_EQ(sim().Boxes().back().text, ctx().Msg(48));
        }
    }
}

TEST_F(ConfigSysBoundaries, LinesAroundTheReadPieceAreKeptOrDroppedWhole) {
    for (const std::size_t length : {254, 255, 256}) {
        // The file name ends the line: on a 256-character line it lies across
        // the border of a 255-character piece.
        const std::string named = std::string(length - 7, 'x') + "OLD.SYS\r\n";
        const std::string other = std::string(length, 'y') + "\r\n";
        EXPECT_EQ(Edit("1=C:\\DEV\\OLD.SYS\r\n", "A\r\n" + named + other + "B"),
                  "A\r\n" + other + "B")
            << length;
    }
}

}  // namespace
}  // namespace setup32::testing
