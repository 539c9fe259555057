// The checker's findings on whole media: for each medium one table of
// (run, line, severity, words of the message), compared whole and in order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/dry_run.h"
#include "check/medium.h"
#include "check/plan.h"
#include "check/rules/rule.h"
#include "check/version_findings.h"
#include "host_files.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"

namespace setup32::check {
namespace {

namespace fs = std::filesystem;

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;
constexpr Severity N = Severity::Note;

// One expected finding: the run ("every" for the findings every run has,
// else "nt40 en"), the line, the severity, words the message holds and,
// where given, the rule that gives it.
struct Row {
    std::string run;
    int line;
    Severity severity;
    std::vector<std::string> words;
    std::string rule = {};
};

std::vector<PlatformInfo> PlatformsNamed(const std::vector<std::string>& names) {
    std::vector<PlatformInfo> chosen;
    for (const PlatformInfo& platform : Platforms()) {
        if (std::find(names.begin(), names.end(), platform.name) != names.end())
            chosen.push_back(platform);
    }
    return chosen;
}

std::vector<LanguageInfo> LanguagesNamed(const std::vector<std::string>& names) {
    std::vector<LanguageInfo> chosen;
    for (const LanguageInfo& language : Languages()) {
        if (std::find(names.begin(), names.end(), language.name) != names.end())
            chosen.push_back(language);
    }
    return chosen;
}

CheckResult Check(const fs::path& medium, const std::vector<std::string>& platforms,
                  const std::vector<std::string>& languages = {"en"},
                  const std::string& windowsDir = "") {
    CheckOptions options;
    options.windowsDir = windowsDir;
    options.medium = medium;
    options.platforms = PlatformsNamed(platforms);
    options.languages = LanguagesNamed(languages);
    std::string whyNot;
    const std::optional<CheckResult> result = CheckMedium(options, whyNot);
    EXPECT_TRUE(result) << whyNot;
    return result.value_or(CheckResult{});
}

std::string DescribeFinding(const std::string& run, const Finding& f) {
    return run + " | " + std::to_string(f.line) + " | " + SeverityName(f.severity) + " | " +
           f.message;
}

// The findings of the result, the common ones first, then each run's.
std::vector<std::pair<std::string, Finding>> FindingsInOrder(const CheckResult& result) {
    std::vector<std::pair<std::string, Finding>> table;
    for (const Finding& finding : result.common) table.emplace_back("every", finding);
    for (const RunResult& run : result.runs) {
        for (const Finding& finding : run.findings)
            table.emplace_back(std::string(run.platform.name) + " " + run.language.name, finding);
    }
    return table;
}

void ExpectTable(const CheckResult& result, const std::vector<Row>& expected) {
    const auto table = FindingsInOrder(result);
    std::ostringstream actual;
    for (const auto& [run, finding] : table)
        actual << "  " << DescribeFinding(run, finding) << "\n";
    ASSERT_EQ(expected.size(), table.size()) << "the findings:\n" << actual.str();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Row& row = expected[i];
        const auto& [run, finding] = table[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + DescribeFinding(run, finding));
        EXPECT_EQ(row.run, run);
        EXPECT_EQ(row.line, finding.line);
        EXPECT_EQ(row.severity, finding.severity);
        if (!row.rule.empty()) {
            EXPECT_EQ(row.rule, finding.rule);
        }
        for (const std::string& words : row.words) {
            EXPECT_NE(std::string::npos, finding.message.find(words)) << words;
        }
    }
}

// --- clean media: no warning and no error in any style ---

TEST(CheckFindings, CleanStylesGiveNoWarningOrError) {
    const struct {
        const char* medium;
        std::vector<std::string> languages;
    } clean[] = {
        {"clean-comments", {"en", "zh", "ja"}},
        {"clean-mixed-case", {"en"}},
        {"clean-all-platforms", {"en", "zh", "ja"}},
        {"clean-lf", {"en"}},
        {"vendor", {"ja"}},  // a Shift-JIS group name on a Japanese system
    };
    for (const auto& medium : clean) {
        SCOPED_TRACE(medium.medium);
        const CheckResult result =
            Check(kMedia / medium.medium, {"win95", "win98", "nt40", "win2k"}, medium.languages);
        ExpectTable(result, {});
        EXPECT_EQ(0, ExitStatus(result));
    }
}

// --- the mistakes of a new vendor, each on its line ---

TEST(CheckFindings, MistakesMediumNamesEachMistakeOnItsLine) {
    const CheckResult result =
        Check(kMedia / "mistakes", {"win95", "win98", "nt40", "win2k"}, {"en", "ja"});
    const std::vector<std::string> noFiles = {"copies no file on Windows"};
    const Row notText = {"", 21, W, {"not text in code page 1252"}};
    const Row uninstallMissing = {
        "", 28, W, {"ASUNINST.EXE\" is not on the machine", "(no driver line copies it)"}};
    const auto in = [](std::string run, Row row) {
        row.run = std::move(run);
        return row;
    };
    std::vector<Row> expected = {
        {"every", 3, N, {"bShow is not \"YES\""}},
        {"every", 4, W, {"key \"DeviceIDs\"", "closest known key is \"DeviceID\""}},
        {"every", 5, W, {"key \"Titel\"", "\"Title\""}},
        {"every", 8, W, {"[Win98 Driver File] is never read", "[Win98 Driver Files]"}},
        {"every", 32, E, {"key 3 of [Modify] is never read", "ends at key 2"}},
        {"win95 en", 0, E, {"copies no file on Windows 95", "Windows 98 and Windows NT 4.0"}},
        in("win95 en", notText),
        in("win95 en", uninstallMissing),
        {"win95 ja", 0, E, {"copies no file on Windows 95"}},
        in("win95 ja", uninstallMissing),
        {"win98 en", 13, E, {"\"INF\\AS2940.INF\" is neither"}},
        in("win98 en", notText),
        in("win98 en", uninstallMissing),
        {"win98 ja", 13, E, {"\"INF\\AS2940.INF\" is neither"}},
        in("win98 ja", uninstallMissing),
    };
    for (const char* language : {"en", "ja"}) {
        const std::string run = std::string("nt40 ") + language;
        expected.push_back({run, 17, E, {"\"A:\\NT\\WNASPI32.DLL\" is missing", "message 42"}});
        if (run == "nt40 en") expected.push_back(in(run, notText));
        expected.insert(
            expected.end(),
            {
                {run, 24, E, {"is 65 bytes, over the 63", "not started"}},
                {run, 25, W, {"\"A:\\TOOLS\\ASINFO.EXE\" is not on the medium"}},
                {run,
                 35,
                 E,
                 {"\"C:\\TOOLS\\ASINFO.EXE\" is joined to the Windows directory",
                  "\"C:\\WINNT\\C:\\TOOLS\\ASINFO.EXE\""}},
                {run,
                 36,
                 W,
                 {"\"C:\\WINNT\\README.TXT\" is not on the machine", "(no driver line copies it)"}},
                {run, 37, W, {"the group \"Start\" is taken as the Startup group"}},
                {run,
                 40,
                 E,
                 {"is written with \"/\"", "the copy fails (Windows error 3)", "(message 42)",
                  "write \".\\INF\\AS2940.INF\""}},
                {run,
                 41,
                 E,
                 {"\"C:\\WINNT\\SYSTEM32\\DRIVERS\" names a folder", "(message 42)",
                  "write \".\\SYSTEM32\\DRIVERS\\AS2940.SYS\""}},
                {run, 42, E, {"\" .\\SYSTEM32\\AS2940.SYS\" is neither", "begins with a blank"}},
                {run, 45, W, {"key is not one character", "\"=SETUP.INI\"", "write 1=SETUP.INI"}},
            });
    }
    for (const char* language : {"en", "ja"}) {
        const std::string run = std::string("win2k ") + language;
        expected.push_back({run, 0, E, {"copies no file on Windows 2000"}});
        expected.push_back({run,
                            6,
                            E,
                            {"Driver names \"AS2940.SYS\"", "(no driver line copies it)",
                             "boot-start miniport service", "does not start the adapter"}});
        if (run == "win2k en") expected.push_back(in(run, notText));
        expected.push_back({run, 21, E, {"the title is 40 bytes, over the 31"}});
        expected.push_back(in(run, {"", 28, W, {"\"C:\\WINNT\\ASUNINST.EXE\" is not on the"}}));
    }
    ExpectTable(result, expected);
    EXPECT_EQ(2, ExitStatus(result));
}

TEST(CheckFindings, NoDisplaySectionSaysWhichDefaultsTakeOver) {
    const CheckResult result =
        Check(kMedia / "mistake-no-display", {"win95", "win98", "nt40", "win2k"});
    const std::vector<std::string> nine = {"there is no [Display] section",
                                           "\"VELKA Technology Corp\"", "device id 6E02 only"};
    const std::vector<std::string> nt = {"there is no [Display] section",
                                         "\"VELKA Technology Corp\"",
                                         "without a Driver no miniport service is registered"};
    ExpectTable(result,
                {
                    {"every", 16, E, {"key 0 of [Modify] is never read", "without leading zeros"}},
                    {"every", 18, E, {"removes the line of CONFIG.SYS that loads HIMEM.SYS"}},
                    {"every", 19, W, {"loads EMM386.EXE", "the machine still starts"}},
                    {"every", 20, W, {"\"<GROUp>\" is not replaced in [Modify]"}},
                    {"every", 21, E, {"key 01 of [Modify] is never read"}},
                    {"win95 en", 0, E, nine},
                    {"win98 en", 0, E, nine},
                    {"nt40 en", 0, E, nt},
                    {"win2k en", 0, E, nt},
                });
}

TEST(CheckFindings, ByteOrderMarkSaysWhatFallsBackAndWhatWindowsDoes) {
    const CheckResult result = Check(kMedia / "mistake-bom", {"win95", "nt40"});
    const std::vector<std::string> mark = {
        "UTF-8 byte-order mark: section [Display] is never read",
        "GroupName, Driver and DeviceID fall back to their defaults",
        "Windows reads the byte-order mark as part of the first line",
        "a trial under Wine does not show this"};
    std::vector<std::string> nine = mark;
    nine.push_back("device id 6E02 only");
    std::vector<std::string> nt = mark;
    nt.push_back("no miniport service is registered");
    ExpectTable(result, {{"win95 en", 1, E, nine}, {"nt40 en", 1, E, nt}});
}

TEST(CheckFindings, DisplayValuesAreReportedOnTheLineTheProgramReads) {
    const CheckResult result = Check(kMedia / "mistake-display", {"win95", "nt40"});
    ExpectTable(result,
                {
                    {"every",
                     2,
                     E,
                     {"GroupName is 148 bytes", "at most 147", "no uninstall entry is made"}},
                    {"every",
                     6,
                     W,
                     {"a second \"DeviceID\"", "reads the first, on line 3 (\"6E02,6E12\")"}},
                    {"nt40 en",
                     13,
                     E,
                     {"Driver names \"QX7.SYS\"",
                      "(line 13 copies it to \"C:\\WINNT\\SYSTEM32\\QX7.SYS\" instead)",
                      "image System32\\drivers\\QX7.SYS, which is not there"}},
                });
}

TEST(CheckFindings, CommasOfTheGroupNameAndKeyedLinesAreReadAsTheProgramReadsThem) {
    const CheckResult result = Check(kMedia / "mistake-group-comma", {"nt40"});
    ExpectTable(
        result,
        {
            // One cause, on the GroupName line, naming each line it splits.
            {"nt40 en",
             2,
             E,
             {"holds \",\", which splits the fields of each line it is put into",
              "line 8 copies \"A:\\DOC\\QX7 Tools\" to \" Inc..TXT,.\\HELP\\QX7 Tools, Inc..TXT\"",
              "line 12 reads the program \"HELP\\README.TXT\", the group \"QX7 Tools\" and the "
              "title \" Inc.\""}},
            {"nt40 en",
             15,
             E,
             {"key is not one character", "\"ogram=QXUNINST.EXE\"", "write 1=QXUNINST.EXE"}},
        });
}

TEST(CheckFindings, ServiceNameAndACommentedUninstallLine) {
    const CheckResult result = Check(kMedia / "mistake-service", {"nt40"});
    ExpectTable(result,
                {
                    {"nt40 en", 2, E, {"GroupName holds \"\\\"", "keys below \"QX7\""}},
                    {"nt40 en",
                     3,
                     E,
                     {"service name (Title) \"\" is empty", "registers no miniport service"}},
                    {"nt40 en",
                     10,
                     W,
                     {"first line of [UnInstall] is a comment", "never reads line 11",
                      "Windows returns a section's comment lines",
                      "a trial under Wine does not show this"}},
                });
}

// --- each limit the checker knows, at its capacity and one past ---

// A script for Windows NT 4.0 that installs cleanly, with its lines 1 to 8
// as below and `extra` from line 9 on.
struct NtScript {
    std::string groupName = "QX7";
    std::string title = "QX7";
    std::string modify = "C:\\QX\\QX6.SYS";
    std::string extra;
    std::vector<std::string> files;  // made on the medium beside NT\QX7.SYS

