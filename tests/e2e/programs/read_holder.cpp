// A test-only program that keeps a file open for reading under a top-level
// window, as a viewer does: others may read and write the file but cannot
// rename or delete it while the window is open.
//
//   read_holder <file> <window title>
//
// The exit code is 0 after the window closed, 1 when the file or the window
// cannot be made and 2 for a wrong command line.
#include <windows.h>

#include "program_log.h"

namespace {

constexpr const char* kClassName = "Setup32TestReadHolder";

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 3) return 2;
    const HANDLE file = CreateFileA(__argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;

    if (!setup32::e2e::ShowHolderWindow(instance, kClassName, __argv[2], HolderProc)) return 1;

    const int code = setup32::e2e::RunMessageLoop();
    CloseHandle(file);
    return code;
}
