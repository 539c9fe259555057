// A file of the host machine, open through the C library and closed when
// its owner goes.
#pragma once

#include <cstdio>
#include <memory>

namespace setup32::platform::sim {

struct CloseHostFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

using HostFile = std::unique_ptr<std::FILE, CloseHostFile>;

}  // namespace setup32::platform::sim
