// A shortcut group that is the start of "Startup": the program compares the
// field with "Startup" over the field's own length, so the shortcut lands
// in the Startup group.
#include "check/rules/code_page_findings.h"
#include "check/rules/shell_lists.h"
#include "shellint/shell_integration.h"
#include "state/ascii_text.h"

namespace setup32::check {

void CheckStartupGroup(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    ForEachShortcutLine(facts, [&](const ShortcutLine& shortcut) {
        if (!shortcut.made || shortcut.splitByGroupComma || shortcut.pastLimit) return;
        const std::string_view group = shortcut.fields[1];
        // "Startup" itself is meant; a field short of it is not.
        if (!NamesStartupGroup(group) || EqualsIgnoringCase(group, "Startup")) return;
        found.Add(Severity::Warning, shortcut.line.number,
                  "the group " + Quoted(group) +
                      " is taken as the Startup group (the program compares the field with "
                      "\"Startup\" over the field's own length): the shortcut's program starts "
                      "at every log-on; write the group's whole name");
    });
}

}  // namespace setup32::check
