// Helpers shared by the test-only programs that the end-to-end tests have
// the setup start: where the program lies, an append that tolerates other
// test programs writing the same log at the same moment, and the window
// class and message loop of a program that lives in one window.
#pragma once

#include <windows.h>

#include <string>

namespace setup32::e2e {

// The full path of the running executable.
inline std::string OwnPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

// The directory part of a path, without its trailing backslash.
inline std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Appends `line` with one write, waiting up to two seconds while another
// process holds the file.
inline bool AppendLine(const std::string& file, const std::string& line) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok =
                WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(handle);
            return ok && written == line.size();
        }
        Sleep(20);
    }
    return false;
}

// Registers the class of the program's one window.
inline bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0;
}

// Registers the class and shows a small top-level window with this title,
// as a program holding a file shows it to the user; false when it fails.
inline bool ShowHolderWindow(HINSTANCE instance, const char* className, const char* title,
                             WNDPROC procedure) {
    if (!RegisterWindowClass(instance, className, procedure)) return false;
    const HWND window = CreateWindowA(className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 240, 120, nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return true;
}

// Handles messages until the window posts its quit message.
inline int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace setup32::e2e
