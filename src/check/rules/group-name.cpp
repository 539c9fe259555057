// A GroupName that the program cannot use as written: empty, or holding
// "\", or too long for the uninstall entry's key.
#include "check/rules/code_page_findings.h"
#include "check/rules/run_script.h"
#include "check/rules/shell_lists.h"
#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/ansi_text.h"
#include "state/context.h"
#include "state/script.h"
#include "state/shell_state.h"

namespace setup32::check {
namespace {

void CheckWhatItHolds(RunFacts& facts, const ProfileLine& line, CodePageFindings& found) {
    const std::string& group = facts.run.Context().groupName;
    if (group.empty()) {
        found.Add(Severity::Error, line.number,
                  "GroupName is empty: \"<GROUp>\" stays as written in every line and no "
                  "uninstall entry is made");
        return;
    }
    const std::size_t backslash = FindLastCharOf(facts.run.Context().sys.host, group, "\\");
    if (backslash == group.size() - 1) {
        found.Add(Severity::Error, line.number,
                  "GroupName ends in \"\\\": no uninstall entry is made");
    } else if (backslash != std::string::npos) {
        found.Add(Severity::Error, line.number,
                  "GroupName holds \"\\\": the product key and the uninstall entry become keys "
                  "below " +
                      Quoted(group.substr(0, backslash)) +
                      ", and the group a folder inside another");
    }
}

// The uninstall entry's key is the group name below kUninstallKey: a name
// too long for it leaves the install without an uninstall entry.
void CheckUninstallEntry(RunFacts& facts, const ProfileLine& line, CodePageFindings& found) {
    const std::optional<UninstallList> uninstall = ReadUninstallList(facts);
    if (!uninstall || !uninstall->NamesProgram() || uninstall->command) return;
    // A program path too long is reported on the [UnInstall] line.
    if (!shell_text::Fits(uninstall->program, shell_capacity::kUninstallProgram) ||
        shell_text::Fits(uninstall->entry, shell_capacity::kUninstallEntryKey))
        return;
    const std::size_t most =
        shell_capacity::kUninstallEntryKey - 2 - std::string_view(kUninstallKey).size();
    found.Add(Severity::Error, line.number,
              "GroupName is " + std::to_string(facts.run.Context().groupName.size()) +
                  " bytes: the uninstall entry takes a name of at most " + std::to_string(most) +
                  ", so no uninstall entry is made; write a shorter group name");
}

}  // namespace

void CheckGroupName(RunFacts& facts, RuleFindings& into) {
    const ProfileLine* line = DisplayLine(facts, script_names::kGroupName);
    if (line == nullptr) return;
    CodePageFindings found(facts, into);
    CheckWhatItHolds(facts, *line, found);
    CheckUninstallEntry(facts, *line, found);
}

}  // namespace setup32::check
