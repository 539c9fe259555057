// A line of a section whose entries are a one-character key, "=" and the
// value, with a longer key: the program reads the value from the line's
// third character on.
#include "check/rules/code_page_findings.h"
#include "check/rules/shell_lists.h"
#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"

namespace setup32::check {
namespace {

void Report(const NumberedLine& line, Severity severity, const char* what,
            CodePageFindings& found) {
    found.Add(severity, line.number,
              "the line's key is not one character: the program takes " + std::string(what) +
                  " from the line's third character on, " +
                  Quoted(shell_text::ValueAfterKey(line.text)) +
                  "; write 1=" + std::string(ShortcutValue(line.text)));
}

void CheckSection(RunFacts& facts, std::string_view family, Severity severity, const char* what,
                  CodePageFindings& found) {
    const std::optional<ListSection> section = ShellSection(facts, family);
    if (!section) return;
    for (const NumberedLine& line : section->lines) {
        if (!shell_text::IsComment(line.text) && !HasOneCharacterKey(line))
            Report(line, severity, what, found);
    }
}

}  // namespace

void CheckKeyNotOneCharacter(RunFacts& facts, RuleFindings& into) {
    CodePageFindings found(facts, into);
    CheckSection(facts, shell_text::section_family::kExecute, Severity::Error, "the command line",
                 found);
    CheckSection(facts, shell_text::section_family::kUninstallExtraFile, Severity::Warning,
                 "the file's name", found);
    const std::optional<UninstallList> uninstall = ReadUninstallList(facts);
    if (!uninstall) return;
    const NumberedLine& first = uninstall->section.lines.front();
    if (!shell_text::IsComment(first.text) && !HasOneCharacterKey(first))
        Report(first, Severity::Error, "the uninstall program's name", found);
}

}  // namespace setup32::check
