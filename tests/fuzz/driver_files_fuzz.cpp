// The driver-file sections of an arbitrary script through the copy-list
// building and the copy pass: malformed lines are reported and skipped, and
// the pass handles every entry it listed, whatever paths the lines name.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/progress_dialog.h"
#include "files/file_placement.h"
#include "fuzz_machine.h"
#include "platform/sim/sim_machine.h"
#include "state/setup_fields.h"

using namespace setup32;
using namespace setup32::fuzz;

namespace {

constexpr int kPlatforms[] = {os_kind::kWindowsNT, os_kind::kWindows95, os_kind::kWindows98,
                              os_kind::kWindows2000};
constexpr const char* kMediumFiles[] = {"A:\\W95\\DSKADP.MPD", "A:\\NT\\DSKADP.SYS",
                                        "A:\\TOOLS\\PROBE.EXE", "A:\\A.SYS"};

class MainDialogStub : public platform::DialogHandler {
    bool OnInitDialog(platform::DialogView&) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t lcid = LcidOfChoice(input.ConsumeIntegral<std::uint8_t>());
    const int osKind = input.PickValueInArray(kPlatforms);
    const bool shown = input.ConsumeBool();

    FuzzMachine machine(lcid);
    platform::sim::SimMachine& sim = machine.sim();
    for (const char* file : kMediumFiles) sim.WriteFile(file, file);
    machine.WriteScript(input.ConsumeRemainingBytesAsString());

    SetupContext& ctx = machine.ctx();
    MainDialogStub mainDialog;
    SetupFields dlg;
    dlg.startDir = kMedium;
    dlg.osKind = osKind;
    dlg.showMain = shown ? 1 : 0;
    CProgressDlg progressWindow(ctx, 0, mainDialog);
    PrepareDriverCopyList(ctx, dlg);
    CopyFilesInCopyList(ctx, dlg, progressWindow);

    // Every listed entry is counted as handled, copied or given up.
    const std::size_t entries = dlg.copyList.size();
    const platform::sim::SimDialogView* progress = nullptr;
    for (const platform::sim::SimDialogView* view : sim.DialogViews()) {
        if (view->TemplateId() == progress_ids::kTemplate) progress = view;
    }
    FUZZ_CHECK((progress != nullptr) == (entries != 0));
    if (progress) {
        FUZZ_CHECK(progress->ProgressPositions().size() == entries);
        for (std::size_t i = 0; i < entries; ++i) {
            FUZZ_CHECK(progress->ProgressPositions()[i] == static_cast<int>(i + 1));
        }
        FUZZ_CHECK(progress->Visible() == shown);
    }
    return 0;
}
