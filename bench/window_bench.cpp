// A click on Calculate in the real window, offscreen, up to the finished repaint of the window:
// what the user waits for between the click and the new drawing.
#include "app/headless_toolkit.h"
#include "qt/application.h"
#include "qt/main_window.h"
#include "qt/overlay_print.h"
#include "qt/printing.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPushButton>
#include <QWindow>
#include <benchmark/benchmark.h>

namespace {

// Counts the paints the drawing panel receives, to be sure the loop measures real repaints.
class PaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++Paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

void BM_ClickCalculateAndRepaint(benchmark::State& state) {
    dieprofile::MainWindow window;
    window.Start();
    // Paints reach the screen only once the window is exposed.
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    window.CalculateButton()->click();
    if (window.Model().Text2().Text == "0.00") {
        state.SkipWithError("Calculate did not run with the default fields");
        return;
    }
    PaintCounter counter;
    window.Panel()->installEventFilter(&counter);
    for (auto _ : state) {
        window.CalculateButton()->click();
        window.repaint(); // paints the window and its children now, not at the next event loop
    }
    if (counter.Paints < state.iterations()) {
        state.SkipWithError("the drawing was not repainted on every click");
    }
    state.counters["panel paints per click"] =
        static_cast<double>(counter.Paints) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ClickCalculateAndRepaint)->Unit(benchmark::kMicrosecond);

// The profile-projector overlay of the largest catalogue blank at 200x written to a PDF file: all
// its pages, from the layout to the file renamed into place. Argument: 0 the bore, 1 the whole
// section.
void BM_OverlayPdfLargestBlankAt200x(benchmark::State& state) {
    dieprofile::HeadlessToolkit toolkit;
    dieprofile::Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    model.PickRow(14);
    model.Command1_Click();
    const dieprofile::OverlayOptions options{200, 0.001,
                                             state.range(0) == 1 ? dieprofile::OverlayView::Section
                                                                 : dieprofile::OverlayView::Bore};
    const QString path = QDir::temp().filePath(QStringLiteral("dieprofile-overlay-bench.pdf"));
    for (auto _ : state) {
        if (const auto done =
                dieprofile::WriteOverlayPdf(model, options, QStringLiteral("bench"), path);
            !done) {
            state.SkipWithError(done.Error().toStdString().c_str());
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    QFile::remove(path);
}
BENCHMARK(BM_OverlayPdfLargestBlankAt200x)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    dieprofile::ConfigureApplication();
    dieprofile::SetPrintingModule(QStringLiteral(DIEPROFILE_PRINTING_MODULE_PATH));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
