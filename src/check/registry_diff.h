// The difference between two REGEDIT4 exports of the simulated machine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"

namespace setup32::check {

// The values of one key of an export, in the export's order.
struct ExportedKey {
    std::string name;
    std::vector<NamedValue> values;  // a value's name "@" is the default value
};

std::vector<ExportedKey> ParseRegistryExport(std::string_view text);

// Keys created and deleted and values added, changed and removed, in the
// order of `after` (then what went from `before`). Key names are compared
// without regard to case, as Windows does; texts stay bytes.
std::vector<RegistryChange> DiffRegistry(std::string_view before, std::string_view after);

}  // namespace setup32::check
