// Placing the driver files: the copy list and the copy pass.
#pragma once

#include <cstddef>
#include <string>

namespace setup32 {

struct SetupContext;
struct SetupFields;
namespace platform {
class FileSystem;
}

// Empties the copy list, resolves the Windows and INF directories and adds
// the two driver-file sections of the platform.
void PrepareDriverCopyList(SetupContext& ctx, SetupFields& dlg);
void AddSectionFilesToCopyList(SetupContext& ctx, SetupFields& dlg, const std::string& section,
                               const std::string& sourceDir, const std::string& windowsDir);
// Copies every entry with the progress window, the pauses, the window
// closing and the retry question.
void CopyFilesInCopyList(SetupContext& ctx, SetupFields& dlg);
// The Windows directory into `directory` (empty on failure); on success also
// into the process-wide Windows-directory text.
void GetWindowsDir(SetupContext& ctx, std::string& directory);
// Creates every directory of the path's directory part; always 0.
int CreateDirectoryTree(platform::FileSystem& files, const std::string& path);
// The window title of an executable path ("C:\TOOLS\PROBE.EXE" gives
// "PROBE"); its length, 0 when there is none.
std::size_t ExeWindowTitle(const std::string& path, std::string& title);
// Copies one file, records it in the product key and makes it writable;
// nonzero when it was copied.
int CopyAndRecordFile(SetupContext& ctx, const std::string& source,
                      const std::string& destination, bool failIfExists);

}  // namespace setup32
