// An Execute line whose program is not there to start: starting it fails
// and nothing is said.
#include "check/rules/code_page_findings.h"
#include "check/rules/shell_lists.h"
#include "check/script_rules.h"

namespace setup32::check {

void CheckExecMissing(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    ForEachProgramLine(facts, [&](const ProgramLine& program) {
        if (!program.fits || program.pastLimit ||
            !StartedFile(program.commandLine, facts.run.Sim()).empty())
            return;
        std::string file = program.commandLine.substr(0, program.commandLine.find(' '));
        if (file.find('.', file.rfind('\\') + 1) == std::string::npos) file += ".EXE";
        found.Add(Severity::Warning, program.line.number,
                  "the program " + Quoted(file) +
                      " is not on the medium: starting it fails and nothing is said");
    });
}

}  // namespace setup32::check
