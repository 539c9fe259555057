// Two driver lines of one run that copy different files to one
// destination: the later one replaces what the earlier one installed.
#include <map>

#include "check/rules/rule.h"

namespace setup32::check {

void CheckDestOverwritten(RunFacts& facts, RuleFindings& found) {
    std::map<std::string, const CopyRecord*> installed;  // by destination
    for (const CopyRecord& copy : facts.plan.copies) {
        if (copy.error != 0 || copy.line == 0) continue;
        const auto [earlier, first] = installed.insert({PathKey(copy.destination), &copy});
        if (first) continue;
        const CopyRecord& before = *earlier->second;
        earlier->second = &copy;
        if (before.line == copy.line || PathKey(before.source) == PathKey(copy.source)) continue;
        found.Add(Severity::Error, copy.line,
                  "the line copies " + Quoted(copy.source) + " over " + Quoted(copy.destination) +
                      ", which line " + std::to_string(before.line) + " installed from " +
                      Quoted(before.source) + ": the file of line " + std::to_string(before.line) +
                      " is lost; give each file a destination of its own",
                  {before.line});
    }
}

}  // namespace setup32::check
