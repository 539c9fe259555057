#include "check/rules/read_lines.h"

#include <algorithm>

#include "files/file_placement.h"
#include "messages/messages.h"
#include "shellint/shell_text.h"
#include "state/script.h"

namespace setup32::check {

std::vector<const ProfileLine*> LinesReadByRun(RunFacts& facts) {
    const int kind = facts.run.OsKind();
    std::vector<std::string> names = {script_names::kDisplay};
    if (const std::optional<DriverSections> driver = DriverSectionsFor(kind))
        names.insert(names.end(), {driver->first, driver->second});
    if (shell_text::IsShellPlatform(kind)) {
        for (const std::string_view family :
             {shell_text::section_family::kShortcut, shell_text::section_family::kExecute,
              shell_text::section_family::kUninstallExtraFile}) {
            names.push_back(shell_text::PlatformSection(kind, family));
        }
        names.push_back(script_names::kUninstall);
    }
    std::vector<const ProfileLine*> lines;
    for (const std::string& name : names) {
        const ProfileSection* section =
            FindProfileSection(facts.layout, name, facts.run.Sim().machine().host);
        if (section == nullptr) continue;
        for (const ProfileLine& line : section->lines) {
            if (!shell_text::IsComment(line.text)) lines.push_back(&line);
        }
    }
    std::sort(lines.begin(), lines.end(),
              [](const ProfileLine* a, const ProfileLine* b) { return a->number < b->number; });
    return lines;
}

}  // namespace setup32::check
