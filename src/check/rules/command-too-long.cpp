// An Execute line whose command line, joined to the working directory, is
// longer than the program's buffer: the program is not started.
#include "check/rules/code_page_findings.h"
#include "check/rules/shell_lists.h"
#include "state/shell_state.h"

namespace setup32::check {

void CheckCommandTooLong(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    ForEachProgramLine(facts, [&](const ProgramLine& program) {
        if (program.fits) return;
        found.Add(Severity::Error, program.line.number,
                  "the command line " + Quoted(program.commandLine) + " is " +
                      std::to_string(program.commandLine.size()) + " bytes, over the " +
                      std::to_string(shell_capacity::kCommandLine - 1) +
                      " the program takes: the program is not started");
    });
}

}  // namespace setup32::check
