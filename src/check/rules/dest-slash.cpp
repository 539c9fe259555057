// A destination written with "/": the program takes only ".\" for the
// Windows directory and makes missing folders only at "\".
#include "check/rules/code_page_findings.h"
#include "check/rules/driver_copies.h"
#include "check/script_rules.h"

namespace setup32::check {

void CheckDestSlash(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const DriverLine& line : JudgedDriverLines(facts)) {
        if (!WrittenWithSlash(line)) continue;
        const CCopyListItem& item = line.item;
        const std::uint32_t error = LastCopyError(facts.run, item).value_or(0);
        const std::string outcome =
            error == 0 ? "the file is written to " + Quoted(item.destination) +
                             ", below the start directory, on the medium"
                       : "the copy fails (Windows error " + std::to_string(error) +
                             ") and the customer is asked whether the destination may be "
                             "write-protected (message 42)";
        const std::size_t comma = line.written.find(',', line.written.find('='));
        found.Add(Severity::Error, line.number,
                  "the destination " + Quoted(item.destination) +
                      " is written with \"/\": the program takes only \".\\\" for the Windows "
                      "directory and makes a missing folder only at \"\\\", so " +
                      outcome + "; write " +
                      Quoted(WithBackslashes(line.written.substr(comma + 1))));
    }
}

}  // namespace setup32::check
