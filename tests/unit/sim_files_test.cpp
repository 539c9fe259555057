// The simulated machine's drives: path lookup, copies, renames, deletes,
// attributes, held files, short names and byte streams.
#include <gtest/gtest.h>

#include <string>

#include "sim_fixture.h"

namespace setup32::testing {
namespace {

using platform::kFileAttributeNormal;
using platform::kFileAttributeReadOnly;
using platform::sim::VersionDifferenceMet;
namespace win_error = platform::win_error;
namespace version = platform::sim::version;

class SimFiles : public SimFixture {
  protected:
    platform::FileSystem& files() { return machine().files; }
};

TEST_F(SimFiles, PathsAreFoundWithoutRegardToCaseAndWithEitherSeparator) {
    sim().WriteFile("C:\\WINDOWS\\System\\Drv.Sys", "driver");
    sim().SetCurrentDirectory("C:\\WINDOWS");
    const char* const spellings[] = {
        "C:\\WINDOWS\\System\\Drv.Sys",
        "c:\\windows\\SYSTEM\\drv.sys",
        "C:/Windows/system/DRV.SYS",
        "\\WINDOWS\\SYSTEM\\DRV.SYS",
        "system\\drv.sys",
        "..\\WINDOWS\\.\\SYSTEM\\DRV.SYS",
        "C:system\\drv.sys",
    };
    for (const char* path : spellings) EXPECT_EQ(sim().ReadFile(path), "driver") << path;
    EXPECT_EQ(sim().HostPath("c:\\windows\\system\\drv.sys").filename(), "Drv.Sys");
}

TEST_F(SimFiles, ANameIsNotSplitAtTheTrailByteOfADoubleByteCharacter) {
    sim().SetLcid(0x0411);
    // 0x95 0x5C is one character in code page 932; its trail byte is "\".
    const std::string name = "C:\\\x95\x5C.TXT";
    sim().WriteFile(name, "x");
    EXPECT_EQ(sim().ReadFile(name), "x");
    EXPECT_EQ(sim().HostPath(name).filename(), "\x95\x5C.TXT");
}

TEST_F(SimFiles, CopyReportsTheErrorsOfTheRealCall) {
    sim().WriteFile("A:\\SRC.SYS", "new");
    sim().WriteFile("C:\\OLD.SYS", "old");
    sim().WriteFile("C:\\RO.SYS", "locked");
    sim().SetAttributes("C:\\RO.SYS", kFileAttributeReadOnly);
    struct Row {
        const char* from;
        const char* to;
        bool failIfExists;
        std::uint32_t error;
    } const rows[] = {
        {"A:\\MISSING.SYS", "C:\\X.SYS", false, win_error::kFileNotFound},
        {"A:\\NODIR\\SRC.SYS", "C:\\X.SYS", false, win_error::kPathNotFound},
        {"A:\\SRC.SYS", "C:\\NODIR\\X.SYS", false, win_error::kPathNotFound},
        {"A:\\SRC.SYS", "C:\\OLD.SYS", true, win_error::kFileExists},
        {"A:\\SRC.SYS", "C:\\RO.SYS", false, win_error::kAccessDenied},
        {"A:\\SRC.SYS", "C:\\WINDOWS", false, win_error::kAccessDenied},
        {"A:\\SRC.SYS", "B:\\X.SYS", false, win_error::kPathNotFound},
        {"A:\\SRC.SYS", "\\\\server\\share\\X.SYS", false, win_error::kBadPathname},
        {"A:\\SRC.SYS", "C:\\old.sys", false, win_error::kSuccess},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(files().Copy(row.from, row.to, row.failIfExists), row.error)
            << row.from << " -> " << row.to;
    }
    EXPECT_EQ(sim().ReadFile("C:\\OLD.SYS"), "new");
    EXPECT_EQ(sim().ReadFile("C:\\RO.SYS"), "locked");
}

TEST_F(SimFiles, CopyKeepsTheSourceAttributesUntilTheyAreCleared) {
    sim().WriteFile("A:\\SRC.SYS", "data");
    sim().SetAttributes("A:\\SRC.SYS", kFileAttributeReadOnly);
    ASSERT_EQ(files().Copy("A:\\SRC.SYS", "C:\\DST.SYS", false), 0u);
    EXPECT_EQ(sim().Attributes("C:\\DST.SYS"), kFileAttributeReadOnly);
    EXPECT_EQ(files().Copy("A:\\SRC.SYS", "C:\\DST.SYS", false), win_error::kAccessDenied);

    ASSERT_EQ(files().SetAttributes("c:\\dst.sys", kFileAttributeNormal), 0u);
    EXPECT_EQ(sim().Attributes("C:\\DST.SYS"), kFileAttributeNormal);
    EXPECT_EQ(files().Copy("A:\\SRC.SYS", "C:\\DST.SYS", false), 0u);
    EXPECT_EQ(files().SetAttributes("C:\\NONE.SYS", kFileAttributeNormal),
              win_error::kFileNotFound);
}

TEST_F(SimFiles, RenameAndDeleteGuardExistingAndReadOnlyFiles) {
    sim().WriteFile("C:\\A.TXT", "a");
    sim().WriteFile("C:\\B.TXT", "b");
    EXPECT_EQ(files().Rename("C:\\A.TXT", "C:\\B.TXT"), win_error::kAlreadyExists);
    EXPECT_EQ(files().Rename("C:\\NONE.TXT", "C:\\C.TXT"), win_error::kFileNotFound);
    EXPECT_EQ(files().Rename("C:\\A.TXT", "C:\\NODIR\\C.TXT"), win_error::kPathNotFound);

    sim().SetAttributes("C:\\A.TXT", kFileAttributeReadOnly);
    ASSERT_EQ(files().Rename("C:\\A.TXT", "C:\\C.TXT"), 0u);
    EXPECT_FALSE(sim().Exists("C:\\A.TXT"));
    EXPECT_EQ(sim().Attributes("C:\\C.TXT"), kFileAttributeReadOnly);
    EXPECT_EQ(files().Remove("C:\\C.TXT"), win_error::kAccessDenied);

    // A change of letter case only is a rename of the file onto itself.
    ASSERT_EQ(files().Rename("C:\\B.TXT", "C:\\b.txt"), 0u);
    EXPECT_EQ(sim().HostPath("C:\\B.TXT").filename(), "b.txt");

    EXPECT_EQ(files().Remove("C:\\b.TXT"), 0u);
    EXPECT_EQ(files().Remove("C:\\b.TXT"), win_error::kFileNotFound);
    EXPECT_EQ(files().Remove("C:\\WINDOWS"), win_error::kAccessDenied);
}

TEST_F(SimFiles, DirectoriesAreMadeOneLevelAtATime) {
    EXPECT_EQ(files().MakeDirectory("C:\\NEW\\DEEP"), win_error::kPathNotFound);
    EXPECT_EQ(files().MakeDirectory("C:\\NEW"), 0u);
    EXPECT_EQ(files().MakeDirectory("c:\\new"), win_error::kAlreadyExists);
    EXPECT_EQ(files().MakeDirectory("C:\\NEW\\DEEP"), 0u);
    EXPECT_EQ(sim().Attributes("C:\\NEW\\DEEP"), platform::sim::kFileAttributeDirectory);
}

TEST_F(SimFiles, AHeldFileIsReleasedWhenItsWindowCloses) {
    sim().WriteFile("C:\\TOOLS\\PROBE.EXE", "old");
    sim().WriteFile("A:\\PROBE.EXE", "new");
    const platform::WindowHandle window = sim().AddWindow("PROBE");
    sim().HoldFile("C:\\TOOLS\\PROBE.EXE", window);

    EXPECT_EQ(files().Copy("A:\\PROBE.EXE", "C:\\TOOLS\\probe.exe", false),
              win_error::kSharingViolation);
    EXPECT_EQ(files().Remove("C:\\TOOLS\\PROBE.EXE"), win_error::kSharingViolation);
    EXPECT_EQ(files().Rename("C:\\TOOLS\\PROBE.EXE", "C:\\TOOLS\\P.EXE"),
              win_error::kSharingViolation);
    std::uint32_t error = 0;
    EXPECT_EQ(files().CreateForWrite("C:\\TOOLS\\PROBE.EXE", error), 0u);
    EXPECT_EQ(error, win_error::kSharingViolation);

    platform::Desktop& desktop = machine().desktop;
    ASSERT_EQ(desktop.FindTopWindow("PROBE"), window);
    EXPECT_TRUE(desktop.SendClose(window, 5000));
    EXPECT_EQ(desktop.FindTopWindow("PROBE"), 0u);
    EXPECT_EQ(files().Copy("A:\\PROBE.EXE", "C:\\TOOLS\\PROBE.EXE", false), 0u);
    EXPECT_EQ(sim().ReadFile("C:\\TOOLS\\PROBE.EXE"), "new");
}

TEST_F(SimFiles, AHoldOnANameThatDoesNotExistYetBlocksCreatingIt) {
    sim().WriteFile("A:\\ASPIMON.EXE", "new");
    const platform::WindowHandle window = sim().AddWindow("Untitled - BusProbe32");
    sim().HoldFile("C:\\WINDOWS\\aspimon.exe", window);
    EXPECT_EQ(files().Copy("A:\\ASPIMON.EXE", "C:\\WINDOWS\\ASPIMON.EXE", false),
              win_error::kSharingViolation);
    EXPECT_FALSE(sim().Exists("C:\\WINDOWS\\ASPIMON.EXE"));
    machine().desktop.SendClose(window, 0);
    EXPECT_EQ(files().Copy("A:\\ASPIMON.EXE", "C:\\WINDOWS\\ASPIMON.EXE", false), 0u);
}

// What each call does to a file another program reads while sharing reading
// and writing; only the write over it depends on the family.
TEST_F(SimFiles, AFileHeldForReadingIsWrittenOverOnlyByTheNtFamily) {
    struct Row {
        std::uint32_t version;
        std::uint32_t writeError;
    };
    const Row rows[] = {
        {version::kWindows95, win_error::kSharingViolation},
        {version::kWindows98, win_error::kSharingViolation},
        {version::kWindowsNT4, 0},
        {version::kWindows2000, 0},
    };
    sim().WriteFile("A:\\NEW.HLP", "new");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.version);
        sim().SetVersion(row.version);
        sim().WriteFile("C:\\HELP\\SHOWN.HLP", "shown");
        const platform::WindowHandle viewer = sim().AddWindow("Viewer");
        sim().HoldFileForReading("C:\\HELP\\shown.hlp", viewer);

