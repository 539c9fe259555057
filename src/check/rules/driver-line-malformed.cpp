// A driver line the program cannot parse: it shows an error and skips it.
#include "check/rules/rule.h"
#include "check/script_view.h"

namespace setup32::check {
namespace {

const char* WhatIsWrong(int parseCode) {
    switch (parseCode) {
        case parse_error::kNoEquals:
            return "the line has no \"=\": the program shows error 101 and skips it";
        case parse_error::kNoComma:
            return "the line has no \",\" before a destination: the program shows error 102 and "
                   "skips it";
        case parse_error::kCommaBeforeEquals:
            return "the line's first \",\" stands before its \"=\": the program shows error 103 "
                   "and skips it";
        default:
            return nullptr;
    }
}

}  // namespace

void CheckDriverLineMalformed(RunFacts& facts, RuleFindings& found) {
    for (const DriverLine& line : ReadDriverLines(facts.run, facts.layout)) {
        if (const char* wrong = WhatIsWrong(line.parseCode))
            found.Add(Severity::Error, line.number, wrong);
    }
}

}  // namespace setup32::check
