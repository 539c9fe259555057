// The checker as a vendor runs it: its two reports of a small medium with
// names in Shift-JIS compared whole with golden files, the options other
// than the default machine's, and each of the checker's own limits at and
// one past its capacity.
//
// SETUP32_UPDATE_GOLDEN=1 writes the golden files anew from the reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/plan.h"
#include "check/report.h"
#include "host_files.h"
#include "platform/sim/temp_directory.h"

namespace setup32::check {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = kProjectRoot / "tests" / "golden";

// "Disk" and "Help" in katakana, as the script writes them (code page 932)
// and as the host names the file (UTF-8).
const std::string kDiskCp932 = "\x83\x66\x83\x42\x83\x58\x83\x4E";
const std::string kHelpCp932 = "\x83\x77\x83\x8B\x83\x76";
const std::string kHelpUtf8 = "\xE3\x83\x98\xE3\x83\xAB\xE3\x83\x97";

void ExpectGolden(const std::string& name, const std::string& actual) {
    const fs::path golden = kGolden / name;
    if (std::getenv("SETUP32_UPDATE_GOLDEN") != nullptr) WriteHostFile(golden, actual);
    EXPECT_EQ(ReadHostFile(golden), actual)
        << golden << " differs; SETUP32_UPDATE_GOLDEN=1 writes it anew";
}

// A Japanese vendor's medium for Windows 98 and NT 4.0: the group name and
// the help file's name in Shift-JIS, the help file named in UTF-8 on the host.
class JapaneseMedium {
  public:
    JapaneseMedium() {
        const std::string help = ".\\" + kHelpCp932 + ".HLP,.\\HELP\\<GROUp>.HLP\r\n";
        WriteHostFile(
            path() / "SETUP32.INI",
            "[Display]\r\nGroupName=" + kDiskCp932 +
                "\r\nDriver=DSKADP.SYS\r\n\r\n"
                "[Win98 Driver Files]\r\n1=.\\W98\\DSKADP.MPD,.\\SYSTEM\\IOSUBSYS\\DSKADP.MPD\r\n"
                "2=" +
                help +
                "\r\n[NT Driver Files]\r\n1=.\\NT\\DSKADP.SYS,.\\SYSTEM32\\DRIVERS\\DSKADP.SYS\r\n"
                "2=" +
                help + "\r\n[Modify]\r\n1=C:\\OLDDRV\\OLDADP.SYS\r\n");
        WriteHostFile(path() / "W98" / "DSKADP.MPD", "miniport");
        WriteHostFile(path() / "NT" / "DSKADP.SYS", "miniport driver");
        WriteHostFile(path() / (kHelpUtf8 + ".HLP"), "help");
    }
    const fs::path& path() const { return dir_.path(); }

