#include "check/rules/modify_keys.h"

#include <algorithm>

#include "check/rules/run_script.h"
#include "check/script_rules.h"
#include "state/script.h"

namespace setup32::check {

int ModifyKeysRead(const ProfileSection& modify) {
    int read = 0;
    for (;; ++read) {
        const std::string key = std::to_string(read + 1);
        const auto line =
            std::find_if(modify.lines.begin(), modify.lines.end(),
                         [&key](const ProfileLine& l) { return l.hasKey && l.key == key; });
        if (line == modify.lines.end() || line->value.empty()) return read;
    }
}

bool IsModifyEntryRead(const ProfileLine& line, int keysRead) {
    return line.hasKey && IsNumber(line.key) && line.key.front() != '0' && line.key.size() <= 9 &&
           std::stoi(line.key) <= keysRead;
}

std::vector<const ProfileLine*> ModifyEntriesRead(RunFacts& facts) {
    std::vector<const ProfileLine*> entries;
    const ProfileSection* modify = FindSection(facts, script_names::kModify);
    if (modify == nullptr) return entries;
    const int read = ModifyKeysRead(*modify);
    for (const ProfileLine& line : modify->lines) {
        if (IsModifyEntryRead(line, read)) entries.push_back(&line);
    }
    return entries;
}

}  // namespace setup32::check
