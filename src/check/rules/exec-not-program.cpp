// An Execute line whose file is there but is no program: WinExec refuses
// it, and the customer sees nothing.
#include "check/rules/rule.h"
#include "platform/sim/sim_desktop.h"

namespace setup32::check {

void CheckExecNotProgram(RunFacts& facts, RuleFindings& found) {
    for (const ProgramPlan& program : facts.plan.programs) {
        if (program.answer != platform::sim::kExecNotAProgram) continue;
        found.Add(Severity::Warning, program.line,
                  "the line starts " + Quoted(program.image) +
                      ", which is no program: WinExec answers 11 (the file is not one Windows "
                      "runs) and nothing is opened; start a program (.EXE, .COM, .BAT), or show "
                      "the document through a shortcut");
    }
}

}  // namespace setup32::check
