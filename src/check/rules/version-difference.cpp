// A place where the run met a difference of its Windows version, as the
// simulated machine recorded it.
#include "check/rules/code_page_findings.h"
#include "check/script_view.h"
#include "check/version_findings.h"

namespace setup32::check {

void CheckVersionDifference(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const Finding& finding :
         VersionDifferenceFindings(facts.run.Sim().VersionDifferencesMet(), ScriptPathOf(facts.run),
                                   facts.run.Context().sys.host)) {
        found.Add(finding.severity, finding.line, finding.message, finding.touches);
    }
}

}  // namespace setup32::check
