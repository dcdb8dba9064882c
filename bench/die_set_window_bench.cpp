// The Die Set window, offscreen: one character typed into a field up to the repainted table and
// plot (what the user waits for while typing), and the PDF of a 20-die set (the schedule and a
// sheet per die) from the inputs to the file renamed into place.
#include "dieset/die_set.h"
#include "qt/die_set_window.h"
#include "qt/export_painters.h"
#include "qt/main_window.h"
#include "qt/set_table_model.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QWindow>
#include <benchmark/benchmark.h>

namespace {

dieprofile::DieSetFile SetOf(int dies) {
    dieprofile::Design design;
    design.Unit = "mm";
    design.Blank = "BLANK";
    design.FieldTexts = {"1.0", "2.0", "16", "50", "30", "50", "20", "50", "6", "4"};
    dieprofile::DieSetFile set = dieprofile::DieSetFromDesign(design);
    set.Dies = std::to_string(dies);
    return set;
}

// Argument: the number of dies in the set. Each iteration types one character (alternately the
// last digit of the friction 0.08 and 0.09), which recomputes every pass with its die, and
// repaints what changed.
void BM_DieSetTypedCharacterToRepaint(benchmark::State& state) {
    dieprofile::MainWindow window;
    window.Start();
    dieprofile::DieSetWindow& set = window.ShowDieSet();
    set.ShowSet(SetOf(static_cast<int>(state.range(0))));
    while (set.windowHandle() == nullptr || !set.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QLineEdit* friction = set.Field("friction");
    if (set.TableModel()->rowCount() != state.range(0)) {
        state.SkipWithError("the set was not computed");
        return;
    }
    bool odd = false;
    for (auto _ : state) {
        friction->setText(odd ? QStringLiteral("0.08") : QStringLiteral("0.09"));
        odd = !odd;
        // What the keystroke marked for repainting (the field, the table's cells, the plot) is
        // painted now, as the next turn of the event loop would.
        QCoreApplication::sendPostedEvents(&set, QEvent::UpdateRequest);
    }
    if (!set.Refusal()->isHidden()) {
        state.SkipWithError("a typed friction was refused");
    }
}
BENCHMARK(BM_DieSetTypedCharacterToRepaint)
    ->Arg(6)
    ->Arg(25)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond);

void BM_DieSetPdf20Dies(benchmark::State& state) {
    const dieprofile::DieSetFile set = SetOf(20);
    const std::string path =
        QDir::temp().filePath(QStringLiteral("dieprofile-set-bench.pdf")).toStdString();
    dieprofile::DieSetExportRequest request;
    request.Path = path;
    request.SetPath = "bench.dieset";
    request.Format = dieprofile::DieSetExportFormat::Pdf;
    request.Caution = 0.6;
    dieprofile::QtExportPainters painters;
    for (auto _ : state) {
        if (const auto exported = dieprofile::ExportDieSet(set, request, &painters); !exported) {
            state.SkipWithError(exported.Error().Message.c_str());
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
    QFile::remove(QString::fromStdString(path));
}
BENCHMARK(BM_DieSetPdf20Dies)->Unit(benchmark::kMillisecond);

} // namespace
