// Each export of the default profile, from the model to the finished file on disk: the DXF, and
// the PDF and SVG drawing sheets painted offscreen; and the worst blanks of one's own: the largest
// the sheet draws (at 1:10, hatched across it) and ones it refuses before laying anything out.
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "qt/drawing_export.h"
#include "qt/printing.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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
        const auto failure = ExportDrawing(model, QStringLiteral("Bench.dieprofile"), path);
        if (failure.has_value() != refused) {
            state.SkipWithError(failure ? failure->toUtf8().constData() : "not refused");
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
