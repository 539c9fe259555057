// On the NT family, a Driver whose service name (Title) the program cannot
// register: empty, or not one key below Services.
#include "check/rules/code_page_findings.h"
#include "check/rules/miniport_service.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {

void CheckMiniport(RunFacts& facts, RuleFindings& into) {
    const std::optional<MiniportService> service = MiniportServiceOf(facts);
    if (!service || service->registrable) return;
    const ProfileLine* titleLine = DisplayLine(facts, script_names::kTitle);
    const ProfileLine* driverLine = DisplayLine(facts, script_names::kDriver);
    CodePageFindings found(facts, into);
    found.Add(Severity::Error,
              titleLine    ? titleLine->number
              : driverLine ? driverLine->number
                           : 0,
              "the service name (Title) " + Quoted(service->title) +
                  (service->title.empty() ? " is empty" : " holds \"\\\"") +
                  ": the program registers no miniport service for Driver " +
                  Quoted(service->driver) + ", so " + PlatformTitle(facts.run.OsKind()) +
                  " does not start the adapter; write a name of letters and digits");
}

}  // namespace setup32::check
