// A simulated Windows machine: drive letters mapped onto host directories,
// a registry tree, profile reads, windows, programs, pauses, message boxes
// and dialog windows, all recorded so a test can check what the setup did.
// Any seam call can be made to fail with a chosen Windows error.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/version_differences.h"
#include "platform/windows_versions.h"

namespace setup32::platform::sim {

// Version values as GetVersion returns them: the four versions of the table
// of Windows versions, and three that setup32 does not run on.
namespace version {
constexpr std::uint32_t kWindows95 = windows_version::kWindows95.getVersion;
constexpr std::uint32_t kWindows98 = windows_version::kWindows98.getVersion;
constexpr std::uint32_t kWindowsMe = 0xC0005A04;
constexpr std::uint32_t kWin32s = 0x80000003;
constexpr std::uint32_t kWindowsNT4 = windows_version::kWindowsNT4.getVersion;
constexpr std::uint32_t kWindows2000 = windows_version::kWindows2000.getVersion;
constexpr std::uint32_t kWindowsXP = 0x0A280105;
}  // namespace version

// Attributes as GetFileAttributesA reports them, beside those of types.h.
using platform::kFileAttributeDirectory;
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

struct BoxRecord {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned type;
    int answer;
};

// Answers a message box from what it shows (its `answer` is not set yet).
using BoxResponder = std::function<int(const BoxRecord&)>;

struct WindowRecord {
    WindowHandle handle;
    std::string title;
    bool closesOnRequest;  // false: a hung program that never answers WM_CLOSE
    bool open;
    int closeRequests;
};

struct ExecRecord {
    std::string commandLine;
    int show;
    std::string currentDirectory;
    // The program file WinExec found for the command line, as a Windows
    // path; empty when it found none and the call failed.
    std::string image;
};

// One thing the setup did that a test may want to see in order.
struct Event {
    std::string call;    // the Win32 call, such as "Sleep" or "CopyFileA"
    std::string detail;  // its main argument, as text
};

class CallGate;
class SimDialogView;

// What every dialog window of the machine shares.
struct DialogSettings {
    int systemFontHeight = 16;
    bool hasSystemMenu = true;
};

class SimMachine {
  public:
    SimMachine();
    ~SimMachine();
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    Machine& machine();

    // --- configuration ---
    // Sets the version GetVersion reports. The registry then holds the keys
    // every machine of that version has (and no longer those of the version
    // before, while they are still empty); a new machine is Windows 95.
    void SetVersion(std::uint32_t version);
    // Sets the default locale; the ANSI code page follows (0x0411 gives 932,
    // 0x0404 950, 0x0804 936, 0x0412 949, anything else 1252).
    void SetLcid(std::uint32_t lcid);
    void MapDrive(char letter, const std::filesystem::path& hostDirectory);
    void SetCurrentDirectory(const std::string& windowsPath);
    void SetWindowsDirectory(const std::string& windowsPath);  // empty: the call fails
    void SetResourceString(unsigned id, const std::string& text);
    void SetSystemFontHeight(int height);
    void SetHasSystemMenu(bool hasMenu);
    // Whether the process token holds a privilege; by default it holds
    // "SeShutdownPrivilege" only.
    void SetPrivilegeHeld(const std::string& name, bool held);

    // The host path of a Windows path; each existing component is matched
    // without regard to case. Relative paths start at the current directory.
    std::filesystem::path HostPath(const std::string& windowsPath) const;
    // Test helpers on Windows paths.
    void WriteFile(const std::string& windowsPath, const std::string& bytes);
    std::optional<std::string> ReadFile(const std::string& windowsPath) const;
    bool Exists(const std::string& windowsPath) const;
    void SetAttributes(const std::string& windowsPath, std::uint32_t attributes);
    // kFileAttributeNormal for a plain file, kFileAttributeDirectory (with
    // any others set) for a directory, kInvalidFileAttributes when missing.
    std::uint32_t Attributes(const std::string& windowsPath) const;

