// The floors of src/: a file includes headers of its own folder and of the
// floors below it, never of a floor above nor of a sibling on its own floor.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace setup32 {
namespace {

// From the bottom up. The folders of one floor are siblings: none of them
// includes another. A folder below a listed one (platform/sim) belongs to it
// unless it is listed itself (app/win32).
const std::vector<std::vector<std::string>> kFloors = {
    {"platform"},  // the seam, with its Win32 and simulated backends
    {"messages"},
    {"state"},  // what one run of the program holds and reads
    {"files", "sysconfig", "shellint"},
    {"install"},
    {"app"},
    {"app/win32"},
    {"check"},  // the vendor's checker, which runs all of the above
};

// A source file by its path below src/.
struct SourceFile {
    std::string path;
    std::string text;
};

struct UpwardInclude {
    std::string file;
    int line;
    std::string target;
    std::string fromFolder;
    std::string toFolder;

    bool operator==(const UpwardInclude& other) const {
        return file == other.file && line == other.line && target == other.target &&
               fromFolder == other.fromFolder && toFolder == other.toFolder;
    }
};

std::ostream& operator<<(std::ostream& out, const UpwardInclude& include) {
    return out << "src/" << include.file << ":" << include.line << ": " << include.fromFolder
               << " includes " << include.target << " of " << include.toFolder
               << ", which is not on a floor below";
}

// The listed folder that holds `path` (the longest one); empty for none.
std::string FolderOf(const std::string& path) {
    std::string found;
    for (const auto& floor : kFloors) {
        for (const std::string& folder : floor) {
            if (path.rfind(folder + "/", 0) == 0 && folder.size() > found.size()) found = folder;
        }
    }
    return found;
}

std::size_t FloorOf(const std::string& folder) {
    for (std::size_t floor = 0; floor < kFloors.size(); ++floor) {
        const auto& folders = kFloors[floor];
        if (std::find(folders.begin(), folders.end(), folder) != folders.end()) return floor;
    }
    return kFloors.size();
}

// The target of a line `#include "target"`; empty for any other line.
std::string QuotedInclude(std::string_view line) {
    const auto skipBlanks = [&line] {
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    };
    skipBlanks();
    if (line.substr(0, 1) != "#") return {};
    line.remove_prefix(1);
    skipBlanks();
    constexpr std::string_view kInclude = "include";
    if (line.substr(0, kInclude.size()) != kInclude) return {};
    line.remove_prefix(kInclude.size());
    skipBlanks();
    if (line.substr(0, 1) != "\"") return {};
    const std::size_t end = line.find('"', 1);
    return end == std::string_view::npos ? std::string() : std::string(line.substr(1, end - 1));
}

// Every include of a header in a listed folder that is neither the file's
// own folder nor on a floor below it. Headers outside the listed folders
// (generated ones, resources) have no floor and are passed over.
std::vector<UpwardInclude> UpwardIncludes(const std::vector<SourceFile>& files) {
    std::vector<UpwardInclude> found;
    for (const SourceFile& file : files) {
        const std::string from = FolderOf(file.path);
        std::istringstream lines(file.text);
        std::string line;
        for (int number = 1; std::getline(lines, line); ++number) {
            const std::string target = QuotedInclude(line);
            const std::string to = FolderOf(target);
            if (to.empty() || to == from || FloorOf(to) < FloorOf(from)) continue;
            found.push_back({file.path, number, target, from, to});
        }
    }
    return found;
}

std::vector<SourceFile> SourceTree() {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(SETUP32_SOURCE_DIR) / "src";
    std::vector<SourceFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& path = entry.path();
        if (path.extension() != ".h" && path.extension() != ".cpp") continue;
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        files.push_back({path.lexically_relative(root).generic_string(), text.str()});
    }
    return files;
}

TEST(Layers, NoIncludeInTheSourcesRunsUpward) {
    const std::vector<SourceFile> files = SourceTree();
    ASSERT_GT(files.size(), 100u);
    for (const SourceFile& file : files) {
        EXPECT_FALSE(FolderOf(file.path).empty()) << "src/" << file.path << " is on no floor";
    }
    for (const UpwardInclude& include : UpwardIncludes(files)) ADD_FAILURE() << include;
}

TEST(Layers, AMadeUpTreeWithOneUpwardIncludeGivesExactlyThatOne) {
    const std::vector<SourceFile> files = {
        {"state/context.h",
         "// The run.\n#pragma once\n\n#include <string>\n\n#include \"messages/messages.h\"\n"
         "#include \"platform/machine.h\"\n#include \"state/copy_list.h\"\n"
         "#include \"files/copy_list.h\"\n"},
        {"platform/sim/sim_files.cpp", "#include \"platform/files.h\"\n"},
        {"platform/sim/wine.cpp", "#include \"wine_table.h\"\n"},
        {"install/run_install.cpp",
         "#include \"files/file_placement.h\"\n#include \"shellint/shell_integration.h\"\n"
         "#include \"sysconfig/sysconfig.h\"\n#include \"state/script.h\"\n"},
        {"app/win32/main.cpp", "#include \"app/setup_app.h\"\n#include \"resource.h\"\n"},
        {"check/plan.cpp",
         "  #  include \"app/setup_app.h\"\n#include \"install/run_install.h\"\n"},
    };
    const std::vector<UpwardInclude> expected = {
        {"state/context.h", 9, "files/copy_list.h", "state", "files"}};
    EXPECT_EQ(expected, UpwardIncludes(files));
}

TEST(Layers, SiblingsAndTheFloorsAboveAreNotBelow) {
    const std::vector<SourceFile> files = {
        {"files/file_placement.cpp", "#include \"shellint/install_record.h\"\n"},
        {"app/setup_app.cpp", "#include \"app/win32/resource.h\"\n"},
        {"platform/registry.h", "#include \"check/recording_files.h\"\n"},
        {"install/run_install.cpp", "#include \"app/progress_dialog.h\"\n"},
    };
    const std::vector<UpwardInclude> expected = {
        {"files/file_placement.cpp", 1, "shellint/install_record.h", "files", "shellint"},
        {"app/setup_app.cpp", 1, "app/win32/resource.h", "app", "app/win32"},
        {"platform/registry.h", 1, "check/recording_files.h", "platform", "check"},
        {"install/run_install.cpp", 1, "app/progress_dialog.h", "install", "app"},
    };
    EXPECT_EQ(expected, UpwardIncludes(files));
}

}  // namespace
}  // namespace setup32
