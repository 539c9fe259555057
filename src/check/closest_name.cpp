#include "check/closest_name.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace setup32::check {
namespace {

bool SameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t substitute = diagonal + (SameLetter(a[i - 1], b[j - 1]) ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, substitute});
        }
    }
    return row[b.size()];
}

std::string ClosestName(std::string_view name, const std::vector<std::string>& known) {
    const auto nearest = std::min_element(known.begin(), known.end(),
                                          [name](const std::string& x, const std::string& y) {
                                              return EditDistance(name, x) < EditDistance(name, y);
                                          });
    return nearest == known.end() ? std::string() : *nearest;
}

}  // namespace setup32::check
