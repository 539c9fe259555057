#include "platform/sim/temp_directory.h"

#include <stdlib.h>

#include <vector>

namespace setup32::platform::sim {

TempDirectory::TempDirectory(const std::string& prefix) {
    std::error_code ec;
    const std::string pattern =
        (std::filesystem::temp_directory_path(ec) / (prefix + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) != nullptr) path_ = name.data();
}

TempDirectory::~TempDirectory() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

}  // namespace setup32::platform::sim
