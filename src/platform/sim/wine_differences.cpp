#include "platform/sim/wine_differences.h"

#include <cstdio>
#include <cstdlib>

#include "wine_differences_table.h"  // kWineDifferencesTsv, made from wine_differences.tsv

namespace setup32::sim {
namespace {

std::string_view NextField(std::string_view& line) {
    const auto tab = line.find('\t');
    const std::string_view field = line.substr(0, tab);
    line = tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
    return field;
}

std::vector<WineDifference> ParseTable(std::string_view table) {
    std::vector<WineDifference> differences;
    while (!table.empty()) {
        const auto end = table.find('\n');
        std::string_view line = table.substr(0, end);
        table = end == std::string_view::npos ? std::string_view{} : table.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        WineDifference difference;
        difference.id = NextField(line);
        difference.versions = NextField(line);
        difference.wine = NextField(line);
        difference.windows = NextField(line);
        differences.push_back(difference);
    }
    return differences;
}

}  // namespace

const std::vector<WineDifference>& WineDifferences() {
    static const std::vector<WineDifference> differences = ParseTable(kWineDifferencesTsv);
    return differences;
}

const WineDifference& WineDifferenceById(std::string_view id) {
    for (const WineDifference& difference : WineDifferences()) {
        if (difference.id == id) return difference;
    }
    std::fprintf(stderr, "no Wine difference named %.*s\n", static_cast<int>(id.size()), id.data());
    std::abort();
}

}  // namespace setup32::sim
