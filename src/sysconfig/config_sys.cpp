// The CONFIG.SYS editor: drops every line that names a file of the script's
// "Modify" list and puts the result in place without ever leaving the
// machine without the file.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "install/setup_fields.h"
#include "state/context.h"
#include "state/script.h"
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

// How many names the old content may move to: "CONFIG.s32" first, then the
// other numbers of "CONFIG.s00" to "CONFIG.s99".
constexpr int kAsideNames = 100;
constexpr int kFirstAsideNumber = 32;

// The attributes that the new file takes over from the old one.
constexpr std::uint32_t kKeptAttributes = platform::kFileAttributeReadOnly |
                                          platform::kFileAttributeHidden |
                                          platform::kFileAttributeSystem;

// The target's name with its extension replaced by `extension`; empty when
// the file name has no extension.
std::string SiblingPath(const platform::HostFacts& host, const std::string& target,
                        const std::string& extension) {
    const std::size_t nameStart = target.size() - FileNamePart(host, target).size();
    const std::size_t dot = target.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return {};
    return target.substr(0, dot) + extension;
}

// The name the old content takes as set-aside number `number`, ".s00" to ".s99".
std::string AsidePath(const platform::HostFacts& host, const std::string& target, int number) {
    return SiblingPath(host, target, (number < 10 ? ".s0" : ".s") + std::to_string(number));
}

// A name beside the target that no file has, so that setting the old
// content aside never touches a file of someone else: "CONFIG.s32", then
// on to ".s99" and round from ".s00" to ".s31". None when Windows finds a
// file or directory under every one of them. When a look-up fails for
// another reason, the first name is given: moving onto it never replaces
// a file, so a taken name only makes the move fail.
std::optional<std::string> FreeAsidePath(const platform::HostFacts& host,
                                         platform::FileSystem& files, const std::string& target) {
    bool everyNameTaken = true;
    for (int n = 0; n < kAsideNames; ++n) {
        const std::string path = AsidePath(host, target, (kFirstAsideNumber + n) % kAsideNames);
        if (path.empty()) return path;  // no extension: the temporary file cannot be made either
        std::uint32_t attributes = 0;
        const std::uint32_t error = files.Attributes(path, attributes);
        if (error == platform::win_error::kFileNotFound) return path;
        everyNameTaken = everyNameTaken && error == platform::win_error::kSuccess;
    }
    if (everyNameTaken) return std::nullopt;
    return AsidePath(host, target, kFirstAsideNumber);
}

// The edit cannot begin: the old content would have nowhere to go.
ConfigOutcome AsideNamesTaken(const platform::HostFacts& host, const std::string& target) {
    ConfigOutcome outcome;
    outcome.fileError = true;
    outcome.path = target;
    outcome.asideNamesTaken = true;
    outcome.firstAsidePath = AsidePath(host, target, 0);
    outcome.lastAsidePath = AsidePath(host, target, kAsideNames - 1);
    return outcome;
}

ConfigOutcome FileFailure(const char* call, const std::string& path, std::uint32_t error) {
    ConfigOutcome outcome;
    outcome.fileError = true;
    outcome.failedCall = call;
    outcome.path = path;
    outcome.error = error;
    return outcome;
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
void RemoveAside(platform::FileSystem& files, const std::string& asidePath) {
    files.SetAttributes(asidePath, platform::kFileAttributeNormal);
    files.Remove(asidePath);
}

// The target's read-only, hidden and system attributes (0 when it has none
// or they cannot be read).
std::uint32_t KeptAttributes(platform::FileSystem& files, const std::string& target) {
    std::uint32_t attributes = 0;
    if (files.Attributes(target, attributes) != 0) return 0;
    return attributes & kKeptAttributes;
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
// target never goes missing on a failure. Once the new file is in place
// the edit has succeeded: it takes the old file's attributes, and an old
// content that cannot be deleted stays beside it.
ConfigOutcome ReplaceTarget(platform::FileSystem& files, const RewritePaths& paths) {
    const std::uint32_t kept = KeptAttributes(files, paths.target);
    if (const std::uint32_t error = files.Rename(paths.target, paths.aside)) {
        files.Remove(paths.temp);
        return FileFailure("MoveFileA", paths.target, error);
    }
    if (const std::uint32_t error = files.Rename(paths.temp, paths.target)) {
        if (files.Rename(paths.aside, paths.target) == 0) {
            files.Remove(paths.temp);
            return FileFailure("MoveFileA", paths.temp, error);
        }
        // Neither file came to the target's name: say where both contents are.
        ConfigOutcome outcome = FileFailure("MoveFileA", paths.temp, error);
        outcome.oldContentPath = paths.aside;
        outcome.newContentPath = paths.temp;
        return outcome;
    }
    if (kept != 0) files.SetAttributes(paths.target, kept);
    RemoveAside(files, paths.aside);
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
    std::uint32_t error = 0;
    platform::FileStream input(files, files.OpenForRead(target, error));
    if (!input) return {};
    const std::optional<std::string> aside = FreeAsidePath(ctx.sys.host, files, target);
    if (!aside) return AsideNamesTaken(ctx.sys.host, target);
    const RewritePaths paths{target, SiblingPath(ctx.sys.host, target, ".tmp"), *aside};
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
