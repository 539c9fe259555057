// On Windows 95 and 98, a device id of [Display]'s DeviceID that is not
// four hexadecimal digits: the clean-up looks for a key no adapter has.
#include "check/rules/code_page_findings.h"
#include "check/rules/run_script.h"
#include "check/script_rules.h"
#include "shellint/shell_text.h"
#include "state/script.h"

namespace setup32::check {

void CheckDeviceId(RunFacts& facts, RuleFindings& into) {
    if (!shell_text::IsWindows9x(facts.run.OsKind())) return;
    CodePageFindings found(facts, into);
    const ProfileLine* line = DisplayLine(facts, script_names::kDeviceId);
    const std::string value = DisplayValue(facts, script_names::kDeviceId,
                                           script_default::kDeviceId, script_capacity::kDeviceId);
    for (const std::string& piece : SplitDeviceIds(value)) {
        if (IsFourHexDigits(piece)) continue;
        found.Add(Severity::Warning, line == nullptr ? 0 : line->number,
                  "device id " + Quoted(piece) +
                      " is not four hexadecimal digits: the clean-up looks for a key that no "
                      "adapter has");
    }
}

}  // namespace setup32::check
