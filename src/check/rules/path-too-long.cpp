// An extra file's or the uninstall program's path, joined to the Windows
// directory, longer than the program's buffer for it: it is not recorded.
#include "check/rules/code_page_findings.h"
#include "check/rules/shell_lists.h"
#include "shellint/shell_text.h"
#include "state/context.h"
#include "state/shell_state.h"

namespace setup32::check {
namespace {

void CheckExtraFiles(RunFacts& facts, CodePageFindings& found) {
    const std::optional<ListSection> section =
        ShellSection(facts, shell_text::section_family::kUninstallExtraFile);
    if (!section) return;
    for (const NumberedLine& line : section->lines) {
        if (shell_text::IsComment(line.text) || !HasOneCharacterKey(line)) continue;
        const std::string path = shell_text::JoinPath(facts.run.Context().windowsDirText,
                                                      shell_text::ValueAfterKey(line.text));
        if (shell_text::Fits(path, shell_capacity::kExtraFilePath)) continue;
        found.Add(Severity::Error, line.number,
                  "the path " + Quoted(path) + " is " + std::to_string(path.size()) +
                      " bytes, over the " + std::to_string(shell_capacity::kExtraFilePath - 1) +
                      " the program takes: it is not recorded for the uninstaller");
    }
}

void CheckUninstallProgram(RunFacts& facts, CodePageFindings& found) {
    const std::optional<UninstallList> uninstall = ReadUninstallList(facts);
    if (!uninstall || !uninstall->NamesProgram() || uninstall->command ||
        shell_text::Fits(uninstall->program, shell_capacity::kUninstallProgram))
        return;
    const std::string& program = uninstall->program;
    found.Add(Severity::Error, uninstall->section.lines.front().number,
              "the uninstall program's path " + Quoted(program) + " is " +
                  std::to_string(program.size()) + " bytes, over the " +
                  std::to_string(shell_capacity::kUninstallProgram - 1) +
                  " the program takes: no uninstall entry is made");
}

}  // namespace

void CheckPathTooLong(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    CheckExtraFiles(facts, found);
    CheckUninstallProgram(facts, found);
}

}  // namespace setup32::check