        std::uint32_t error = 99;
        platform::FileStream in(files(), files().OpenForRead("C:\\HELP\\SHOWN.HLP", error));
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(files().Copy("C:\\HELP\\SHOWN.HLP", "C:\\HELP\\COPY.HLP", false), 0u);
        EXPECT_EQ(files().Remove("C:\\HELP\\SHOWN.HLP"), win_error::kSharingViolation);
        EXPECT_EQ(files().Rename("C:\\HELP\\SHOWN.HLP", "C:\\HELP\\R.HLP"),
                  win_error::kSharingViolation);
        EXPECT_EQ(files().Copy("A:\\NEW.HLP", "C:\\HELP\\SHOWN.HLP", false), row.writeError);
        platform::FileStream out(files(), files().CreateForWrite("C:\\HELP\\SHOWN.HLP", error));
        EXPECT_EQ(error, row.writeError);
        // A new file of a name nobody has open is not held.
        EXPECT_EQ(files().Copy("A:\\NEW.HLP", "C:\\HELP\\OTHER.HLP", false), 0u);
        machine().desktop.SendClose(viewer, 0);
    }
    // CopyFileA's refusal is sourced, _lcreat's is not: two differences.
    const std::vector<VersionDifferenceMet> met = {
        {"write-over-open-file", "C:\\HELP\\SHOWN.HLP", 0},
        {"win9x-lcreat-over-open-file", "C:\\HELP\\SHOWN.HLP", 0},
        {"write-over-open-file", "C:\\HELP\\SHOWN.HLP", 0},
        {"win9x-lcreat-over-open-file", "C:\\HELP\\SHOWN.HLP", 0},
    };
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
}

