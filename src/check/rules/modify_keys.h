// The keys of [Modify] that the CONFIG.SYS editor reads: "1", "2", ... up to
// the first that is missing or empty.
#pragma once

#include "check/rules/rule.h"

namespace setup32::check {

// How many keys the editor reads.
int ModifyKeysRead(const ProfileSection& modify);

// True when the line is one of the entries the editor reads.
bool IsModifyEntryRead(const ProfileLine& line, int keysRead);

}  // namespace setup32::check
