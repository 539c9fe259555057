// A line that holds something its writer meant as the group-name
// placeholder but the program does not take for it: "<GROUP >",
// "<GRUOp>", "[GROUp]", "<GroupName>". The program keeps it as written.
#include "check/closest_name.h"
#include "check/rules/read_lines.h"
#include "check/text_encoding.h"
#include "state/script.h"

namespace setup32::check {
namespace {

constexpr std::string_view kPlaceholderName = "GROUp";
constexpr std::string_view kOpeners = "<[{(%";
constexpr std::string_view kClosers = ">]})%";
constexpr std::size_t kLongestToken = 14;

bool MeantAsPlaceholder(std::string_view inner) {
    std::string name;
    for (const char c : inner) {
        if (c != ' ' && c != '\t' && c != '_') name += c;
    }
    return EditDistance(name, kPlaceholderName) <= 2 || EditDistance(name, "GroupName") == 0;
}

// The first bracketed token of `text` meant as the placeholder that the
// program leaves as written; empty when there is none.
std::string MisspeltPlaceholder(const std::string& text) {
    const std::string replaced = SubstitutePlaceholder(text, std::string(1, '\x01'));
    for (std::size_t open = replaced.find_first_of(kOpeners); open != std::string::npos;
         open = replaced.find_first_of(kOpeners, open + 1)) {
        const std::size_t close = replaced.find_first_of(kClosers, open + 1);
        if (close == std::string::npos || close - open > kLongestToken) continue;
        const std::string token = replaced.substr(open, close - open + 1);
        if (token.find('\x01') == std::string::npos &&
            MeantAsPlaceholder(std::string_view(token).substr(1, token.size() - 2)))
            return token;
    }
    return {};
}

}  // namespace

void CheckPlaceholderMisspelt(RunFacts& facts, RuleFindings& found) {
    for (const ProfileLine* line : LinesReadByRun(facts)) {
        const std::string token = MisspeltPlaceholder(line->text);
        if (token.empty()) continue;
        found.Add(Severity::Warning, line->number,
                  "the program does not take " +
                      Quoted(ToUtf8(token, facts.run.Language().codePage)) +
                      " for the placeholder \"<GROUp>\" and keeps it as written, so the group "
                      "name is not put in here; write <GROUp>");
    }
}

}  // namespace setup32::check
