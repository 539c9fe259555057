#include <windows.h>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_services.h"

namespace setup32::platform::win32 {

int Win32MessageBoxes::Show(WindowHandle owner, const std::string& text, const std::string& caption,
                            unsigned type) {
    return MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), type);
}

}  // namespace setup32::platform::win32
