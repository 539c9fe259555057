// The shell-integration pass over an arbitrary script: the ShortCut,
// Execute, UnInstall and UnInstall Extra File sections fill their tables
// and buffers only within their sizes, whatever the lines hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_machine.h"
#include "shellint/shell_integration.h"
#include "state/shell_state.h"

using namespace setup32;
using namespace setup32::fuzz;

namespace {

constexpr platform::WindowHandle kMainWindow = 0x1234;
constexpr const char* kShellFolders =
    "software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr int kShellPlatforms[] = {os_kind::kWindowsNT, os_kind::kWindows95, os_kind::kWindows98,
                                   os_kind::kWindows2000};

void SetShellFolder(platform::Registry& registry, platform::RegRoot root, const char* name,
                    const std::string& value) {
    long error = 0;
    const platform::RegKey key = platform::CreateRegKey(registry, root, kShellFolders, error);
    const std::vector<char> data(value.c_str(), value.c_str() + value.size() + 1);
    if (key) registry.SetValue(key.get(), name, platform::RegType::String, data);
}

bool Fits(const std::string& text, std::size_t capacity) {
    return text.size() < capacity;
}

void CheckShellBuffers(const ShellIntegrationState& shell) {
    const std::size_t shortcuts = UsedSlots(shell.shortcuts);
    FUZZ_CHECK(shortcuts <= kMaxShortcuts);
    for (std::size_t i = 0; i < shortcuts; ++i) {
        const ShortcutRecord& record = shell.shortcuts[i];
        FUZZ_CHECK(Fits(record.group, shell_capacity::kGroup));
        FUZZ_CHECK(Fits(record.title, shell_capacity::kTitle));
        FUZZ_CHECK(Fits(record.target, shell_capacity::kTarget));
    }
    FUZZ_CHECK(UsedSlots(shell.groupFiles) <= kMaxShortcuts);
    FUZZ_CHECK(UsedSlots(shell.groupNames) <= kMaxShortcuts);
    for (const auto* list : {&shell.groupFiles, &shell.groupNames}) {
        FUZZ_CHECK(std::all_of(list->begin(), list->end(), [](const std::string& slot) {
            return Fits(slot, shell_capacity::kListSlot);
        }));
    }
    FUZZ_CHECK(Fits(shell.startupGroupName, shell_capacity::kStartupGroupName));
    FUZZ_CHECK(Fits(shell.workingDirectory, shell_capacity::kWorkingDirectory));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t lcid = LcidOfChoice(input.ConsumeIntegral<std::uint8_t>());
    const int osKind = input.PickValueInArray(kShellPlatforms);
    const std::string startupFolder = input.ConsumeRandomLengthString(200);
    const std::string programsFolder = input.ConsumeRandomLengthString(200);

    FuzzMachine machine(lcid);
    platform::sim::SimMachine& sim = machine.sim();
    platform::Registry& registry = sim.machine().registry;
    SetShellFolder(registry, platform::RegRoot::CurrentUser, "StartUp", startupFolder);
    SetShellFolder(registry, platform::RegRoot::LocalMachine, "Common Startup", startupFolder);
    SetShellFolder(registry, platform::RegRoot::CurrentUser, "Programs", programsFolder);
    machine.WriteScript(input.ConsumeRemainingBytesAsString());

    SetupContext& ctx = machine.ctx();
    RunShellIntegration(ctx, kMainWindow, osKind);

    CheckShellBuffers(ctx.shell);
    std::size_t programs = 0;
    for (const platform::sim::ExecRecord& exec : sim.Execs()) {
        if (exec.show != platform::sw::kShowNormal) continue;
        FUZZ_CHECK(Fits(exec.commandLine, shell_capacity::kCommandLine));
        ++programs;
    }
    FUZZ_CHECK(programs <= kMaxPrograms);
    // The uninstall entry's key path is held in 200 bytes.
    const std::string entry = std::string(kUninstallKey) + "\\" + ctx.groupName;
    if (sim.KeyExists(platform::RegRoot::LocalMachine, entry)) {
        FUZZ_CHECK(Fits(entry, 200));
        FUZZ_CHECK(!ctx.groupName.empty());
    }
    return 0;
}
