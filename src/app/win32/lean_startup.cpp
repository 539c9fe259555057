// The program's own start-up code, in the place of a C runtime's: setup32.exe
// links none (lean_runtime.cpp), so that it starts on a Windows 95 that has
// no C runtime DLL. It does what a C runtime does for a window program before
// and after WinMain, and nothing the program does not need: there are no
// arguments to split, no streams to open and no environment to copy.
//
// There is no atexit() either. The program has no static object with a
// destructor; should one be added, the compiler's call to atexit() finds no
// definition and the link fails.
#include <windows.h>

#include <cstddef>

namespace {

// The linker's script puts the address of every unit's static constructor
// between __CTOR_LIST__, which holds -1, and a null pointer. Constructors run
// from the last to the first: the compiler orders them, by priority, for that
// direction.
using StaticConstructor = void (*)();
extern "C" StaticConstructor __CTOR_LIST__[];

void RunStaticConstructors() {
    std::size_t count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) ++count;
    for (std::size_t i = count; i > 0; --i) __CTOR_LIST__[i]();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The command line after the program's name, which ends at the first blank
// outside quotes, and the blanks after it: what WinMain receives.
LPSTR CommandTail() {
    LPSTR cursor = GetCommandLineA();
    for (bool quoted = false; *cursor != '\0' && (quoted || !IsBlank(*cursor)); ++cursor) {
        if (*cursor == '"') quoted = !quoted;
    }
    while (IsBlank(*cursor)) ++cursor;
    return cursor;
}

// How the starting program asked the main window to be shown.
int ShowCommand() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

// The image's entry point, the linker's default for a window program. The
// system aligns the stack to 4 bytes there; the compiler's code assumes 16.
extern "C" [[noreturn]] __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
    RunStaticConstructors();
    const int code = WinMain(GetModuleHandleA(nullptr), nullptr, CommandTail(), ShowCommand());
    ExitProcess(static_cast<UINT>(code));
}
