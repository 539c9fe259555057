// The device re-detection clean-up on Windows 95 and 98.
#include <gtest/gtest.h>

#include <string>

#include "sim_fixture.h"
#include "state/setup_fields.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

using platform::RegRoot;

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

// Run on both families: Windows 95 deletes a key with its subkeys, the NT
// family (and Wine) only a key without.
class DeviceCleanupTest : public testing::SimFixture,
                          public ::testing::WithParamInterface<std::uint32_t> {
  protected:
    DeviceCleanupTest() {
        sim().SetVersion(GetParam());
        dlg_.windowsDir = kWindowsDir;
        dlg_.infDir = std::string(kWindowsDir) + "\\inf";
        sim().WriteFile(kIndex, "index");
        sim().WriteFile(kData, "data");
        EXPECT_TRUE(sim().LoadRegistry(kEnumTree));
    }

    bool Device(const std::string& name) {
        return sim().KeyExists(RegRoot::LocalMachine, kPci + name);
    }
    bool DatabaseFiles() { return sim().Exists(kIndex) || sim().Exists(kData); }

    SetupFields dlg_;
};

TEST_P(DeviceCleanupTest, RemovesEachNamedDeviceWithAllItsKeysAndTheDatabase) {
    RemoveDeviceEntries(ctx(), dlg_, "6E02");
    EXPECT_FALSE(Device("VEN_7A3E&DEV_6E02"));
    EXPECT_FALSE(DatabaseFiles());
    EXPECT_TRUE(Device("VEN_7A3E&DEV_6E03\\BUS_00&DEV_0E&FUNC_00"));

    RemoveDeviceEntries(ctx(), dlg_, "6E03");
    EXPECT_FALSE(Device("VEN_7A3E&DEV_6E03"));
    EXPECT_TRUE(Device("VEN_7A3E&DEV_6E02&SUBSYS_00017A3E\\BUS_00&DEV_0F&FUNC_00"));
    EXPECT_TRUE(Device("VEN_8086&DEV_7010\\BUS_00&DEV_01&FUNC_01"));
}

TEST_P(DeviceCleanupTest, AnIdThatNamesNoKeyStillDeletesTheDatabase) {
    const std::string before = sim().SaveRegistry();
    for (const char* id : {" 6E03", "6e0", "6E04"}) RemoveDeviceEntries(ctx(), dlg_, id);
    EXPECT_EQ(sim().SaveRegistry(), before);
    EXPECT_FALSE(DatabaseFiles());
    EXPECT_TRUE(sim().Boxes().empty());
}

TEST_P(DeviceCleanupTest, WithoutAWindowsDirectoryNoFileIsDeleted) {
    dlg_.windowsDir.clear();
    dlg_.infDir = "\\inf";
    sim().WriteFile("C:\\inf\\DRVIDX.BIN", "not ours");
    sim().SetCurrentDirectory("C:\\");
    RemoveDeviceEntries(ctx(), dlg_, "6E02");
    EXPECT_FALSE(Device("VEN_7A3E&DEV_6E02"));
    EXPECT_TRUE(sim().Exists("C:\\inf\\DRVIDX.BIN"));
}

TEST_P(DeviceCleanupTest, RegistryKeyExistsOpensWithoutChanging) {
    platform::Registry& registry = sim().machine().registry;
    const std::string before = sim().SaveRegistry();
    EXPECT_EQ(RegistryKeyExists(registry, RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E02"),
              1);
    EXPECT_EQ(RegistryKeyExists(registry, RegRoot::LocalMachine, "Enum\\PCI\\VEN_7A3E&DEV_6E05"),
              0);
    EXPECT_EQ(RegistryKeyExists(registry, RegRoot::CurrentUser, "Enum\\PCI"), 0);
    EXPECT_EQ(sim().SaveRegistry(), before);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, DeviceCleanupTest,
                         ::testing::Values(platform::sim::version::kWindows95,
                                           platform::sim::version::kWindowsNT4));

}  // namespace
}  // namespace setup32
