// A [Display] value or [Modify] entry longer than the program's buffer for
// it: the program cuts the rest off.
#include "check/rules/code_page_findings.h"
#include "check/rules/display_values.h"
#include "check/rules/run_script.h"
#include "check/script_rules.h"
#include "state/context.h"
#include "state/script.h"
#include "sysconfig/sysconfig.h"

namespace setup32::check {

void CheckValueTooLong(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    if (FindSection(facts, script_names::kDisplay) != nullptr) {
        for (const KeyedValue& keyed : kDisplayValues) {
            const ProfileLine* line = DisplayLine(facts, keyed.key);
            if (line == nullptr || line->value.size() < keyed.capacity) continue;
            found.Add(Severity::Error, line->number,
                      "the value of " + Quoted(keyed.key) + " is " +
                          std::to_string(line->value.size()) + " bytes; the program takes " +
                          std::to_string(keyed.capacity - 1) +
                          " and cuts the rest off: the cut value " + keyed.effect);
        }
    }
    // Every numbered entry, whether the editor reads it or not.
    const ProfileSection* modify = FindSection(facts, script_names::kModify);
    if (modify == nullptr) return;
    for (const ProfileLine& line : modify->lines) {
        if (!line.hasKey || !IsNumber(line.key) || line.value.size() < kModifyEntryCapacity)
            continue;
        found.Add(Severity::Error, line.number,
                  "the value is " + std::to_string(line.value.size()) +
                      " bytes; the program takes " + std::to_string(kModifyEntryCapacity - 1) +
                      " and cuts the rest off");
    }
}

}  // namespace setup32::check
