// The check's result as readable text and as one JSON document.
#pragma once

#include <string>

#include "check/check.h"

namespace setup32::check {

std::string TextReport(const CheckResult& result);
std::string JsonReport(const CheckResult& result);

}  // namespace setup32::check
