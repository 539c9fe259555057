// Where Windows 95 and 98 (or NT 4.0) do not do what Windows 2000 does in a
// call the program makes, as the simulated machine models it. Each call that
// meets a difference on the version the machine is set to records it, so a
// reader of the run (the checker) can say on which line of which file the
// version changed the outcome.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup32::platform::sim {

struct VersionDifference {
    std::string_view id;         // "lone-cr"
    std::string_view versions;   // the versions that behave so: "95 98"
    std::string_view behaviour;  // what those versions do, as one sentence
    std::string_view source;     // where that is documented
    bool certain;                // false: the source says only that they differ
};

// Every difference the machine models, in a fixed order.
const std::vector<VersionDifference>& VersionDifferences();

// The difference of that id; the program ends when there is none.
const VersionDifference& VersionDifferenceById(std::string_view id);

// One meeting of a difference during a run.
struct VersionDifferenceMet {
    std::string id;
    std::string path;  // the Windows path of the file, or the registry key
    int line = 0;      // the profile file's line (from 1); 0 when none applies
    bool operator==(const VersionDifferenceMet& other) const {
        return id == other.id && path == other.path && line == other.line;
    }
};

}  // namespace setup32::platform::sim
