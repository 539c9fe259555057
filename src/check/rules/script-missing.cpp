// A medium without SETUP32.INI: the program changes nothing.
#include "check/rules/rule.h"
#include "check/script_view.h"

namespace setup32::check {

void CheckScriptMissing(RunFacts& facts, RuleFindings& found) {
    if (!facts.run.ScriptBytes().empty() || facts.run.Sim().Exists(ScriptPathOf(facts.run))) return;
    found.Add(Severity::Error, 0,
              "there is no SETUP32.INI in the medium: Start shows that the setup script cannot be "
              "found (message 50), the program changes nothing and ends with exit code 2");
}

}  // namespace setup32::check
