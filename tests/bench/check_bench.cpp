// The checker's two goals: twelve plans (the four platforms in the three
// languages) of a 64 KB script in under 1 s, and the sample medium as
// setup32-check checks it by default (every platform, English) in under
// 0.1 s. Measured on the project's 2-core machine, Release build, with
// every rule in its own file and the demo's Wine reading in the JSON, on an
// otherwise idle machine: the 64 KB script's twelve plans 193 ms, the
// sample's four 36 ms. The Wine run of the sample is measured by
// tools/bench-check-vs-wine.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "check/check.h"
#include "platform/sim/temp_directory.h"

namespace setup32::check {
namespace {

namespace fs = std::filesystem;

const fs::path kSampleMedium = fs::path(SETUP32_SOURCE_DIR) / "examples" / "medium";
constexpr std::size_t kLargeScript = 64 * 1024;

std::string ReadHostFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The sample's script as a large vendor script grows: each section
// documented by comment lines, then sections of earlier releases that the
// program never reads, up to exactly kLargeScript bytes.
std::string LargeScript(const std::string& sample) {
    std::string script;
    std::istringstream lines(sample);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        script += line + "\r\n";
        if (!line.empty() && line.front() == '[') {
            script +=
                "; The lines of this section name the files of this release; the guide\r\n"
                "; explains each field. Keep the keys numbered from 1 without a gap.\r\n";
        }
    }
    for (int release = 1;; ++release) {
        const std::string number = std::to_string(release);
        const std::string block = "\r\n; Release " + number +
                                  ": the files of an earlier adapter, kept for reference.\r\n"
                                  "[Release " +
                                  number +
                                  " Driver Files]\r\n"
                                  "1=.\\W98\\DSKADP.MPD,.\\SYSTEM\\IOSUBSYS\\DSKADP.MPD\r\n"
                                  "2=.\\TOOLS\\<GROUp>.HLP,.\\HELP\\<GROUp>.HLP\r\n"
                                  "3=.\\TOOLS\\UNINST.EXE,.\\DSKUNINS.EXE\r\n";
        if (script.size() + block.size() > kLargeScript) break;
        script += block;
    }
    const std::size_t room = kLargeScript - script.size();
    if (room >= 3) script += ";" + std::string(room - 3, '-') + "\r\n";
    return script.append(kLargeScript - script.size(), '\n');
}

// A copy of the sample medium with the large script as its SETUP32.INI.
class LargeMedium {
  public:
    LargeMedium() {
        fs::copy(kSampleMedium, dir_.path(), fs::copy_options::recursive);
        std::ofstream(dir_.path() / "SETUP32.INI", std::ios::binary | std::ios::trunc)
            << LargeScript(ReadHostFile(kSampleMedium / "SETUP32.INI"));
    }
    const fs::path& path() const { return dir_.path(); }

  private:
    platform::sim::TempDirectory dir_{"setup32-check-bench"};
};

// As setup32-check runs them: the machines in memory when there is room.
void CheckRuns(benchmark::State& state, const fs::path& medium,
               const std::vector<LanguageInfo>& languages) {
    PreferMemoryForScratch(medium);
    CheckOptions options;
    options.medium = medium;
    options.platforms = Platforms();
    options.languages = languages;
    const std::size_t runs = options.platforms.size() * languages.size();
    for (auto _ : state) {
        std::string whyNot;
        const auto result = CheckMedium(options, whyNot);
        if (!result || result->runs.size() != runs) {
            state.SkipWithError(whyNot.empty() ? "a run is missing" : whyNot.c_str());
            break;
        }
        benchmark::DoNotOptimize(result->runs.back().plan.copies.size());
    }
}

void BM_CheckSampleMedium(benchmark::State& state) {
    CheckRuns(state, kSampleMedium, {Languages().front()});
}
BENCHMARK(BM_CheckSampleMedium)->Unit(benchmark::kMillisecond);

void BM_Check64KScriptTwelveRuns(benchmark::State& state) {
    PreferMemoryForScratch(kSampleMedium);
    const LargeMedium medium;
    state.counters["script bytes"] =
        static_cast<double>(fs::file_size(medium.path() / "SETUP32.INI"));
    CheckRuns(state, medium.path(), Languages());
}
BENCHMARK(BM_Check64KScriptTwelveRuns)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace setup32::check
