// A section or [Display] key that the program never reads: a warning when
// its name is close to a known one (a misspelling), else a note (a
// vendor's notes).
#include "check/closest_name.h"
#include "check/rules/code_page_findings.h"
#include "check/rules/display_values.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {
namespace {

// A name near enough to a known one to be taken for a misspelling of it:
// two letters off (a pair swapped), or at most a third of its letters.
bool IsClose(std::string_view name, std::string_view known) {
    const std::size_t distance = EditDistance(name, known);
    return distance <= 2 || distance * 3 <= known.size();
}

void CheckSections(RunFacts& facts, CodePageFindings& found) {
    const std::vector<std::string> known = KnownSections();
    for (const ProfileSection& section : facts.layout) {
        if (section.number == 0) continue;  // the lines before the first section
        const std::string closest = ClosestName(section.name, known);
        if (SameName(facts, section.name, closest)) continue;
        if (IsClose(section.name, closest)) {
            found.Add(Severity::Warning, section.number,
                      "section [" + section.name + "] is never read (the closest known name is [" +
                          closest + "])");
        } else {
            found.Add(
                Severity::Note, section.number,
                "section [" + section.name + "] is not one the program reads: it is left as notes");
        }
    }
}

void CheckDisplayKeys(RunFacts& facts, CodePageFindings& found) {
    const ProfileSection* display = FindSection(facts, script_names::kDisplay);
    if (display == nullptr) return;
    const std::vector<std::string> keys = DisplayKeys();
    for (const ProfileLine& line : display->lines) {
        if (!line.hasKey) continue;
        const std::string closest = ClosestName(line.key, keys);
        if (SameName(facts, line.key, closest)) continue;
        if (IsClose(line.key, closest)) {
            found.Add(Severity::Warning, line.number,
                      "key " + Quoted(line.key) +
                          " of [Display] is never read (the closest known key is " +
                          Quoted(closest) + ")");
        } else {
            found.Add(Severity::Note, line.number,
                      "key " + Quoted(line.key) + " of [Display] is not one the program reads");
        }
    }
}

}  // namespace

void CheckUnknownName(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    CheckSections(facts, found);
    CheckDisplayKeys(facts, found);
}

}  // namespace setup32::check