    // --- registry ---
    // REGEDIT4 text of the whole tree (or of the keys below `prefix`).
    std::string SaveRegistry(const std::string& prefix = "") const;
    // Merges REGEDIT4 text into the tree; false on a malformed line.
    bool LoadRegistry(const std::string& regedit4);
    bool KeyExists(RegRoot root, const std::string& subkey) const;
    // The text of a REG_SZ value stored with one terminating zero and no
    // other; none when the value is missing, of another type, or its bytes
    // are not such a string.
    std::optional<std::string> StringValue(RegRoot root, const std::string& subkey,
                                           const std::string& name) const;
    // A REG_DWORD value of exactly four bytes; none otherwise.
    std::optional<std::uint32_t> DwordValue(RegRoot root, const std::string& subkey,
                                            const std::string& name) const;
    // Value names of a key, in the order first written.
    std::vector<std::string> ValueNames(RegRoot root, const std::string& subkey) const;
    // Denies writes below root\subkey (a user without administrator rights).
    void DenyRegistryWrites(RegRoot root, const std::string& subkey);

    // --- windows and programs ---
    WindowHandle AddWindow(const std::string& title, bool closesOnRequest = true);
    // While `window` is open, the file at `windowsPath` cannot be opened,
    // copied onto, created, deleted or renamed (error 32), whether it
    // exists yet or not.
    void HoldFile(const std::string& windowsPath, WindowHandle window);
    // While `window` is open, its program keeps the existing file at
    // `windowsPath` open for reading and shares reading and writing, as a
    // viewer does: others read it, nobody deletes or renames it (error 32),
    // and the NT family writes over it while Windows 95 and 98 refuse (32).
    void HoldFileForReading(const std::string& windowsPath, WindowHandle window);
    const std::vector<WindowRecord>& Windows() const;
    // Every WinExec call that was not made to fail, whether it found its
    // program or not.
    const std::vector<ExecRecord>& Execs() const;
    const std::vector<unsigned>& Pauses() const;
    const std::vector<unsigned>& Beeps() const;
    const std::vector<CursorShape>& Cursors() const;
    const std::vector<WindowHandle>& ForegroundCalls() const;
    const std::vector<unsigned>& ExitWindowsCalls() const;
    // (privilege name, enable) for every AdjustTokenPrivileges call.
    const std::vector<std::pair<std::string, bool>>& PrivilegeCalls() const;
    // In order, the calls that change the machine or what the user sees,
    // whether they succeed or not: CreateDirectoryA, CopyFileA,
    // SetFileAttributesA, DeleteFileA, MoveFileA, _lcreat, RegCreateKeyExA,
    // RegSetValueA, RegSetValueExA, RegDeleteValueA, RegDeleteKeyA, WinExec,
    // FindWindowA, SendMessageTimeoutA (WM_CLOSE), SetForegroundWindow,
    // MessageBeep, SetCursor, Sleep, AdjustTokenPrivileges, ExitWindowsEx,
    // MessageBoxA, DialogBoxParamA, CreateDialogParamA; and what the dialogs'
    // windows were told: SetDlgItemTextA, ShowWindow, EndDialog, PBM_SETPOS,
    // DestroyWindow.
    const std::vector<Event>& Events() const;
    // In order, every place where a call met a difference of the version the
    // machine is set to (version_differences.h).
    const std::vector<VersionDifferenceMet>& VersionDifferencesMet() const;

    // --- message boxes ---
    // Answers for the next boxes, in order. A box without a scripted answer
    // is recorded as unexpected and answered IDOK.
    void QueueAnswer(int answer);
    // Runs when a box is shown, before its answer is taken (for example to
    // set a flag as a click elsewhere would).
    void OnNextBox(std::function<void()> action);
    // Answers every box that finds no queued answer; such a box counts as
    // expected.
    void AnswerBoxesWith(BoxResponder responder);
    const std::vector<BoxRecord>& Boxes() const;
    int UnexpectedBoxes() const;
    std::size_t PendingAnswers() const;

