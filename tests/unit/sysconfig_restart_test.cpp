// The restart, with and without the shutdown privilege.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "install/context.h"
#include "platform/sim/sim_machine.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

using platform::sim::SimMachine;
using Adjustments = std::vector<std::pair<std::string, bool>>;

constexpr const char* kShutdown = "SeShutdownPrivilege";

TEST(Restart, Windows9xAndOthersRestartWithoutPrivilegeHandling) {
    for (const int osKind :
         {os_kind::kWindows95, os_kind::kWindows98, os_kind::kWin32s, os_kind::kUnrecognised}) {
        SimMachine sim;
        sim.SetVersion(platform::sim::version::kWindows95);
        SetupContext ctx(sim.machine());
        ctx.osKind = osKind;
        RestartWindows(ctx);
        EXPECT_TRUE(sim.PrivilegeCalls().empty()) << osKind;
        EXPECT_EQ(sim.ExitWindowsCalls(), std::vector<unsigned>{platform::kExitWindowsReboot})
            << osKind;
    }
}

TEST(Restart, NtFamilyRestartsOnlyWithTheShutdownPrivilege) {
    const std::pair<int, std::uint32_t> systems[] = {
        {os_kind::kWindowsNT, platform::sim::version::kWindowsNT4},
        {os_kind::kWindows2000, platform::sim::version::kWindows2000},
    };
    for (const auto& [osKind, version] : systems) {
        for (const bool held : {true, false}) {
            SCOPED_TRACE(std::to_string(osKind) + (held ? " held" : " not held"));
            SimMachine sim;
            sim.SetVersion(version);
            SetupContext ctx(sim.machine());
            ctx.osKind = osKind;
            sim.SetPrivilegeHeld(kShutdown, held);
            RestartWindows(ctx);
            if (held) {
                EXPECT_EQ(sim.PrivilegeCalls(),
                          (Adjustments{{kShutdown, true}, {kShutdown, false}}));
                EXPECT_EQ(sim.ExitWindowsCalls(),
                          std::vector<unsigned>{platform::kExitWindowsReboot});
            } else {
                EXPECT_EQ(sim.PrivilegeCalls(), (Adjustments{{kShutdown, true}}));
                EXPECT_TRUE(sim.ExitWindowsCalls().empty());
            }
            EXPECT_TRUE(sim.Boxes().empty());
        }
    }
}

TEST(Restart, PrivilegeHelpersReportWhetherTheTokenHoldsIt) {
    SimMachine sim;
    sim.SetVersion(platform::sim::version::kWindowsNT4);
    platform::Desktop& desktop = sim.machine().desktop;
    sim.SetPrivilegeHeld(kShutdown, true);
    EXPECT_EQ(EnablePrivilege(desktop, kShutdown), 1);
    EXPECT_EQ(DisablePrivilege(desktop, kShutdown), 1);
    sim.SetPrivilegeHeld(kShutdown, false);
    EXPECT_EQ(EnablePrivilege(desktop, kShutdown), 0);
    EXPECT_EQ(DisablePrivilege(desktop, kShutdown), 0);
}

}  // namespace
}  // namespace setup32
