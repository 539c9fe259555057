// A simulated Windows machine: drive letters mapped onto host directories,
// a registry tree, profile reads, windows, programs, pauses, message boxes
// and dialog windows, all recorded so a test can check what the setup did.
// Any seam call can be made to fail with a chosen Windows error.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/sim_records.h"
#include "platform/sim/sim_ui.h"
#include "platform/sim/version_differences.h"

namespace setup32::platform::sim {

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

}  // namespace setup32::platform::sim
