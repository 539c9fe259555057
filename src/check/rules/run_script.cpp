#include "check/rules/run_script.h"

#include "check/rules/name_chars.h"
#include "check/script_view.h"
#include "messages/messages.h"
#include "shellint/shell_text.h"
#include "state/context.h"
#include "state/script.h"

namespace setup32::check {

bool OnNt(RunFacts& facts) {
    return shell_text::IsNtFamily(facts.run.OsKind());
}

bool SameName(RunFacts& facts, std::string_view a, std::string_view b) {
    return platform::sim::SameNameOn(facts.run.Context().sys.host, a, b);
}

const ProfileSection* FindSection(RunFacts& facts, std::string_view name) {
    return FindProfileSection(facts.layout, name, facts.run.Context().sys.host);
}

const ProfileLine* DisplayLine(RunFacts& facts, std::string_view key) {
    return DisplayLineOf(facts.run, facts.layout, key);
}

std::string DisplayValue(RunFacts& facts, const char* key, const char* fallback,
                         std::size_t capacity) {
    return ReadScriptValue(facts.run.Context(), ScriptPathOf(facts.run), script_names::kDisplay,
                           key, fallback, capacity);
}

std::vector<std::string_view> FileLines(RunFacts& facts) {
    return ProfileFileLines(facts.run.ScriptBytes());
}

std::string_view RawValue(const std::vector<std::string_view>& fileLines, const ProfileLine& line) {
    if (line.number < 1 || static_cast<std::size_t>(line.number) > fileLines.size()) return {};
    const std::string_view raw = fileLines[line.number - 1];
    return raw.substr(raw.find('=') + 1);
}

bool GroupNameSplits(RunFacts& facts, std::string_view written) {
    return HoldsPlaceholder(written) &&
           facts.run.Context().groupName.find(',') != std::string::npos;
}

bool PutsInRefusedGroupName(RunFacts& facts, std::string_view written) {
    return HoldsPlaceholder(written) &&
           RefusedCharacter(facts.run.Context().groupName, kRefusedInGroupName) != '\0';
}

}  // namespace setup32::check