    std::string Text() const {
        return "[Display]\r\nGroupName=" + groupName + "\r\nTitle=" + title +
               "\r\nDriver=QX7.SYS\r\n[NT Driver Files]\r\n"
               "1=.\\NT\\QX7.SYS,.\\SYSTEM32\\DRIVERS\\QX7.SYS\r\n[Modify]\r\n1=" +
               modify + "\r\n" + extra;
    }
};

CheckResult CheckNtScript(const NtScript& script) {
    platform::sim::TempDirectory dir("setup32-check-test");
    fs::create_directories(dir.path() / "NT");
    std::ofstream(dir.path() / "NT" / "QX7.SYS", std::ios::binary) << "miniport";
    for (const std::string& file : script.files)
        std::ofstream(dir.path() / file, std::ios::binary) << "program";
    std::ofstream(dir.path() / "SETUP32.INI", std::ios::binary) << script.Text();
    // The limits are measured below NT's usual Windows directory.
    return Check(dir.path(), {"nt40"}, {"en"}, "C:\\WINNT");
}

std::string Repeated(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line + "\r\n";
    return text;
}

// Execute lines keyed 1 to 9, then letters, each starting a program of its
// own (P1.EXE, ...), with those programs.
NtScript ExecuteLines(std::size_t count) {
    NtScript script;
    script.extra = "[NT Execute]\r\n";
    for (std::size_t i = 0; i < count; ++i) {
        const std::string key(1, static_cast<char>(i < 9 ? '1' + i : 'A' + i - 9));
        script.extra += key + "=P" + key + ".EXE\r\n";
        script.files.push_back("P" + key + ".EXE");
    }
    return script;
}

TEST(CheckFindings, EachLimitAtItsCapacityAndOnePast) {
    const std::string driver = "SYSTEM32\\DRIVERS\\QX7.SYS";  // below C:\WINNT, 9 bytes
    const struct {
        const char* name;
        std::function<NtScript(std::size_t)> script;  // with the measured size
        std::size_t capacity;
        std::vector<Row> atCapacity;
        std::vector<Row> onePast;
    } limits[] = {
        {"GroupName",
         [](std::size_t n) {
             NtScript script;
             script.groupName = std::string(n, 'G');
             return script;
         },
         199,
         {},
         {{"nt40 en",
           2,
           E,
           {"\"GroupName\" is 200 bytes; the program takes 199"},
           "value-too-long"}}},
        {"GroupName of the uninstall entry",
         [&](std::size_t n) {
             NtScript script;
             script.groupName = std::string(n, 'G');
             script.extra = "[UnInstall]\r\n1=" + driver + "\r\n";
             return script;
         },
         147,
         {},
         {{"nt40 en", 2, E, {"GroupName is 148 bytes", "at most 147"}, "group-name"}}},
        {"Title",
         [](std::size_t n) {
             NtScript script;
             script.title = std::string(n, 'T');
             return script;
         },
         29,
         {},
         {{"nt40 en", 3, E, {"\"Title\" is 30 bytes; the program takes 29"}, "value-too-long"}}},
        {"[Modify] entry",
         [](std::size_t n) {
             NtScript script;
             script.modify = "C:\\QX\\" + std::string(n - 10, 'M') + ".SYS";
             return script;
         },
         254,
         {},
         {{"nt40 en", 8, E, {"the value is 255 bytes; the program takes 254"}, "value-too-long"}}},
        {"Execute command line, A:\\ included",
         [](std::size_t n) {
             const std::string program = std::string(n - 3 - 4, 'P') + ".EXE";
             NtScript script;
             script.extra = "[NT Execute]\r\n1=" + program + "\r\n";
             script.files = {program};
             return script;
         },
         63,
         {},
         {{"nt40 en", 10, E, {"is 64 bytes, over the 63", "not started"}, "command-too-long"}}},
        {"programs started",
         ExecuteLines,
         10,
         {},
         {{"nt40 en", 20, E, {"starts the first 10 programs only"}, "too-many-programs"}}},
        {"shortcut title",
         [&](std::size_t n) {
             NtScript script;
             script.extra = "[NT ShortCut]\r\n1=" + driver + ",QX7," + std::string(n, 'T') + "\r\n";
             return script;
         },
         31,
         {},
         {{"nt40 en", 10, E, {"the title is 32 bytes, over the 31"}, "shortcut-dropped"}}},
        {"shortcut group",
         [&](std::size_t n) {
             NtScript script;
             script.extra = "[NT ShortCut]\r\n1=" + driver + "," + std::string(n, 'G') + ",T\r\n";
             return script;
         },
         127,
         {},
         {{"nt40 en", 10, E, {"the group is 128 bytes, over the 127"}, "shortcut-dropped"}}},
        {"shortcuts made",
         [&](std::size_t n) {
             NtScript script;
             script.extra =
                 "[NT ShortCut]\r\n" + Repeated("1=" + driver + ",QX7,T", static_cast<int>(n));
             return script;
         },
         40,
         {},
         {{"nt40 en", 50, E, {"more than 40 shortcuts"}, "shortcut-dropped"}}},
        {"extra file's path, C:\\windows\\ included",
         [](std::size_t n) {
             NtScript script;
             script.extra = "[NT UnInstall Extra File]\r\n1=" + std::string(n - 9, 'X') + "\r\n";
             return script;
         },
         199,
         {},
         {{"nt40 en", 10, E, {"is 200 bytes, over the 199", "not recorded"}, "path-too-long"}}},
        {"uninstall program's path, C:\\windows\\ included",
         [](std::size_t n) {
             NtScript script;
             script.extra = "[UnInstall]\r\n1=" + std::string(n - 9, 'U') + "\r\n";
             return script;
         },
         179,
         {{"nt40 en", 10, W, {"is not on the machine after the install"}, "target-missing"}},
         {{"nt40 en",
           10,
           E,
           {"is 180 bytes, over the 179", "no uninstall entry is made"},
           "path-too-long"}}},
        {"list section, one byte a line end",
         [](std::size_t n) {
             NtScript script;
             script.extra = "[NT WinASPI32]\r\n" + std::string(n - 1 - 40, 'K') +
                            "=.\\NT\\QX7.SYS,.\\SYSTEM32\\DRIVERS\\QX7.SYS\r\n";
             return script;
         },
         2045,
         {},
         {{"nt40 en",
           9,
           E,
           {"[NT WinASPI32] does not fit the program's 2048-byte buffer"},
           "section-too-large"}}},
        {"[UnInstall], its comment lines counted",
         [&](std::size_t n) {
             NtScript script;
             const std::string first = "1=" + driver;
             script.extra = "[UnInstall]\r\n" + first + "\r\n;" +
                            std::string(n - first.size() - 1 - 2, 'C') + "\r\n";
             return script;
         },
         177,
         {},
         {{"nt40 en",
           9,
           E,
           {"[UnInstall] does not fit the program's 180-byte buffer",
            "its comment lines count: Windows returns a section's comment lines"},
           "section-too-large"}}},
    };
    for (const auto& limit : limits) {
        SCOPED_TRACE(limit.name);
        {
            SCOPED_TRACE("at its capacity");
            ExpectTable(CheckNtScript(limit.script(limit.capacity)), limit.atCapacity);
        }
        {
            SCOPED_TRACE("one past");
            ExpectTable(CheckNtScript(limit.script(limit.capacity + 1)), limit.onePast);
        }
    }
}

// A machine that holds a read-only file where a driver line copies to: the
// finding says what Windows does, which a trial under Wine does not show.
TEST(CheckFindings, ReadOnlyDestinationSaysWhatWindowsDoes) {
    platform::sim::TempDirectory dir("setup32-check-test");
    NtScript script;
    script.extra = "[NT WinASPI32]\r\n1=.\\NT\\QX7.SYS,.\\SYSTEM32\\QX7.DLL\r\n";
    fs::create_directories(dir.path() / "NT");
    std::ofstream(dir.path() / "NT" / "QX7.SYS", std::ios::binary) << "miniport";
    std::ofstream(dir.path() / "SETUP32.INI", std::ios::binary) << script.Text();
    CheckOptions options;
    options.medium = dir.path();
    MediumListing medium;
    std::string whyNot;
    ASSERT_TRUE(ListMedium(dir.path(), medium, whyNot)) << whyNot;
    DryRun run(options, medium, Platforms()[2], Languages()[0], whyNot);
    ASSERT_TRUE(run.Ready()) << whyNot;
    run.Sim().WriteFile("C:\\WINNT\\SYSTEM32\\QX7.DLL", "an older copy");
    run.Sim().SetAttributes("C:\\WINNT\\SYSTEM32\\QX7.DLL", platform::kFileAttributeReadOnly);
    run.Run();
    const std::vector<ProfileSection> layout =
        ReadProfileLayout(run.ScriptBytes(), &run.Sim().machine().host);
    const Plan plan = PlanOf(run, layout);
    RunFacts facts{run, layout, plan};
    const std::vector<Finding> found = RunRuleFindings(facts);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(Finding({Severity::Error, 10,
                       "the file is not copied to \"C:\\WINNT\\SYSTEM32\\QX7.DLL\": the "
                       "destination is read-only (Windows error 5): Windows' CopyFileA refuses "
                       "to replace a read-only destination, with error 5; a trial under Wine "
                       "does not show this (Wine's CopyFileA replaces a read-only destination)",
                       "copy-fails"}),
              found[0])
        << found[0].message;
}

// --- the differences of a Windows version met in a run ---

using platform::sim::VersionDifference;
using platform::sim::VersionDifferenceMet;

platform::sim::SimMachine& Machine() {
    static platform::sim::SimMachine sim;
    return sim;
}

// One finding a difference and file, on the first line met, under the
// difference's id; what the source leaves open is a warning.
TEST(CheckFindings, VersionDifferencesGiveOneFindingPerDifferenceAndFile) {
    const std::string script = "A:\\SETUP32.INI";
    const std::vector<VersionDifferenceMet> met = {
        {"win9x-control-char", "A:\\SETUP32.INI", 3},
        {"win9x-control-char", "a:\\setup32.ini", 1},
        {"win9x-control-char", "A:\\SETUP32.INI", 3},
        {"win9x-control-char", "A:\\SETUP32.INI", 9},
        {"win9x-profile-64k", "A:\\SETUP32.INI", 2000},
        {"key-size", "HKEY_LOCAL_MACHINE\\Software\\X", 0},
    };
    const VersionDifference keySize = {"key-size", "95", "a key holds at most 64 KB of data",
                                       "Microsoft's knowledge base", true};
    const auto lookup = [&](std::string_view id) -> const VersionDifference& {
        return id == "key-size" ? keySize : platform::sim::VersionDifferenceById(id);
    };
    const std::vector<RuledFinding> found =
        RuledVersionDifferenceFindings(met, script, Machine().machine().host, lookup);
    struct Expected {
        std::string_view rule;
        Severity severity;
        int line;
    };
    const std::vector<Expected> expected = {
        {"win9x-control-char", Severity::Warning, 1},
        {"win9x-profile-64k", Severity::Warning, 2000},
        {"key-size", Severity::Error, 0},
    };
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].rule);
        EXPECT_EQ(found[i].rule, expected[i].rule);
        EXPECT_EQ(found[i].finding.severity, expected[i].severity);
        EXPECT_EQ(found[i].finding.line, expected[i].line);
    }
    // The reference's own sentence, the lines after the first, and doubt.
    const std::string& control = found[0].finding.message;
    for (const char* words : {"Strings containing control characters may be truncated.",
                              "the same holds for 2 more lines of the script, up to line 9",
                              "the result there is uncertain"}) {
        EXPECT_NE(std::string::npos, control.find(words)) << words << "\n" << control;
    }
    EXPECT_EQ(
        "on Windows 95 a key holds at most 64 KB of data (in \"HKEY_LOCAL_MACHINE\\Software\\X\") "
        "(Microsoft's knowledge base)",
        found[2].finding.message)
        << "a certain difference says nothing of uncertainty";
    const std::vector<Finding> plain =
        VersionDifferenceFindings(met, script, Machine().machine().host, lookup);
    ASSERT_EQ(plain.size(), found.size());
    EXPECT_EQ(plain[1], found[1].finding);
    EXPECT_TRUE(VersionDifferenceFindings({}, script, Machine().machine().host).empty());
}

