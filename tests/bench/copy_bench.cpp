// The copy pass of a silent install of 100 small files on the simulated
// machine. Pauses are recorded, not slept, so the measured time is the
// pass's own work; the fixed pauses (100 x 300 ms = 30 s) are reported
// beside it, with the work as a share of that floor.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <numeric>
#include <string>

#include "app/progress_dialog.h"
#include "files/file_placement.h"
#include "install/setup_fields.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/temp_directory.h"
#include "state/context.h"

namespace setup32 {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 100;

class NoParent : public platform::DialogHandler {
  public:
    bool OnInitDialog(platform::DialogView&) override { return true; }
};

// A Windows 95 machine with a medium of `kFiles` small driver files on A:.
class Medium {
  public:
    Medium() {
        for (const char* drive : {"A", "C"}) {
            fs::create_directories(root_.path() / drive);
            sim.MapDrive(drive[0], root_.path() / drive);
        }
        sim.SetWindowsDirectory("C:\\WINDOWS");
        sim.SetCurrentDirectory("A:\\");
        // Half of the files in each of the platform's two sections, as
        // neither section may hold more than 2045 bytes.
        std::string script = "[Display]\nbShow=NO\n";
        for (int i = 0; i < kFiles; ++i) {
            if (i % (kFiles / 2) == 0) {
                script += i == 0 ? "[Win95 Driver Files]\n" : "[Win95 Inf File]\n";
            }
            const std::string name = "F" + std::to_string(i) + ".SYS";
            sim.WriteFile("A:\\W95\\" + name, std::string(512, 'x'));
            script += std::to_string(i) + "=.\\W95\\" + name + ",.\\SYSTEM\\" + name + "\n";
        }
        sim.WriteFile("A:\\SETUP32.INI", script);
        fields.startDir = "A:\\";
        fields.osKind = os_kind::kWindows95;
        fields.progress = std::make_unique<CProgressDlg>(ctx, 0, parent_);
    }

  private:
    platform::sim::TempDirectory root_{"setup32-bench"};
    NoParent parent_;

  public:
    platform::sim::SimMachine sim;
    SetupContext ctx{sim.machine()};
    SetupFields fields;
};

void BM_SilentCopyPass(benchmark::State& state) {
    Medium medium;
    PrepareDriverCopyList(medium.ctx, medium.fields);
    if (medium.fields.copyList.size() != kFiles) {
        state.SkipWithError("the copy list is incomplete");
        return;
    }
    double workSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CopyFilesInCopyList(medium.ctx, medium.fields);
        workSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const std::vector<unsigned>& pauses = medium.sim.Pauses();
    const double pauseSeconds =
        std::accumulate(pauses.begin(), pauses.end(), 0.0) / 1000.0 / state.iterations();
    const double workPerPass = workSeconds / state.iterations();
    state.counters["pauses_s"] = pauseSeconds;
    state.counters["work_ms"] = workPerPass * 1000.0;
    state.counters["work_share_of_pauses_pct"] = 100.0 * workPerPass / pauseSeconds;
}
BENCHMARK(BM_SilentCopyPass)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace setup32

BENCHMARK_MAIN();
