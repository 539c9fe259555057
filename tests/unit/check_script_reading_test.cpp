// What the checker says the program read of the script, as Windows gives it
// the script and as Wine does: the two differences of reading that Wine
// has (a UTF-8 byte-order mark read past, comment lines left out of a
// section read), each where it changes what the run reads and at the
// section buffer's edge.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/script_reading.h"
#include "check/text_encoding.h"
#include "platform/sim/temp_directory.h"
#include "state/context.h"

namespace setup32::check {
namespace {

namespace fs = std::filesystem;

class Medium {
  public:
    explicit Medium(const std::string& script) {
        std::ofstream(dir_.path() / "SETUP32.INI", std::ios::binary) << script;
    }
    // The one run of Windows 95 in English.
    RunResult Check() const {
        CheckOptions options;
        options.medium = dir_.path();
        options.platforms = {Platforms()[0]};
        options.languages = {Languages()[0]};
        std::string whyNot;
        const std::optional<CheckResult> result = CheckMedium(options, whyNot);
        EXPECT_TRUE(result) << whyNot;
        return result ? result->runs.front() : RunResult{};
    }

    void RemoveScript() const { fs::remove(dir_.path() / "SETUP32.INI"); }

  private:
    platform::sim::TempDirectory dir_{"setup32-check-reading"};
};

TEST(ScriptAsWineReadsIt, CommentLinesAreBlankedAndEveryLineKeepsItsNumber) {
    EXPECT_EQ("[A]\r\n\r\n\n1=x\r\r\n", WithoutCommentLines("[A]\r\n; c\r\n \t;d\n1=x\r;e\r\n"));
    EXPECT_EQ("1=a;b\n", WithoutCommentLines("1=a;b\n"));
}

TEST(ScriptAsWineReadsIt, PastTheMarkTheTextIsUtf8InTheCodePage) {
    const std::string tools = "\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB";  // katakana, UTF-8
    EXPECT_EQ("[Display]\r\nGroupName=\x83\x63\x81\x5B\x83\x8B\r\n",
              PastByteOrderMark("\xEF\xBB\xBF[Display]\r\nGroupName=" + tools + "\r\n", 932));
    // Characters the code page lacks: the bytes stay as they were.
    EXPECT_EQ("GroupName=" + tools, PastByteOrderMark("\xEF\xBB\xBFGroupName=" + tools, 1252));
    EXPECT_EQ("\xEF\xBB[A]", PastByteOrderMark("\xEF\xBB[A]", 1252));
}

// What the demo matches against a Wine machine's names: a byte that cp1252
// leaves undefined is the character of its value there, not an escape.
TEST(ScriptAsWineReadsIt, AByteTheCodePageLeavesUndefinedIsNamedAsWineNamesIt) {
    EXPECT_EQ("\xC2\x81[\xC6\x92", ToUtf8AsWine("\x81[\x83", 1252));
    EXPECT_EQ("\\x81[", ToUtf8("\x81[", 1252));
    const RunResult run = Medium("[Display]\r\nGroupName=\x83\x63\x81\x5B\r\n").Check();
    EXPECT_EQ(
        "\xC6\x92"
        "c\xC2\x81[",
        run.wine.script.groupName);
    EXPECT_EQ(
        "HKEY_CURRENT_USER\\software\\\xC6\x92"
        "c\xC2\x81[",
        run.wine.script.productKey);
}

// Windows does not find [Display] behind the mark and takes every default;
// Wine reads past the mark and finds it.
TEST(ScriptAsWineReadsIt, AMarkGluedToDisplayHidesItFromWindowsOnly) {
    const RunResult run = Medium(
                              "\xEF\xBB\xBF[Display]\r\nGroupName=Tools\r\nDeviceID=6E12\r\n"
                              "[Win95 Driver Files]\r\n1=.\\<GROUp>.HLP,.\\HELP\\A.HLP\r\n")
                              .Check();
    EXPECT_EQ(kDefaultGroupName, run.script.groupName);
    EXPECT_EQ(0, run.script.groupNameLine);
    EXPECT_EQ(std::vector<std::string>{"6E02"}, run.script.deviceIds);
    const ScriptReading& wine = run.wine.script;
    EXPECT_EQ("Tools", wine.groupName);
    EXPECT_EQ(2, wine.groupNameLine);
    EXPECT_EQ(std::vector<std::string>{"6E12"}, wine.deviceIds);
    EXPECT_EQ(std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E12"},
              wine.deviceKeys);
    ASSERT_EQ(1u, wine.driverFiles.size());
    EXPECT_EQ(5, wine.driverFiles[0].line);
    EXPECT_EQ("A:\\Tools.HLP", wine.driverFiles[0].source.value_or(""));
    EXPECT_FALSE(wine.driverFiles[0].sourceFound);
    EXPECT_TRUE(wine.driverFiles[0].usesGroup);
    EXPECT_TRUE(run.wine.byteOrderMark);
    EXPECT_EQ("Display", run.wine.hiddenSection);
    EXPECT_TRUE(run.wine.commented.empty());
}

// 19 lines of 100 bytes with their terminators, and a comment line that
// brings the section to `total` bytes.
std::string DriverSectionOf(std::size_t total) {
    std::string section = "[Win95 Driver Files]\r\n";
    for (int i = 0; i < 19; ++i) section += "1=" + std::string(97, 'A') + "\r\n";
    return section + ";" + std::string(total - 1900 - 2, 'c') + "\r\n";
}

TEST(ScriptAsWineReadsIt, CommentLinesPushASectionToTheBufferOnWindowsOnly) {
    // The program skips a section that fills its buffer to two bytes short.
    for (const std::size_t total : {std::size_t{2046}, std::size_t{2045}}) {
        const RunResult run = Medium(DriverSectionOf(total)).Check();
        ASSERT_EQ(1u, run.wine.commented.size()) << total;
        const CommentedSection& section = run.wine.commented.front();
        EXPECT_EQ("Win95 Driver Files", section.name);
        EXPECT_EQ(1, section.comments);
        EXPECT_EQ(2048u, section.capacity);
        EXPECT_EQ(total == 2046, section.skippedOnWindowsOnly) << total;
        EXPECT_FALSE(section.uninstallEntry);
        EXPECT_EQ(total == 2046 ? 0u : 19u, run.script.driverFiles.size()) << total;
        EXPECT_EQ(19u, run.wine.script.driverFiles.size()) << total;
        EXPECT_FALSE(run.wine.byteOrderMark);
    }
}

TEST(ScriptAsWineReadsIt, ACommentFirstInUnInstallLeavesTheEntryOutOnWindowsOnly) {
    const RunResult run =
        Medium("[Display]\r\nGroupName=Tools\r\n[UnInstall]\r\n; the uninstaller\r\n1=UN.EXE\r\n")
            .Check();
    ASSERT_EQ(1u, run.wine.commented.size());
    EXPECT_TRUE(run.wine.commented[0].firstLineComment);
    EXPECT_TRUE(run.wine.commented[0].uninstallEntry);
    EXPECT_EQ("", run.script.uninstallKey);
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Tools",
              run.wine.script.uninstallKey);
}

TEST(ScriptAsWineReadsIt, AScriptBothReadAlikeIsReadOnce) {
    const RunResult run = Medium("[Display]\r\nGroupName=Tools\r\nbShow=NO\r\n").Check();
    EXPECT_TRUE(run.script.found);
    EXPECT_TRUE(run.script.silent);
    EXPECT_EQ(run.script.productKey, run.wine.script.productKey);
    EXPECT_EQ(run.script.groupName, run.wine.script.groupName);
    Medium without("");
    without.RemoveScript();
    const RunResult none = without.Check();
    EXPECT_FALSE(none.script.found);
    EXPECT_FALSE(none.wine.script.found);
    EXPECT_TRUE(none.wine.script.driverFiles.empty());
}

}  // namespace
}  // namespace setup32::check
