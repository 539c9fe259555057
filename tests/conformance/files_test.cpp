// Directories and files: copy, attributes, create, delete, rename, short
// names and the byte streams.
#include <string>

#include "fixture.h"

namespace setup32::conformance {
namespace {

namespace win_error = platform::win_error;
using platform::FileStream;

class FilesTest : public ConformanceTest {
  protected:
    FilesTest() : files_(machine_.files) {}

    std::string Put(const std::string& name, const std::string& bytes) {
        const std::string path = Scratch(name);
        backend_->WriteFile(path, bytes);
        return path;
    }
    std::string Content(const std::string& name) { return backend_->ReadFile(Scratch(name)); }

    // The content of a file read through the seam's byte stream.
    std::string StreamContent(const std::string& path) {
        std::uint32_t error = 0;
        FileStream in(files_, files_.OpenForRead(path, error));
        EXPECT_TRUE(in) << path << ": error " << error;
        std::string content;
        char buffer[64];
        for (long count; in && (count = in.Read(buffer, sizeof buffer)) > 0;) {
            content.append(buffer, static_cast<std::size_t>(count));
        }
        return content;
    }

    platform::FileSystem& files_;
};

TEST_F(FilesTest, CopyResults) {
    Put("SRC.SYS", "new driver");
    Put("OLD.SYS", "old driver");
    struct Row {
        int line;
        const char* from;
        const char* to;
        bool failIfExists;
        std::uint32_t error;
        const char* content;  // of `to` afterwards; nullptr when it must not exist
    };
    const Row rows[] = {
        ROW("SRC.SYS", "NEW.SYS", false, 0, "new driver"),
        ROW("src.sys", "OLD.SYS", true, win_error::kFileExists, "old driver"),
        ROW("SRC.SYS", "OLD.SYS", false, 0, "new driver"),
        ROW("MISSING.SYS", "M.SYS", false, win_error::kFileNotFound, nullptr),
        ROW("NODIR\\SRC.SYS", "N.SYS", false, win_error::kPathNotFound, nullptr),
        ROW("SRC.SYS", "NODIR\\SRC.SYS", false, win_error::kPathNotFound, nullptr),
    };
    for (const Row& row : rows) {
        TRACE_ROW(row);
        EXPECT_EQ(files_.Copy(Scratch(row.from), Scratch(row.to), row.failIfExists), row.error);
        if (row.content) {
            EXPECT_EQ(Content(row.to), row.content);
        } else {
            EXPECT_NE(files_.Remove(Scratch(row.to)), 0u);
        }
    }
}

TEST_F(FilesTest, CopyKeepsReadOnlyUntilAttributesAreSetNormal) {
    const std::string source = Put("MEDIUM.VXD", "driver");
    const std::string target = Scratch("TARGET.VXD");
    ASSERT_EQ(files_.SetAttributes(source, platform::kFileAttributeReadOnly), 0u);
    ASSERT_EQ(files_.Copy(source, target, false), 0u);

    EXPECT_EQ(files_.Remove(target), win_error::kAccessDenied);
    EXPECT_EQ(files_.SetAttributes(target, platform::kFileAttributeNormal), 0u);
    EXPECT_EQ(files_.Remove(target), 0u);

    EXPECT_EQ(files_.SetAttributes(source, platform::kFileAttributeNormal), 0u);
    EXPECT_EQ(files_.SetAttributes(Scratch("MISSING.VXD"), platform::kFileAttributeNormal),
              win_error::kFileNotFound);
}

TEST_F(FilesTest, AttributesTellAFileADirectoryAndWhatIsMissing) {
    const std::string file = Put("READ.ME", "text");
    ASSERT_EQ(files_.SetAttributes(file, platform::kFileAttributeReadOnly), 0u);
    constexpr std::uint32_t kTold =
        platform::kFileAttributeReadOnly | platform::kFileAttributeDirectory;
    std::uint32_t attributes = 0;
    EXPECT_EQ(files_.Attributes(file, attributes), 0u);
    EXPECT_EQ(attributes & kTold, platform::kFileAttributeReadOnly);
    EXPECT_EQ(files_.SetAttributes(file, platform::kFileAttributeNormal), 0u);

    ASSERT_EQ(files_.MakeDirectory(Scratch("DIR")), 0u);
    EXPECT_EQ(files_.Attributes(Scratch("DIR"), attributes), 0u);
    EXPECT_EQ(attributes & kTold, platform::kFileAttributeDirectory);

    EXPECT_EQ(files_.Attributes(Scratch("MISSING.INI"), attributes), win_error::kFileNotFound);
    EXPECT_EQ(files_.Attributes(Scratch("NODIR\\MISSING.INI"), attributes),
              win_error::kPathNotFound);
}

TEST_F(FilesTest, CopyOntoReadOnlyFileIsRefused) {
    ONLY_ON_BACKEND("sim", "Wine replaces a read-only destination, Windows refuses it");
    Put("NEW.EXE", "new");
    const std::string target = Put("OLD.EXE", "old");
    ASSERT_EQ(files_.SetAttributes(target, platform::kFileAttributeReadOnly), 0u);
    EXPECT_EQ(files_.Copy(Scratch("NEW.EXE"), target, false), win_error::kAccessDenied);
    EXPECT_EQ(Content("OLD.EXE"), "old");
}

// A destination another program reads, sharing reading and writing: NT 4.0
// and 2000 replace it, Windows 95 and 98 refuse (Wine's older
// dlls/kernel32/tests/file.c, test_CopyFileA: "copy to a file that's opened
// the way Wine opens the source", CreateFileA(dest, GENERIC_READ,
// FILE_SHARE_READ|FILE_SHARE_WRITE, ...), then
// `ok(retok || broken(GetLastError() == ERROR_SHARING_VIOLATION) /* Win 9x */`).
// For _lcreat over the same file no source says what 95 and 98 do: the
// simulated machine refuses it as it does the copy
// (win9x-lcreat-over-open-file, uncertain); NT 4.0 and 2000 empty it. Wine
// behaves as NT in every version setting (write-over-open-file): the 95 and
// 98 rows run on the simulated machine only.
TEST_F(FilesTest, WritingOverAFileAnotherProgramReadsDependsOnTheFamily) {
    struct Row {
        int line;
        std::uint32_t version;
        std::uint32_t error;
        const char* copied;   // the content after CopyFileA
        const char* created;  // after _lcreat
    };
    const Row rows[] = {
        ROW(version::kWindows95, win_error::kSharingViolation, "shown", "shown"),
        ROW(version::kWindows98, win_error::kSharingViolation, "shown", "shown"),
        ROW(version::kWindowsNT4, 0, "new", ""),
        ROW(version::kWindows2000, 0, "new", ""),
    };
    int ran = 0;
    for (const Row& row : rows) {
        if (!RunsAs(row.version, Language())) continue;
        TRACE_ROW(row);
        ++ran;
        const std::string source = Put("NEW.HLP", "new");
        const std::string target = Put("SHOWN.HLP", "shown");
        {
            const auto viewer = backend_->HoldForReading(target);
            EXPECT_EQ(files_.Copy(source, target, false), row.error);
        }
        EXPECT_EQ(Content("SHOWN.HLP"), row.copied);
        Put("SHOWN.HLP", "shown");
        {
            const auto viewer = backend_->HoldForReading(target);
            std::uint32_t error = 99;
            FileStream out(files_, files_.CreateForWrite(target, error));
            EXPECT_EQ(error, row.error);
        }
        EXPECT_EQ(Content("SHOWN.HLP"), row.created);
    }
    if (ran == 0) GTEST_SKIP() << "Windows 95 and 98 refuse; Wine writes over the file as NT does";
}

// A copy of a file onto itself fails on every version, with error 32 on NT
// 4.0 and 2000 and error 80 on 95 and 98 (Wine's dlls/kernel32/tests/file.c,
// test_CopyFileA: "copying a file to itself must fail",
// `GetLastError() == ERROR_SHARING_VIOLATION || broken(GetLastError() ==
// ERROR_FILE_EXISTS) /* Win 9x */`), by the same name or another spelling
// of it. Wine answers 32 in every version setting (write-over-open-file).
TEST_F(FilesTest, CopyOfAFileOntoItselfFailsWithTheFamilysError) {
    struct Row {
        int line;
        std::uint32_t version;
        std::uint32_t error;
    };
    const Row rows[] = {
        ROW(version::kWindows95, win_error::kFileExists),
        ROW(version::kWindows98, win_error::kFileExists),
        ROW(version::kWindowsNT4, win_error::kSharingViolation),
        ROW(version::kWindows2000, win_error::kSharingViolation),
    };
    const std::string source = Put("SELF.SYS", "driver");
    int ran = 0;
    for (const Row& row : rows) {
        if (!RunsAs(row.version, Language())) continue;
        TRACE_ROW(row);
        ++ran;
        EXPECT_EQ(files_.Copy(source, source, false), row.error);
        EXPECT_EQ(files_.Copy(source, Scratch("self.sys"), false), row.error);
        EXPECT_EQ(Content("SELF.SYS"), "driver");
    }
    if (ran == 0) GTEST_SKIP() << "holds for other versions of Windows than this machine's";
}

// A file is named by its bytes turned into Unicode through the ANSI code
// page. A lead byte the code page does not follow with a valid trail byte
// turns into the code page's default character: U+30FB on 932, "?" on the
// others, and "?" in a name is refused with ERROR_INVALID_NAME (the Win32
// reference, "Naming a File"). The bytes 1252 leaves undefined survive.
TEST_F(FilesTest, NamesReachTheFileSystemThroughTheCodePage) {
    constexpr std::uint32_t kInvalidName = 123;
    struct Row {
        int line;
        std::uint32_t lcid;
        const char* written;
        std::uint32_t error;
        const char* found;  // the name that finds the file afterwards
    };
    const Row rows[] = {
        // Shift-JIS "help" on a Chinese (Big5) system: 0x8B is no Big5 trail byte.
        ROW(0x0404, "\x83\x77\x83\x8B\x83\x76.TXT", kInvalidName, nullptr),
        ROW(0x0404, "\xA4\xA4\xA4\xE5.TXT", 0, "\xA4\xA4\xA4\xE5.TXT"),
        // A lead byte at the very end survives (so Wine does, with Windows' tables).
        ROW(0x0404, "END\xA4", 0, "END\xA4"),
        ROW(0x0411, "\x83\x77\x83\x8B\x83\x76.TXT", 0, "\x83\x77\x83\x8B\x83\x76.TXT"),
        ROW(0x0411, "A\x81\x20.TXT", 0, "A\x81\x45.TXT"),
        ROW(0x0804, "\x81\x30.TXT", kInvalidName, nullptr),
        ROW(0x0412, "\xB0\x30.TXT", kInvalidName, nullptr),
        ROW(0x0409, "\x81\x8D\x8F\x90\x9D.TXT", 0, "\x81\x8D\x8F\x90\x9D.TXT"),
        ROW(0x0409, "WHAT?.TXT", kInvalidName, nullptr),
    };
    for (const Row& row : rows) {
        // Every version names its files so; the real system runs the rows
        // of its own code page.
        if (!backend_->Configure(version::kWindowsNT4, row.lcid) && Language() != row.lcid) {
            continue;
        }
        TRACE_ROW(row);
        const std::string source = Put("SOURCE.TXT", "text");
        EXPECT_EQ(files_.Copy(source, Scratch(row.written), false), row.error);
        if (row.found) {
            EXPECT_EQ(StreamContent(Scratch(row.found)), "text");
            EXPECT_EQ(files_.Remove(Scratch(row.found)), 0u);
        }
    }
}

// A ":" past the drive: FAT names hold none (the Win32 reference, "Naming a
// File"; NTFS would take it for a stream name).
TEST_F(FilesTest, AColonInsideANameIsRefused) {
    ONLY_ON_BACKEND("sim", "Wine's names on the host's file system take a \":\", FAT's do not");
    const std::string source = Put("SOURCE.TXT", "text");
    EXPECT_EQ(files_.Copy(source, Scratch("ZEPHYR SCSI:RAID.TXT"), false),
              123u);  // ERROR_INVALID_NAME
}

TEST_F(FilesTest, MakeDirectoryCreatesOneLevel) {
    const std::string top = Scratch("WINDOWS");
    EXPECT_EQ(files_.MakeDirectory(top + "\\SYSTEM\\IOSUBSYS"), win_error::kPathNotFound);
    EXPECT_EQ(files_.MakeDirectory(top), 0u);
    EXPECT_EQ(files_.MakeDirectory(top + "\\"), win_error::kAlreadyExists);
    EXPECT_EQ(files_.MakeDirectory(top + "\\SYSTEM"), 0u);
    EXPECT_EQ(files_.MakeDirectory(top + "\\system"), win_error::kAlreadyExists);
    EXPECT_EQ(files_.MakeDirectory(top + "\\SYSTEM\\IOSUBSYS\\"), 0u);
    Put("WINDOWS\\SYSTEM\\IOSUBSYS\\X.MPD", "x");
    EXPECT_EQ(Content("windows\\system\\iosubsys\\x.mpd"), "x");
}

TEST_F(FilesTest, RemoveResults) {
    Put("DRVIDX.BIN", "index");
    EXPECT_EQ(files_.Remove(Scratch("drvidx.bin")), 0u);
    EXPECT_EQ(files_.Remove(Scratch("DRVIDX.BIN")), win_error::kFileNotFound);
    EXPECT_EQ(files_.Remove(Scratch("INF\\DRVIDX.BIN")), win_error::kPathNotFound);
}

TEST_F(FilesTest, RenameRefusesAnExistingTarget) {
    Put("CONFIG.tmp", "new");
    Put("CONFIG.SYS", "old");
    EXPECT_EQ(files_.Rename(Scratch("CONFIG.tmp"), Scratch("CONFIG.SYS")),
              win_error::kAlreadyExists);
    EXPECT_EQ(Content("CONFIG.SYS"), "old");

    ASSERT_EQ(files_.Remove(Scratch("CONFIG.SYS")), 0u);
    EXPECT_EQ(files_.Rename(Scratch("CONFIG.tmp"), Scratch("CONFIG.SYS")), 0u);
    EXPECT_EQ(Content("CONFIG.SYS"), "new");
    EXPECT_EQ(files_.Remove(Scratch("CONFIG.tmp")), win_error::kFileNotFound);
    EXPECT_EQ(files_.Rename(Scratch("CONFIG.tmp"), Scratch("OTHER.SYS")), win_error::kFileNotFound);
}

TEST_F(FilesTest, ShortPathNameOfExistingAndMissingFiles) {
    Put("Long File Name.exe", "program");
    std::string shortPath = "unchanged";
    ASSERT_EQ(files_.ShortPathName(Scratch("Long File Name.exe"), 260, shortPath), 0u);
    EXPECT_EQ(StreamContent(shortPath), "program");
    const std::string name = shortPath.substr(shortPath.rfind('\\') + 1);
    EXPECT_EQ(name.find(' '), std::string::npos) << name;
    EXPECT_LE(name.size(), 12u) << name;

    shortPath = "unchanged";
    EXPECT_EQ(files_.ShortPathName(Scratch("MISSING.EXE"), 260, shortPath),
              win_error::kFileNotFound);
    EXPECT_EQ(shortPath, "unchanged");
    EXPECT_NE(files_.ShortPathName(Scratch("Long File Name.exe"), 4, shortPath), 0u);
    EXPECT_EQ(shortPath, "unchanged");
}

TEST_F(FilesTest, ByteStreams) {
    const std::string path = Put("SETUP.INI", "a longer old content");
    std::uint32_t error = 99;
    {
        FileStream out(files_, files_.CreateForWrite(path, error));
        ASSERT_TRUE(out);
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(out.Write("[Groups]\r\n"), 0u);
        EXPECT_EQ(out.Write(""), 0u);
        EXPECT_EQ(out.Write("groupX0=x"), 0u);
        EXPECT_EQ(out.Close(), 0u);
    }
    EXPECT_EQ(backend_->ReadFile(path), "[Groups]\r\ngroupX0=x");

    FileStream in(files_, files_.OpenForRead(path, error));
    ASSERT_TRUE(in);
    char buffer[16] = {};
    EXPECT_EQ(in.Read(buffer, 10), 10);
    EXPECT_EQ(std::string(buffer, 10), "[Groups]\r\n");
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 9);
    EXPECT_EQ(std::string(buffer, 9), "groupX0=x");
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 0);
}

