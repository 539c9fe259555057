// Program groups and shortcuts: the ShortCut section becomes a group script
// for the program-group converter, and the links and folders the converter
// is to make are recorded in the product key.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/ansi_text.h"
#include "state/ascii_text.h"
#include "state/context.h"
#include "state/install_record.h"
#include "state/script.h"

namespace setup32 {
namespace {

using shell_text::Fits;
using shell_text::JoinPath;

constexpr const char* kShellFoldersKey =
    "software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::size_t kGroupFileStem = 8;
constexpr std::size_t kWindowsDirectoryCapacity = 260;

struct ShortcutFields {
    std::string_view program;
    std::string_view group;
    std::string_view title;
};

// Splits "program,group,title"; text after a third "," is ignored. False
// when the value has fewer than three fields.
bool SplitShortcutFields(std::string_view value, ShortcutFields& fields) {
    const std::size_t first = value.find(',');
    if (first == std::string_view::npos) return false;
    const std::size_t second = value.find(',', first + 1);
    if (second == std::string_view::npos) return false;
    const std::size_t third = value.find(',', second + 1);
    fields.program = value.substr(0, first);
    fields.group = value.substr(first + 1, second - first - 1);
    fields.title = value.substr(
        second + 1, third == std::string_view::npos ? std::string_view::npos : third - second - 1);
    return true;
}

// {Windows directory}\{group without spaces, cut to eight}.GRP
std::string GroupFilePath(const SetupContext& ctx, std::string_view group) {
    std::string stem(group);
    StripSpaces(stem);
    return JoinPath(ctx.windowsDirText, CutToBytes(ctx.sys.host, stem, kGroupFileStem)) + ".GRP";
}

void FillShortcutTable(SetupContext& ctx, const platform::SectionBlock& block) {
    ShellIntegrationState& shell = ctx.shell;
    std::size_t record = 0;
    std::size_t groupFile = 0;
    std::size_t groupName = 0;
    for (const std::string_view entry : block.Lines()) {
        if (record == kMaxShortcuts) break;
        if (shell_text::IsComment(entry)) continue;
        if (!ParseShortcutEntry(ctx, ShortcutValue(entry), shell.shortcuts[record],
                                shell.groupFiles[groupFile], shell.groupNames[groupName])) {
            continue;
        }
        ++record;
        if (!shell.groupFiles[groupFile].empty()) ++groupFile;
        if (!shell.groupNames[groupName].empty()) ++groupName;
    }
}

platform::SectionBlock ReadShortcutSection(SetupContext& ctx, const std::string& section) {
    return ReadScriptSection(ctx, section, script_capacity::kSection, ctx.scriptPath);
}

// Replaces the target by its short form; a target that has none (such as a
// missing file) keeps its long path.
void ShortenTarget(SetupContext& ctx, ShortcutRecord& record) {
    std::string shortPath;
    if (ctx.sys.files.ShortPathName(record.target, shell_capacity::kTarget, shortPath) == 0) {
        record.target = std::move(shortPath);
    }
}

// [groupX{i}] with one item: "title","program",,,,"directory".
std::string ItemSection(const platform::HostFacts& host, std::size_t index,
                        const ShortcutRecord& record) {
    const std::string_view target = record.target;
    const std::string_view directory = target.substr(0, FindLastCharOf(host, target, "\\"));
    std::string text = "[groupX" + std::to_string(index) + "]\r\n";
    text.append("\"").append(record.title).append("\",\"");
    text.append(target).append("\",,,,\"").append(directory).append("\"\r\n");
    return text;
}

// The group script's bytes. The targets become their short forms on the way.
std::string GroupScriptText(SetupContext& ctx) {
    auto& shortcuts = ctx.shell.shortcuts;
    const std::size_t count = UsedSlots(shortcuts);
    std::string text = "[progman.groups]\r\n";
    for (std::size_t i = 0; i < count; ++i) {
        text.append("groupX" + std::to_string(i) + "=").append(shortcuts[i].group).append("\r\n");
    }
    for (std::size_t i = 0; i < count; ++i) {
        ShortenTarget(ctx, shortcuts[i]);
        text.append(ItemSection(ctx.sys.host, i, shortcuts[i]));
    }
    return text;
}

// Creates (or truncates) the file and writes the script; false when any of
// it failed, so that the converter never reads a partial script.
bool SaveGroupScript(SetupContext& ctx, const std::string& path) {
    platform::FileSystem& files = ctx.sys.files;
    std::uint32_t error = 0;
    platform::FileStream file(files, files.CreateForWrite(path, error));
    if (!file) return false;
    const bool written = file.Write(GroupScriptText(ctx)) == 0;
    return file.Close() == 0 && written;
}

// The links and group folders the converter is to make.
void RecordShortcutsAndGroups(SetupContext& ctx) {
    const ShellIntegrationState& shell = ctx.shell;
    for (std::size_t i = 0; i < UsedSlots(shell.shortcuts); ++i) {
        const ShortcutRecord& record = shell.shortcuts[i];
        RecordInstalledItem(
            ctx, JoinPath(JoinPath(shell.programsFolder, record.group), record.title) + ".LNK");
    }
    for (std::size_t i = 0; i < UsedSlots(shell.groupNames); ++i) {
        RecordInstalledItem(ctx, JoinPath(shell.programsFolder, shell.groupNames[i]));
    }
}

}  // namespace

std::string_view ShortcutValue(std::string_view entry) {
    const std::size_t equals = entry.find('=');
    return equals == std::string_view::npos ? entry : entry.substr(equals + 1);
}

void GetStartupGroupName(SetupContext& ctx, int osKind, std::string& name) {
    platform::RegRoot root = platform::RegRoot::CurrentUser;
    const char* valueName = nullptr;
    if (shell_text::IsWindows9x(osKind)) {
        valueName = "StartUp";
    } else if (shell_text::IsNtFamily(osKind)) {
        root = platform::RegRoot::LocalMachine;
        valueName = "Common Startup";
    } else {
        return;
    }
    std::string folder;
    if (ReadRegValue(ctx.sys.registry, root, kShellFoldersKey, valueName, folder,
                     shell_capacity::kFolderValue) != 0) {
        return;
    }
    const std::size_t backslash = FindLastCharOf(ctx.sys.host, folder, "\\");
    const std::string_view last =
        backslash == std::string::npos ? folder : std::string_view(folder).substr(backslash + 1);
    if (Fits(last, shell_capacity::kStartupGroupName)) name = last;
}

void GetProgramsFolder(SetupContext& ctx, int osKind, std::string& folder) {
    if (!shell_text::IsShellPlatform(osKind)) return;
    std::string value;
    if (ReadRegValue(ctx.sys.registry, platform::RegRoot::CurrentUser, kShellFoldersKey, "Programs",
                     value, shell_capacity::kFolderValue) == 0) {
        folder = std::move(value);
    }
}

void StripSpaces(std::string& text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
}

bool ParseShortcutEntry(SetupContext& ctx, std::string_view value, ShortcutRecord& record,
                        std::string& groupFile, std::string& groupName) {
    ShortcutFields fields;
    if (!SplitShortcutFields(value, fields)) return false;
    std::string target = JoinPath(ctx.windowsDirText, fields.program);
    if (!Fits(fields.program, shell_capacity::kProgramField) ||
        !Fits(target, shell_capacity::kTarget) || !Fits(fields.title, shell_capacity::kTitle)) {
        return false;
    }
    if (NamesStartupGroup(fields.group)) {
        // Without a known Startup folder the record would have an empty
        // group, which ends the table.
        if (ctx.shell.startupGroupName.empty()) return false;
        record.group = ctx.shell.startupGroupName;
    } else {
        std::string file = GroupFilePath(ctx, fields.group);
        if (!Fits(fields.group, shell_capacity::kGroup) || !Fits(file, shell_capacity::kListSlot)) {
            return false;
        }
        record.group = fields.group;
        groupName = fields.group;
        groupFile = std::move(file);
    }
    record.title = fields.title;
    record.target = std::move(target);
    return true;
}

void CreateShortcuts(SetupContext& ctx, int osKind) {
    const std::string section =
        shell_text::PlatformSection(osKind, shell_text::section_family::kShortcut);
    if (section.empty()) return;
    ctx.shell.shortcuts.fill(ShortcutRecord());
    platform::SectionBlock block = ReadShortcutSection(ctx, section);
    if (block.TooLarge()) return;
    if (block.count == 0) {
        block = ReadShortcutSection(ctx, section);
        if (block.TooLarge()) return;
    }
    FillShortcutTable(ctx, block);
    WriteGroupScript(ctx);
}

void WriteGroupScript(SetupContext& ctx) {
    std::string windowsDirectory;
    if (!ctx.sys.files.WindowsDirectory(kWindowsDirectoryCapacity, windowsDirectory)) return;
    if (!SaveGroupScript(ctx, JoinPath(windowsDirectory, shell_text::kGroupScriptName))) return;
    ctx.sys.desktop.Exec(shell_text::kConverterCommand, platform::sw::kShowNA);
    ctx.sys.desktop.BringToForeground(ctx.shell.mainWindow);
    RecordShortcutsAndGroups(ctx);
}

void DeleteGroupFiles(SetupContext& ctx) {
    const ShellIntegrationState& shell = ctx.shell;
    for (std::size_t i = 0; i < UsedSlots(shell.groupFiles); ++i) {
        ctx.sys.files.Remove(shell.groupFiles[i]);
    }
}

}  // namespace setup32
