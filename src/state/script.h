// Access to the setup script, SETUP32.INI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace setup32 {

namespace platform {
class FileSystem;
}

struct SetupContext;

// Capacities of the script's values and sections, in bytes.
namespace script_capacity {
constexpr std::size_t kGroupName = 200;
constexpr std::size_t kShow = 10;
constexpr std::size_t kDeviceId = 80;
constexpr std::size_t kTitle = 30;
constexpr std::size_t kDriver = 80;
constexpr std::size_t kSection = 2048;
constexpr std::size_t kUninstallSection = 180;
}  // namespace script_capacity

// The sections and keys the program reads by name, beside the list sections
// named by platform family.
namespace script_names {
constexpr const char* kDisplay = "Display";
constexpr const char* kGroupName = "GroupName";
constexpr const char* kShow = "bShow";
constexpr const char* kDeviceId = "DeviceID";
constexpr const char* kTitle = "Title";
constexpr const char* kDriver = "Driver";
constexpr const char* kModify = "Modify";
constexpr const char* kUninstall = "UnInstall";
}  // namespace script_names

// Defaults of the keyed values read by the install sequence.
namespace script_default {
constexpr const char* kShow = "YES";
constexpr const char* kDeviceId = "6E02";
constexpr const char* kServiceTitle = "MDR420X";
}  // namespace script_default

// True for a drive root of exactly three characters such as "A:\".
bool IsDriveRoot(const std::string& directory);

// The script's path in `startDir`: a "\" between the two unless `startDir`
// is a drive root.
std::string ScriptPath(const std::string& startDir, const std::string& scriptName);

// Whether the setup script can be read, and if not, why.
struct ScriptAccess {
    enum class State {
        kReadable,
        kNotFound,    // no file or path of that name, or a directory
        kUnreadable,  // the look-up or the open failed for another reason
    };
    State state = State::kReadable;
    std::uint32_t error = 0;  // the Windows error of the look-up or the open
};

// Looks the script up and opens it for reading, as the profile reads will.
ScriptAccess CheckScriptAccess(platform::FileSystem& files, const std::string& scriptPath);

// Reads [Display] GroupName into ctx.groupName (capacity 200, default
// "VELKA Technology Corp").
void ReadGroupName(SetupContext& ctx, const std::string& scriptPath);

// Reads a list section into a block of `capacity` bytes, with every
// "<GROUp>" (in any letter case) replaced by the group name, which it
// re-reads first. The count is capacity - 2 when the section, before or
// after the substitution, does not fit.
platform::SectionBlock ReadScriptSection(SetupContext& ctx, const std::string& section,
                                         std::size_t capacity, const std::string& scriptPath);

// A keyed read of the script.
std::string ReadScriptValue(SetupContext& ctx, const std::string& scriptPath,
                            const std::string& section, const std::string& key,
                            const std::string& fallback, std::size_t capacity);

// The [Display] DeviceID value split at ","; empty pieces are skipped and
// blanks stay part of a piece.
std::vector<std::string> SplitDeviceIds(const std::string& value);

}  // namespace setup32
