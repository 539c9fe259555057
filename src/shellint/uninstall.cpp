// The extra files recorded for the uninstall program, and the uninstall
// entry that registers that program with Windows.
#include <string>
#include <string_view>
#include <vector>

#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/ansi_text.h"
#include "state/context.h"
#include "state/install_record.h"
#include "state/script.h"

namespace setup32 {
namespace {

using shell_text::Fits;
using shell_text::JoinPath;

// A group name that can name a key of its own: not empty and not ending in
// a backslash, which would make the entry's key path end in one.
bool NamesOwnKey(const platform::HostFacts& host, const std::string& groupName) {
    return !groupName.empty() && FindLastCharOf(host, groupName, "\\") != groupName.size() - 1;
}

// The program's path, one space, and the program's directory.
std::string UninstallCommand(const platform::HostFacts& host, const std::string& program) {
    return program + ' ' + program.substr(0, FindLastCharOf(host, program, "\\"));
}

// {Windows directory}\{file} of the "UnInstall" section's first entry;
// empty when there is none to register.
std::string UninstallProgram(SetupContext& ctx) {
    const platform::SectionBlock block = ReadScriptSection(
        ctx, script_names::kUninstall, script_capacity::kUninstallSection, ctx.scriptPath);
    if (block.TooLarge()) return std::string();
    const std::vector<std::string_view> entries = block.Lines();
    if (entries.empty() || shell_text::IsComment(entries.front())) return std::string();
    const std::string_view file = shell_text::ValueAfterKey(entries.front());
    if (file.empty()) return std::string();
    std::string program = JoinPath(ctx.windowsDirText, file);
    return Fits(program, shell_capacity::kUninstallProgram) ? program : std::string();
}

}  // namespace

void RecordExtraUninstallFiles(SetupContext& ctx, int osKind) {
    const std::string section =
        shell_text::PlatformSection(osKind, shell_text::section_family::kUninstallExtraFile);
    if (section.empty()) return;
    const platform::SectionBlock block =
        ReadScriptSection(ctx, section, script_capacity::kSection, ctx.scriptPath);
    if (block.TooLarge()) return;
    for (const std::string_view entry : block.Lines()) {
        if (shell_text::IsComment(entry)) continue;
        const std::string_view file = shell_text::ValueAfterKey(entry);
        if (file.empty()) continue;
        const std::string path = JoinPath(ctx.windowsDirText, file);
        if (Fits(path, shell_capacity::kExtraFilePath)) RecordInstalledItem(ctx, path);
    }
}

void RegisterUninstall(SetupContext& ctx, int osKind) {
    // Windows 2000 lists installed programs from the same key as the others.
    if (!shell_text::IsShellPlatform(osKind)) return;
    const std::string program = UninstallProgram(ctx);
    if (program.empty()) return;
    const std::string entryKey = JoinPath(kUninstallKey, ctx.groupName);
    if (!NamesOwnKey(ctx.sys.host, ctx.groupName) ||
        !Fits(entryKey, shell_capacity::kUninstallEntryKey))
        return;

    platform::Registry& registry = ctx.sys.registry;
    const platform::RegRoot root = platform::RegRoot::LocalMachine;
    WriteRegString(registry, root, entryKey, "DisplayName", ctx.groupName);
    WriteRegString(registry, root, entryKey, "UnInstallString",
                   UninstallCommand(ctx.sys.host, program));
}

}  // namespace setup32
