// How the program reads the pieces of a script line, where the checker
// needs the same reading to say what a line does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace setup32::check {

// "X:\..." or "\\server...": a path the program uses as written.
bool IsAbsolute(std::string_view path);
bool IsFourHexDigits(std::string_view piece);
// Decimal digits only, at least one.
bool IsNumber(std::string_view key);
std::string UpperAscii(std::string_view text);
std::string WithBackslashes(std::string path);

// The program of an uninstall command, which is the program's path, a blank
// and the program's directory; empty when the command is not of that shape.
std::string UninstallProgramOf(const std::string& command);

// The three fields of a shortcut value as the program splits them: at the
// first two commas, the third field ending at a third one.
std::vector<std::string_view> ShortcutFields(std::string_view value);
// Why the program drops a shortcut entry, in its own terms.
std::string ShortcutProblem(const std::string& windowsDir, std::string_view value);

// The destination written in a driver line, a folder, with the source's
// file name after it.
std::string FolderWithFile(const std::string& written, const std::string& source);

// The file a command line starts, found as CreateProcess finds the program
// of an unquoted command line: each text before a blank, and the whole
// line, in turn, with ".EXE" added to a name without an extension; the
// first that names a file. Empty when none does.
std::string StartedFile(const std::string& commandLine, const platform::sim::SimMachine& sim);

}  // namespace setup32::check
