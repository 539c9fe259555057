// A UTF-8 byte-order mark before the script's first section: Windows reads
// it as part of that section's name, so the section is never read.
#include "check/rules/byte_order_mark.h"
#include "check/rules/code_page_findings.h"
#include "check/rules/display_values.h"
#include "check/rules/platforms.h"

namespace setup32::check {

void CheckByteOrderMark(RunFacts& facts, RuleFindings& into) {
    const std::optional<std::string> hidden = SectionHiddenByMark(facts);
    if (!hidden) return;
    CodePageFindings found(facts, into);
    found.Add(Severity::Error, 1,
              "the script starts with a UTF-8 byte-order mark: section [" + *hidden +
                  "] is never read" +
                  (MarkHidesDisplay(facts)
                       ? ", so GroupName, Driver and DeviceID fall back to their defaults: " +
                             DefaultsTaken(facts)
                       : std::string()) +
                  "; " + WindowsAgainstWine("utf8-bom") +
                  "; save the script as ANSI text, without the mark");
}

}  // namespace setup32::check
