// The checker on whole media: the sample medium, the medium with a new
// vendor's mistakes, and input that is no medium at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/report.h"
#include "host_files.h"
#include "platform/sim/temp_directory.h"

namespace setup32::check {
namespace {

namespace fs = std::filesystem;

CheckOptions AllRuns(const fs::path& medium) {
    CheckOptions options;
    options.medium = medium;
    options.platforms = Platforms();
    options.languages = Languages();
    return options;
}

std::vector<Finding> AllFindings(const CheckResult& result) {
    std::vector<Finding> all = result.common;
    for (const RunResult& run : result.runs)
        all.insert(all.end(), run.findings.begin(), run.findings.end());
    return all;
}

TEST(CheckMedium, SampleMediumInstallsEverywhereWithoutError) {
    std::string whyNot;
    const auto result = CheckMedium(AllRuns(kProjectRoot / "examples" / "medium"), whyNot);
    ASSERT_TRUE(result) << whyNot;
    ASSERT_EQ(12u, result->runs.size());
    for (const Finding& finding : AllFindings(*result)) {
        EXPECT_NE(Severity::Error, finding.severity) << finding.line << ": " << finding.message;
    }
    for (const RunResult& run : result->runs) {
        SCOPED_TRACE(std::string(run.platform.name) + " " + run.language.name);
        EXPECT_EQ(4u, run.plan.copies.size());
        for (const CopyRecord& copy : run.plan.copies) EXPECT_EQ(0u, copy.error) << copy.source;
        EXPECT_FALSE(run.plan.uninstallKey.empty());
        EXPECT_TRUE(run.plan.restartAsked);
        EXPECT_EQ(2u, run.plan.programs.size()) << "the group converter and the Execute program";
        // Windows 9x loses the adapter's enumeration key, the NT family its scanner service.
        const bool nt = (run.platform.version & 0x80000000u) == 0;  // GetVersion's NT bit
        const std::string changed =
            nt ? "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Scsiscan"
               : "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02";
        EXPECT_TRUE(std::any_of(run.plan.registry.begin(), run.plan.registry.end(),
                                [&](const RegistryChange& change) {
                                    return change.key == changed && !change.value &&
                                           change.after.has_value() == nt;
                                }))
            << changed;
    }
}

TEST(CheckMedium, InputThatIsNoMediumStopsTheCheckWithAReason) {
    platform::sim::TempDirectory dir("setup32-check-test");
    WriteHostFile(dir.path() / "file" / "SETUP32.INI", "[Display]\n");
    WriteHostFile(dir.path() / "huge" / "SETUP32.INI", std::string(10 * 1024 * 1024, 'x'));
    for (const fs::path& medium :
         {dir.path() / "missing", dir.path() / "file" / "SETUP32.INI", dir.path() / "huge"}) {
        std::string whyNot;
        EXPECT_FALSE(CheckMedium(AllRuns(medium), whyNot)) << medium;
        EXPECT_FALSE(whyNot.empty()) << medium;
    }
}

// Scripts and media that are odd but still a medium: the check runs to its
// end and says what it found.
TEST(CheckMedium, OddMediaAreCheckedToTheEnd) {
    std::string longModify = "[Modify]\r\n";
    for (int key = 1; key <= 10; ++key) {
        longModify += std::to_string(key) + "=C:\\" + std::string(240, 'A') + ".SYS\r\n";
    }
    const struct {
        const char* name;
        std::string script;
        Severity severity;
        const char* words;
    } cases[] = {
        {"no [Modify]", "[Display]\r\n", Severity::Warning, "message 49"},
        {"junk", std::string("\x00\xff\xfe[\x01]=\x80,\x9f\n\r\r\x1a", 14), Severity::Warning,
         "not text in code page"},
        {"bom", "\xEF\xBB\xBF[Display]\r\nGroupName=\"Disk Tools\"\r\n", Severity::Error,
         "byte-order mark"},
        {"group ends in backslash", "[Display]\r\nGroupName=Tools\\\r\n", Severity::Error,
         "GroupName ends in"},
        {"modify list over its buffer", longModify, Severity::Error, "message 48"},
        {"uninstall program's path over its buffer",
         "[UnInstall]\r\n1=" + std::string(169, 'U') + ".EXE\r\n", Severity::Error,
         "no uninstall entry is made"},
    };
    for (const auto& odd : cases) {
        SCOPED_TRACE(odd.name);
        platform::sim::TempDirectory dir("setup32-check-test");
        WriteHostFile(dir.path() / "SETUP32.INI", odd.script);
        WriteHostFile(dir.path() / "\xC4\xCE.SYS", "a name with bytes above 0x7F");
        fs::create_directory_symlink(dir.path(), dir.path() / "LOOP");
        CheckOptions options = AllRuns(dir.path());
        options.floppy = true;
        std::string whyNot;
        const auto result = CheckMedium(options, whyNot);
        ASSERT_TRUE(result) << whyNot;
        const std::vector<Finding> all = AllFindings(*result);
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&odd](const Finding& f) {
            return f.severity == odd.severity && f.message.find(odd.words) != std::string::npos;
        })) << odd.words;
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const Finding& f) {
            return f.message.find("LOOP") != std::string::npos;
        })) << "the link loop is named";
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const Finding& f) {
            return f.message.find("\xC3\x84\xC3\x8E.SYS\" is not an 8.3 name") != std::string::npos;
        })) << "the name with bytes above 0x7F, in UTF-8";
        EXPECT_FALSE(JsonReport(*result).empty());
    }
}

// The host names a file in UTF-8, the script in its code page's bytes: the
// dry run finds the file by the script's name, as Windows does, and says
// which names the code page cannot spell.
TEST(CheckMedium, NamesOfTheMediumAreGivenInTheRunsCodePage) {
    const std::string helpUtf8 = "\xE3\x83\x98\xE3\x83\xAB\xE3\x83\x97.HLP";  // katakana "help"
    const std::string helpCp932 = "\x83\x77\x83\x8B\x83\x76.HLP";
    platform::sim::TempDirectory dir("setup32-check-test");
    WriteHostFile(dir.path() / "SETUP32.INI",
                  "[Display]\r\nGroupName=Disk Tools\r\n\r\n[NT Driver Files]\r\n1=.\\TOOLS\\" +
                      helpCp932 + ",.\\HELP\\" + helpCp932 +
                      "\r\n\r\n[Modify]\r\n1=C:\\OLD.SYS\r\n");
    WriteHostFile(dir.path() / "TOOLS" / helpUtf8, "help");
    WriteHostFile(dir.path() / "TOOLS" / "\xF0\x9F\x98\x80.TXT", "a name code page 932 lacks");
    CheckOptions options = AllRuns(dir.path());
    options.platforms = {Platforms()[2]};
    options.languages = {Languages()[2]};
    std::string whyNot;
    const auto result = CheckMedium(options, whyNot);
    ASSERT_TRUE(result) << whyNot;
    ASSERT_EQ(1u, result->runs.size());
    const Plan& plan = result->runs.front().plan;
    ASSERT_EQ(1u, plan.copies.size());
    EXPECT_EQ(0u, plan.copies.front().error) << plan.copies.front().source;
    const std::vector<Finding> all = AllFindings(*result);
    EXPECT_FALSE(std::any_of(all.begin(), all.end(), [](const Finding& f) {
        return f.severity == Severity::Error;
    })) << "no source is missing";
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const Finding& f) {
        return f.severity == Severity::Warning &&
               f.message.find("\xF0\x9F\x98\x80.TXT\" has no name in code page 932") !=
                   std::string::npos;
    }));
}

}  // namespace
}  // namespace setup32::check
