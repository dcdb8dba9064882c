// Each export of the default profile, from the model to the finished file on disk: the DXF, and
// the PDF and SVG drawing sheets painted offscreen; the worst blanks of one's own for the sheet
// (the largest it draws, at 1:10, and ones it refuses before laying anything out), and the DXF and
// the projector chart of the worst sizes, whose layouts must stay bounded by what they draw.
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "core/number_text.h"
#include "qt/export_painters.h"
#include "qt/printing.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <optional>
#include <string>

namespace {

using namespace dieprofile;

void BM_Export(benchmark::State& state, const char* suffix, const char* blank = "0.180",
               bool refused = false) {
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    model.PickRow(26);
    model.ReplaceText(ControlId::Text1_10, blank);
    model.ReplaceText(ControlId::Text1_5, blank);
    model.Command1_Click();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sheet.") + QLatin1String(suffix));
    for (auto _ : state) {
        const auto exported = ExportDrawingFile(model, QStringLiteral("Bench.dieprofile"), path);
        if (exported.HasValue() == refused) {
            state.SkipWithError(exported ? "not refused" : exported.Error().Message.c_str());
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK_CAPTURE(BM_Export, pdf, "pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, svg, "svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, dxf, "dxf")->Unit(benchmark::kMillisecond);
// 30 inches across and high: on A4 or Letter at 1:10.
BENCHMARK_CAPTURE(BM_Export, pdf_largest_own_blank, "pdf", "30")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, svg_largest_own_blank, "svg", "30")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, dxf_largest_own_blank, "dxf", "30")->Unit(benchmark::kMillisecond);
// Too large for any sheet: refused in words.
BENCHMARK_CAPTURE(BM_Export, pdf_refused_own_blank, "pdf", "6e4", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, pdf_own_blank_of_6e12, "pdf", "6e12", true)
    ->Unit(benchmark::kMillisecond);

// A blank of one's own of the given size in millimetres, the wires in the default's proportion:
// the DXF written, and the chart at 1x and at its largest magnification laid out or refused.
void BM_WorstSize(benchmark::State& state, const char* size, const char* suffix, double m) {
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    model.PickRow(26);
    model.ChooseOption(1);
    const double millimetres = std::stod(size);
    model.ReplaceText(ControlId::Text1_10, size);
    model.ReplaceText(ControlId::Text1_5, size);
    model.ReplaceText(ControlId::Text1_0, NumberToText(millimetres / 15));
    model.ReplaceText(ControlId::Text1_1, NumberToText(millimetres * 11 / 90));
    model.Command1_Click();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("worst.") + QLatin1String(suffix));
    std::optional<OverlayOptions> chart;
    if (m > 0) {
        chart = OverlayOptions{m, 0, OverlayView::Section};
    }
    for (auto _ : state) {
        // A refusal is an outcome here: what is measured is that it comes at once.
        benchmark::DoNotOptimize(
            ExportDrawingFile(model, QStringLiteral("Worst.dieprofile"), path, chart));
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK_CAPTURE(BM_WorstSize, dxf_6e12mm, "6e12", "dxf", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstSize, dxf_1e300mm, "1e300", "dxf", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstSize, chart_6e12mm_1x, "6e12", "pdf", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstSize, chart_1e300mm_1000x, "1e300", "pdf", 1000)
    ->Unit(benchmark::kMillisecond);
// The largest chart that prints: the largest catalogue blank's section at 200x.
BENCHMARK_CAPTURE(BM_WorstSize, chart_6mm_200x, "6", "pdf", 200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    dieprofile::SetPrintingModule(QStringLiteral(DIEPROFILE_PRINTING_MODULE_PATH));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
