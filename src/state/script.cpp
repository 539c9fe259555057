#include "state/script.h"

#include <algorithm>
#include <string_view>

#include "platform/files.h"
#include "state/ascii_text.h"
#include "state/context.h"

namespace setup32 {
namespace {

constexpr std::string_view kPlaceholder = "<GROUp>";

// Replaces every placeholder of `text` by `name`; the inserted name is never
// searched again.
std::string SubstitutePlaceholder(std::string text, const std::string& name) {
    std::size_t pos = text.find('<');
    while (pos != std::string::npos) {
        if (StartsWithIgnoringCase(text, pos, kPlaceholder)) {
            text.replace(pos, kPlaceholder.size(), name);
            pos = text.find('<', pos + name.size());
        } else {
            pos = text.find('<', pos + 1);
        }
    }
    return text;
}

// A failed look-up or open: Windows says there is no such file or path,
// or the script is there and cannot be read.
ScriptAccess Failed(std::uint32_t error) {
    const bool missing =
        error == platform::win_error::kFileNotFound || error == platform::win_error::kPathNotFound;
    return {missing ? ScriptAccess::State::kNotFound : ScriptAccess::State::kUnreadable, error};
}

}  // namespace

bool IsDriveRoot(const std::string& directory) {
    return directory.size() == 3 && directory[1] == ':' && directory[2] == '\\';
}

std::string ScriptPath(const std::string& startDir, const std::string& scriptName) {
    return IsDriveRoot(startDir) ? startDir + scriptName : startDir + "\\" + scriptName;
}

ScriptAccess CheckScriptAccess(platform::FileSystem& files, const std::string& scriptPath) {
    std::uint32_t attributes = 0;
    if (const std::uint32_t error = files.Attributes(scriptPath, attributes)) return Failed(error);
    if ((attributes & platform::kFileAttributeDirectory) != 0) {
        return {ScriptAccess::State::kNotFound, 0};
    }
    std::uint32_t error = 0;
    const platform::FileStream script(files, files.OpenForRead(scriptPath, error));
    return script ? ScriptAccess{} : Failed(error);
}

void ReadGroupName(SetupContext& ctx, const std::string& scriptPath) {
    ctx.groupName =
        ctx.sys.profile.ReadString(scriptPath, script_names::kDisplay, script_names::kGroupName,
                                   kDefaultGroupName, script_capacity::kGroupName);
}

std::string ReadScriptValue(SetupContext& ctx, const std::string& scriptPath,
                            const std::string& section, const std::string& key,
                            const std::string& fallback, std::size_t capacity) {
    return ctx.sys.profile.ReadString(scriptPath, section, key, fallback, capacity);
}

platform::SectionBlock ReadScriptSection(SetupContext& ctx, const std::string& section,
                                         std::size_t capacity, const std::string& scriptPath) {
    ReadGroupName(ctx, scriptPath);
    platform::SectionBlock block = ctx.sys.profile.ReadSection(scriptPath, section, capacity);
    if (ctx.groupName.empty() || block.count == 0 || block.TooLarge()) return block;

    const std::string substituted =
        SubstitutePlaceholder(std::string(block.bytes.data(), block.count), ctx.groupName);
    if (substituted.size() > capacity - 2) {
        // The lines no longer fit with their terminators: every consumer
        // skips a section that answers capacity - 2.
        block.count = capacity - 2;
        return block;
    }
    std::fill(block.bytes.begin(), block.bytes.end(), '\0');
    std::copy(substituted.begin(), substituted.end(), block.bytes.begin());
    block.count = substituted.size();
    return block;
}

}  // namespace setup32
