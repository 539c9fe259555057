#include "platform/win32/win32_dialogs.h"

#include <commctrl.h>

#include <algorithm>

namespace setup32::platform::win32 {
namespace {

// The private message by which the progress window asks the main dialog to
// cancel the copy pass.
constexpr UINT kWmCancelRequest = WM_USER + 5;

// Notification codes of WM_COMMAND that mean "pressed": a button click (or
// a menu item) and an accelerator.
constexpr WORD kClicked = BN_CLICKED;
constexpr WORD kAccelerator = 1;

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

// The top-level window that holds `window` (GetAncestor is not on Windows 95).
HWND TopLevelOf(HWND window) {
    while (window && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
    return window;
}

// A display context of a window, released on leaving the scope.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace

// One dialog window tied to its behaviour. A modal view lives on the stack
// of RunModal; a modeless one belongs to whoever created it and destroys
// its window with it.
class Win32Dialogs::View final : public DialogView {
  public:
    enum class Kind { Main, Modal, Modeless };

    View(Win32Dialogs& dialogs, DialogHandler& handler, Kind kind)
        : dialogs_(dialogs), handler_(handler), kind_(kind) {}

    ~View() override {
        if (kind_ != Kind::Modeless || !window_) return;
        // The behaviour goes away with the window: no message reaches it now.
        SetWindowLongPtrA(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }

    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The one dialog procedure of every dialog; lParam matters only to
    // WM_INITDIALOG, where it brings the view.
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            auto* view = reinterpret_cast<View*>(lParam);
            view->Attach(window);
            return view->handler_.OnInitDialog(*view) ? TRUE : FALSE;
        }
        auto* view = FromWindow(window);
        return view ? view->Route(message, wParam) : FALSE;
    }

    // The modeless view of a top-level window of ours, or null.
    static View* ModelessFromWindow(HWND window) {
        if (!window ||
            GetWindowLongPtrA(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) {
            return nullptr;
        }
        View* view = FromWindow(window);
        return view && view->kind_ == Kind::Modeless ? view : nullptr;
    }

    WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(window_); }

    int SystemFontHeight() override {
        const WindowDC dc(window_);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.Get(), &metrics);
        return metrics.tmHeight;
    }

    void SetItemFont(int controlId, FontHandle font) override {
        SendDlgItemMessageA(window_, controlId, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    }

    void SetItemText(int controlId, const std::string& text) override {
        SetDlgItemTextA(window_, controlId, text.c_str());
    }

    void SetCaption(const std::string& text) override { SetWindowTextA(window_, text.c_str()); }

    bool AppendSystemMenuItem(unsigned commandId, const std::string& text) override {
        const HMENU menu = GetSystemMenu(window_, FALSE);
        if (!menu) return false;
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, commandId, text.c_str());
        return true;
    }

    void SetIcon(bool big) override {
        SendMessageA(window_, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                     reinterpret_cast<LPARAM>(dialogs_.icon_));
    }

    void Show(int command) override { ShowWindow(window_, command); }

    // On a modeless dialog this only hides the window.
    void End(int result) override { EndDialog(window_, result); }

    void SetProgressRange(int controlId, unsigned maximum) override {
        SendDlgItemMessageA(window_, controlId, PBM_SETRANGE, 0,
                            MAKELPARAM(0, static_cast<WORD>(maximum)));
    }

    int SetProgressPos(int controlId, int position) override {
        return static_cast<int>(
            SendDlgItemMessageA(window_, controlId, PBM_SETPOS, static_cast<WPARAM>(position), 0));
    }

  private:
    static View* FromWindow(HWND window) {
        return reinterpret_cast<View*>(GetWindowLongPtrA(window, DWLP_USER));
    }

    void Attach(HWND window) {
        window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
        if (kind_ == Kind::Main) dialogs_.mainWindow_ = window;
    }

    void Detach() {
        SetWindowLongPtrA(window_, DWLP_USER, 0);
        if (kind_ == Kind::Main) dialogs_.mainWindow_ = nullptr;
        window_ = nullptr;
    }

