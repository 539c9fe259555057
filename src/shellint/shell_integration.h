// The shell-integration pass: program groups and shortcuts, the uninstall
// entry and the post-install programs.
#pragma once

#include <string>

#include "platform/types.h"

namespace setup32 {

struct SetupContext;
struct ShortcutRecord;

void RunShellIntegration(SetupContext& ctx, platform::WindowHandle mainWindow, int osKind);

// The pass's steps, in the order it runs them.
void RecordExtraUninstallFiles(SetupContext& ctx, int osKind);
void CreateShortcuts(SetupContext& ctx, int osKind);
void RunExecuteSection(SetupContext& ctx, int osKind);
void RegisterUninstall(SetupContext& ctx, int osKind);
void DeleteGroupFiles(SetupContext& ctx);

// Helpers of the program-group step.
void GetWorkingDirectory(SetupContext& ctx, std::string& directory, std::size_t capacity);
void GetStartupGroupName(SetupContext& ctx, int osKind, std::string& name);
void GetProgramsFolder(SetupContext& ctx, int osKind, std::string& folder);
void StripSpaces(std::string& text);
void WriteGroupScript(SetupContext& ctx);
void LaunchPrograms(SetupContext& ctx);

}  // namespace setup32
