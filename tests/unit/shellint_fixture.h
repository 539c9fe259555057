// A simulated machine set up for the shell-integration pass: the medium in
// D:\MEDIUM (the current directory), Windows in C:\WINDOWS, and helpers to
// write the script, the Shell Folders values and to read what was recorded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "install/context.h"
#include "platform/sim/sim_machine.h"

namespace setup32::testing {

class ShellFixture : public ::testing::Test {
  protected:
    static constexpr const char* kWindows = "C:\\WINDOWS";
    static constexpr const char* kMedium = "D:\\MEDIUM";
    static constexpr const char* kShellFolders =
        "software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    static constexpr platform::WindowHandle kMainWindow = 0x1234;

    ShellFixture() : root_(MakeRoot()), ctx(sim.machine()) {
        std::filesystem::create_directories(root_ / "c" / "WINDOWS");
        std::filesystem::create_directories(root_ / "d" / "MEDIUM");
        sim.MapDrive('C', root_ / "c");
        sim.MapDrive('D', root_ / "d");
        sim.SetCurrentDirectory(kMedium);
        sim.SetWindowsDirectory(kWindows);
        ctx.windowsDirText = kWindows;
    }
    ~ShellFixture() override { std::filesystem::remove_all(root_); }

    void WriteScript(const std::string& text) {
        sim.WriteFile(std::string(kMedium) + "\\SETUP32.INI", text);
    }
    void SetShellFolder(platform::RegRoot root, const std::string& name, const std::string& value) {
        long error = 0;
        platform::Registry& registry = sim.machine().registry;
        const platform::RegKey key = platform::CreateRegKey(registry, root, kShellFolders, error);
        ASSERT_TRUE(key);
        const std::vector<char> data(value.c_str(), value.c_str() + value.size() + 1);
        ASSERT_EQ(0, registry.SetValue(key.get(), name, platform::RegType::String, data));
    }
    // The Shell Folders of a Windows 95 user with a Startup folder.
    void SetWindows95Folders() {
        SetShellFolder(platform::RegRoot::CurrentUser, "StartUp",
                       "C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
        SetShellFolder(platform::RegRoot::CurrentUser, "Programs",
                       "C:\\WINDOWS\\Start Menu\\Programs");
    }
    // The values of the product key other than its default value.
    std::vector<std::string> Recorded(const std::string& group = kDefaultGroupName) const {
        std::vector<std::string> names;
        for (const std::string& name :
             sim.ValueNames(platform::RegRoot::CurrentUser, "software\\" + group)) {
            if (!name.empty()) names.push_back(name);
        }
        return names;
    }
    std::vector<std::string> Started(int show) const {
        std::vector<std::string> lines;
        for (const platform::sim::ExecRecord& exec : sim.Execs()) {
            if (exec.show == show) lines.push_back(exec.commandLine);
        }
        return lines;
    }

  private:
    static std::filesystem::path MakeRoot() {
        return std::filesystem::temp_directory_path() /
               ("shellint-" + std::to_string(std::random_device()()));
    }

    std::filesystem::path root_;

  protected:
    platform::sim::SimMachine sim;
    SetupContext ctx;
};

}  // namespace setup32::testing
