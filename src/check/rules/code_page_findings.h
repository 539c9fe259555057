// Findings whose text is made of the script's own bytes, in the run's code
// page: the report takes them in UTF-8.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "check/rules/rule.h"
#include "check/text_encoding.h"

namespace setup32::check {

class CodePageFindings {
  public:
    CodePageFindings(RunFacts& facts, RuleFindings& found)
        : codePage_(facts.run.Language().codePage), found_(found) {}
    void Add(Severity severity, int line, const std::string& message,
             std::vector<int> touches = {}) {
        found_.Add(severity, line, ToUtf8(message, codePage_), std::move(touches));
    }

  private:
    unsigned codePage_;
    RuleFindings& found_;
};

}  // namespace setup32::check
