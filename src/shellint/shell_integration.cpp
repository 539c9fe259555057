// The shell-integration pass: the data its steps share, then the steps in
// their fixed order.
#include "shellint/shell_integration.h"

#include "shellint/shell_text.h"
#include "state/context.h"
#include "state/script.h"

namespace setup32 {

// The working directory names the start directory's folder afresh.
static_assert(shell_capacity::kWorkingDirectory == kStartDirCapacity);

void GetWorkingDirectory(SetupContext& ctx, std::string& directory, std::size_t capacity) {
    directory = ctx.sys.files.CurrentDirectory(capacity);
    // Held as "A:" so that joining with a backslash gives "A:\NAME".
    if (IsDriveRoot(directory)) directory.pop_back();
}

void RunShellIntegration(SetupContext& ctx, platform::WindowHandle mainWindow, int osKind) {
    ShellIntegrationState& shell = ctx.shell;
    shell.mainWindow = mainWindow;
    GetWorkingDirectory(ctx, shell.workingDirectory, shell_capacity::kWorkingDirectory);
    // Without it neither the script nor the programs beside it can be found.
    if (shell.workingDirectory.empty()) return;
    ctx.scriptPath = shell_text::JoinPath(shell.workingDirectory, kScriptName);
    shell.groupFiles.fill(std::string());
    shell.groupNames.fill(std::string());
    GetStartupGroupName(ctx, osKind, shell.startupGroupName);
    GetProgramsFolder(ctx, osKind, shell.programsFolder);
    ReadGroupName(ctx, ctx.scriptPath);

    RecordExtraUninstallFiles(ctx, osKind);
    CreateShortcuts(ctx, osKind);
    RunExecuteSection(ctx, osKind);
    RegisterUninstall(ctx, osKind);
    DeleteGroupFiles(ctx);
}

}  // namespace setup32
