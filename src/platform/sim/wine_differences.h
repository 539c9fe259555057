// The calls in which Wine does not behave as Windows does, from
// wine_differences.tsv: one list for the conformance suite, the checker and
// the demo.
#pragma once

#include <string_view>
#include <vector>

namespace setup32::sim {

struct WineDifference {
    std::string_view id;        // "utf8-bom"
    std::string_view versions;  // the Windows versions it holds for: "95 98 NT 2000"
    std::string_view wine;      // what Wine does
    std::string_view windows;   // what Windows does
};

// Every difference, in the table's order.
const std::vector<WineDifference>& WineDifferences();

// The difference of that id; the program ends when there is none, as a
// misspelt id is a fault of the caller's source.
const WineDifference& WineDifferenceById(std::string_view id);

}  // namespace setup32::sim
