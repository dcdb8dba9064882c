// The die set: a 100-pass schedule with every die designed by the window model, as the Die Set
// window computes it after each typed character, and its CSV.
#include "dieset/die_set.h"

#include <benchmark/benchmark.h>

#include <string>
#include <variant>

namespace {

using namespace dieprofile;

DieSetFile HundredPasses() {
    DieSetFile set;
    set.Unit = "mm";
    set.StartDiameter = "8.0";
    set.FinishDiameter = "0.5";
    set.Schedule = ScheduleKind::Equal;
    set.Dies = "100";
    ApplyMaterial(WireMaterials().front(), set);
    set.Friction = "0.08";
    set.FinishSpeed = "25";
    set.Blank = "BLANK";
    set.DieFieldTexts = {"16", "50", "30", "50", "20", "50", "20", "12"};
    return set;
}

void BM_DieSetHundredPasses(benchmark::State& state) {
    const DieSetFile set = HundredPasses();
    for (auto _ : state) {
        auto computed = ComputeDieSet(set);
        benchmark::DoNotOptimize(computed);
    }
    const auto computed = ComputeDieSet(set);
    const auto& schedule = *computed;
    state.counters["passes"] = static_cast<double>(schedule.Passes.size());
    state.counters["dies_calculated"] = 0;
    for (const DieSetPass& pass : schedule.Passes) {
        state.counters["dies_calculated"] += pass.Die.Calculated ? 1 : 0;
    }
}
BENCHMARK(BM_DieSetHundredPasses)->Unit(benchmark::kMicrosecond);

void BM_DieSetHundredPassesCsv(benchmark::State& state) {
    const auto computed = ComputeDieSet(HundredPasses());
    const auto& schedule = *computed;
    for (auto _ : state) {
        std::string csv = DieSetCsv(schedule);
        benchmark::DoNotOptimize(csv);
    }
}
BENCHMARK(BM_DieSetHundredPassesCsv)->Unit(benchmark::kMicrosecond);

} // namespace
