// A fresh directory on the host, removed with everything in it when the
// owner goes. The simulated machine's drives are mapped onto such folders.
#pragma once

#include <filesystem>
#include <string>

namespace setup32::platform::sim {

class TempDirectory {
  public:
    // A new empty directory below the system's temporary folder, its name
    // starting with `prefix`. Empty path() when none could be made.
    explicit TempDirectory(const std::string& prefix = "setup32-sim");
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace setup32::platform::sim
