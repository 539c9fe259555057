// A script without [Display], or a [Display] without GroupName: the run
// takes the defaults.
#include "check/rules/byte_order_mark.h"
#include "check/rules/code_page_findings.h"
#include "check/rules/display_values.h"
#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {

void CheckDisplayMissing(RunFacts& facts, RuleFindings& into) {
    // A [Display] that the byte-order mark hides is reported with the mark.
    if (MarkHidesDisplay(facts) || facts.run.ScriptBytes().empty()) return;
    CodePageFindings found(facts, into);
    const ProfileSection* display = FindSection(facts, script_names::kDisplay);
    if (display == nullptr) {
        found.Add(Severity::Error, 0,
                  "there is no [Display] section: every value of it takes its default: " +
                      DefaultsTaken(facts) + "; write [Display] with GroupName" +
                      (OnNt(facts) ? ", Title and Driver" : " and DeviceID"));
    } else if (DisplayLine(facts, script_names::kGroupName) == nullptr) {
        found.Add(Severity::Warning, display->number,
                  "[Display] has no GroupName: the group name " + Quoted(kDefaultGroupName) +
                      " names the product key, the program group and the uninstall entry; write "
                      "GroupName=<your product's name>");
    }
}

}  // namespace setup32::check