  private:
    platform::sim::TempDirectory dir_{"setup32-check-report"};
};

CheckOptions OptionsFor(const fs::path& medium, std::vector<PlatformInfo> platforms,
                        std::vector<LanguageInfo> languages) {
    CheckOptions options;
    options.medium = medium;
    options.platforms = std::move(platforms);
    options.languages = std::move(languages);
    return options;
}

const PlatformInfo& Win98() {
    return Platforms()[1];
}
const PlatformInfo& Nt4() {
    return Platforms()[2];
}
const LanguageInfo& English() {
    return Languages()[0];
}
const LanguageInfo& Japanese() {
    return Languages()[2];
}

// In English the script's Shift-JIS name finds no file: the copy fails and
// the run ends with exit code 4; in Japanese it installs.
TEST(CheckReport, TextAndJsonOfAMediumWithShiftJisNamesAreTheGoldenOnes) {
    const JapaneseMedium medium;
    std::string whyNot;
    const auto result =
        CheckMedium(OptionsFor(medium.path(), {Win98(), Nt4()}, {English(), Japanese()}), whyNot);
    ASSERT_TRUE(result) << whyNot;
    ExpectGolden("japanese_medium.txt", TextReport(*result, PlanDetail::Full));
    ExpectGolden("japanese_medium.json", JsonReport(*result));
    // The first screen is the full report without the plans.
    const std::string full = TextReport(*result, PlanDetail::Full);
    const std::string summary = TextReport(*result);
    const std::size_t plans = full.find("== ");
    ASSERT_NE(std::string::npos, plans);
    EXPECT_EQ(full.substr(0, plans) + "Errors found. Each run's whole plan: --plans.\n", summary);
}

struct CopyRow {
    std::string source;
    std::string destination;
    std::uint32_t error;
    bool operator==(const CopyRow& other) const {
        return source == other.source && destination == other.destination && error == other.error;
    }
};

void PrintTo(const CopyRow& row, std::ostream* out) {
    *out << row.source << " -> " << row.destination << " (" << row.error << ")";
}

std::vector<CopyRow> CopyRows(const Plan& plan) {
    std::vector<CopyRow> rows;
    for (const CopyRecord& copy : plan.copies)
        rows.push_back({copy.source, copy.destination, copy.error});
    return rows;
}

std::vector<std::string> Answers(const Plan& plan) {
    std::vector<std::string> answers;
    for (const BoxPlan& box : plan.boxes) answers.push_back(box.answer);
    return answers;
}

// Yes to the retry question tries the copy once more; the file does not
// appear by asking again, so the second question is answered No.
TEST(CheckOptions, RetryAnsweredYesTriesTheCopyOnceMore) {
    const JapaneseMedium medium;
    CheckOptions options = OptionsFor(medium.path(), {Nt4()}, {English()});
    options.retry = RetryAnswer::Yes;
    std::string whyNot;
    const auto result = CheckMedium(options, whyNot);
    ASSERT_TRUE(result) << whyNot;
    const Plan& plan = result->runs.at(0).plan;
    // The Shift-JIS names as code page 1252 reads them, in UTF-8.
    const std::string f = "\xC6\x92";
    const std::string help = "A:\\" + f + "w" + f + "\xE2\x80\xB9" + f + "v.HLP";
    const std::string disk = "C:\\WINNT\\HELP\\" + f + "f" + f + "B" + f + "X" + f + "N.HLP";
    const std::vector<CopyRow> expected = {
        {"A:\\NT\\DSKADP.SYS", "C:\\WINNT\\SYSTEM32\\DRIVERS\\DSKADP.SYS", 0},
        {help, disk, 2},
        {help, disk, 2},
    };
    EXPECT_EQ(expected, CopyRows(plan));
    EXPECT_EQ((std::vector<std::string>{"Yes", "No", "No"}), Answers(plan))
        << "retried once, then given up; the restart question";
    EXPECT_EQ(4, plan.exitCode);
}

// A dot in a folder's name is no extension: the medium is found there.
TEST(CheckOptions, StartDirectoryWithADotInItsName) {
    const JapaneseMedium medium;
    CheckOptions options = OptionsFor(medium.path(), {Win98()}, {Japanese()});
    options.startDir = "D:\\DISK.V2";
    options.windowsDir = "C:\\WIN98";
    std::string whyNot;
    const auto result = CheckMedium(options, whyNot);
    ASSERT_TRUE(result) << whyNot;
    const Plan& plan = result->runs.at(0).plan;
    const std::string help = "\xE3\x83\x98\xE3\x83\xAB\xE3\x83\x97.HLP";
    const std::string disk = "\xE3\x83\x87\xE3\x82\xA3\xE3\x82\xB9\xE3\x82\xAF";
    const std::vector<CopyRow> expected = {
        {"D:\\DISK.V2\\W98\\DSKADP.MPD", "C:\\WIN98\\SYSTEM\\IOSUBSYS\\DSKADP.MPD", 0},
        {"D:\\DISK.V2\\" + help, "C:\\WIN98\\HELP\\" + disk + ".HLP", 0},
    };
    EXPECT_EQ(expected, CopyRows(plan));
    EXPECT_EQ(0, plan.exitCode);
}

// A finding of some runs is shown once, naming them; each run's line gives
// its exit code, files copied and failed, boxes, and an uncertain result.
TEST(CheckReport, FirstScreenGivesEachFindingOnceAndOneLineForEachRun) {
    const auto run = [](const PlatformInfo& platform, const LanguageInfo& language,
                        std::vector<Finding> findings) {
        RunResult result{platform, language, {}, std::move(findings)};
        result.plan.copies = {{"A:\\A.SYS", "C:\\A.SYS", 1, 0, 2},
                              {"A:\\B.HLP", "C:\\B.HLP", 0, 2, 3},
                              {"A:\\B.HLP", "C:\\B.HLP", 0, 0, 3}};
        result.plan.boxes = {{"SETUP32", "Install OK", "No"}};
        return result;
    };
    const Finding shared{Severity::Warning, 7, "seen on Windows 98", "rule-b", {9, 12}};
    // One cause in the words of two runs: given once, in the first run's.
    const Finding worded{Severity::Warning, 7, "seen on Windows 98 in Japanese", "rule-b", {9, 12}};
    const Finding once{Severity::Error, 3, "seen on Windows 95 in Japanese", "rule-a"};
    // Findings without a line are causes of their own by their words.
    const Finding medium95{Severity::Error, 0, "no file on Windows 95", "rule-c"};
    const Finding medium98{Severity::Error, 0, "no file on Windows 98", "rule-c"};
    CheckResult result;
    result.common = {{Severity::Note, 0, "seen everywhere", "rule-n"}};
    result.runs = {run(Platforms()[0], English(), {medium95}),
                   run(Platforms()[0], Japanese(), {medium95, once}),
                   run(Win98(), English(), {medium98, shared}),
                   run(Win98(), Japanese(), {medium98, worded})};
    result.runs[2].plan.exitCode = 4;
    result.runs[2].plan.uncertain = {
        {"95 98", "a lone CR does not end a profile line", "profile.c", "A:\\SETUP32.INI", {2}}};
    EXPECT_EQ(
        "Findings:\n"
        "  note [rule-n]: seen everywhere\n"
        "  error [rule-c]: no file on Windows 95\n"
        "      on Windows 95\n"
        "  error [rule-c]: no file on Windows 98\n"
        "      on Windows 98\n"
        "  error [rule-a] (line 3): seen on Windows 95 in Japanese\n"
        "      on Windows 95 (Japanese)\n"
        "  warning [rule-b] (line 7; touches 9, 12): seen on Windows 98\n"
        "      on Windows 98\n"
        "\n"
        "Runs:                   exit  copied  failed  boxes\n"
        "  Windows 95, English      0       2       0      1\n"
        "  Windows 95, Japanese     0       2       0      1\n"
        "  Windows 98, English      4       2       0      1  uncertain on Windows 98: a lone CR "
        "does not end a profile line\n"
        "  Windows 98, Japanese     0       2       0      1\n"
        "\n"
        "Errors found. Each run's whole plan: --plans.\n",
        TextReport(result));
}

TEST(CheckLimits, AScriptOfAtMostAMegabyteIsChecked) {
    for (const std::uintmax_t size : {kLargestScript, kLargestScript + 1}) {
        SCOPED_TRACE(size);
        const platform::sim::TempDirectory dir("setup32-check-limit");
        WriteHostFile(dir.path() / "SETUP32.INI", ";" + std::string(size - 3, '-') + "\r\n");
        std::string whyNot;
        const auto result = CheckMedium(OptionsFor(dir.path(), {Win98()}, {English()}), whyNot);
        if (size == kLargestScript) {
            EXPECT_TRUE(result) << whyNot;
        } else {
            EXPECT_FALSE(result);
            EXPECT_EQ("SETUP32.INI is 1048577 bytes, over 1048576: that is no setup script",
                      whyNot);
        }
    }
}

// Windows finds the script whatever the case of its name, and a directory
// of that name is no script: the program says it is missing.
TEST(CheckLimits, ADirectoryForTheScriptIsAReasonNotAnAbort) {
    const platform::sim::TempDirectory dir("setup32-check-limit");
    fs::create_directories(dir.path() / "Setup32.ini");
    std::string whyNot;
    EXPECT_FALSE(CheckMedium(OptionsFor(dir.path(), {Win98()}, {English()}), whyNot));
    EXPECT_EQ(
        "SETUP32.INI is a directory, not a file: setup32.exe takes it for a missing script "
        "(message 50, exit code 2) and installs nothing",
        whyNot);
}

// A 1.44 MB disk holds 2847 clusters of 512 bytes; each file and folder
// takes whole ones.
TEST(CheckLimits, AFloppyMediumOfAtMostTheDisksClusters) {
    for (const std::uintmax_t extra : {0, 1}) {
        SCOPED_TRACE(extra);
        const platform::sim::TempDirectory dir("setup32-check-limit");
        WriteHostFile(dir.path() / "SETUP32.INI", "[Display]\r\n");  // 1 cluster
        // The folder takes 1, the file 2845 (and one more for a byte more).
        WriteHostFile(dir.path() / "DATA" / "BIG.BIN", std::string(2845 * 512 + extra, 'x'));
        CheckOptions options = OptionsFor(dir.path(), {Win98()}, {English()});
        options.floppy = true;
        std::string whyNot;
        const auto result = CheckMedium(options, whyNot);
        ASSERT_TRUE(result) << whyNot;
        std::vector<std::string> sizeFindings;
        for (const Finding& finding : result->common) {
            if (finding.message.find("on a floppy disk") != std::string::npos)
                sizeFindings.push_back(finding.message);
        }
        const std::vector<std::string> expected =
            extra == 0 ? std::vector<std::string>{}
                       : std::vector<std::string>{
                             "the medium needs 1458176 bytes on a floppy "
                             "disk; a 1.44 MB disk holds 1457664"};
        EXPECT_EQ(expected, sizeFindings);
    }
}

}  // namespace
}  // namespace setup32::check
