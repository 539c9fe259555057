// The rules that judge what a run did: each on a medium of its own, the
// whole table of its findings in order, the case where it must stay silent
// beside the one where it fires.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check_table.h"

namespace setup32::check {
namespace {

TEST(CheckEffects, EachRuleOnItsMedium) {
    ExpectTables({
        // The install record names each file by its path: line 12's path of
        // 256 characters is a value name Windows 95 refuses, line 11's of
        // 255 is not, and NT takes both. Line 15's extra file, a drive
        // inside the Windows directory's path, can be no file; line 14's can.
        // The refused write is said on its line only, not once more on none.
        {"rule-registry-write-fails",
         {"win95", "nt40"},
         {{"registry-write-fails", "win95 en", 12, E, {}},
          {"registry-write-fails", "win95 en", 15, W, {}}}},
        // Windows 95: line 11's SETUP.INI is overwritten by the program's
        // group script, line 12's DRVIDX.BIN deleted with the driver
        // database, line 13's QX7TOOLS.GRP deleted as the group's old file.
        // QX7.INI, INF\QX7.INF, QX7.GRP (no group of that name) and a
        // CONFIG.SYS that the [Modify] editor edits in place stay. NT 4.0:
        // the service named Scsiscan on line 5 (its image on line 6) is
        // disabled again by the program.
        {"rule-line-undone",
         {"win95", "nt40"},
         {{"line-undone", "win95 en", 11, E, {}},
          {"line-undone", "win95 en", 12, E, {}},
          {"line-undone", "win95 en", 13, E, {}},
          {"line-undone", "nt40 en", 5, E, {6}}}},
        // A UTF-16 script: 95, 98 and NT 4.0 read no line of it, which is
        // all there is to say of those runs; 2000 reads it as the text it
        // is, which is a clean script.
        {"rule-script-unreadable-utf16",
         {"win95", "win98", "nt40", "win2k"},
         {{"script-unreadable", "win95 en", 0, E, {}},
          {"script-unreadable", "win98 en", 0, E, {}},
          {"script-unreadable", "nt40 en", 0, E, {}}}},
    });
}

// The same script read in another code page names the same files: the
// rules find the same lines in Japanese.
TEST(CheckEffects, TheRulesHoldInADoubleByteCodePage) {
    CheckOptions options = OptionsFor("rule-line-undone", {"win95"});
    options.languages = {Languages()[2]};
    const std::vector<Row> expected = {{"line-undone", "win95 ja", 11, E, {}},
                                       {"line-undone", "win95 ja", 12, E, {}},
                                       {"line-undone", "win95 ja", 13, E, {}}};
    EXPECT_EQ(expected, Table(Check(options)));
}

}  // namespace
}  // namespace setup32::check
