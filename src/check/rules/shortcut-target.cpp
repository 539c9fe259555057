// A shortcut's program written as an absolute path: the program joins it
// to the Windows directory, so the shortcut points at a path that cannot
// exist.
#include "check/rules/code_page_findings.h"
#include "check/rules/run_script.h"
#include "check/rules/shell_lists.h"
#include "check/script_rules.h"
#include "shellint/shell_text.h"
#include "state/context.h"

namespace setup32::check {

void CheckShortcutTarget(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    ForEachShortcutLine(facts, [&](const ShortcutLine& shortcut) {
        if (!shortcut.made || shortcut.splitByGroupComma || shortcut.pastLimit ||
            PutsInRefusedGroupName(facts, shortcut.line.written))
            return;
        const std::string_view program = shortcut.fields[0];
        if (!WrittenAsFullPath(program)) return;
        found.Add(Severity::Error, shortcut.line.number,
                  "the shortcut's program " + Quoted(program) +
                      " is joined to the Windows directory: the shortcut points at " +
                      Quoted(shell_text::JoinPath(facts.run.Context().windowsDirText, program)) +
                      ", which cannot exist; write a path below the Windows directory (such as "
                      "HELP\\README.TXT) and copy the file there with a driver line");
    });
}

}  // namespace setup32::check
