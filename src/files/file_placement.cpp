#include "files/file_placement.h"

#include <string_view>

#include "app/progress_dialog.h"
#include "install/setup_fields.h"
#include "state/ansi_text.h"
#include "state/ascii_text.h"
#include "state/context.h"
#include "state/install_record.h"
#include "state/script.h"

namespace setup32 {
namespace {

constexpr std::size_t kWindowsDirCapacity = 255;
constexpr std::string_view kExeExtension = ".EXE";
constexpr std::string_view kCompanionPrefix = "ASPI";

// Message ids of the copy pass's questions.
constexpr int kCancelText = 40;
constexpr int kCancelCaption = 41;
constexpr int kRetryText = 42;

// Message 40: true when the user wants to stop the pass.
bool UserConfirmsCancel(SetupContext& ctx) {
    const int answer =
        ctx.sys.boxes.Show(ctx.mainWindow, ctx.Msg(kCancelText), ctx.Msg(kCancelCaption),
                           platform::mb::kYesNo | platform::mb::kIconExclamation);
    return answer == platform::mb::kIdYes;
}

// Message 42 with the destination path: true when the user wants another try.
bool UserWantsRetry(SetupContext& ctx, const std::string& destination) {
    const std::string text = FillPlaceholder(ctx.Msg(kRetryText), "%s", destination);
    return ctx.AppMessageBox(text, platform::mb::kYesNo | platform::mb::kIconQuestion) ==
           platform::mb::kIdYes;
}

// The window that may hold `destination` open: the one titled after the
// executable, or for an "ASPI..." executable without one, the companion
// utility's window. 0 when there is none.
platform::WindowHandle FindHoldingWindow(SetupContext& ctx, const std::string& destination) {
    const std::string title = ExeWindowTitle(ctx.sys.host, destination);
    if (title.empty()) return 0;
    platform::Desktop& desktop = ctx.sys.desktop;
    const platform::WindowHandle window = desktop.FindTopWindow(title);
    if (window != 0 || !StartsWithIgnoringCase(title, 0, kCompanionPrefix)) return window;
    return desktop.FindTopWindow(kCompanionWindowTitle);
}

// Sends WM_CLOSE to the window holding `destination`, if any, and gives its
// program time to end; true when a window was asked to close. A program that
// does not answer within the time limit cannot stop the pass.
bool CloseHoldingWindow(SetupContext& ctx, const std::string& destination) {
    const platform::WindowHandle window = FindHoldingWindow(ctx, destination);
    if (window == 0) return false;
    ctx.sys.desktop.SendClose(window, kCloseTimeoutMs);
    ctx.sys.desktop.Pause(copy_pause::kAfterWindowClosed);
    return true;
}

// Copies one entry until it succeeds (true) or the user gives it up. At
// most one window is closed for the entry.
bool CopyEntry(SetupContext& ctx, const CCopyListItem& item) {
    bool windowClosed = false;
    while (!CopyAndRecordFile(ctx, item.source, item.destination, false)) {
        if (!windowClosed && CloseHoldingWindow(ctx, item.destination)) {
            windowClosed = true;
            continue;
        }
        if (!UserWantsRetry(ctx, item.destination)) return false;
    }
    return true;
}

}  // namespace

std::optional<DriverSections> DriverSectionsFor(int osKind) {
    switch (osKind) {
        case os_kind::kWindowsNT:
            return DriverSections{"NT Driver Files", "NT WinASPI32"};
        case os_kind::kWindows95:
            return DriverSections{"Win95 Driver Files", "Win95 Inf File"};
        case os_kind::kWindows98:
            return DriverSections{"Win98 Driver Files", "Win98 Inf File"};
        case os_kind::kWindows2000:
            return DriverSections{"WIN2000 Driver Files", "WIN2000 WinASPI32"};
        default:
            return std::nullopt;
    }
}

void GetWindowsDir(SetupContext& ctx, std::string& directory) {
    std::string found;
    if (ctx.sys.files.WindowsDirectory(kWindowsDirCapacity, found)) {
        directory = found;
        ctx.windowsDirText = found;
    } else {
        directory.clear();
    }
}

void PrepareDriverCopyList(SetupContext& ctx, SetupFields& dlg) {
    dlg.copyList.clear();
    GetWindowsDir(ctx, dlg.windowsDir);
    GetWindowsDir(ctx, dlg.infDir);
    dlg.infDir += "\\inf";

    const std::optional<DriverSections> sections = DriverSectionsFor(dlg.osKind);
    if (!sections) return;
    AddSectionFilesToCopyList(ctx, dlg, sections->first, dlg.startDir, dlg.windowsDir);
    AddSectionFilesToCopyList(ctx, dlg, sections->second, dlg.startDir, dlg.windowsDir);
}

void AddSectionFilesToCopyList(SetupContext& ctx, SetupFields& dlg, const std::string& section,
                               const std::string& sourceDir, const std::string& windowsDir) {
    const std::string scriptPath = ScriptPath(sourceDir, dlg.scriptName);
    const platform::SectionBlock block =
        ReadScriptSection(ctx, section, script_capacity::kSection, scriptPath);
    if (block.count == 0 || block.TooLarge()) return;

    for (const std::string_view line : block.Lines()) {
        if (line.front() == ';') continue;
        auto item = std::make_unique<CCopyListItem>();
        const int code = item->ParseLine(line, sourceDir, windowsDir);
        if (code == 0) {
            dlg.copyList.push_back(std::move(item));
        } else {
            ctx.errorReporter.SetError(ctx.language, code);
            ctx.errorReporter.Show(ctx.sys.boxes, ctx.mainWindow);
        }
    }
}

CopyPassResult CopyFilesInCopyList(SetupContext& ctx, SetupFields& dlg) {
    CopyPassResult result;
    dlg.cancelRequested = 0;
    if (dlg.copyList.empty()) return result;

    CProgressDlg& progress = *dlg.progress;
    progress.Create();
    if (dlg.showMain == 1) progress.Show();
    progress.SetRange(static_cast<unsigned>(dlg.copyList.size()));

    platform::Desktop& desktop = ctx.sys.desktop;
    int handled = 0;
    for (const auto& item : dlg.copyList) {
        desktop.Pause(copy_pause::kBeforeEntry);
        if (dlg.cancelRequested != 0) {
            if (UserConfirmsCancel(ctx)) {
                result.cancelled = true;
                return result;
            }
            dlg.cancelRequested = 0;
        }
        CreateDirectoryTree(ctx.sys.host, ctx.sys.files, item->destination);
        desktop.Pause(copy_pause::kAfterDirectories);
        progress.SetTexts(item->source, item->destination);
        if (!CopyEntry(ctx, *item)) ++result.givenUp;
        progress.SetPos(++handled);
    }
    return result;
}

void CreateDirectoryTree(const platform::HostFacts& host, platform::FileSystem& files,
                         const std::string& path) {
    for (std::size_t pos = 0; pos < path.size(); pos += CharLengthAt(host, path, pos)) {
        if (path[pos] == '\\') files.MakeDirectory(path.substr(0, pos + 1));
    }
}

std::string ExeWindowTitle(const platform::HostFacts& host, const std::string& path) {
    const std::size_t size = path.size();
    if (size < kExeExtension.size() ||
        !StartsWithIgnoringCase(path, size - kExeExtension.size(), kExeExtension)) {
        return {};
    }
    const std::string_view stem = std::string_view(path).substr(0, size - kExeExtension.size());
    const std::size_t separator = FindLastCharOf(host, stem, "\\:");
    if (separator == std::string_view::npos) return {};
    return std::string(stem.substr(separator + 1));
}

int CopyAndRecordFile(SetupContext& ctx, const std::string& source, const std::string& destination,
                      bool failIfExists) {
    if (ctx.sys.files.Copy(source, destination, failIfExists) != 0) return 0;
    RecordInstalledItem(ctx, destination);
    ctx.sys.files.SetAttributes(destination, platform::kFileAttributeNormal);
    return 1;
}

}  // namespace setup32
