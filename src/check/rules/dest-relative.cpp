// A destination that is neither ".\" nor absolute: the file is written
// below the start directory, on the medium.
#include "check/rules/code_page_findings.h"
#include "check/rules/driver_copies.h"
#include "check/script_rules.h"

namespace setup32::check {

void CheckDestRelative(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const DriverLine& line : JudgedDriverLines(facts)) {
        const std::string& destination = line.item.destination;
        if (WrittenWithSlash(line) || IsAbsolute(destination)) continue;
        const bool blank = !destination.empty() && destination.front() == ' ';
        found.Add(Severity::Error, line.number,
                  "the destination " + Quoted(destination) +
                      " is neither \".\\\" nor absolute: the file is written below the start "
                      "directory, on the medium, and recorded with that relative path" +
                      (blank ? "; it begins with a blank: write no blanks around the \",\""
                             : "; write \".\\\" before a path below the Windows directory"));
    }
}

}  // namespace setup32::check
