// An Execute line past the programs the program starts after the install.
#include "check/rules/shell_lists.h"
#include "state/shell_state.h"

namespace setup32::check {

void CheckTooManyPrograms(RunFacts& facts, RuleFindings& found) {
    ForEachProgramLine(facts, [&](const ProgramLine& program) {
        if (!program.pastLimit) return;
        found.Add(Severity::Error, program.line.number,
                  "the program is not started: the program starts the first " +
                      std::to_string(kMaxPrograms) + " programs only");
    });
}

}  // namespace setup32::check
