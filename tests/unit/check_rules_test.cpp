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
    ExpectTables({
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
        // NT 4.0's driver line writes C:\WINDOWS, where an NT machine (its
        // Windows in C:\WINNT) never looks for the miniport: the finding is on
        // that line, touching Driver. 2000's line is right and silent.
        {"rule-service-image", {"nt40", "win2k"}, {{"service-image", "nt40 en", 6, E, {3}}}},
        // A shortcut title saved as UTF-8; the group name's "\xE4" is a
        // letter of code page 1252 and silent.
        {"rule-not-code-page-text", {"nt40"}, {{"not-code-page-text", "nt40 en", 8, W, {}}}},
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
        // [Display]: blanks around GroupName, a misspelt key, a key of
        // notes, a second DeviceID, a section name one letter short, a
        // second [Display]. The bad device id of line 4 counts on Windows 95
        // alone; bShow=YES and Title=QX7 are silent.
        {"rule-display-values",
         {"win95", "nt40"},
         {{"value-blanks", "every", 2, W, {}},
          {"unknown-name", "every", 7, W, {}},
          {"unknown-name", "every", 8, N, {}},
          {"repeated-name", "every", 9, W, {}},
          {"unknown-name", "every", 14, W, {}},
          {"repeated-name", "every", 16, W, {}},
          {"device-id", "win95 en", 4, W, {}}}},
        // [Modify]: blanks around entry 1; "MEM.SYS", part of HIMEM.SYS's
        // name; "<GROUp>"; key 6 after a missing 5; a key that is no
        // number. HIMEMX.SYS, close to HIMEM.SYS but no part of its name,
        // is silent.
        {"rule-modify",
         {"win95"},
         {{"silent-install", "win95 en", 3, N, {}},
          {"value-blanks", "win95 en", 8, W, {}},
          {"modify-startup-file", "win95 en", 9, E, {}},
          {"modify-placeholder", "win95 en", 10, W, {}},
          {"modify-key", "win95 en", 12, E, {}},
          {"modify-key", "win95 en", 13, W, {}}}},
        // A [Modify] whose only key is 2: the editor reads no entry.
        {"rule-modify-list",
         {"win95"},
         {{"modify-list", "win95 en", 7, W, {}}, {"modify-key", "win95 en", 8, E, {}}}},
        // Driver lines without "=", without "," and with "," before "=";
        // "/" in a destination; a relative destination; a missing source,
        // judged once though line 13 repeats it. Windows 98's section holds
        // only a comment; Windows 95, which copies, is silent.
        {"rule-driver-lines",
         {"win95", "win98"},
         {{"driver-line-malformed", "win95 en", 7, E, {}},
          {"driver-line-malformed", "win95 en", 8, E, {}},
          {"driver-line-malformed", "win95 en", 9, E, {}},
          {"dest-slash", "win95 en", 10, E, {}},
          {"dest-relative", "win95 en", 11, E, {}},
          {"copy-fails", "win95 en", 12, E, {}},
          {"platform-no-files", "win98 en", 14, E, {}}}},
        // Shortcuts, programs, extra files and [UnInstall], each with a
        // line that is right beside the one that is not: a file copied
        // there (line 10), the groups "Startup" itself and "StartupX"
        // beside "Start" (16, 14), a program on the medium (18), a
        // one-character key (22).
        {"rule-shell-lists",
         {"nt40"},
         {{"target-missing", "nt40 en", 11, W, {}},
          {"shortcut-target", "nt40 en", 12, E, {}},
          {"startup-group", "nt40 en", 13, W, {}},
          {"shortcut-dropped", "nt40 en", 15, E, {}},
          {"exec-missing", "nt40 en", 19, W, {}},
          {"key-not-one-character", "nt40 en", 20, E, {}},
          {"key-not-one-character", "nt40 en", 23, W, {}},
          {"uninstall-comment", "nt40 en", 25, W, {}}}},
        // No SETUP32.INI at all: script-missing alone, not script-unreadable
        // too.
        {"rule-script-missing", {"win95", "nt40"}, {{"script-missing", "every", 0, E, {}}}},
        // The older media, where each of these rules fires alone.
        {"mistake-bom",
         {"win95", "nt40"},
         {{"byte-order-mark", "win95 en", 1, E, {}}, {"byte-order-mark", "nt40 en", 1, E, {}}}},
        {"mistake-service",
         {"nt40"},
         {{"group-name", "nt40 en", 2, E, {}},
          {"miniport", "nt40 en", 3, E, {}},
          {"uninstall-comment", "nt40 en", 10, W, {}}}},
        {"mistake-group-comma",
         {"nt40"},
         {{"group-name-comma", "nt40 en", 2, E, {8, 12}},
          {"key-not-one-character", "nt40 en", 15, E, {}}}},
        {"mistake-display",
         {"win95", "nt40"},
         {{"group-name", "every", 2, E, {}},
          {"repeated-name", "every", 6, W, {}},
          {"service-image", "nt40 en", 13, E, {5}}}},
        {"mistake-no-display",
         {"win95", "nt40"},
         {{"modify-key", "every", 16, E, {}},
          {"modify-startup-file", "every", 18, E, {}},
          {"modify-startup-file", "every", 19, W, {}},
          {"modify-placeholder", "every", 20, W, {}},
          {"modify-key", "every", 21, E, {}},
          {"display-missing", "win95 en", 0, E, {}},
          {"display-missing", "nt40 en", 0, E, {}}}},
        // A 0-byte script: no version reads anything, one cause for all.
        {"rule-script-unreadable-empty",
         {"win95", "win98", "nt40", "win2k"},
         {{"script-unreadable", "every", 0, E, {}}}},
    });
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