// A copy onto itself, by any spelling of the name, leaves the file as it was
// and is recorded where 95 and 98 answer otherwise than NT.
TEST_F(SimFiles, ACopyOntoItselfIsRecordedOn95And98) {
    sim().WriteFile("C:\\DRV\\SELF.SYS", "driver");
    for (const std::uint32_t v : {version::kWindowsNT4, version::kWindows95}) {
        sim().SetVersion(v);
        EXPECT_NE(files().Copy("C:\\DRV\\SELF.SYS", "c:/drv/self.sys", false), 0u);
    }
    EXPECT_EQ(sim().ReadFile("C:\\DRV\\SELF.SYS"), "driver");
    const std::vector<VersionDifferenceMet> met = {
        {"win9x-copy-onto-itself", "c:/drv/self.sys", 0}};
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
}

// Each call that passes a name whose bytes the code page cannot turn into
// Unicode records it, with the path as the program wrote it; the name that
// arrives holds "?" and is refused.
TEST_F(SimFiles, NamesThatLoseBytesInTheCodePageAreRecordedAndRefused) {
    constexpr std::uint32_t kInvalidName = 123;
    sim().SetLcid(0x0404);
    sim().WriteFile("A:\\HELP.TXT", "help");
    const std::string lost = "C:\\\x83\x77\x83\x8B";         // Shift-JIS on Big5
    const std::string kept = "C:\\\xA4\xA4\xA4\xE5\\A.TXT";  // Big5
    EXPECT_EQ(files().MakeDirectory(lost), kInvalidName);
    EXPECT_EQ(files().Copy("A:\\HELP.TXT", lost + "\\A.TXT", false), kInvalidName);
    EXPECT_EQ(files().MakeDirectory("C:\\\xA4\xA4\xA4\xE5"), 0u);
    EXPECT_EQ(files().Copy("A:\\HELP.TXT", kept, false), 0u);
    std::uint32_t attributes = 0;
    EXPECT_EQ(files().Attributes("C:\\END\xA4", attributes), win_error::kFileNotFound);
    sim().SetVersion(version::kWindowsNT4);
    EXPECT_EQ(files().Remove(lost), kInvalidName);

    const std::vector<VersionDifferenceMet> met = {
        {"file-name-code-page-9x", lost, 0},
        {"file-name-code-page-9x", lost + "\\A.TXT", 0},
        {"file-name-code-page", lost, 0},
    };
    EXPECT_EQ(sim().VersionDifferencesMet(), met);
    EXPECT_EQ(sim().ReadFile(kept), "help");
}

