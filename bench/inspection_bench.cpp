// The inspection, timed: a profiler's export of 1,000,000 points read, aligned and reported
// against the default design, and 1 MiB files of the shapes that cost the readers most read or
// refused.
#include "app/headless_toolkit.h"
#include "app/inspection_model.h"
#include "app/recut_model.h"
#include "core/number_text.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace dieprofile;

struct DefaultDesign {
    HeadlessToolkit toolkit;
    Form1Model model{toolkit};
    DefaultDesign() {
        model.Form_Load();
        model.PickRow(26);
        model.ReplaceText(Text1Control(10), "0.180");
        model.ReplaceText(Text1Control(5), "0.180");
        model.Command1_Click();
    }
};

std::string TempFile(const std::string& name, const std::string& text) {
    std::string path = "/tmp/dieprofile-bench-" + std::to_string(::getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Both walls of the design, in a shifted and tilted frame, with a little noise, n points.
std::string MillionPoints(const BoreWall& wall, std::size_t n) {
    std::string text = "x,y\n";
    text.reserve(n * 40);
    unsigned noise = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const double side = i % 2 == 0 ? 1 : -1;
        const double along = static_cast<double>(i >> 1U) / static_cast<double>(n >> 1U) * 4;
        const auto zone = std::min<std::size_t>(3, static_cast<std::size_t>(along));
        const double t = along - static_cast<double>(zone);
        noise = noise * 1103515245 + 12345;
        const double x = side * (wall[zone].X + (wall[zone + 1].X - wall[zone].X) * t) +
                         1e-6 * ((noise >> 16) % 100) / 100.0;
        const double y = wall[zone].Y + (wall[zone + 1].Y - wall[zone].Y) * t;
        text += ShortestText(x * 0.9998 + y * 0.02 + 1.5) + ',' +
                ShortestText(-x * 0.02 + y * 0.9998 - 3.25) + '\n';
    }
    return text;
}

void BM_InspectMillionPoints(benchmark::State& state) {
    DefaultDesign design;
    const auto drawn = *InspectionDesignOf(design.model);
    const std::string path = TempFile("million.csv", MillionPoints(drawn.Wall, 1'000'000));
    for (auto _ : state) {
        InspectionModel inspection(design.toolkit, design.model);
        if (!inspection.OpenMeasured(path)) {
            state.SkipWithError(design.toolkit.Messages.back().c_str());
            break;
        }
        benchmark::DoNotOptimize(inspection.ReportCsv().data());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_InspectMillionPoints)->Unit(benchmark::kMillisecond);

// Both walls of a worn die as a projector zeroed on its axis reads them, n points: the bearing
// 0.0003 in wider on the radius, a ring 0.0004 in deep worn into the middle of the cone.
std::string WornDie(const BoreWall& wall, std::size_t n) {
    std::string text = "x,y\n";
    text.reserve(n * 40);
    for (std::size_t i = 0; i < n; ++i) {
        const double along = static_cast<double>(i >> 1U) / static_cast<double>(n >> 1U) * 4;
        const auto zone = std::min<std::size_t>(3, static_cast<std::size_t>(along));
        const double t = along - static_cast<double>(zone);
        const double ring = zone == 1 ? 0.0004 * std::max(0.0, 1 - std::abs(t - 0.5) * 10) : 0;
        const double x =
            wall[zone].X + (wall[zone + 1].X - wall[zone].X) * t + ring + (zone == 2 ? 0.0003 : 0);
        text += ShortestText(i % 2 == 0 ? x : -x) + ',' +
                ShortestText(wall[zone].Y + (wall[zone + 1].Y - wall[zone].Y) * t) + '\n';
    }
    return text;
}

// The recut of a worn die of 1,000,000 points, planned to the default step once it is inspected.
void BM_PlanRecutMillionPoints(benchmark::State& state) {
    DefaultDesign design;
    const auto drawn = *InspectionDesignOf(design.model);
    const std::string path =
        TempFile("worn.csv", WornDie(drawn.Wall, static_cast<std::size_t>(state.range(0))));
    InspectionModel inspection(design.toolkit, design.model);
    if (!inspection.OpenMeasured(path)) {
        state.SkipWithError(design.toolkit.Messages.back().c_str());
    }
    RecutModel recut(design.toolkit, design.model, inspection);
    for (auto _ : state) {
        if (!recut.Plan({})) {
            state.SkipWithError(design.toolkit.Messages.back().c_str());
            break;
        }
        benchmark::DoNotOptimize(recut.Result()->RecutOutlet);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PlanRecutMillionPoints)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// 1 MiB of the worst shapes: every byte a separator, one long number, a DXF of tiny arcs, a
// point list of the shortest rows.
std::string WorstShape(int shape) {
    constexpr std::size_t kMiB = std::size_t{1024} * 1024;
    std::string text;
    switch (shape) {
    case 0:
        text = "x y\n" + std::string(kMiB, ' ');
        break;
    case 1:
        text = "x,y\n" + std::string(kMiB, '1') + ",1\n";
        break;
    case 2:
        text = "0\nSECTION\n2\nENTITIES\n";
        while (text.size() < kMiB) {
            text += "0\nARC\n10\n0\n20\n0\n40\n1\n50\n0\n51\n359\n";
        }
        break;
    default:
        text = "x y\n";
        while (text.size() < kMiB) {
            text += "1 2\n";
        }
        break;
    }
    return text;
}

void BM_ReadWorstMiB(benchmark::State& state) {
    const std::string path = TempFile("worst-" + std::to_string(state.range(0)) +
                                          (state.range(0) == 2 ? ".dxf" : ".csv"),
                                      WorstShape(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadMeasuredFile(path, ""));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadWorstMiB)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
