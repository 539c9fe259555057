// A test-only program that holds a file open without sharing under a
// top-level window, as a running program holds its own executable, and lets
// it go when the window is closed.
//
//   file_holder <file> <window title> [hang]
//
// With "hang" the window does not answer WM_CLOSE for 30 seconds and then
// ignores it, as a program that has stopped responding. The exit code is 0
// after the window closed, 1 when the file or the window cannot be made and
// 2 for a wrong command line.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "program_log.h"

namespace {

constexpr DWORD kHangMs = 30000;
constexpr const char* kClassName = "Setup32TestFileHolder";

HANDLE heldFile = INVALID_HANDLE_VALUE;
bool hangs = false;

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (hangs) {
                Sleep(kHangMs);
                return 0;
            }
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            CloseHandle(heldFile);
            heldFile = INVALID_HANDLE_VALUE;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3 || __argc > 4) return 2;
    hangs = __argc == 4 && std::strcmp(__argv[3], "hang") == 0;

    heldFile = CreateFileA(__argv[1], GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (heldFile == INVALID_HANDLE_VALUE) return 1;

    if (!setup32::e2e::ShowHolderWindow(instance, kClassName, __argv[2], HolderProc)) return 1;

    return setup32::e2e::RunMessageLoop();
}
