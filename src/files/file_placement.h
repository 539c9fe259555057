// Placing the driver files: the copy list and the copy pass.
#pragma once

#include <optional>
#include <string>

namespace setup32 {

class CopyProgress;
struct SetupContext;
struct SetupFields;
namespace platform {
class FileSystem;
class HostFacts;
}  // namespace platform

// Pauses of the copy pass, in milliseconds.
namespace copy_pause {
constexpr unsigned kBeforeEntry = 200;
constexpr unsigned kAfterDirectories = 100;
constexpr unsigned kAfterWindowClosed = 500;
}  // namespace copy_pause

// How long the pass waits for a window to handle WM_CLOSE before it goes on.
constexpr unsigned kCloseTimeoutMs = 10000;

// The window of the companion SCSI utility, closed when an executable whose
// name begins with "ASPI" cannot be replaced and has no window of its own.
constexpr const char* kCompanionWindowTitle = "Untitled - BusProbe32";

// The two driver-file sections of a platform, read in this order.
struct DriverSections {
    const char* first;
    const char* second;
};
// The driver-file sections of `osKind`; none for Win32s and unknown codes.
std::optional<DriverSections> DriverSectionsFor(int osKind);

// Empties the copy list, resolves the Windows and INF directories and adds
// the two driver-file sections of the platform (dlg.osKind).
void PrepareDriverCopyList(SetupContext& ctx, SetupFields& dlg);
// Adds every line of the script section `section` (read from `sourceDir`)
// to the copy list; a malformed line is reported and skipped, a section
// that is empty or does not fit is skipped without a word.
void AddSectionFilesToCopyList(SetupContext& ctx, SetupFields& dlg, const std::string& section,
                               const std::string& sourceDir, const std::string& windowsDir);
// What the copy pass met.
struct CopyPassResult {
    bool cancelled = false;  // ended early at the cancel question
    int givenUp = 0;         // files given up at the retry question
};

// Copies every entry with the progress display, the pauses, the window
// closing and the retry question. The display is made only for a non-empty
// list, and shown when the main dialog is (dlg.showMain).
CopyPassResult CopyFilesInCopyList(SetupContext& ctx, SetupFields& dlg, CopyProgress& progress);
// The Windows directory into `directory` (empty on failure); on success also
// into the process-wide Windows-directory text.
void GetWindowsDir(SetupContext& ctx, std::string& directory);
// Creates, from the left, every directory named by the path up to one of
// its "\" ("C:\", "C:\WINDOWS\", ...); failures are ignored.
void CreateDirectoryTree(const platform::HostFacts& host, platform::FileSystem& files,
                         const std::string& path);
// The window title of an executable path: "C:\TOOLS\PROBE.EXE" gives
// "PROBE"; empty for other extensions and for a path with no "\" or ":".
std::string ExeWindowTitle(const platform::HostFacts& host, const std::string& path);
// Copies one file, records it in the product key and makes it writable;
// nonzero when it was copied.
int CopyAndRecordFile(SetupContext& ctx, const std::string& source, const std::string& destination,
                      bool failIfExists);

}  // namespace setup32
