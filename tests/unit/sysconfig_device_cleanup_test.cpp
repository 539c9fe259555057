// The device re-detection clean-up on Windows 95 and 98.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "install/context.h"
#include "install/setup_fields.h"
#include "platform/sim/sim_machine.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

namespace fs = std::filesystem;
using platform::RegRoot;
using platform::sim::SimMachine;

constexpr const char* kIndex = "C:\\WINDOWS\\INF\\DRVIDX.BIN";
constexpr const char* kData = "C:\\WINDOWS\\INF\\DRVDATA.BIN";
constexpr const char* kPci = "Enum\\PCI\\";

// Two adapters with instance keys (one a level deeper), a device whose name
// only begins like ours, and another vendor's device.
constexpr const char* kEnumTree =
    "REGEDIT4\n\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02]\n\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02\\BUS_00&DEV_0C&FUNC_00]\n"
    "\"Driver\"=\"SCSIAdapter\\\\0000\"\n\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02\\BUS_00&DEV_0C&FUNC_00\\LogConfig]\n"
    "\"0000\"=dword:00000001\n\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02\\BUS_00&DEV_0D&FUNC_00]\n\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E03\\BUS_00&DEV_0E&FUNC_00]\n\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02&SUBSYS_00017A3E\\BUS_00&DEV_0F&FUNC_00]\n\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_8086&DEV_7010\\BUS_00&DEV_01&FUNC_01]\n";

class DeviceCleanupTest : public ::testing::Test {
  protected:
    DeviceCleanupTest()
        : root_(fs::temp_directory_path() / ("setup32_devices_" + std::to_string(::getpid()))),
          ctx_(sim_.machine()) {
        fs::create_directories(root_);
        sim_.MapDrive('C', root_);
        dlg_.windowsDir = "C:\\WINDOWS";
        dlg_.infDir = "C:\\WINDOWS\\inf";
        sim_.WriteFile(kIndex, "index");
        sim_.WriteFile(kData, "data");
        EXPECT_TRUE(sim_.LoadRegistry(kEnumTree));
    }
    ~DeviceCleanupTest() override { fs::remove_all(root_); }

    bool Device(const std::string& name) const {
        return sim_.KeyExists(RegRoot::LocalMachine, kPci + name);
    }
    bool DatabaseFiles() const { return sim_.Exists(kIndex) || sim_.Exists(kData); }

    fs::path root_;
    SimMachine sim_;
    SetupContext ctx_;
    SetupFields dlg_;
};

TEST_F(DeviceCleanupTest, RemovesEachNamedDeviceWithAllItsKeysAndTheDatabase) {
    RemoveDeviceEntries(ctx_, dlg_, "6E02");
    EXPECT_FALSE(Device("VEN_7A3E&DEV_6E02"));
    EXPECT_FALSE(DatabaseFiles());
    EXPECT_TRUE(Device("VEN_7A3E&DEV_6E03\\BUS_00&DEV_0E&FUNC_00"));

    RemoveDeviceEntries(ctx_, dlg_, "6E03");
    EXPECT_FALSE(Device("VEN_7A3E&DEV_6E03"));
    EXPECT_TRUE(Device("VEN_7A3E&DEV_6E02&SUBSYS_00017A3E\\BUS_00&DEV_0F&FUNC_00"));
    EXPECT_TRUE(Device("VEN_8086&DEV_7010\\BUS_00&DEV_01&FUNC_01"));
}

TEST_F(DeviceCleanupTest, AnIdThatNamesNoKeyStillDeletesTheDatabase) {
    const std::string before = sim_.SaveRegistry();
    for (const char* id : {" 6E03", "6e0", "6E04"}) RemoveDeviceEntries(ctx_, dlg_, id);
    EXPECT_EQ(sim_.SaveRegistry(), before);
    EXPECT_FALSE(DatabaseFiles());
    EXPECT_TRUE(sim_.Boxes().empty());
}

TEST_F(DeviceCleanupTest, WithoutAWindowsDirectoryNoFileIsDeleted) {
    dlg_.windowsDir.clear();
    dlg_.infDir = "\\inf";
    sim_.WriteFile("C:\\inf\\DRVIDX.BIN", "not ours");
    sim_.SetCurrentDirectory("C:\\");
    RemoveDeviceEntries(ctx_, dlg_, "6E02");
    EXPECT_FALSE(Device("VEN_7A3E&DEV_6E02"));
    EXPECT_TRUE(sim_.Exists("C:\\inf\\DRVIDX.BIN"));
}

TEST_F(DeviceCleanupTest, RegistryKeyExistsOpensWithoutChanging) {
    platform::Registry& registry = sim_.machine().registry;
    const std::string before = sim_.SaveRegistry();
    EXPECT_EQ(RegistryKeyExists(registry, RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E02"),
              1);
    EXPECT_EQ(RegistryKeyExists(registry, RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E05"),
              0);
    EXPECT_EQ(RegistryKeyExists(registry, RegRoot::CurrentUser, "Enum\\PCI"), 0);
    EXPECT_EQ(sim_.SaveRegistry(), before);
}

}  // namespace
}  // namespace setup32
