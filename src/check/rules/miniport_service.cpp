#include "check/rules/miniport_service.h"

#include "check/rules/run_script.h"
#include "state/ansi_text.h"
#include "state/context.h"
#include "state/script.h"

namespace setup32::check {

std::optional<MiniportService> MiniportServiceOf(RunFacts& facts) {
    if (!OnNt(facts)) return std::nullopt;
    MiniportService service;
    service.driver = DisplayValue(facts, script_names::kDriver, "", script_capacity::kDriver);
    if (service.driver.empty()) return std::nullopt;
    service.title = DisplayValue(facts, script_names::kTitle, script_default::kServiceTitle,
                                 script_capacity::kTitle);
    service.registrable =
        !service.title.empty() &&
        FindLastCharOf(facts.run.Context().sys.host, service.title, "\\") == std::string::npos;
    return service;
}

}  // namespace setup32::check
