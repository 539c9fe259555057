// The checker's rules: each a small unit with an id that every finding it
// gives carries. A run rule looks at one finished run; a cross-run rule
// holds the runs of one language against each other.
#pragma once

#include <string>
#include <vector>

#include "check/check.h"
#include "check/dry_run.h"
#include "check/profile_layout.h"

namespace setup32::check {

// What a rule sees of one finished run: the run's machine, the script's
// layout as that machine reads it, and the run's plan (UTF-8).
struct RunFacts {
    DryRun& run;
    const std::vector<ProfileSection>& layout;
    const Plan& plan;
};

// The findings of one rule, each given the rule's id.
class RuleFindings {
  public:
    RuleFindings(const char* rule, std::vector<Finding>& into,
                 std::vector<Finding>* replaced = nullptr)
        : rule_(rule), into_(into), replaced_(replaced) {}
    void Add(Severity severity, int line, std::string message, std::vector<int> touches = {}) {
        into_.push_back({severity, line, std::move(message), rule_, std::move(touches)});
    }
    // A finding another rule gives for a cause this rule speaks for on its
    // line: the run keeps only this rule's.
    void Replace(Finding other) {
        if (replaced_ != nullptr) replaced_->push_back(std::move(other));
    }

  private:
    const char* rule_;
    std::vector<Finding>& into_;
    std::vector<Finding>* replaced_;
};

struct RunRule {
    const char* id;
    void (*check)(RunFacts& facts, RuleFindings& found);
};

// `runs` are the runs of one language, in platform order; a finding goes
// to the run it holds for.
struct CrossRunRule {
    const char* id;
    void (*check)(std::vector<RunResult*>& runs, const char* id);
};

const std::vector<RunRule>& RunRules();
const std::vector<CrossRunRule>& CrossRunRules();

// Every run rule's findings on the run, in line order (those without a
// line first).
std::vector<Finding> RunRuleFindings(RunFacts& facts);
// Every cross-run rule's findings, added to the runs they hold for.
void AddCrossRunFindings(std::vector<RunResult>& runs);

// "Windows 95, Windows 98 and Windows 2000".
std::string ListedTitles(const std::vector<std::string>& titles);
// "lines 8, 12 and 20" or "line 8".
std::string ListedLines(const std::vector<int>& lines);
std::string Quoted(std::string_view text);
// Upper-case ASCII with "\" for "/": paths compared as the file system does.
std::string PathKey(std::string_view path);

}  // namespace setup32::check
