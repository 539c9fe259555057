// The checker on the sample medium: twelve dry runs, the four platforms in
// the three languages. The goal is under one second for the twelve on the
// project's 2-core machine; the Wine run of the same medium is measured by
// the end-to-end suite.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "check/check.h"

namespace setup32::check {
namespace {

void BM_CheckSampleMediumTwelveRuns(benchmark::State& state) {
    CheckOptions options;
    options.medium = std::filesystem::path(SETUP32_SOURCE_DIR) / "examples" / "medium";
    options.platforms = Platforms();
    options.languages = Languages();
    for (auto _ : state) {
        std::string whyNot;
        const auto result = CheckMedium(options, whyNot);
        if (!result || result->runs.size() != 12) {
            state.SkipWithError(whyNot.empty() ? "not twelve runs" : whyNot.c_str());
            break;
        }
        benchmark::DoNotOptimize(result->runs.back().plan.copies.size());
    }
}
BENCHMARK(BM_CheckSampleMediumTwelveRuns)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace setup32::check
