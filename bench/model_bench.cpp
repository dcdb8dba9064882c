// The window model's handlers, timed on the headless toolkit: what a click costs before any
// widget is touched.
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "support/worst_designs.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using dieprofile::Form1Model;
using dieprofile::HeadlessToolkit;

// A loaded window: the first blank chosen, the design's default fields.
struct LoadedWindow {
    HeadlessToolkit toolkit;
    Form1Model model{toolkit};
    LoadedWindow() {
        toolkit.Attach(model);
        model.Form_Load();
        model.Show();
    }
};

// Keeps the compiler from dropping the model's work: its visible results escape.
void KeepResults(const Form1Model& model) {
    benchmark::DoNotOptimize(model.Text2().Text.data());
    benchmark::DoNotOptimize(model.Text3().Text.data());
    benchmark::DoNotOptimize(&model.Scene());
    benchmark::ClobberMemory();
}

void BM_Calculate(benchmark::State& state) {
    LoadedWindow window;
    window.model.Command1_Click();
    // A message would mean the defaults no longer calculate, and a benchmark of an error path.
    if (!window.toolkit.Messages.empty() || window.model.Text2().Text.empty()) {
        state.SkipWithError("Calculate with the default fields did not succeed");
        return;
    }
    for (auto _ : state) {
        window.model.Command1_Click();
        KeepResults(window.model);
    }
    if (!window.toolkit.Messages.empty()) {
        state.SkipWithError("Calculate showed a message");
    }
}
BENCHMARK(BM_Calculate);

// Choosing each blank of the catalogue in turn; the time is for one choice.
void BM_PickRow(benchmark::State& state) {
    LoadedWindow window;
    const int rows = static_cast<int>(dieprofile::CatalogueRows().size());
    int row = 1;
    for (auto _ : state) {
        window.model.PickRow(row);
        KeepResults(window.model);
        row = row == rows ? 1 : row + 1;
    }
}
BENCHMARK(BM_PickRow);

// Millimetres and back: the time is for the pair of switches.
void BM_UnitsSwitch(benchmark::State& state) {
    LoadedWindow window;
    for (auto _ : state) {
        window.model.ChooseOption(1);
        window.model.ChooseOption(0);
        KeepResults(window.model);
    }
    if (!window.toolkit.Messages.empty()) {
        state.SkipWithError("the units switch showed a message");
    }
}
BENCHMARK(BM_UnitsSwitch);

// Opening a saved design: the file read and checked, the inputs replayed through the handlers and
// Calculate run. The window alternates between two designs (another unit and blank each), so
// every open really changes the unit, the blank and every field.
void BM_OpenAndCalculate(benchmark::State& state) {
    LoadedWindow window;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("dieprofile-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string custom = (folder / "custom.dieprofile").string();
    const std::string catalogue = (folder / "catalogue.dieprofile").string();
    window.model.PickRow(26);
    window.model.Command1_Click();
    window.model.SaveDesign(custom);
    window.model.ChooseOption(1);
    window.model.PickRow(7);
    window.model.Command1_Click();
    window.model.SaveDesign(catalogue);
    if (!window.toolkit.Messages.empty()) {
        state.SkipWithError("the designs could not be saved or calculated");
        std::filesystem::remove_all(folder);
        return;
    }
    bool which = false;
    for (auto _ : state) {
        window.model.OpenDesign(which ? catalogue : custom);
        KeepResults(window.model);
        which = !which;
    }
    if (!window.toolkit.Messages.empty()) {
        state.SkipWithError("opening a design showed a message");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenAndCalculate);

// Values of the sizes a die layout shows: fractions of an inch, millimetres, percentages, and a
// value that rounds up across every place.
constexpr std::array kValues{0.0123456, 0.125, 1.0, 3.14159, 25.4, 47.123456789, 99.99999, 1234.5};

template <const std::string_view* Mask> void BM_FormatNumber(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        double value = kValues[i];
        benchmark::DoNotOptimize(value);
        std::string text = dieprofile::FormatNumber(value, *Mask);
        benchmark::DoNotOptimize(text.data());
        i = (i + 1) % kValues.size();
    }
}
BENCHMARK(BM_FormatNumber<&dieprofile::kMaskFourPlaces>)->Name("BM_FormatNumber/0.###0");
BENCHMARK(BM_FormatNumber<&dieprofile::kMaskFivePlaces>)->Name("BM_FormatNumber/0.####0");
BENCHMARK(BM_FormatNumber<&dieprofile::kMaskThreePlaces>)->Name("BM_FormatNumber/0.###");

} // namespace

// Reading the largest design file of each shape that costs a careless reader the most; each must
// be read or refused well within 100 ms.
void BM_ReadWorstDesign(benchmark::State& state) {
    const dieprofile::WorstDesign shape =
        dieprofile::WorstDesigns().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(shape.Name);
    for (auto _ : state) {
        auto read = dieprofile::DesignFromText(shape.Bytes);
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(shape.Bytes.size()));
}
BENCHMARK(BM_ReadWorstDesign)
    ->DenseRange(0, static_cast<std::int64_t>(dieprofile::WorstDesigns().size()) - 1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
