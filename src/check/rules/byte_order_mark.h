// A UTF-8 byte-order mark at the start of the script, which Windows reads
// as part of the first line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "check/rules/rule.h"

namespace setup32::check {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The section that the mark hides, when the script's first line, after the
// mark, is a section's name; none when the mark hides nothing.
std::optional<std::string> SectionHiddenByMark(RunFacts& facts);

// True when the mark hides the [Display] section.
bool MarkHidesDisplay(RunFacts& facts);

}  // namespace setup32::check
