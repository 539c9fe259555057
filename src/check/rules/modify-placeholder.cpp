// "<GROUp>" in a [Modify] entry: the editor does not replace it, so the
// entry looks for the placeholder as written.
#include "check/rules/code_page_findings.h"
#include "check/rules/modify_keys.h"
#include "check/script_view.h"

namespace setup32::check {

void CheckModifyPlaceholder(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const ProfileLine* line : ModifyEntriesRead(facts)) {
        if (line->value.empty() || line->value.front() == ';' || !HoldsPlaceholder(line->value))
            continue;
        found.Add(Severity::Warning, line->number,
                  "\"<GROUp>\" is not replaced in [Modify]: the entry removes the lines that hold "
                  "its file name as written; write the name itself");
    }
}

}  // namespace setup32::check
