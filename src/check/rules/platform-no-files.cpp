// A platform that the script gives no driver line while it gives others
// some.
#include <algorithm>

#include "check/rules/code_page_findings.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "files/file_placement.h"
#include "platform/windows_versions.h"
#include "shellint/shell_text.h"

namespace setup32::check {
namespace {

bool CopiesSomething(const ProfileSection* section) {
    return section != nullptr &&
           std::any_of(section->lines.begin(), section->lines.end(),
                       [](const ProfileLine& l) { return !shell_text::IsComment(l.text); });
}

struct DriverSectionsFound {
    const ProfileSection* first;
    const ProfileSection* second;
    bool CopySomething() const { return CopiesSomething(first) || CopiesSomething(second); }
};

DriverSectionsFound FindDriverSections(RunFacts& facts, int kind) {
    const DriverSections names = *DriverSectionsFor(kind);
    return {FindSection(facts, names.first), FindSection(facts, names.second)};
}

}  // namespace

void CheckPlatformNoFiles(RunFacts& facts, RuleFindings& into) {
    const int kind = facts.run.OsKind();
    if (!shell_text::IsShellPlatform(kind)) return;
    const DriverSectionsFound own = FindDriverSections(facts, kind);
    if (own.CopySomething()) return;
    std::vector<std::string> others;
    for (const platform::WindowsVersion& version : platform::kWindowsVersions) {
        const int other = version.platformCode;
        if (other != kind && FindDriverSections(facts, other).CopySomething())
            others.push_back(std::string(version.name));
    }
    if (others.empty()) return;
    const DriverSections names = *DriverSectionsFor(kind);
    CodePageFindings found(facts, into);
    found.Add(Severity::Error,
              own.first    ? own.first->number
              : own.second ? own.second->number
                           : 0,
              "the script copies no file on " + PlatformTitle(kind) + ": [" + names.first +
                  "] and [" + names.second + "] hold no driver line, while those of " +
                  ListedTitles(others) + " do; write the two sections for " + PlatformTitle(kind));
}

}  // namespace setup32::check
