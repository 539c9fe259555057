// A list section that does not fit the program's buffer once "<GROUp>" is
// replaced: the program skips it whole.
#include <algorithm>
#include <utility>

#include "check/rules/code_page_findings.h"
#include "check/rules/platforms.h"
#include "check/rules/run_script.h"
#include "check/script_view.h"
#include "files/file_placement.h"
#include "shellint/shell_text.h"
#include "state/script.h"

namespace setup32::check {
namespace {

// The list sections the run reads, with the buffer each is read into.
std::vector<std::pair<std::string, std::size_t>> SectionsRead(int kind) {
    std::vector<std::pair<std::string, std::size_t>> read;
    if (const std::optional<DriverSections> sections = DriverSectionsFor(kind)) {
        read = {{sections->first, script_capacity::kSection},
                {sections->second, script_capacity::kSection}};
    }
    if (shell_text::IsShellPlatform(kind)) {
        for (const std::string_view family :
             {shell_text::section_family::kShortcut, shell_text::section_family::kExecute,
              shell_text::section_family::kUninstallExtraFile}) {
            read.emplace_back(shell_text::PlatformSection(kind, family), script_capacity::kSection);
        }
        read.emplace_back(script_names::kUninstall, script_capacity::kUninstallSection);
    }
    return read;
}

}  // namespace

void CheckSectionTooLarge(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    for (const auto& [name, capacity] : SectionsRead(PlatformKind(facts))) {
        const ListSection section = ReadListSection(facts.run, facts.layout, name, capacity);
        if (!section.tooLarge || section.layout == nullptr) continue;
        const bool comments =
            std::any_of(section.lines.begin(), section.lines.end(),
                        [](const auto& l) { return shell_text::IsComment(l.text); });
        found.Add(
            Severity::Error, section.layout->number,
            "section [" + name + "] does not fit the program's " + std::to_string(capacity) +
                "-byte buffer (with \"<GROUp>\" replaced): the program skips it whole" +
                (comments ? "; its comment lines count: " + WindowsAgainstWine("comment-lines")
                          : std::string()));
    }
}

}  // namespace setup32::check