TEST_F(FilesTest, ByteStreamsThatCannotOpen) {
    std::uint32_t error = 0;
    EXPECT_EQ(files_.OpenForRead(Scratch("MISSING.SYS"), error), 0u);
    EXPECT_EQ(error, win_error::kFileNotFound);
    EXPECT_EQ(files_.CreateForWrite(Scratch("NODIR\\SETUP.INI"), error), 0u);
    EXPECT_EQ(error, win_error::kPathNotFound);
}

TEST_F(FilesTest, DirectoriesOfTheProcess) {
    const std::string current = files_.CurrentDirectory(255);
    EXPECT_GE(current.size(), 3u);
    EXPECT_EQ(current[1], ':') << current;
    EXPECT_EQ(files_.CurrentDirectory(current.size()), "");
    EXPECT_EQ(files_.CurrentDirectory(current.size() + 1), current);

    std::string windows = "unchanged";
    ASSERT_TRUE(files_.WindowsDirectory(255, windows));
    EXPECT_EQ(windows[1], ':') << windows;
    EXPECT_NE(windows.back(), '\\') << windows;
    std::string tooSmall = "unchanged";
    EXPECT_FALSE(files_.WindowsDirectory(windows.size(), tooSmall));
    EXPECT_EQ(tooSmall, "unchanged");
}

}  // namespace
}  // namespace setup32::conformance
