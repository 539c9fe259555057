// Conversions between the seam's opaque handles and the Win32 handle types.
#pragma once

#include <windows.h>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/types.h"

namespace setup32::platform::win32 {

inline HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
inline WindowHandle FromHwnd(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

inline HKEY ToHkey(RegHandle key) {
    return reinterpret_cast<HKEY>(key);
}
inline RegHandle FromHkey(HKEY key) {
    return reinterpret_cast<RegHandle>(key);
}

// A valid HFILE is never 0, so HFILE_ERROR maps to the seam's 0 and every
// other value passes through.
inline HFILE ToHfile(FileHandle file) {
    return static_cast<HFILE>(file);
}
inline FileHandle FromHfile(HFILE file) {
    return file == HFILE_ERROR ? 0 : static_cast<FileHandle>(static_cast<UINT>(file));
}

}  // namespace setup32::platform::win32
