#include "check/rules/shell_lists.h"

#include "check/rules/run_script.h"
#include "check/script_rules.h"
#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/context.h"
#include "state/script.h"
#include "state/shell_state.h"

namespace setup32::check {

std::optional<ListSection> ShellSection(RunFacts& facts, std::string_view family) {
    const int kind = facts.run.OsKind();
    if (!shell_text::IsShellPlatform(kind)) return std::nullopt;
    ListSection section =
        ReadListSection(facts.run, facts.layout, shell_text::PlatformSection(kind, family),
                        script_capacity::kSection);
    if (section.tooLarge) return std::nullopt;
    return section;
}

bool HasOneCharacterKey(const NumberedLine& line) {
    return line.text.size() <= 2 || line.text[1] == '=';  // nothing to read after a key
}

void ForEachShortcutLine(RunFacts& facts, const std::function<void(const ShortcutLine&)>& visit) {
    const std::optional<ListSection> section =
        ShellSection(facts, shell_text::section_family::kShortcut);
    if (!section) return;
    SetupContext& ctx = facts.run.Context();
    std::size_t taken = 0;
    for (const NumberedLine& line : section->lines) {
        if (shell_text::IsComment(line.text)) continue;
        const std::string_view value = ShortcutValue(line.text);
        ShortcutRecord record;
        std::string groupFile;
        std::string groupName;
        const bool made = ParseShortcutEntry(ctx, value, record, groupFile, groupName);
        const bool split = GroupNameSplits(facts, line.written);
        const bool pastLimit = made && !split && ++taken > kMaxShortcuts;
        visit({line, ShortcutFields(value), made, split, pastLimit});
    }
}

bool WrittenAsFullPath(std::string_view program) {
    return IsAbsolute(program) || program.substr(0, 1) == "\\";
}

void ForEachProgramLine(RunFacts& facts, const std::function<void(const ProgramLine&)>& visit) {
    const std::optional<ListSection> section =
        ShellSection(facts, shell_text::section_family::kExecute);
    if (!section) return;
    const std::string& workingDirectory = facts.run.Context().shell.workingDirectory;
    std::size_t taken = 0;  // the command lines the program takes, in order
    for (const NumberedLine& line : section->lines) {
        if (shell_text::IsComment(line.text)) continue;
        const std::string_view program = shell_text::ValueAfterKey(line.text);
        if (program.empty() || !HasOneCharacterKey(line)) continue;
        std::string commandLine = shell_text::JoinPath(workingDirectory, program);
        const bool fits = shell_text::Fits(commandLine, shell_capacity::kCommandLine);
        const bool pastLimit = fits && ++taken > kMaxPrograms;
        visit({line, std::move(commandLine), fits, pastLimit});
    }
}

bool UninstallList::NamesProgram() const {
    const NumberedLine& first = section.lines.front();
    return !shell_text::IsComment(first.text) && HasOneCharacterKey(first);
}

std::optional<UninstallList> ReadUninstallList(RunFacts& facts) {
    if (!shell_text::IsShellPlatform(facts.run.OsKind())) return std::nullopt;
    const SetupContext& ctx = facts.run.Context();
    UninstallList list;
    list.entry = shell_text::JoinPath(kUninstallKey, ctx.groupName);
    list.command =
        facts.run.Sim().StringValue(platform::RegRoot::LocalMachine, list.entry, "UnInstallString");
    list.section = ReadListSection(facts.run, facts.layout, script_names::kUninstall,
                                   script_capacity::kUninstallSection);
    if (list.section.tooLarge || list.section.lines.empty()) return std::nullopt;
    list.program = shell_text::JoinPath(ctx.windowsDirText,
                                        shell_text::ValueAfterKey(list.section.lines.front().text));
    return list;
}

}  // namespace setup32::check
