// The inspection window driven as a die maker uses it: Inspect Die… beside the designed window
// once it has calculated, a measured file made here from the calculated design's own wall (both
// walls, shifted along the axis, a wear ring pressed into the cone), its figures and verdict
// shown, both reports exported and a refused file leaving the window as it was. With
// DIEPROFILE_INSPECTION_OUT set the reports and a screenshot are left there for the PDF's own
// check.
#include "window_harness.h"

#include "app/inspection_model.h"
#include "qt/design_commands.h"
#include "qt/inspection_window.h"
#include "support/worn_bore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

TEST(InspectionWindow, ShowsTheFiguresAndTheVerdictAndExportsBothReports) {
    QStandardPaths::setTestModeEnabled(true); // the remembered folders stay out of the user's
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    const QList<QAction*> commands = window->Commands().Actions();
    const auto found = std::ranges::find_if(
        commands, [](const QAction* a) { return a->text() == QStringLiteral("Inspect Die…"); });
    ASSERT_NE(found, commands.end());
    QAction* inspect = *found;
    // Refused as the exports are: nothing to hold the die against before a Calculate.
    EXPECT_FALSE(inspect->isEnabled());
    CalculateDefaultProfile(*window);
    ASSERT_TRUE(inspect->isEnabled());
    inspect->trigger();
    InspectionWindow* inspection = window->Inspection();
    ASSERT_NE(inspection, nullptr);
    EXPECT_TRUE(inspection->isVisible());
    QStringList messages;
    inspection->SetMessageSink([&messages](const QString& text) { messages << text; });

    const auto design = InspectionDesignOf(window->Model());
    ASSERT_TRUE(design.HasValue());
    const QString measured = folder.filePath(QStringLiteral("die 7 & worn.csv"));
    {
        QFile file(measured);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(WornBoreCsv(design->Wall, 0.0004, 0.25).c_str());
    }
    ASSERT_TRUE(inspection->OpenMeasured(measured)) << messages.join('\n').toStdString();
    const int rows = inspection->Table()->rowCount();
    EXPECT_EQ(rows, 21);
    EXPECT_EQ(inspection->Verdict()->text(), QStringLiteral("Verdict: no tolerance given"));

    // A band tighter than the ring: the cone's row marked outside, the verdict names the zone.
    inspection->Tolerance()->setText(QStringLiteral("0.0002"));
    emit inspection->Tolerance()->editingFinished();
    EXPECT_TRUE(inspection->Verdict()->text().startsWith(
        QStringLiteral("Verdict: outside tolerance: reduction zone by 0.000")))
        << inspection->Verdict()->text().toStdString();
    QStringList outside;
    for (int r = 0; r < rows; ++r) {
        if (inspection->Table()->item(r, 5)->text() == QStringLiteral("OUTSIDE")) {
            outside << inspection->Table()->item(r, 0)->text();
        }
    }
    EXPECT_EQ(outside, QStringList{QStringLiteral("reduction max deviation")});

    // A file dropped that cannot be read: one message naming it and the row, the table kept.
    const QString bad = folder.filePath(QStringLiteral("bad.csv"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x,y\n0.01,0.02\n0,15x,0.03\n");
    }
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(bad)});
    // As a desktop delivers it: the drag enters the window, then the file is let go.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(inspection, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(inspection, &drop);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("\"bad.csv\": row 3")))
        << messages.front().toStdString();
    EXPECT_EQ(inspection->Table()->rowCount(), rows);
    EXPECT_EQ(inspection->Model().MeasuredPath(), measured.toStdString());

    // Both reports by their extension, through the dialog's choice.
    QString chosen;
    inspection->SetFileChooser(
        [&chosen](InspectionWindow::FileDialog, const QString&) { return chosen; });
    for (const QString& name : {QStringLiteral("report.csv"), QStringLiteral("report.pdf")}) {
        chosen = folder.filePath(name);
        inspection->ChooseAndExport();
    }
    EXPECT_EQ(Bytes(folder.filePath(QStringLiteral("report.csv"))).toStdString(),
              inspection->Model().ReportCsv());
    EXPECT_TRUE(Bytes(folder.filePath(QStringLiteral("report.pdf"))).startsWith("%PDF-"));
    EXPECT_EQ(messages.size(), 1);

    if (const QString out = qEnvironmentVariable("DIEPROFILE_INSPECTION_OUT"); !out.isEmpty()) {
        QDir().mkpath(out);
        for (const QString& name : {QStringLiteral("report.csv"), QStringLiteral("report.pdf")}) {
            QFile::remove(QDir(out).filePath(name));
            ASSERT_TRUE(QFile::copy(folder.filePath(name), QDir(out).filePath(name)));
        }
        ASSERT_TRUE(inspection->grab().save(QDir(out).filePath(QStringLiteral("window.png"))));
    }
}

} // namespace
} // namespace dieprofile::test
