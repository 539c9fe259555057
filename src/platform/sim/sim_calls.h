// The calls of the simulated machine that pass through its gate, each named
// by the Win32 function it stands for. The list is closed: a fault can be
// armed only for a call the machine makes, and a misspelt name does not
// compile.
#pragma once

#include <optional>
#include <string_view>

namespace setup32::platform::sim {

// X(name) for every call, grouped by the service that makes it.
#define SETUP32_SIM_CALLS(X)        \
    /* files */                     \
    X(GetCurrentDirectoryA)         \
    X(GetWindowsDirectoryA)         \
    X(CreateDirectoryA)             \
    X(CopyFileA)                    \
    X(GetFileAttributesA)           \
    X(SetFileAttributesA)           \
    X(DeleteFileA)                  \
    X(MoveFileA)                    \
    X(GetShortPathNameA)            \
    X(_lopen)                       \
    X(_lcreat)                      \
    X(_lread)                       \
    X(_lwrite)                      \
    X(_lclose)                      \
    /* profile */                   \
    X(GetPrivateProfileStringA)     \
    X(GetPrivateProfileSectionA)    \
    /* registry */                  \
    X(RegCreateKeyExA)              \
    X(RegOpenKeyExA)                \
    X(RegSetValueA)                 \
    X(RegSetValueExA)               \
    X(RegQueryValueExA)             \
    X(RegDeleteValueA)              \
    X(RegEnumKeyA)                  \
    X(RegDeleteKeyA)                \
    X(RegCloseKey)                  \
    /* desktop */                   \
    X(WinExec)                      \
    X(FindWindowA)                  \
    X(SendMessageTimeoutA)          \
    X(SetForegroundWindow)          \
    X(MessageBeep)                  \
    X(SetCursor)                    \
    X(Sleep)                        \
    X(AdjustTokenPrivileges)        \
    X(ExitWindowsEx)                \
    /* message boxes and dialogs */ \
    X(MessageBoxA)                  \
    X(CreateFontA)                  \
    X(LoadStringA)                  \
    X(DialogBoxParamA)              \
    X(CreateDialogParamA)

enum class Call {
#define SETUP32_SIM_CALL_ENUMERATOR(name) name,
    SETUP32_SIM_CALLS(SETUP32_SIM_CALL_ENUMERATOR)
#undef SETUP32_SIM_CALL_ENUMERATOR
};

// The Win32 name of the call, as the event log gives it.
std::string_view NameOf(Call call);
// The call of exactly that name; none for a name the machine does not know.
std::optional<Call> CallNamed(std::string_view name);

}  // namespace setup32::platform::sim
