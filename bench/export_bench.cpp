// Each export of the default profile, from the model to the finished file on disk: the DXF, and
// the PDF and SVG drawing sheets painted offscreen.
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

void BM_Export(benchmark::State& state, const char* suffix) {
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    model.PickRow(26);
    model.ReplaceText(ControlId::Text1_10, "0.180");
    model.ReplaceText(ControlId::Text1_5, "0.180");
    model.Command1_Click();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sheet.") + QLatin1String(suffix));
    for (auto _ : state) {
        if (const auto failure = ExportDrawing(model, QStringLiteral("Bench.dieprofile"), path)) {
            state.SkipWithError(failure->toUtf8().constData());
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK_CAPTURE(BM_Export, pdf, "pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, svg, "svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, dxf, "dxf")->Unit(benchmark::kMillisecond);

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
