// The post-install programs of the Execute section, started from the
// directory the setup runs from and left running.
#include <algorithm>
#include <string>
#include <string_view>

#include "shellint/shell_integration.h"
#include "shellint/shell_text.h"
#include "state/context.h"
#include "state/script.h"

namespace setup32 {

void RunExecuteSection(SetupContext& ctx, int osKind) {
    const std::string section =
        shell_text::PlatformSection(osKind, shell_text::section_family::kExecute);
    if (section.empty()) return;
    ShellIntegrationState& shell = ctx.shell;
    shell.commandLines.fill(std::string());
    const platform::SectionBlock block =
        ReadScriptSection(ctx, section, script_capacity::kSection, ctx.scriptPath);
    if (block.TooLarge()) return;

    std::size_t slot = 0;
    for (const std::string_view entry : block.Lines()) {
        if (slot == kMaxPrograms) break;
        if (shell_text::IsComment(entry)) continue;
        const std::string_view program = shell_text::ValueAfterKey(entry);
        if (program.empty()) continue;
        std::string commandLine = shell_text::JoinPath(shell.workingDirectory, program);
        // A command line cut to its buffer could start another program.
        if (!shell_text::Fits(commandLine, shell_capacity::kCommandLine)) continue;
        shell.commandLines[slot++] = std::move(commandLine);
    }
    LaunchPrograms(ctx);
}

void LaunchPrograms(SetupContext& ctx) {
    const auto& commandLines = ctx.shell.commandLines;
    const std::size_t count = std::min(UsedSlots(commandLines), kMaxPrograms);
    for (std::size_t i = 0; i < count; ++i) {
        ctx.sys.desktop.Exec(commandLines[i], platform::sw::kShowNormal);
    }
}

}  // namespace setup32