TEST_F(SimFiles, AHungWindowKeepsItsFile) {
    sim().WriteFile("C:\\HUNG.EXE", "old");
    const platform::WindowHandle window = sim().AddWindow("HUNG", false);
    sim().HoldFile("C:\\HUNG.EXE", window);

    EXPECT_FALSE(machine().desktop.SendClose(window, 1000));
    EXPECT_EQ(sim().Events().back().detail, "WM_CLOSE HUNG, no answer within 1000 ms");
    EXPECT_EQ(sim().Windows().front().closeRequests, 1);
    EXPECT_TRUE(sim().Windows().front().open);
    EXPECT_TRUE(sim().Pauses().empty());
    EXPECT_EQ(files().Remove("C:\\HUNG.EXE"), win_error::kSharingViolation);
}

TEST_F(SimFiles, ShortNamesFollowTheEightDotThreeRule) {
    sim().WriteFile("C:\\Program Files\\Disk Tools\\Disk Tools.hlp", "tools");
    sim().WriteFile("C:\\Program Files\\Disk Tools\\Disk Toolbox.hlp", "toolbox");
    sim().WriteFile("C:\\WINDOWS\\grpconv.exe", "g");
    struct Row {
        const char* path;
        const char* shortPath;
    } const rows[] = {
        {"C:\\WINDOWS\\grpconv.exe", "C:\\WINDOWS\\grpconv.exe"},
        {"C:\\program files\\disk tools", "C:\\PROGRA~1\\DISKTO~1"},
        {"C:\\Program Files\\Disk Tools\\Disk Toolbox.hlp", "C:\\PROGRA~1\\DISKTO~1\\DISKTO~1.HLP"},
        {"C:\\Program Files\\Disk Tools\\Disk Tools.hlp", "C:\\PROGRA~1\\DISKTO~1\\DISKTO~2.HLP"},
    };
    for (const Row& row : rows) {
        std::string shortPath;
        EXPECT_EQ(files().ShortPathName(row.path, 260, shortPath), 0u) << row.path;
        EXPECT_EQ(shortPath, row.shortPath);
    }
    // A short name leads to its file as the long one does.
    EXPECT_EQ(sim().ReadFile("c:\\progra~1\\DISKTO~1\\DISKTO~2.HLP"), "tools");
    EXPECT_FALSE(sim().Exists("C:\\PROGRA~2"));

    std::string shortPath = "unchanged";
    EXPECT_EQ(files().ShortPathName("C:\\Program Files\\NONE.EXE", 260, shortPath),
              win_error::kFileNotFound);
    EXPECT_NE(files().ShortPathName("C:\\WINDOWS\\grpconv.exe", 10, shortPath), 0u);
    EXPECT_EQ(shortPath, "unchanged");
}

