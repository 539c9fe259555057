// The CONFIG.SYS editor: drops every line that names a file of the script's
// "Modify" list and puts the result in place without ever leaving the
// machine without the file.
#include <algorithm>
#include <string>
#include <vector>

#include "install/context.h"
#include "install/script.h"
#include "install/setup_fields.h"
#include "sysconfig/config_text.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

constexpr std::size_t kReadChunk = 4096;

constexpr int kMsgDiskWriteError = 46;
constexpr int kMsgModifyingConfig = 47;
constexpr int kMsgBlockTooSmall = 48;
constexpr int kMsgNoEntries = 49;

// The files of one rewrite: the target, the temporary file that receives
// the new content, and the name the old content moves to while the new
// one takes its place. Both siblings lie in the target's directory.
struct RewritePaths {
    std::string target;
    std::string temp;
    std::string aside;
};

// The target's name with its extension replaced by `extension`; empty when
// the file name has no extension.
std::string SiblingPath(const platform::HostFacts& host, const std::string& target,
                        const char* extension) {
    const std::size_t nameStart = target.size() - FileNamePart(host, target).size();
    const std::size_t dot = target.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return {};
    return target.substr(0, dot) + extension;
}

RewritePaths PathsFor(const platform::HostFacts& host, const std::string& target) {
    return {target, SiblingPath(host, target, ".tmp"), SiblingPath(host, target, ".s32")};
}

ConfigOutcome FileFailure(const char* call, const std::string& path, std::uint32_t error) {
    return {true, call, path, error};
}

void ShowConfigBox(SetupContext& ctx, int textId, const std::string& caption, unsigned type) {
    ctx.sys.boxes.Show(0, ctx.Msg(textId), caption, type);
}

// The upper-cased file names to remove; empty, after a message, when the
// section has no entry or its entries do not fit.
std::vector<std::string> ReadMatchList(SetupContext& ctx, const std::string& section,
                                       const std::string& scriptPath) {
    const platform::SectionBlock block =
        ReadNumberedKeys(ctx, section, kModifyListCapacity, scriptPath);
    if (block.TooLarge()) {
        ShowConfigBox(ctx, kMsgBlockTooSmall, "", platform::mb::kOk);
        return {};
    }
    if (block.count == 0) {
        ShowConfigBox(ctx, kMsgNoEntries, "", platform::mb::kOk);
        return {};
    }
    return BuildMatchList(ctx.sys.host, block.Lines());
}

// Creates (or empties) the temporary file; a closed stream when it cannot,
// or when the target's name gave no temporary name.
platform::FileStream CreateTemp(platform::FileSystem& files, const std::string& tempPath) {
    if (tempPath.empty()) return {};
    std::uint32_t error = 0;
    return platform::FileStream(files, files.CreateForWrite(tempPath, error));
}

// Deletes the old content moved aside, which keeps the target's attributes:
// a read-only CONFIG.SYS must not keep its own copy from going.
std::uint32_t RemoveAside(platform::FileSystem& files, const std::string& asidePath) {
    files.SetAttributes(asidePath, platform::kFileAttributeNormal);
    return files.Remove(asidePath);
}

// Reads the whole target into `bytes` and closes it.
ConfigOutcome ReadTarget(platform::FileStream& input, const std::string& target,
                         std::string& bytes) {
    char chunk[kReadChunk];
    for (;;) {
        const long count = input.Read(chunk, sizeof chunk);
        if (count < 0) return FileFailure("_lread", target, platform::win_error::kReadFault);
        if (count == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
    if (const std::uint32_t error = input.Close()) return FileFailure("_lclose", target, error);
    return {};
}

// Writes and closes the temporary file.
ConfigOutcome WriteTemp(platform::FileStream& output, const std::string& tempPath,
                        const std::string& content) {
    if (!content.empty()) {
        if (const std::uint32_t error = output.Write(content)) {
            return FileFailure("_lwrite", tempPath, error);
        }
    }
    if (const std::uint32_t error = output.Close()) return FileFailure("_lclose", tempPath, error);
    return {};
}

// Puts the complete temporary file in the target's place. The old file
// moves aside first and comes back when the new one cannot move in, so the
// target never goes missing on a failure.
ConfigOutcome ReplaceTarget(platform::FileSystem& files, const RewritePaths& paths) {
    RemoveAside(files, paths.aside);  // left by an interrupted run, if at all
    if (const std::uint32_t error = files.Rename(paths.target, paths.aside)) {
        files.Remove(paths.temp);
        return FileFailure("MoveFileA", paths.target, error);
    }
    if (const std::uint32_t error = files.Rename(paths.temp, paths.target)) {
        // Should the old file not come back either, both contents stay where they are.
        if (files.Rename(paths.aside, paths.target) == 0) files.Remove(paths.temp);
        return FileFailure("MoveFileA", paths.temp, error);
    }
    if (const std::uint32_t error = RemoveAside(files, paths.aside)) {
        return FileFailure("DeleteFileA", paths.aside, error);
    }
    return {};
}

}  // namespace

platform::SectionBlock ReadNumberedKeys(SetupContext& ctx, const std::string& section,
                                        std::size_t capacity, const std::string& scriptPath) {
    platform::SectionBlock block;
    block.bytes.assign(capacity, '\0');
    for (int n = 1;; ++n) {
        const std::string value = ctx.sys.profile.ReadString(scriptPath, section, std::to_string(n),
                                                             "", kModifyEntryCapacity);
        if (value.empty()) return block;  // the block is zeroed: its closing NUL is in place
        if (block.count + value.size() + 2 > capacity) {
            block.count = capacity >= 2 ? capacity - 2 : 0;
            return block;
        }
        std::copy(value.begin(), value.end(), block.bytes.begin() + block.count);
        block.count += value.size() + 1;
    }
}

ConfigOutcome ModifyConfig(SetupContext& ctx, const SetupFields& dlg, const std::string& target,
                           const std::string& section) {
    platform::FileSystem& files = ctx.sys.files;
    const RewritePaths paths = PathsFor(ctx.sys.host, target);

    std::uint32_t error = 0;
    platform::FileStream input(files, files.OpenForRead(target, error));
    if (!input) return {};
    platform::FileStream output = CreateTemp(files, paths.temp);
    if (!output) {
        ShowConfigBox(ctx, kMsgDiskWriteError, ctx.Msg(kMsgModifyingConfig),
                      platform::mb::kOk | platform::mb::kIconError);
        return {};
    }

    const std::vector<std::string> matchList =
        ReadMatchList(ctx, section, ScriptPath(dlg.startDir, dlg.scriptName));

    std::string raw;
    ConfigOutcome outcome = ReadTarget(input, target, raw);
    if (!outcome.fileError) {
        const std::string kept =
            EncodeTextMode(RemoveMatchingLines(ctx.sys.host, DecodeTextMode(raw), matchList));
        outcome = WriteTemp(output, paths.temp, kept);
    }
    if (outcome.fileError) {
        // The target is untouched: drop the unfinished temporary file.
        output.Close();
        files.Remove(paths.temp);
        return outcome;
    }
    return ReplaceTarget(files, paths);
}

}  // namespace setup32
