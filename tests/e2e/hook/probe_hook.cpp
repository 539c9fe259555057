// The probe's helper inside the program it looks at. Fonts and dialog base
// units belong to the process that owns a window; the probe hooks this DLL
// into that process's window procedure calls and asks through a registered
// message, and the hook answers with WM_COPYDATA.
#include <windows.h>

#include <cstdio>

namespace {

// Also in probe.cpp: the name of the query message and the tag of the answer.
constexpr char kQueryName[] = "setup32 probe query";
constexpr ULONG_PTR kAnswerTag = 0x53333250;

// The dialog whose units place `window`: the window itself when it is a
// dialog, else its parent.
HWND DialogOf(HWND window) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : window;
}

// tmHeight of the font a display context of the window starts with.
long SystemFontHeight(HWND window) {
    const HDC dc = GetDC(window);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(window, dc);
    return metrics.tmHeight;
}

// "face<TAB>height<TAB>base x<TAB>base y<TAB>system font height": the
// window's font, its dialog's base units and the height of the font its
// display contexts start with.
void Answer(HWND window, HWND reply) {
    LOGFONTA font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (handle) GetObjectA(handle, sizeof font, &font);
    RECT units{0, 0, 4, 8};
    MapDialogRect(DialogOf(window), &units);
    char text[LF_FACESIZE + 64];
    const int length =
        std::snprintf(text, sizeof text, "%s\t%ld\t%ld\t%ld\t%ld", font.lfFaceName, font.lfHeight,
                      units.right, units.bottom, SystemFontHeight(window));
    COPYDATASTRUCT data{kAnswerTag, static_cast<DWORD>(length), text};
    SendMessageA(reply, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                 reinterpret_cast<LPARAM>(&data));
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeQueryHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT query = RegisterWindowMessageA(kQueryName);
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == query) {
        Answer(call->hwnd, reinterpret_cast<HWND>(call->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
