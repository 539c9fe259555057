// A test-only program that posts a window message to a top-level window, as
// a click elsewhere in that program would send it:
//   post_message MESSAGE TITLE
// MESSAGE in decimal or as 0x hex, TITLE the rest of the line. Exit code 0
// when the message was posted, 1 when no window has that title.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char* title = nullptr;
    const UINT message = static_cast<UINT>(std::strtoul(commandLine, &title, 0));
    if (*title == ' ') ++title;
    const HWND window = FindWindowA(nullptr, title);
    return window != nullptr && PostMessageA(window, message, 0, 0) ? 0 : 1;
}
