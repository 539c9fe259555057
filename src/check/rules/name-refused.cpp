// A file, folder or shortcut name that Windows refuses, wherever the plan
// makes or records one: put on the GroupName line when the group name
// brought the character in, else on the line that writes it.
#include <algorithm>

#include "check/rules/name_chars.h"
#include "check/rules/rule.h"
#include "check/script_view.h"
#include "check/text_encoding.h"
#include "state/script.h"

namespace setup32::check {
namespace {

void CheckGroupName(RunFacts& facts, RuleFindings& found) {
    const ProfileLine* groupLine = DisplayLineOf(facts.run, facts.layout, script_names::kGroupName);
    const std::string& group = facts.run.Context().groupName;
    const char refused = RefusedCharacter(group, kRefusedInGroupName);
    if (groupLine == nullptr || refused == '\0') return;
    std::vector<int> touched;
    const auto touch = [&](int line, const std::vector<int>& from) {
        if (line > 0 && std::find(from.begin(), from.end(), groupLine->number) != from.end() &&
            std::find(touched.begin(), touched.end(), line) == touched.end())
            touched.push_back(line);
    };
    for (const CopyRecord& copy : facts.plan.copies) touch(copy.line, copy.from);
    for (const ShortcutPlan& shortcut : facts.plan.shortcuts) touch(shortcut.line, shortcut.from);
    if (touched.empty()) return;
    std::sort(touched.begin(), touched.end());
    found.Add(Severity::Error, groupLine->number,
              "GroupName " + Quoted(ToUtf8(group, facts.run.Language().codePage)) + " holds \"" +
                  std::string(1, refused) +
                  "\", which Windows does not take in a file or folder name: the " +
                  ListedLines(touched) +
                  " that put it in through \"<GROUp>\" name no file Windows can make; write the "
                  "group name without \\ / : * ? \" < > |",
              touched);
}

void CheckShortcutNames(RunFacts& facts, RuleFindings& found) {
    for (const ShortcutPlan& shortcut : facts.plan.shortcuts) {
        if (shortcut.line == 0 || !shortcut.from.empty()) continue;
        const char inTitle = RefusedCharacter(shortcut.title);
        const char inGroup = RefusedCharacter(shortcut.group, kRefusedInGroupName);
        if (inTitle == '\0' && inGroup == '\0') continue;
        const bool title = inTitle != '\0';
        found.Add(Severity::Error, shortcut.line,
                  std::string("the shortcut's ") + (title ? "title " : "group ") +
                      Quoted(title ? shortcut.title : shortcut.group) + " holds \"" +
                      std::string(1, title ? inTitle : inGroup) +
                      "\", which Windows does not take in a file or folder name: the shortcut "
                      "is not made; write the name without \\ / : * ? \" < > |");
    }
}

}  // namespace

void CheckNameRefused(RunFacts& facts, RuleFindings& found) {
    CheckGroupName(facts, found);
    CheckShortcutNames(facts, found);
}

}  // namespace setup32::check