TEST_F(SimFiles, DirectoriesAreGivenOnlyWhenTheyFit) {
    EXPECT_EQ(files().CurrentDirectory(4), "A:\\");
    EXPECT_EQ(files().CurrentDirectory(3), "");
    std::string directory;
    EXPECT_TRUE(files().WindowsDirectory(11, directory));
    EXPECT_EQ(directory, "C:\\WINDOWS");
    EXPECT_FALSE(files().WindowsDirectory(10, directory));
    sim().SetWindowsDirectory("");
    EXPECT_FALSE(files().WindowsDirectory(260, directory));
    sim().SetCurrentDirectory("c:\\windows\\..\\tools\\");
    EXPECT_EQ(files().CurrentDirectory(255), "C:\\tools");
}

TEST_F(SimFiles, ByteStreamsReadAndWriteHostFiles) {
    std::uint32_t error = 0;
    platform::FileStream out(files(), files().CreateForWrite("C:\\CONFIG.TMP", error));
    ASSERT_TRUE(out) << error;
    EXPECT_EQ(out.Write("DEVICE=A.SYS\r\n"), 0u);
    EXPECT_EQ(out.Write("FILES=30\r\n"), 0u);
    EXPECT_EQ(out.Close(), 0u);
    EXPECT_EQ(sim().ReadFile("C:\\CONFIG.TMP"), "DEVICE=A.SYS\r\nFILES=30\r\n");

    platform::FileStream in(files(), files().OpenForRead("c:\\config.tmp", error));
    ASSERT_TRUE(in) << error;
    char buffer[16];
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 16);
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 8);
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(in.Write("x"), win_error::kAccessDenied);

    EXPECT_EQ(files().OpenForRead("C:\\NONE.SYS", error), 0u);
    EXPECT_EQ(error, win_error::kFileNotFound);
    EXPECT_EQ(files().CreateForWrite("C:\\NODIR\\X", error), 0u);
    EXPECT_EQ(error, win_error::kPathNotFound);
    EXPECT_EQ(files().Close(12345), win_error::kInvalidHandle);
    EXPECT_EQ(files().Read(12345, buffer, sizeof buffer), -1);
}

TEST_F(SimFiles, CreatingAFileOverAReadOnlyOneIsRefused) {
    sim().WriteFile("C:\\CONFIG.SYS", "keep");
    sim().SetAttributes("C:\\CONFIG.SYS", kFileAttributeReadOnly);
    std::uint32_t error = 0;
    EXPECT_EQ(files().CreateForWrite("C:\\CONFIG.SYS", error), 0u);
    EXPECT_EQ(error, win_error::kAccessDenied);
    EXPECT_EQ(sim().ReadFile("C:\\CONFIG.SYS"), "keep");
}

}  // namespace
}  // namespace setup32::testing
