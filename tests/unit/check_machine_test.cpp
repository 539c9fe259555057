// The machines a check starts from: each version's customer machine that
// examples/machine describes, and what a fresh machine of each version has
// before the install (its folders and Shell Folders), as the install
// meets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "check/check.h"
#include "check/default_machine.h"
#include "host_files.h"
#include "platform/windows_versions.h"

namespace setup32::check {
namespace {

namespace fs = std::filesystem;

TEST(CheckMachine, EachVersionsMachineIsTheOneExamplesMachineDescribesAsItsSetupMadeIt) {
    const std::string configSys =
        ReadHostFile(kProjectRoot / "examples" / "machine" / "CONFIG.SYS");
    ASSERT_FALSE(configSys.empty());
    for (const platform::WindowsVersion& version : platform::kWindowsVersions) {
        SCOPED_TRACE(version.id);
        const MachineDescription& machine = DefaultMachine(version);
        EXPECT_EQ("A:\\", machine.startDir);
        EXPECT_EQ(version.windowsDir, machine.windowsDir);
        EXPECT_EQ(configSys, machine.configSys);
    }
}

TEST(CheckMachine, AVersionsOwnSectionComesBeforeTheSharedOne) {
    const std::string ini =
        "[Machine]\r\nStartDir=A:\\\r\nWindowsDir=C:\\WIN\r\n"
        "[nt40]\r\nWindowsDir=C:\\WINNT\r\n"
        "[WIN2K]\r\nStartDir=D:\\SETUP\r\n";
    const struct {
        const char* version;
        const char* startDir;
        const char* windowsDir;
    } rows[] = {
        {"win95", "A:\\", "C:\\WIN"},
        {"nt40", "A:\\", "C:\\WINNT"},
        {"win2k", "D:\\SETUP", "C:\\WIN"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        const MachineDescription machine = ReadMachineDescription(ini, row.version, "bytes");
        EXPECT_EQ(row.startDir, machine.startDir);
        EXPECT_EQ(row.windowsDir, machine.windowsDir);
        EXPECT_EQ("bytes", machine.configSys);
    }
    // A key that neither section has stays empty.
    EXPECT_EQ("", ReadMachineDescription("[nt40]\r\nStartDir=A:\\\r\n", "win95", "").startDir);
}

// The sample's program group, as the install records it in the product key:
// below the Programs folder that the fresh machine's Shell Folders name.
TEST(CheckMachine, TheInstallFindsEachVersionsWindowsAndStartMenuWhereItsSetupPutThem) {
    const struct {
        const char* version;
        const char* windowsDir;
        const char* group;
    } rows[] = {
        {"win95", "C:\\WINDOWS", "C:\\WINDOWS\\Start Menu\\Programs\\Disk Tools"},
        {"win98", "C:\\WINDOWS", "C:\\WINDOWS\\Start Menu\\Programs\\Disk Tools"},
        {"nt40", "C:\\WINNT",
         "C:\\WINNT\\Profiles\\Administrator\\Start Menu\\Programs\\Disk Tools"},
        {"win2k", "C:\\WINNT",
         "C:\\Documents and Settings\\Administrator\\Start Menu\\Programs\\Disk Tools"},
    };
    CheckOptions options;
    options.medium = kProjectRoot / "examples" / "medium";
    options.platforms = Platforms();
    options.languages = {Languages()[0]};
    std::string whyNot;
    const std::optional<CheckResult> result = CheckMedium(options, whyNot);
    ASSERT_TRUE(result) << whyNot;
    ASSERT_EQ(std::size(rows), result->runs.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Plan& plan = result->runs[i].plan;
        SCOPED_TRACE(rows[i].version);
        EXPECT_STREQ(rows[i].version, result->runs[i].platform.name);
        EXPECT_EQ(rows[i].windowsDir, plan.windowsDir);
        EXPECT_TRUE(
            std::any_of(plan.productValues.begin(), plan.productValues.end(),
                        [&](const NamedValue& value) { return value.name == rows[i].group; }));
        // Every copy of the sample lands in the Windows directory.
        for (const CopyRecord& copy : plan.copies) {
            EXPECT_EQ(0u, copy.error) << copy.destination;
            EXPECT_EQ(0u, copy.destination.rfind(std::string(rows[i].windowsDir) + "\\", 0))
                << copy.destination;
        }
    }
}

}  // namespace
}  // namespace setup32::check
