// A SETUP32.INI that the run's Windows reads as nothing: the program ends
// with exit code 2 and changes nothing.
#include "check/rules/rule.h"
#include "check/script_view.h"
#include "install/run_outcome.h"

namespace setup32::check {
namespace {

std::string WhyNothingIsRead(const std::string& bytes) {
    if (bytes.empty()) return "the file is empty";
    if (bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return "it is saved as UTF-16 text, of which this Windows reads no line";
    return "this Windows reads no line of it";
}

}  // namespace

void CheckScriptUnreadable(RunFacts& facts, RuleFindings& found) {
    if (facts.plan.exitCode != static_cast<int>(ExitCode::kNoScript) ||
        !facts.run.Sim().Exists(ScriptPathOf(facts.run)))
        return;
    if (!facts.plan.copies.empty() || !facts.plan.registry.empty()) return;
    found.Add(Severity::Error, 0,
              "SETUP32.INI is there, but " + WhyNothingIsRead(facts.run.ScriptBytes()) +
                  ": setup32.exe ends with exit code 2 and installs nothing; save the script "
                  "as ANSI text with CR LF line ends");
}

}  // namespace setup32::check
