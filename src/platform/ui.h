// Message boxes and dialog windows. The dialogs' behaviour lives in portable
// classes (DialogHandler); a DialogView is the window they talk to.
#pragma once

#include <memory>
#include <string>

#include "platform/types.h"

namespace setup32::platform {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // MessageBoxA: the button the user chose (mb::kIdYes, ...).
    virtual int Show(WindowHandle owner, const std::string& text, const std::string& caption,
                     unsigned type) = 0;
};

// One dialog window, as its behaviour sees it.
class DialogView {
  public:
    virtual ~DialogView() = default;
    virtual WindowHandle Handle() const = 0;
    // tmHeight of the font selected in a display context of the window.
    virtual int SystemFontHeight() = 0;
    // WM_SETFONT with redraw on a control.
    virtual void SetItemFont(int controlId, FontHandle font) = 0;
    virtual void SetItemText(int controlId, const std::string& text) = 0;
    virtual void SetCaption(const std::string& text) = 0;
    // Appends a separator and a string item to the system menu; false when
    // the window has no system menu.
    virtual bool AppendSystemMenuItem(unsigned commandId, const std::string& text) = 0;
    // WM_SETICON with the dialog's own icon, big (true) or small (false).
    virtual void SetIcon(bool big) = 0;
    // ShowWindow.
    virtual void Show(int command) = 0;
    // EndDialog for a modal dialog.
    virtual void End(int result) = 0;
    // PBM_SETRANGE with low word 0 and high word `maximum`.
    virtual void SetProgressRange(int controlId, unsigned maximum) = 0;
    // PBM_SETPOS; the previous position.
    virtual int SetProgressPos(int controlId, int position) = 0;
};

// What a window's behaviour answers to. The Win32 shell routes window
// messages here; tests and the simulated machine call these directly.
class DialogHandler {
  public:
    virtual ~DialogHandler() = default;
    // WM_INITDIALOG; the view stays valid until the window is destroyed.
    virtual bool OnInitDialog(DialogView& view) = 0;
    // IDOK (the default button, Enter): by default ends the dialog with IDOK.
    virtual void OnOK(DialogView& view) { view.End(mb::kIdOk); }
    // IDCANCEL (Esc, the close box): by default ends the dialog with IDCANCEL.
    virtual void OnCancel(DialogView& view) { view.End(mb::kIdCancel); }
    // Any other button.
    virtual void OnCommand(DialogView& /*view*/, int /*controlId*/) {}
    // WM_SYSCOMMAND: true when handled, false for the default handling.
    virtual bool OnSysCommand(DialogView& /*view*/, unsigned /*command*/) { return false; }
    // The private WM_CANCELREQUEST (WM_USER + 5).
    virtual long OnCancelRequest() { return 0; }
    // WM_DESTROY, after the window's own clean-up.
    virtual void OnDestroy() {}
};

// What RunModal answers when the dialog cannot be created (DialogBoxParamA's -1).
constexpr int kDialogFailed = -1;

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // CreateFontA with the given height and face, every other parameter 0
    // and DEFAULT_CHARSET.
    virtual FontHandle MakeFont(int height, const std::string& face) = 0;
    // LoadStringA from the program's resources; empty when there is none.
    virtual std::string ResourceString(unsigned id) = 0;
    // Runs the dialog of template `templateId` modally, owned by `owner`: the
    // result it was ended with, or kDialogFailed.
    virtual int RunModal(int templateId, DialogHandler& handler, WindowHandle owner) = 0;
    // Creates the modeless dialog of template `templateId`, hidden, owned by
    // the application's main window. Destroying the view destroys the window.
    // When the window cannot be made: null, or a view whose calls do nothing.
    virtual std::unique_ptr<DialogView> CreateModeless(int templateId, DialogHandler& handler) = 0;
};

}  // namespace setup32::platform
