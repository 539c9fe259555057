// A [Display] whose bShow is not "YES": the install runs without the dialog.
#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {

void CheckSilentInstall(RunFacts& facts, RuleFindings& found) {
    if (FindSection(facts, script_names::kDisplay) == nullptr || facts.run.ShownMode()) return;
    const ProfileLine* show = DisplayLine(facts, script_names::kShow);
    found.Add(Severity::Note, show == nullptr ? 0 : show->number,
              "bShow is not \"YES\": the install runs at once without the dialog and ends "
              "without the restart question");
}

}  // namespace setup32::check
