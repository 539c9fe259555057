#include "check/rules/byte_order_mark.h"

#include "check/rules/run_script.h"
#include "state/script.h"

namespace setup32::check {

std::optional<std::string> SectionHiddenByMark(RunFacts& facts) {
    const std::string& script = facts.run.ScriptBytes();
    if (script.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) != 0) return std::nullopt;
    const std::vector<std::string_view> lines = FileLines(facts);
    const std::string_view first =
        lines.empty() ? std::string_view() : lines.front().substr(kUtf8ByteOrderMark.size());
    const std::size_t start = first.find_first_not_of(" \t");
    if (start == std::string_view::npos || first[start] != '[') return std::nullopt;
    const std::vector<ProfileSection> unmarked =
        ReadProfileLayout(first.substr(start), &facts.run.Context().sys.host);
    return unmarked.empty() ? std::string() : unmarked.back().name;
}

bool MarkHidesDisplay(RunFacts& facts) {
    const std::optional<std::string> hidden = SectionHiddenByMark(facts);
    return hidden && SameName(facts, *hidden, script_names::kDisplay);
}

}  // namespace setup32::check
