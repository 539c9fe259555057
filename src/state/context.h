// The state that lives for the whole run of the program, owned by the
// application and passed by reference to every step.
#pragma once

#include <cstddef>
#include <string>

#include "messages/messages.h"
#include "platform/machine.h"
#include "state/copy_list.h"
#include "state/shell_state.h"

namespace setup32 {

constexpr const char* kScriptName = "SETUP32.INI";
constexpr const char* kDefaultGroupName = "VELKA Technology Corp";
// The size of the buffer that receives the start directory.
constexpr std::size_t kStartDirCapacity = 255;

struct SetupContext {
    explicit SetupContext(platform::Machine& machine) : sys(machine) {}

    platform::Machine& sys;
    Language language;                    // set once by IdentifySystem
    int osKind = os_kind::kUnrecognised;  // the process-wide platform code
    std::string appTitle;                 // caption of the application message box
    platform::WindowHandle mainWindow = 0;
    std::string groupName;                 // "GroupName" of [Display]; 200 bytes
    std::string windowsDirText;            // the Windows directory, once known
    std::string scriptPath = kScriptName;  // completed by the shell integration
    CCopyListError errorReporter;          // the one error reporter
    ShellIntegrationState shell;

    const char* Msg(int id) const { return MsgText(language, id); }
    // The application message box: caption the application title, owner the main window.
    int AppMessageBox(const std::string& text, unsigned type) const {
        return sys.boxes.Show(mainWindow, text, appTitle, type);
    }
};

}  // namespace setup32
