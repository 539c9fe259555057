// A shortcut line whose shortcut the program does not make: an entry its
// reader refuses, or one past the shortcuts it makes.
#include "check/rules/code_page_findings.h"
#include "check/rules/shell_lists.h"
#include "check/script_rules.h"
#include "shellint/shell_integration.h"
#include "state/context.h"
#include "state/shell_state.h"

namespace setup32::check {

void CheckShortcutDropped(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    const std::string& windowsDir = facts.run.Context().windowsDirText;
    ForEachShortcutLine(facts, [&](const ShortcutLine& shortcut) {
        // A line that the group name's commas split is reported on the GroupName line.
        if (shortcut.splitByGroupComma) return;
        if (!shortcut.made) {
            found.Add(Severity::Error, shortcut.line.number,
                      "the shortcut is not made: " +
                          ShortcutProblem(windowsDir, ShortcutValue(shortcut.line.text)));
        } else if (shortcut.pastLimit) {
            found.Add(Severity::Error, shortcut.line.number,
                      "more than " + std::to_string(kMaxShortcuts) +
                          " shortcuts: the program makes the first " +
                          std::to_string(kMaxShortcuts) + " and drops this one and the rest");
        }
    });
}

}  // namespace setup32::check
