// A second section or key of a name that Windows finds first elsewhere:
// Windows reads only the first.
#include <algorithm>

#include "check/rules/code_page_findings.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {
namespace {

void CheckRepeatedKeys(RunFacts& facts, const ProfileSection& section, CodePageFindings& found) {
    for (auto line = section.lines.begin(); line != section.lines.end(); ++line) {
        if (!line->hasKey) continue;
        const auto first = std::find_if(section.lines.begin(), line, [&](const ProfileLine& l) {
            return l.hasKey && SameName(facts, l.key, line->key);
        });
        if (first == line) continue;
        found.Add(Severity::Warning, line->number,
                  "a second " + Quoted(line->key) + " in [" + section.name +
                      "]: Windows reads the first, on line " + std::to_string(first->number) +
                      " (" + Quoted(first->value) + "), and never this one");
    }
}

}  // namespace

void CheckRepeatedName(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    const std::vector<std::string> known = KnownSections();
    for (const ProfileSection& section : facts.layout) {
        // A section of a name the program does not know is unknown-name's.
        if (section.number == 0 ||
            std::none_of(known.begin(), known.end(), [&](const std::string& name) {
                return SameName(facts, section.name, name);
            }))
            continue;
        if (FindSection(facts, section.name) == &section) continue;
        found.Add(Severity::Warning, section.number,
                  "a second section [" + section.name + "]: Windows reads only the first one");
    }
    for (const char* name : {script_names::kDisplay, script_names::kModify}) {
        if (const ProfileSection* section = FindSection(facts, name))
            CheckRepeatedKeys(facts, *section, found);
    }
}

}  // namespace setup32::check
