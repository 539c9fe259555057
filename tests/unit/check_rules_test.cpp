// Each rule of the checker on a medium of its own: the whole table of its
// findings (rule, run, line, severity, lines touched), in order, with the
// case where it must stay silent written beside the one where it fires.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check_table.h"

namespace setup32::check {
namespace {

TEST(CheckRules, EachRuleOnItsMedium) {
    const struct {
        const char* medium;
        std::vector<std::string> platforms;
        std::vector<Row> expected;
    } cases[] = {
        // Line 7 replaces the miniport of line 6; lines 8 and 9 copy one
        // file twice, which changes nothing.
        {"rule-dest-overwritten", {"nt40"}, {{"dest-overwritten", "nt40 en", 7, E, {6}}}},
        // The group name's "/" on line 2, once for lines 7 and 10; the title
        // of line 9 on its own line; line 11's title is a name.
        {"rule-name-refused",
         {"nt40"},
         {{"name-refused", "nt40 en", 2, E, {7, 10}}, {"name-refused", "nt40 en", 9, E, {}}}},
        // A document is no program; a batch file is one.
        {"rule-exec-not-program", {"nt40"}, {{"exec-not-program", "nt40 en", 8, W, {}}}},
        // A miniport outside SYSTEM\IOSUBSYS, a driver outside
        // SYSTEM32\DRIVERS; a .VXD in SYSTEM and the miniport in place are
        // silent.
        {"rule-driver-never-loaded",
         {"win95", "nt40"},
         {{"driver-never-loaded", "win95 en", 7, E, {}},
          {"driver-never-loaded", "nt40 en", 11, E, {}}}},
        // A note after a value; "[GROUp]" for the placeholder. "<group>",
        // a ";" inside a name and a name holding "GROUPS" are silent.
        {"rule-line-as-meant",
         {"nt40"},
         {{"inline-comment", "nt40 en", 7, W, {}}, {"placeholder-misspelt", "nt40 en", 8, W, {}}}},
        // Windows 98 alone gets no shortcut; nobody gets an INF, so none
        // is missed.
        {"rule-missing-on-platform",
         {"win95", "win98", "nt40", "win2k"},
         {{"missing-on-platform", "win98 en", 0, W, {15, 17, 19}}}},
        // Sections of notes are notes, far from any name the program reads.
        {"clean-notes",
         {"win95", "win98", "nt40", "win2k"},
         {{"unknown-name", "every", 62, N, {}},
          {"unknown-name", "every", 65, N, {}},
          {"unknown-name", "every", 68, N, {}}}},
        // An update that names no Driver.
        {"clean-update", {"win95", "win98", "nt40", "win2k"}, {}},
        // A 0-byte script: no version reads anything, one cause for all.
        {"rule-script-unreadable-empty",
         {"win95", "win98", "nt40", "win2k"},
         {{"script-unreadable", "every", 0, E, {}}}},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.medium);
        const CheckResult result = Check(each.medium, each.platforms);
        EXPECT_EQ(each.expected, Table(result));
    }
}

// A UTF-16 script: only Windows 2000's ANSI profile calls read it, so the
// three others end with exit code 2 and change nothing.
TEST(CheckRules, AUtf16ScriptIsUnreadableBefore2000) {
    std::vector<std::string> unreadableOn;
    const CheckResult result =
        Check("rule-script-unreadable-utf16", {"win95", "win98", "nt40", "win2k"});
    for (const Row& row : Table(result)) {
        if (row.rule == "script-unreadable") unreadableOn.push_back(row.run);
    }
    EXPECT_EQ((std::vector<std::string>{"win95 en", "win98 en", "nt40 en"}), unreadableOn);
}

// Notes leave the exit status at 0; a warning makes it 1, an error 2.
TEST(CheckRules, NotesAreNotCountedInTheExitStatus) {
    const std::vector<std::string> all = {"win95", "win98", "nt40", "win2k"};
    EXPECT_EQ(0, ExitStatus(Check("clean-notes", all)));
    EXPECT_EQ(1, ExitStatus(Check("rule-missing-on-platform", all)));
    EXPECT_EQ(2, ExitStatus(Check("rule-dest-overwritten", {"nt40"})));
}

}  // namespace
}  // namespace setup32::check
