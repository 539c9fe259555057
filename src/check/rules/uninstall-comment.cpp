// A comment as the first line of [UnInstall]: Windows returns it with the
// section, so the program takes it for the uninstall program's line and
// never reads the next one.
#include "check/rules/code_page_findings.h"
#include "check/rules/platforms.h"
#include "check/rules/shell_lists.h"
#include "shellint/shell_text.h"

namespace setup32::check {

void CheckUninstallComment(RunFacts& facts, RuleFindings& into) {
    const std::optional<UninstallList> uninstall = ReadUninstallList(facts);
    if (!uninstall || uninstall->section.lines.size() < 2 ||
        !shell_text::IsComment(uninstall->section.lines.front().text))
        return;
    CodePageFindings found(facts, into);
    found.Add(Severity::Warning, uninstall->section.lines.front().number,
              "the first line of [UnInstall] is a comment: the program registers no uninstall "
              "program and never reads line " +
                  std::to_string(uninstall->section.lines[1].number) + ": " +
                  WindowsAgainstWine("comment-lines"));
}

}  // namespace setup32::check
