#include <algorithm>

#include "check/findings.h"
#include "check/rules/rule.h"
#include "state/ascii_text.h"

namespace setup32::check {

// Each rule is defined in the file of its id.
void CheckDestOverwritten(RunFacts&, RuleFindings&);
void CheckNameRefused(RunFacts&, RuleFindings&);
void CheckExecNotProgram(RunFacts&, RuleFindings&);
void CheckDriverNeverLoaded(RunFacts&, RuleFindings&);
void CheckScriptUnreadable(RunFacts&, RuleFindings&);
void CheckPlaceholderMisspelt(RunFacts&, RuleFindings&);
void CheckInlineComment(RunFacts&, RuleFindings&);
void CheckRegistryWriteFails(RunFacts&, RuleFindings&);
void CheckLineUndone(RunFacts&, RuleFindings&);
void CheckMissingOnPlatform(std::vector<RunResult*>&, const char*);

const std::vector<RunRule>& RunRules() {
    static const std::vector<RunRule> rules = {
        {"dest-overwritten", CheckDestOverwritten},
        {"name-refused", CheckNameRefused},
        {"exec-not-program", CheckExecNotProgram},
        {"driver-never-loaded", CheckDriverNeverLoaded},
        {"script-unreadable", CheckScriptUnreadable},
        {"placeholder-misspelt", CheckPlaceholderMisspelt},
        {"inline-comment", CheckInlineComment},
        {"registry-write-fails", CheckRegistryWriteFails},
        {"line-undone", CheckLineUndone},
    };
    return rules;
}

const std::vector<CrossRunRule>& CrossRunRules() {
    static const std::vector<CrossRunRule> rules = {
        {"missing-on-platform", CheckMissingOnPlatform},
    };
    return rules;
}

namespace {

// Beside script-unreadable, what is said of the script's bytes: a mark or
// bytes that hide its lines, and a reading of them that is uncertain on
// the run's version (a version difference whose source leaves the result
// open is a warning).
bool SaysWhyNothingIsRead(const Finding& finding) {
    return finding.rule == "script-unreadable" || finding.rule == "byte-order-mark" ||
           finding.rule == "not-code-page-text" ||
           (finding.rule == "version-difference" && finding.severity == Severity::Warning);
}

}  // namespace

std::vector<Finding> RunRuleFindings(RunFacts& facts) {
    // The script's own text rules, which carry their ids themselves.
    std::vector<Finding> found = FindingsOf(facts.run, facts.layout);
    std::vector<Finding> replaced;
    for (const RunRule& rule : RunRules()) {
        RuleFindings into(rule.id, found, &replaced);
        rule.check(facts, into);
    }
    // A run that reads no line of the script has nothing to say of what
    // the script would do: only why nothing is read.
    const bool readsNothing = std::any_of(
        found.begin(), found.end(), [](const Finding& f) { return f.rule == "script-unreadable"; });
    found.erase(std::remove_if(found.begin(), found.end(),
                               [&](const Finding& f) {
                                   return (readsNothing && !SaysWhyNothingIsRead(f)) ||
                                          std::find(replaced.begin(), replaced.end(), f) !=
                                              replaced.end();
                               }),
                found.end());
    std::stable_sort(found.begin(), found.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return found;
}

void AddCrossRunFindings(std::vector<RunResult>& runs) {
    std::vector<std::string> languages;
    for (const RunResult& run : runs) {
        if (std::find(languages.begin(), languages.end(), run.language.name) == languages.end())
            languages.push_back(run.language.name);
    }
    for (const std::string& language : languages) {
        std::vector<RunResult*> same;
        for (RunResult& run : runs) {
            if (run.language.name == language) same.push_back(&run);
        }
        for (const CrossRunRule& rule : CrossRunRules()) rule.check(same, rule.id);
    }
    for (RunResult& run : runs) {
        std::stable_sort(run.findings.begin(), run.findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
    }
}

std::string ListedTitles(const std::vector<std::string>& titles) {
    std::string list;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == titles.size() ? " and " : ", ") + titles[i];
    }
    return list;
}

std::string ListedLines(const std::vector<int>& lines) {
    std::vector<std::string> numbers;
    for (const int line : lines) numbers.push_back(std::to_string(line));
    return (lines.size() == 1 ? "line " : "lines ") + ListedTitles(numbers);
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string PathKey(std::string_view path) {
    std::string key;
    for (const char c : path) {
        key += c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

}  // namespace setup32::check
