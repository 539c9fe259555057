// The restart, with and without the shutdown privilege.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim_machine.h"
#include "state/context.h"
#include "sysconfig/sysconfig.h"

namespace setup32 {
namespace {

using platform::sim::SimMachine;

constexpr const char* kShutdown = "SeShutdownPrivilege";
const std::string enable = std::string(kShutdown) + " enable";
const std::string disable = std::string(kShutdown) + " disable";

// The recorded calls with their main argument, in order.
std::vector<std::string> Calls(const SimMachine& sim) {
    std::vector<std::string> calls;
    for (const platform::sim::Event& event : sim.Events()) {
        calls.push_back(event.call + " " + event.detail);
    }
    return calls;
}

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
            const std::vector<std::string> expected =
                held ? std::vector<std::string>{"AdjustTokenPrivileges " + enable,
                                                "ExitWindowsEx 0x2",
                                                "AdjustTokenPrivileges " + disable}
                     : std::vector<std::string>{"AdjustTokenPrivileges " + enable};
            EXPECT_EQ(Calls(sim), expected);
            EXPECT_TRUE(sim.Boxes().empty());
        }
    }
}

}  // namespace
}  // namespace setup32
