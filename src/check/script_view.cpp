#include "check/script_view.h"

#include "files/file_placement.h"
#include "messages/messages.h"
#include "shellint/shell_text.h"
#include "state/ascii_text.h"
#include "state/script.h"

namespace setup32::check {

std::string ScriptPathOf(const DryRun& run) {
    return ScriptPath(run.StartDir(), kScriptName);
}

const ProfileLine* DisplayLineOf(DryRun& run, const std::vector<ProfileSection>& layout,
                                 std::string_view key) {
    const platform::HostFacts& host = run.Sim().machine().host;
    const ProfileSection* display = FindProfileSection(layout, script_names::kDisplay, host);
    if (display == nullptr) return nullptr;
    for (const ProfileLine& line : display->lines) {
        if (line.hasKey && platform::sim::SameNameOn(host, line.key, key)) return &line;
    }
    return nullptr;
}

bool HoldsPlaceholder(std::string_view written) {
    const std::string text(written);
    return SubstitutePlaceholder(text, std::string()) != text;
}

std::vector<int> LinesPutInto(DryRun& run, const std::vector<ProfileSection>& layout,
                              std::string_view written) {
    if (!HoldsPlaceholder(written)) return {};
    const ProfileLine* group = DisplayLineOf(run, layout, script_names::kGroupName);
    if (group == nullptr) return {};
    return {group->number};
}

std::vector<std::pair<std::string, std::size_t>> ListSectionsRead(int osKind) {
    std::vector<std::pair<std::string, std::size_t>> read;
    if (const std::optional<DriverSections> sections = DriverSectionsFor(osKind)) {
        read = {{sections->first, script_capacity::kSection},
                {sections->second, script_capacity::kSection}};
    }
    if (shell_text::IsShellPlatform(osKind)) {
        for (const std::string_view family :
             {shell_text::section_family::kShortcut, shell_text::section_family::kExecute,
              shell_text::section_family::kUninstallExtraFile}) {
            read.emplace_back(shell_text::PlatformSection(osKind, family),
                              script_capacity::kSection);
        }
        read.emplace_back(script_names::kUninstall, script_capacity::kUninstallSection);
    }
    return read;
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
    const std::optional<DriverSections> sections = DriverSectionsFor(run.OsKind());
    if (!sections) return lines;
    for (const char* name : {sections->first, sections->second}) {
        const ListSection section = ReadListSection(run, layout, name, script_capacity::kSection);
        if (section.tooLarge) continue;
        for (const NumberedLine& line : section.lines) {
            if (line.text.front() == ';') continue;
            DriverLine parsed{line.number, line.written, CCopyListItem(), 0, name, line.text};
            parsed.parseCode = parsed.item.ParseLine(line.text, run.StartDir(), run.WindowsDir());
            lines.push_back(std::move(parsed));
        }
    }
    return lines;
}

}  // namespace setup32::check
