// The miniport service the program registers on the NT family, named by
// [Display]'s Driver and Title.
#pragma once

#include <optional>
#include <string>

#include "check/rules/rule.h"

namespace setup32::check {

struct MiniportService {
    std::string driver;  // the driver file
    std::string title;   // the service's name
    // The program registers no service whose name is not one key below
    // Services.
    bool registrable;
};

// None off the NT family, and for a script without a Driver, which updates
// the files of a miniport that is registered already.
std::optional<MiniportService> MiniportServiceOf(RunFacts& facts);

}  // namespace setup32::check