    INT_PTR Route(UINT message, WPARAM wParam) {
        switch (message) {
            case WM_COMMAND:
                return RouteCommand(LOWORD(wParam), HIWORD(wParam));
            case WM_SYSCOMMAND:
                // FALSE hands the command to the default handling.
                return handler_.OnSysCommand(*this, static_cast<unsigned>(wParam)) ? TRUE : FALSE;
            case kWmCancelRequest:
                return Answer(handler_.OnCancelRequest());
            case WM_PAINT:
                return IsIconic(window_) ? PaintIcon() : FALSE;
            case WM_QUERYDRAGICON:
                return reinterpret_cast<INT_PTR>(dialogs_.icon_);
            case WM_DESTROY:
                handler_.OnDestroy();
                return FALSE;
            case WM_NCDESTROY:
                Detach();
                return FALSE;
            default:
                return FALSE;
        }
    }

    INT_PTR RouteCommand(WORD controlId, WORD notification) {
        if (notification != kClicked && notification != kAccelerator) return FALSE;
        switch (controlId) {
            case IDOK:
                handler_.OnOK(*this);
                break;
            case IDCANCEL:
                handler_.OnCancel(*this);
                break;
            default:
                handler_.OnCommand(*this, controlId);
                break;
        }
        return TRUE;
    }

    // A message whose result is not the procedure's own return value.
    INT_PTR Answer(LONG_PTR result) {
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }

    // The minimised window shows its icon centred in the client area.
    INT_PTR PaintIcon() {
        const PaintScope paint(window_);
        SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
        const int iconWidth = GetSystemMetrics(SM_CXICON);
        const int iconHeight = GetSystemMetrics(SM_CYICON);
        RECT client{};
        GetClientRect(window_, &client);
        const int x = (client.right - client.left - iconWidth + 1) / 2;
        const int y = (client.bottom - client.top - iconHeight + 1) / 2;
        DrawIcon(paint.Get(), x, y, dialogs_.icon_);
        return TRUE;
    }

    Win32Dialogs& dialogs_;
    DialogHandler& handler_;
    const Kind kind_;
    HWND window_ = nullptr;
};

// Keyboard messages for a modeless dialog of ours, seen inside another
// window's modal loop, get the dialog keyboard interface.
LRESULT CALLBACK Win32Dialogs::FilterModelessKeyboard(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) {
        const HWND root = TopLevelOf(message->hwnd);
        if (Win32Dialogs::View::ModelessFromWindow(root) && IsDialogMessageA(root, message)) {
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

Win32Dialogs::Win32Dialogs(HINSTANCE instance)
    : instance_(instance),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(kDialogIcon))),
      keyboardFilter_(SetWindowsHookExA(WH_MSGFILTER, &FilterModelessKeyboard, nullptr,
                                        GetCurrentThreadId())) {}

Win32Dialogs::~Win32Dialogs() {
    if (keyboardFilter_) UnhookWindowsHookEx(keyboardFilter_);
}

FontHandle Win32Dialogs::MakeFont(int height, const std::string& face) {
    const HFONT font =
        CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    return reinterpret_cast<FontHandle>(font);
}

std::string Win32Dialogs::ResourceString(unsigned id) {
    std::string text(256, '\0');
    for (;;) {
        const int capacity = static_cast<int>(text.size());
        const int length = LoadStringA(instance_, id, text.data(), capacity);
        if (length < capacity - 1) {
            text.resize(static_cast<std::size_t>(std::max(length, 0)));
            return text;
        }
        text.resize(text.size() * 2);  // it may have been cut: try a larger buffer
    }
}

int Win32Dialogs::RunModal(int templateId, DialogHandler& handler, WindowHandle owner) {
    View view(*this, handler, owner == 0 ? View::Kind::Main : View::Kind::Modal);
    return static_cast<int>(DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId), ToHwnd(owner),
                                            &View::Procedure, reinterpret_cast<LPARAM>(&view)));
}

std::unique_ptr<DialogView> Win32Dialogs::CreateModeless(int templateId, DialogHandler& handler) {
    auto view = std::make_unique<View>(*this, handler, View::Kind::Modeless);
    // When the window cannot be made, the view stays without one and every
    // call on it does nothing, as calls on a null window do.
    CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId), mainWindow_, &View::Procedure,
                       reinterpret_cast<LPARAM>(view.get()));
    return view;
}

std::unique_ptr<Dialogs> MakeWin32Dialogs(HINSTANCE instance) {
    return std::make_unique<Win32Dialogs>(instance);
}

}  // namespace setup32::platform::win32
