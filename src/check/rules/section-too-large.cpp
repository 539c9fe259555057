// A list section that does not fit the program's buffer once "<GROUp>" is
// replaced: the program skips it whole.
#include <algorithm>

#include "check/rules/code_page_findings.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "check/script_view.h"
#include "shellint/shell_text.h"

namespace setup32::check {

void CheckSectionTooLarge(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const auto& [name, capacity] : ListSectionsRead(facts.run.OsKind())) {
        const ListSection section = ReadListSection(facts.run, facts.layout, name, capacity);
        if (!section.tooLarge || section.layout == nullptr) continue;
        const bool comments =
            std::any_of(section.lines.begin(), section.lines.end(),
                        [](const auto& l) { return shell_text::IsComment(l.text); });
        found.Add(
            Severity::Error, section.layout->number,
            "section [" + name + "] does not fit the program's " + std::to_string(capacity) +
                "-byte buffer (with \"<GROUp>\" replaced): the program skips it whole" +
                (comments ? "; its comment lines count: " + WindowsAgainstWine("comment-lines")
                          : std::string()));
    }
}

}  // namespace setup32::check
