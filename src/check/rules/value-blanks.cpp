// Blanks or quotes around a value that Windows strips: the program reads
// the value without them.
#include "check/rules/code_page_findings.h"
#include "check/rules/display_values.h"
#include "check/rules/modify_keys.h"
#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {

void CheckValueBlanks(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    const std::vector<std::string_view> fileLines = FileLines(facts);
    if (FindSection(facts, script_names::kDisplay) != nullptr) {
        for (const KeyedValue& keyed : kDisplayValues) {
            const ProfileLine* line = DisplayLine(facts, keyed.key);
            if (line == nullptr || RawValue(fileLines, *line) == line->value) continue;
            found.Add(Severity::Warning, line->number,
                      "blanks or quotes around the value of " + Quoted(keyed.key) +
                          ", which Windows strips: it reads " + Quoted(line->value));
        }
    }
    for (const ProfileLine* line : ModifyEntriesRead(facts)) {
        if (RawValue(fileLines, *line) == line->value) continue;
        found.Add(Severity::Warning, line->number,
                  "blanks or quotes around the value, which Windows strips: it reads " +
                      Quoted(line->value));
    }
}

}  // namespace setup32::check
