#include "check/script_view.h"

#include "files/file_placement.h"
#include "messages/messages.h"
#include "state/script.h"

namespace setup32::check {

std::string ScriptPathOf(const DryRun& run) {
    return ScriptPath(run.StartDir(), kScriptName);
}

ListSection ReadListSection(DryRun& run, const std::vector<ProfileSection>& layout,
                            const std::string& name, std::size_t capacity) {
    ListSection section;
    section.layout = FindProfileSection(layout, name, run.Context().sys.host);
    const platform::SectionBlock block =
        ReadScriptSection(run.Context(), name, capacity, ScriptPathOf(run));
    section.tooLarge = block.TooLarge();
    if (section.layout == nullptr) return section;
    const std::vector<std::string_view> lines = block.Lines();
    const std::vector<ProfileLine>& numbered = section.layout->lines;
    for (std::size_t i = 0; i < lines.size() && i < numbered.size(); ++i) {
        section.lines.push_back({numbered[i].number, std::string(lines[i]), numbered[i].text});
    }
    return section;
}

std::vector<DriverLine> ReadDriverLines(DryRun& run, const std::vector<ProfileSection>& layout) {
    std::vector<DriverLine> lines;
    const std::optional<DriverSections> sections =
        DriverSectionsFor(OsKindFromVersion(run.Platform().version));
    if (!sections) return lines;
    for (const char* name : {sections->first, sections->second}) {
        const ListSection section = ReadListSection(run, layout, name, script_capacity::kSection);
        if (section.tooLarge) continue;
        for (const NumberedLine& line : section.lines) {
            if (line.text.front() == ';') continue;
            DriverLine parsed{line.number, line.written, CCopyListItem(), 0};
            parsed.parseCode = parsed.item.ParseLine(line.text, run.StartDir(), run.WindowsDir());
            lines.push_back(std::move(parsed));
        }
    }
    return lines;
}

}  // namespace setup32::check
