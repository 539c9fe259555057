// A [Modify] key that the CONFIG.SYS editor never reads: it reads "1", "2",
// ... up to the first missing or empty one.
#include "check/rules/code_page_findings.h"
#include "check/rules/modify_keys.h"
#include "check/rules/run_script.h"
#include "check/script_rules.h"
#include "state/script.h"

namespace setup32::check {

void CheckModifyKey(RunFacts& facts, RuleFindings& into) {
    const ProfileSection* modify = FindSection(facts, script_names::kModify);
    if (modify == nullptr) return;
    CodePageFindings found(facts, into);
    const int read = ModifyKeysRead(*modify);
    for (const ProfileLine& line : modify->lines) {
        if (!line.hasKey || IsModifyEntryRead(line, read)) continue;
        if (!IsNumber(line.key)) {
            found.Add(Severity::Warning, line.number,
                      "key " + Quoted(line.key) +
                          " of [Modify] is never read: the keys are 1, 2, 3, ...");
        } else if (line.key.front() == '0') {
            found.Add(Severity::Error, line.number,
                      "key " + line.key +
                          " of [Modify] is never read: the keys are 1, 2, 3, ..., written "
                          "without leading zeros");
        } else {
            found.Add(Severity::Error, line.number,
                      "key " + line.key + " of [Modify] is never read: the list ends at key " +
                          std::to_string(read + 1) + ", which is missing or empty");
        }
    }
}

}  // namespace setup32::check
