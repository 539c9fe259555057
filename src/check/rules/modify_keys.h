// The keys of [Modify] that the CONFIG.SYS editor reads: "1", "2", ... up to
// the first that is missing or empty.
#pragma once

#include <vector>

#include "check/rules/rule.h"

namespace setup32::check {

// How many keys the editor reads.
int ModifyKeysRead(const ProfileSection& modify);

// True when the line is one of the entries the editor reads.
bool IsModifyEntryRead(const ProfileLine& line, int keysRead);

// The lines of the run's [Modify] that the editor reads, in line order.
std::vector<const ProfileLine*> ModifyEntriesRead(RunFacts& facts);

}  // namespace setup32::check
