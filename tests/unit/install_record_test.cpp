// The product key and the two registry helpers.
#include "state/install_record.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_machine.h"
#include "state/context.h"

namespace setup32 {
namespace {

using platform::RegRoot;
using platform::sim::SimMachine;

class InstallRecordTest : public ::testing::Test {
  protected:
    SimMachine sim;
    SetupContext ctx{sim.machine()};
    platform::Registry& registry = sim.machine().registry;
};

TEST_F(InstallRecordTest, RecordsAPathOnceUnderTheProductKey) {
    ctx.groupName = kDefaultGroupName;
    const std::string key = "software\\VELKA Technology Corp";
    ASSERT_EQ(ProductKey(ctx), key);

    const std::string path = "C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\DSKADP.MPD";
    EXPECT_EQ(RecordInstalledItem(ctx, path), 0);
    EXPECT_EQ(RecordInstalledItem(ctx, path), 0);
    EXPECT_EQ(RecordInstalledItem(ctx, "C:\\WINDOWS\\INF\\DSKADP.INF"), 0);

    EXPECT_EQ(sim.StringValue(RegRoot::CurrentUser, key, path), path);
    EXPECT_EQ(sim.StringValue(RegRoot::CurrentUser, key, ""), "");
    EXPECT_EQ(sim.ValueNames(RegRoot::CurrentUser, key),
              (std::vector<std::string>{"", path, "C:\\WINDOWS\\INF\\DSKADP.INF"}));
}

TEST_F(InstallRecordTest, EveryWriteResetsTheDefaultValue) {
    ASSERT_TRUE(sim.LoadRegistry(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Entry]\n@=\"old\"\n\"DisplayName\"=\"x\"\n"));
    EXPECT_EQ(WriteRegString(registry, RegRoot::LocalMachine, "Software\\Entry", "DisplayName",
                             "Disk Tools"),
              0);
    EXPECT_EQ(sim.StringValue(RegRoot::LocalMachine, "Software\\Entry", ""), "");
    EXPECT_EQ(sim.StringValue(RegRoot::LocalMachine, "Software\\Entry", "DisplayName"),
              "Disk Tools");
}

TEST_F(InstallRecordTest, AWriteThatIsRefusedFails) {
    sim.DenyRegistryWrites(RegRoot::LocalMachine, "Software");
    EXPECT_EQ(WriteRegString(registry, RegRoot::LocalMachine, "Software\\Entry", "A", "B"), -1);
    EXPECT_FALSE(sim.StringValue(RegRoot::LocalMachine, "Software\\Entry", "A"));
}

TEST_F(InstallRecordTest, AnEmptyGroupNameRecordsUnderTheDefaultName) {
    ctx.groupName.clear();
    EXPECT_EQ(ProductKey(ctx), "software\\VELKA Technology Corp");
    RecordInstalledItem(ctx, "C:\\X.SYS");
    EXPECT_TRUE(sim.ValueNames(RegRoot::CurrentUser, "software").empty());
    EXPECT_EQ(sim.StringValue(RegRoot::CurrentUser, "software\\VELKA Technology Corp", "C:\\X.SYS"),
              "C:\\X.SYS");
}

TEST_F(InstallRecordTest, ALongGroupNameIsCutToTheKeysCapacity) {
    ctx.groupName = std::string(199, 'G');
    EXPECT_EQ(ProductKey(ctx), "software\\" + std::string(190, 'G'));
    ctx.groupName = std::string(190, 'G');
    EXPECT_EQ(ProductKey(ctx), "software\\" + ctx.groupName);

    // On code page 932 the cut never splits a double-byte character.
    sim.SetLcid(0x0411);
    ctx.groupName = std::string(189, 'G') + "\x95\x5C" + "G";
    EXPECT_EQ(ProductKey(ctx), "software\\" + std::string(189, 'G'));
}

TEST_F(InstallRecordTest, ReadsAValueUpToItsTerminator) {
    ASSERT_TRUE(sim.LoadRegistry(
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Folders]\n\"Startup\"=\"C:\\\\WINDOWS\\\\Start "
        "Menu\\\\Programs\\\\StartUp\"\n"));
    std::string data = "before";
    EXPECT_EQ(ReadRegValue(registry, RegRoot::CurrentUser, "Folders", "Startup", data, 180), 0);
    EXPECT_EQ(data, "C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
}

TEST_F(InstallRecordTest, AFailedReadLeavesTheBufferAlone) {
    ASSERT_TRUE(
        sim.LoadRegistry("REGEDIT4\n\n[HKEY_CURRENT_USER\\Folders]\n\"Long\"=\"0123456789\"\n"));
    const struct {
        const char* key;
        const char* name;
        std::size_t capacity;
    } cases[] = {
        {"Folders", "Missing", 180},  // no such value
        {"Nowhere", "Long", 180},     // no such key
        {"Folders", "Long", 10},      // 11 bytes with the terminator do not fit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string data = "before";
        EXPECT_EQ(ReadRegValue(registry, RegRoot::CurrentUser, c.key, c.name, data, c.capacity),
                  -1);
        EXPECT_EQ(data, "before");
    }
}

TEST_F(InstallRecordTest, AUserWithoutWriteRightsStillReadsMachineKeys) {
    ASSERT_TRUE(sim.LoadRegistry(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Shell]\n\"Programs\"=\"C:\\\\P\"\n"));
    sim.DenyRegistryWrites(RegRoot::LocalMachine, "Software");
    std::string data;
    EXPECT_EQ(
        ReadRegValue(registry, RegRoot::LocalMachine, "Software\\Shell", "Programs", data, 180), 0);
    EXPECT_EQ(data, "C:\\P");
}

}  // namespace
}  // namespace setup32
