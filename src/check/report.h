// The check's result as readable text and as one JSON document.
#pragma once

#include <string>

#include "check/check.h"

namespace setup32::check {

enum class PlanDetail {
    Summary,  // the findings, each once, and one line for each run
    Full,     // and after them each run's whole plan
};

// The first screen is what a vendor needs: every finding once, with the runs
// it belongs to when not to all, then for each run its exit code, the files
// copied and failed and the message boxes shown.
std::string TextReport(const CheckResult& result, PlanDetail detail = PlanDetail::Summary);
std::string JsonReport(const CheckResult& result);

}  // namespace setup32::check
