// A GroupName holding ",": put into a driver or shortcut line through
// "<GROUp>", it splits the line's fields. One finding on the GroupName
// line names what the program reads on each line it splits.
#include "check/rules/code_page_findings.h"
#include "check/rules/driver_copies.h"
#include "check/rules/run_script.h"
#include "check/rules/shell_lists.h"
#include "check/script_rules.h"
#include "shellint/shell_integration.h"
#include "state/context.h"
#include "state/script.h"

namespace setup32::check {
namespace {

struct Split {
    int line;
    std::string read;  // what the program reads there
};

void AddDriverLines(RunFacts& facts, std::vector<Split>& splits) {
    for (const DriverLine& line : WellFormedDriverLines(facts)) {
        if (!GroupNameSplits(facts, line.written.substr(0, line.written.find(',')))) continue;
        splits.push_back({line.number, "line " + std::to_string(line.number) + " copies " +
                                           Quoted(line.item.source) + " to " +
                                           Quoted(line.item.destination)});
    }
}

void AddShortcutLines(RunFacts& facts, std::vector<Split>& splits) {
    const std::string& windowsDir = facts.run.Context().windowsDirText;
    ForEachShortcutLine(facts, [&](const ShortcutLine& shortcut) {
        if (!shortcut.splitByGroupComma) return;
        const int number = shortcut.line.number;
        std::string read = "line " + std::to_string(number) + " reads ";
        const std::vector<std::string_view>& fields = shortcut.fields;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            static const char* const kNames[] = {"the program ", "the group ", "the title "};
            read += (i == 0                   ? ""
                     : i + 1 == fields.size() ? " and "
                                              : ", ") +
                    std::string(kNames[i]) + Quoted(fields[i]);
        }
        if (!shortcut.made) {
            read += ", and its shortcut is not made: " +
                    ShortcutProblem(windowsDir, ShortcutValue(shortcut.line.text));
        }
        splits.push_back({number, read});
    });
}

}  // namespace

void CheckGroupNameComma(RunFacts& facts, RuleFindings& into) {
    const ProfileLine* groupLine = DisplayLine(facts, script_names::kGroupName);
    if (groupLine == nullptr) return;
    std::vector<Split> splits;
    AddDriverLines(facts, splits);
    AddShortcutLines(facts, splits);
    if (splits.empty()) return;
    std::vector<int> touched;
    std::string read;
    for (const Split& split : splits) {
        touched.push_back(split.line);
        read += (read.empty() ? "" : "; ") + split.read;
    }
    CodePageFindings found(facts, into);
    found.Add(Severity::Error, groupLine->number,
              "GroupName " + Quoted(facts.run.Context().groupName) +
                  " holds \",\", which splits the fields of each line it is put into: " + read +
                  "; write the group name without commas",
              std::move(touched));
}

}  // namespace setup32::check
