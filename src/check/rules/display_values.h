// The [Display] values the program reads: each key with its buffer and what
// its value does, and what the run takes where [Display] is not read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "check/rules/rule.h"

namespace setup32::check {

struct KeyedValue {
    const char* key;
    std::size_t capacity;
    const char* effect;  // what a value cut to the buffer does
};

extern const KeyedValue kDisplayValues[5];

std::vector<std::string> DisplayKeys();

// The defaults the run takes without [Display], and what they do there.
std::string DefaultsTaken(RunFacts& facts);

}  // namespace setup32::check
