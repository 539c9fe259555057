#include "platform/sim/version_differences.h"

#include <cstdio>
#include <cstdlib>

namespace setup32::platform::sim {

const std::vector<VersionDifference>& VersionDifferences() {
    static const std::vector<VersionDifference> differences = {
        {"lone-cr", "95 98", "a lone CR does not end a profile line",
         "Wine dlls/kernel32/tests/profile.c: \"Win9x and WinME don't handle 'CR only' correctly\"",
         false},
    };
    return differences;
}

const VersionDifference& VersionDifferenceById(std::string_view id) {
    for (const VersionDifference& difference : VersionDifferences()) {
        if (difference.id == id) return difference;
    }
    std::fprintf(stderr, "no version difference named %.*s\n", static_cast<int>(id.size()),
                 id.data());
    std::abort();
}

}  // namespace setup32::platform::sim
