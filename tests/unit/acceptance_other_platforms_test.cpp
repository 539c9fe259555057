// The sample medium (examples/medium) on the two platform codes that the
// Wine machines cannot report, Win32s and an unrecognised Windows 9x-family
// version: Start edits CONFIG.SYS and nothing else, then asks the restart
// question, and Yes restarts without any privilege handling.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "sim_fixture.h"

namespace setup32 {
namespace {

namespace mb = platform::mb;
using platform::RegRoot;
using platform::sim::SimDialogView;

const std::filesystem::path kSampleMedium =
    std::filesystem::path(SETUP32_SOURCE_DIR) / "examples" / "medium";

constexpr const char* kConfigBefore = "DEVICE=C:\\OLDDRV\\OLDADP.SYS\r\nFILES=30\r\n";
constexpr const char* kEnumKey = "Enum\\PCI\\VEN_7A3E&DEV_6E02\\BUS_00&DEV_0D&FUNC_00";
constexpr const char* kDriverIndex = "C:\\WINDOWS\\INF\\DRVIDX.BIN";

std::string HostFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class OtherPlatformsTest : public testing::SimFixture,
                           public ::testing::WithParamInterface<std::uint32_t> {
  protected:
    OtherPlatformsTest() {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kSampleMedium)) {
            if (!entry.is_regular_file()) continue;
            const std::string relative = entry.path().lexically_relative(kSampleMedium).string();
            WriteMediumFile(relative, HostFileBytes(entry.path()));
        }
        sim().WriteFile("C:\\CONFIG.SYS", kConfigBefore);
        sim().WriteFile(kDriverIndex, "driver database");
        sim().LoadRegistry(std::string("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\") + kEnumKey +
                           "]\r\n");
    }
};

TEST_P(OtherPlatformsTest, StartOnlyEditsConfigSysAndYesRestarts) {
    ASSERT_TRUE(sim().Exists("A:\\SETUP32.INI")) << "the sample medium at " << kSampleMedium;
    sim().SetVersion(GetParam());
    sim().QueueAnswer(mb::kIdYes);
    sim().OnNextModal(
        [](SimDialogView& view, platform::DialogHandler& dialog) { dialog.OnOK(view); });
    CSetupApp app(machine(), "SETUP32.EXE");
    app.InitInstance();

    EXPECT_EQ("FILES=30\r\n", sim().ReadFile("C:\\CONFIG.SYS"));
    EXPECT_EQ(1u, sim().DialogViews().size()) << "no progress window: nothing to copy";
    for (const char* untouched : {"C:\\WINDOWS\\DSKUNINS.EXE", "C:\\WINDOWS\\SETUP.INI"}) {
        EXPECT_FALSE(sim().Exists(untouched)) << untouched;
    }
    EXPECT_TRUE(sim().Execs().empty()) << "neither the group converter nor the Execute programs";
    EXPECT_FALSE(sim().KeyExists(RegRoot::CurrentUser, "software\\Disk Tools"));
    EXPECT_TRUE(sim().KeyExists(RegRoot::LocalMachine, kEnumKey)) << "no device clean-up";
    EXPECT_TRUE(sim().Exists(kDriverIndex)) << "no device clean-up";
    EXPECT_FALSE(
        sim().KeyExists(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Scsiscan"));

    ASSERT_EQ(1u, sim().Boxes().size()) << "the restart question alone";
    EXPECT_TRUE(sim().PrivilegeCalls().empty());
    EXPECT_EQ(std::vector<unsigned>{platform::kExitWindowsReboot}, sim().ExitWindowsCalls());
}

INSTANTIATE_TEST_SUITE_P(Win32sAndUnrecognised, OtherPlatformsTest,
                         ::testing::Values(platform::sim::version::kWin32s, 0x80000005u));

}  // namespace
}  // namespace setup32
