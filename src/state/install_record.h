// The record of installed items in the product key, and the two registry
// helpers the shell integration uses.
#pragma once

#include <cstddef>
#include <string>

#include "platform/registry.h"

namespace setup32 {

struct SetupContext;

// Writes a REG_SZ value, stored with its terminating NUL, after setting the
// key's default value to "" (which creates the key when needed); 0 on
// success, -1 on failure.
int WriteRegString(platform::Registry& registry, platform::RegRoot root, const std::string& key,
                   const std::string& name, const std::string& data);
// Reads a value into `data` (at most `capacity` bytes; the stored bytes up
// to their terminating NUL); 0 on success, -1 on failure with `data`
// unchanged. The key is opened for reading only, so a user without
// administrator rights can still read machine-wide keys.
int ReadRegValue(platform::Registry& registry, platform::RegRoot root, const std::string& key,
                 const std::string& name, std::string& data, std::size_t capacity);

// The longest group name the product key holds: "software\" and the name
// fit in 200 bytes with their terminator.
constexpr std::size_t kProductKeyNameLimit = 190;

// The product key below HKEY_CURRENT_USER: "software\" + the group name. An
// empty group name (the script's key present without a value) gives the
// default name, so that no record lands in the Software key itself; a name
// over 190 bytes is cut there, on a character boundary.
std::string ProductKey(const SetupContext& ctx);
// Records `path` as a value of the product key whose data is the path
// again; the result of WriteRegString.
int RecordInstalledItem(SetupContext& ctx, const std::string& path);

}  // namespace setup32
