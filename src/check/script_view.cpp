#include "check/script_view.h"

#include "install/script.h"

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
        section.lines.push_back({numbered[i].number, std::string(lines[i])});
    }
    return section;
}

}  // namespace setup32::check
