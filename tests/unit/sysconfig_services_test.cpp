// The service settings on Windows NT and 2000, against the simulated registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

using platform::RegRoot;
using platform::sim::SimMachine;

constexpr const char* kScsiscanKey = "SYSTEM\\CurrentControlSet\\Services\\Scsiscan";
constexpr const char* kMiniportKey = "SYSTEM\\CurrentControlSet\\Services\\MDR420X";
constexpr const char* kImagePath = "System32\\drivers\\dskadp.sys";

class ServicesTest : public ::testing::Test {
  protected:
    platform::Registry& Registry() { return sim_.machine().registry; }
    std::vector<std::string> Values(const char* key) const {
        return sim_.ValueNames(RegRoot::LocalMachine, key);
    }

    SimMachine sim_;
};

TEST_F(ServicesTest, ScsiscanIsCreatedWithStartDisabledWhenMissing) {
    DisableScsiscanService(Registry());
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kScsiscanKey, "Start"), 4u);
    EXPECT_EQ(Values(kScsiscanKey), std::vector<std::string>{"Start"});
}

TEST_F(ServicesTest, ScsiscanKeepsItsOtherValuesAndASecondRunChangesNothing) {
    ASSERT_TRUE(sim_.LoadRegistry(
        "REGEDIT4\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Scsiscan]\n"
        "\"Type\"=dword:00000001\n\"Start\"=dword:00000003\n"
        "\"ImagePath\"=\"System32\\\\drivers\\\\scsiscan.sys\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Scsiscan\\Enum]\n"
        "\"Count\"=dword:00000000\n"));
    DisableScsiscanService(Registry());
    const std::string once = sim_.SaveRegistry();
    DisableScsiscanService(Registry());

    EXPECT_EQ(sim_.SaveRegistry(), once);
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kScsiscanKey, "Start"), 4u);
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kScsiscanKey, "Type"), 1u);
    EXPECT_EQ(sim_.StringValue(RegRoot::LocalMachine, kScsiscanKey, "ImagePath"),
              "System32\\drivers\\scsiscan.sys");
    EXPECT_TRUE(sim_.KeyExists(RegRoot::LocalMachine, std::string(kScsiscanKey) + "\\Enum"));
}

TEST_F(ServicesTest, WithoutWriteAccessNothingChangesAndNothingIsSaid) {
    sim_.DenyRegistryWrites(RegRoot::LocalMachine, "SYSTEM");
    const std::string before = sim_.SaveRegistry();
    DisableScsiscanService(Registry());
    EXPECT_NE(RegisterMiniportService(Registry(), "MDR420X", kImagePath), 0);
    EXPECT_EQ(sim_.SaveRegistry(), before);
    EXPECT_TRUE(sim_.Boxes().empty());
}

TEST_F(ServicesTest, MiniportServiceIsWrittenInOrder) {
    EXPECT_EQ(RegisterMiniportService(Registry(), "MDR420X", kImagePath), 0);

    const std::vector<std::string> order = {"ErrorControl", "Start", "Type", "Group", "ImagePath"};
    EXPECT_EQ(Values(kMiniportKey), order);
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kMiniportKey, "ErrorControl"), 1u);
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kMiniportKey, "Start"), 0u);
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kMiniportKey, "Type"), 1u);
    EXPECT_EQ(sim_.StringValue(RegRoot::LocalMachine, kMiniportKey, "Group"), "SCSI Miniport");
    EXPECT_EQ(sim_.StringValue(RegRoot::LocalMachine, kMiniportKey, "ImagePath"), kImagePath);
}

TEST_F(ServicesTest, AnExistingMiniportServiceLosesItsPlugAndPlayType) {
    ASSERT_TRUE(
        sim_.LoadRegistry("REGEDIT4\n\n"
                          "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\MDR420X]\n"
                          "\"PlugPlayServiceType\"=dword:00000002\n\"Start\"=dword:00000003\n"
                          "\"Tag\"=dword:00000019\n"));
    EXPECT_EQ(RegisterMiniportService(Registry(), "MDR420X", kImagePath), 0);

    EXPECT_FALSE(sim_.DwordValue(RegRoot::LocalMachine, kMiniportKey, "PlugPlayServiceType"));
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kMiniportKey, "Start"), 0u);
    EXPECT_EQ(sim_.DwordValue(RegRoot::LocalMachine, kMiniportKey, "Tag"), 0x19u);
}

TEST_F(ServicesTest, AServiceNameThatIsNoSingleKeyWritesNothing) {
    const std::string before = sim_.SaveRegistry();
    for (const char* name : {"", "A\\B", "\\"}) {
        EXPECT_NE(RegisterMiniportService(Registry(), name, kImagePath), 0) << name;
    }
    EXPECT_NE(RegisterMiniportService(Registry(), std::string(230, 'S'), kImagePath), 0);
    EXPECT_EQ(sim_.SaveRegistry(), before);
}

}  // namespace
}  // namespace setup32
