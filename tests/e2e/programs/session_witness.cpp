// A test-only program that stands in for the other programs of a session
// when the setup asks Windows to restart. It keeps a hidden top-level window
// and appends one line to SESSION.LOG beside itself for each end-of-session
// message that window receives:
//
//   query <lParam in hexadecimal>     WM_QUERYENDSESSION (answered TRUE)
//   end <wParam> <lParam in hex>      WM_ENDSESSION
//
// Windows asks every top-level window these questions before a restart, so
// the log shows whether one was asked for and whether it was a log-off or a
// restart. It writes "ready" once its window exists and ends by itself after
// WM_ENDSESSION with wParam TRUE, or when the window is closed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "program_log.h"

namespace {

constexpr const char* kClassName = "Setup32TestSessionWitness";

std::string logFile;

void Log(const char* format, unsigned long long first, unsigned long long second = 0) {
    char line[64];
    std::snprintf(line, sizeof line, format, first, second);
    setup32::e2e::AppendLine(logFile, std::string(line) + "\r\n");
}

LRESULT CALLBACK WitnessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_QUERYENDSESSION:
            Log("query %llx", static_cast<unsigned long long>(lParam));
            return TRUE;
        case WM_ENDSESSION:
            Log("end %llu %llx", wParam, static_cast<unsigned long long>(lParam));
            if (wParam) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    logFile = setup32::e2e::DirectoryOf(setup32::e2e::OwnPath()) + "\\SESSION.LOG";

    if (!setup32::e2e::RegisterWindowClass(instance, kClassName, WitnessProc)) return 1;
    const HWND window = CreateWindowA(kClassName, "session witness", WS_OVERLAPPED, 0, 0, 0, 0,
                                      nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    if (!setup32::e2e::AppendLine(logFile, "ready\r\n")) return 1;

    return setup32::e2e::RunMessageLoop();
}
