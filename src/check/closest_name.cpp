#include "check/closest_name.h"

#include <algorithm>
#include <numeric>

namespace setup32::check {
namespace {

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The edit distance of two names already in one case; `row` is scratch.
std::size_t Distance(std::string_view a, std::string_view b, std::vector<std::size_t>& row) {
    row.resize(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t substitute = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, substitute});
        }
    }
    return row[b.size()];
}

}  // namespace

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row;
    return Distance(AsciiLower(a), AsciiLower(b), row);
}

std::string ClosestName(std::string_view name, const std::vector<std::string>& known) {
    const std::string lower = AsciiLower(name);
    std::vector<std::size_t> row;
    const std::string* nearest = nullptr;
    std::size_t nearestDistance = 0;
    for (const std::string& candidate : known) {
        // The distance is at least the difference in length.
        const std::size_t shortest = std::min(lower.size(), candidate.size());
        const std::size_t longest = std::max(lower.size(), candidate.size());
        if (nearest != nullptr && longest - shortest >= nearestDistance) continue;
        const std::size_t distance = Distance(lower, AsciiLower(candidate), row);
        if (nearest == nullptr || distance < nearestDistance) {
            nearest = &candidate;
            nearestDistance = distance;
            if (distance == 0) break;  // the name itself: none is nearer
        }
    }
    return nearest == nullptr ? std::string() : *nearest;
}

}  // namespace setup32::check