    // --- dialog windows ---
    // Views the dialogs made, in order of creation (modal and modeless). They
    // stay readable after the setup has destroyed them (Destroyed() tells).
    const std::vector<SimDialogView*>& DialogViews() const;
    // Fonts made with CreateFontA: (height, face).
    const std::vector<std::pair<int, std::string>>& Fonts() const;
    // Runs while the next modal dialog is open, after its OnInitDialog
    // (unless that ended it), so a test can press its buttons. Each modal
    // dialog takes the first action queued.
    void OnNextModal(std::function<void(SimDialogView&, DialogHandler&)> action);
    // A view for a dialog that the test drives itself (the main dialog).
    std::unique_ptr<DialogView> NewView(int templateId);

    // --- fault injection ---
    // Every method of the machine's services except the host facts is a
    // call, named by the Win32 function it stands for ("CopyFileA", "_lread",
    // "RegSetValueExA", ...). A failed call does nothing and reports `error`
    // as the real one would (a handle of 0, -1 from _lread, false, ...).
    //
    // The `nth` use (from 1) of the named call after this one fails with
    // `error`, and every later use too when `persistent`.
    void FailCall(const std::string& call, std::uint32_t error, int nth = 1,
                  bool persistent = false);
    // The `n`th seam call of any kind after this one fails with `error`.
    void FailNthCall(long n, std::uint32_t error);
    // How many seam calls have been made so far.
    long CallCount() const;
    // The calls made to fail so far, in order; `detail` as in Events() for
    // the calls recorded there, else empty.
    const std::vector<Event>& FailedCalls() const;

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// A dialog window of the simulated machine, recording what was done to it.
class SimDialogView : public DialogView {
  public:
    struct Item {
        std::string text;
        FontHandle font = 0;
        int fontSets = 0;
    };

    // `owner` is the window a modal dialog was run for (0 for the others).
    SimDialogView(const DialogSettings& settings, CallGate& gate, int templateId,
                  WindowHandle handle, WindowHandle owner);

    WindowHandle Handle() const override { return handle_; }
    int SystemFontHeight() override;
    void SetItemFont(int controlId, FontHandle font) override;
    void SetItemText(int controlId, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    bool AppendSystemMenuItem(unsigned commandId, const std::string& text) override;
    void SetIcon(bool big) override;
    void Show(int command) override;
    void End(int result) override;
    void SetProgressRange(int controlId, unsigned maximum) override;
    int SetProgressPos(int controlId, int position) override;

    int TemplateId() const { return templateId_; }
    WindowHandle Owner() const { return owner_; }
    bool Visible() const { return visible_; }
    bool Destroyed() const { return destroyed_; }
    std::optional<int> EndResult() const { return endResult_; }
    const std::string& Caption() const { return caption_; }
    const Item& ItemAt(int controlId) const;
    const std::map<int, Item>& Items() const { return items_; }
    // The order of calls made on this view ("font 1000", "text 1000", ...).
    const std::vector<std::string>& Log() const { return log_; }
    const std::vector<std::pair<unsigned, std::string>>& SystemMenuItems() const { return menu_; }
    unsigned ProgressMax() const { return progressMax_; }
    // The bar's position, kept within its range as the control does.
    int ProgressPos() const { return position_; }
    // Every position the bar was set to, in order, as asked.
    const std::vector<int>& ProgressPositions() const { return positions_; }
    // A modal dialog becomes visible once initialised, unless ended by then.
    void ShowAfterInit() { visible_ = !endResult_.has_value(); }
    void MarkDestroyed() { destroyed_ = true; }

  private:
    const DialogSettings& settings_;
    CallGate& gate_;
    int templateId_;
    WindowHandle handle_;
    WindowHandle owner_;
    bool visible_ = false;
    bool destroyed_ = false;
    std::optional<int> endResult_;
    std::string caption_;
    std::map<int, Item> items_;
    std::vector<std::string> log_;
    std::vector<std::pair<unsigned, std::string>> menu_;
    unsigned progressMax_ = 100;
    int position_ = 0;
    std::vector<int> positions_;
};

}  // namespace setup32::platform::sim
