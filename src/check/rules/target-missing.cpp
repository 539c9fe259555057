// A shortcut or the uninstall entry naming a file that is not on the
// machine after the install.
#include "check/rules/code_page_findings.h"
#include "check/rules/driver_copies.h"
#include "check/rules/run_script.h"
#include "check/rules/shell_lists.h"
#include "check/script_rules.h"
#include "shellint/shell_text.h"
#include "state/context.h"

namespace setup32::check {
namespace {

void CheckShortcuts(RunFacts& facts, CodePageFindings& found) {
    ForEachShortcutLine(facts, [&](const ShortcutLine& shortcut) {
        if (!shortcut.made || shortcut.splitByGroupComma || shortcut.pastLimit ||
            PutsInRefusedGroupName(facts, shortcut.line.written))
            return;
        const std::string_view program = shortcut.fields[0];
        // A program written as an absolute path is shortcut-target's.
        if (WrittenAsFullPath(program)) return;
        const std::string target =
            shell_text::JoinPath(facts.run.Context().windowsDirText, program);
        if (facts.run.Sim().Exists(target)) return;
        found.Add(Severity::Warning, shortcut.line.number,
                  "the shortcut's program " + Quoted(target) +
                      " is not on the machine after the install" + WhereInstalled(facts, target) +
                      ": the shortcut points at a missing file");
    });
}

void CheckUninstallProgram(RunFacts& facts, CodePageFindings& found) {
    const std::optional<UninstallList> uninstall = ReadUninstallList(facts);
    if (!uninstall || !uninstall->NamesProgram() || !uninstall->command) return;
    const std::string program = UninstallProgramOf(*uninstall->command);
    if (program.empty() || facts.run.Sim().Exists(program)) return;
    found.Add(Severity::Warning, uninstall->section.lines.front().number,
              "the uninstall program " + Quoted(program) +
                  " is not on the machine after the install" + WhereInstalled(facts, program) +
                  ": the uninstall entry names a missing file");
}

}  // namespace

void CheckTargetMissing(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    CheckShortcuts(facts, found);
    CheckUninstallProgram(facts, found);
}

}  // namespace setup32::check