// The sample saved with CR-only line ends: Windows NT 4.0 and 2000 read it
// as the sample; on Windows 95 and 98 its first line, a comment, runs on over
// every lone CR to the end of the file, and that line is named.
TEST(CheckFindings, ScriptWithLoneCrsIsFoundForWindows95And98Only) {
    platform::sim::TempDirectory dir("setup32-check-test");
    const fs::path medium = dir.path() / "medium";
    fs::copy(kProjectRoot / "examples" / "medium", medium, fs::copy_options::recursive);
    std::ifstream in(medium / "SETUP32.INI", std::ios::binary);
    std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t at = script.find("\r\n"); at != std::string::npos;
         at = script.find("\r\n", at))
        script.erase(at + 1, 1);
    std::ofstream(medium / "SETUP32.INI", std::ios::binary | std::ios::trunc) << script;

    const std::vector<std::string> all = {"win95", "win98", "nt40", "win2k"};
    const CheckResult crOnly = Check(medium, all);
    const CheckResult sample = Check(kProjectRoot / "examples" / "medium", all);
    const std::string sentence = "Strings containing control characters may be truncated.";
    ASSERT_EQ(4u, crOnly.runs.size());
    for (std::size_t i = 0; i < crOnly.runs.size(); ++i) {
        const RunResult& run = crOnly.runs[i];
        SCOPED_TRACE(run.platform.name);
        const bool nine = run.platform.version == platform::sim::version::kWindows95 ||
                          run.platform.version == platform::sim::version::kWindows98;
        std::vector<Finding> control;
        std::copy_if(
            run.findings.begin(), run.findings.end(), std::back_inserter(control),
            [&](const Finding& f) { return f.message.find(sentence) != std::string::npos; });
        if (!nine) {
            EXPECT_EQ(sample.runs[i].findings, run.findings);
            EXPECT_EQ(sample.runs[i].plan.copies.size(), run.plan.copies.size());
            continue;
        }
        ASSERT_EQ(1u, control.size());
        EXPECT_EQ(Severity::Warning, control[0].severity);
        EXPECT_EQ(1, control[0].line);
    }
}

}  // namespace
}  // namespace setup32::check
