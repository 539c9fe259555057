// The simulated machine of the shared fixture, with what the shell
// integration needs besides: the Shell Folders values, the records of the
// product key and the programs started.
#pragma once

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "sim_fixture.h"

namespace setup32::testing {

class ShellFixture : public SimFixture {
  protected:
    static constexpr platform::WindowHandle kMainWindow = 0x1234;
    static constexpr const char* kShellFolders =
        "software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

    ShellFixture() { ctx().windowsDirText = kWindowsDir; }

    void SetShellFolder(platform::RegRoot root, const std::string& name, const std::string& value) {
        long error = 0;
        platform::Registry& registry = machine().registry;
        const platform::RegKey key = platform::CreateRegKey(registry, root, kShellFolders, error);
        ASSERT_TRUE(key);
        const std::vector<char> data(value.c_str(), value.c_str() + value.size() + 1);
        ASSERT_EQ(0, registry.SetValue(key.get(), name, platform::RegType::String, data));
    }
    // The values of the product key other than its default value.
    std::vector<std::string> Recorded(const std::string& group = kDefaultGroupName) {
        std::vector<std::string> names;
        for (const std::string& name :
             sim().ValueNames(platform::RegRoot::CurrentUser, "software\\" + group)) {
            if (!name.empty()) names.push_back(name);
        }
        return names;
    }
    // The command lines started with the show code `show`, in order.
    std::vector<std::string> Started(int show) {
        std::vector<std::string> lines;
        for (const platform::sim::ExecRecord& exec : sim().Execs()) {
            if (exec.show == show) lines.push_back(exec.commandLine);
        }
        return lines;
    }
};

}  // namespace setup32::testing
