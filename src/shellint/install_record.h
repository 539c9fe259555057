// The record of installed items in the product key, and the two registry
// helpers the shell integration uses.
#pragma once

#include <cstddef>
#include <string>

#include "platform/registry.h"

namespace setup32 {

struct SetupContext;

// Writes a REG_SZ value (and resets the key's default value to ""); 0 on
// success, -1 on failure.
int WriteRegString(platform::Registry& registry, platform::RegRoot root, const std::string& key,
                   const std::string& name, const std::string& data);
// Reads a value into `data` (at most `capacity` bytes; the stored bytes up
// to their terminating NUL); 0 on success, -1 on failure, `data` unchanged.
int ReadRegValue(platform::Registry& registry, platform::RegRoot root, const std::string& key,
                 const std::string& name, std::string& data, std::size_t capacity);
// The product key, "software\" + the group name.
std::string ProductKey(const SetupContext& ctx);
// Records `path` as a value of the product key; the result of WriteRegString.
int RecordInstalledItem(SetupContext& ctx, const std::string& path);

}  // namespace setup32
