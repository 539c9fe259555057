#include "check/script_rules.h"

#include <algorithm>
#include <cctype>

#include "shellint/shell_text.h"
#include "state/shell_state.h"

namespace setup32::check {

bool IsAbsolute(std::string_view path) {
    return (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
            path[1] == ':' && path[2] == '\\') ||
           path.substr(0, 2) == "\\\\";
}

bool IsFourHexDigits(std::string_view piece) {
    return piece.size() == 4 && std::all_of(piece.begin(), piece.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

bool IsNumber(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(),
                                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string WithBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string UninstallProgramOf(const std::string& command) {
    for (std::size_t blank = command.find(' '); blank != std::string::npos;
         blank = command.find(' ', blank + 1)) {
        const std::string program = command.substr(0, blank);
        const std::string directory = command.substr(blank + 1);
        if (program.rfind('\\') == directory.size() &&
            program.compare(0, directory.size(), directory) == 0) {
            return program;
        }
    }
    return {};
}

std::vector<std::string_view> ShortcutFields(std::string_view value) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0; fields.size() < 3;) {
        const std::size_t comma = value.find(',', start);
        fields.push_back(
            value.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return fields;
}

std::string ShortcutProblem(const std::string& windowsDir, std::string_view value) {
    const std::vector<std::string_view> fields = ShortcutFields(value);
    if (fields.size() < 3) return "it needs three fields, \"program,group,title\"";
    const struct {
        const char* what;
        std::size_t size;
        std::size_t capacity;
    } limits[] = {
        {"the program", fields[0].size(), shell_capacity::kProgramField},
        {"the program's path", shell_text::JoinPath(windowsDir, fields[0]).size(),
         shell_capacity::kTarget},
        {"the title", fields[2].size(), shell_capacity::kTitle},
        {"the group", fields[1].size(), shell_capacity::kGroup},
    };
    for (const auto& limit : limits) {
        if (limit.size >= limit.capacity) {
            return std::string(limit.what) + " is " + std::to_string(limit.size) +
                   " bytes, over the " + std::to_string(limit.capacity - 1) + " the program takes";
        }
    }
    return "its group is the Startup group, which this machine does not name, or its group "
           "file's path is too long";
}

std::string FolderWithFile(const std::string& written, const std::string& source) {
    std::string folder = written.substr(written.find(',', written.find('=')) + 1);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder + source.substr(source.rfind('\\') + 1);
}

std::string StartedFile(const std::string& commandLine, const platform::sim::SimMachine& sim) {
    for (std::size_t end = commandLine.find(' ');; end = commandLine.find(' ', end + 1)) {
        std::string file = commandLine.substr(0, end);
        if (file.find('.', file.rfind('\\') + 1) == std::string::npos) file += ".EXE";
        if (sim.Exists(file)) return file;
        if (end == std::string::npos) return {};
    }
}

}  // namespace setup32::check
