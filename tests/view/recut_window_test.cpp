// The recut step driven as a die maker uses it: a worn die inspected beside a changed design,
// Plan Recut… from the inspection window, a plan by the step and one by a typed size list, the
// recut opened in the designed window after its unsaved-changes question (the design's file kept),
// then saved and its drawing exported through the designed window's own dialogs. With
// DIEPROFILE_RECUT_OUT set a screenshot of the step is left there.
#include "window_harness.h"

#include "app/inspection_model.h"
#include "core/number_text.h"
#include "qt/design_commands.h"
#include "qt/inspection_window.h"
#include "qt/recut_window.h"
#include "support/worn_bore.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

QPushButton* Button(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

TEST(RecutWindow, PlansOpensTheRecutInTheDesignedWindowAndSavesIt) {
    QStandardPaths::setTestModeEnabled(true); // the remembered folders stay out of the user's
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    CalculateDefaultProfile(*window);
    // The design from a file, then changed: opening the recut must ask before it is replaced.
    const QString designPath = folder.filePath(QStringLiteral("die 7 & co.dieprofile"));
    ASSERT_TRUE(window->Model().SaveDesign(designPath.toStdString()));
    TypeInto(*window, 7, QStringLiteral("45"));
    window->Model().Command1_Click();
    window->Refresh();
    ASSERT_TRUE(window->Model().HasUnsavedChanges());
    const QByteArray designBytes = Bytes(designPath);

    InspectionWindow& inspection = window->ShowInspection();
    QPushButton* planRecut = Button(inspection, QStringLiteral("Plan Recut…"));
    ASSERT_NE(planRecut, nullptr);
    EXPECT_FALSE(planRecut->isEnabled()); // nothing inspected yet
    const auto design = InspectionDesignOf(window->Model());
    ASSERT_TRUE(design.HasValue());
    const QString measured = folder.filePath(QStringLiteral("worn.csv"));
    {
        QFile file(measured);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(WornBoreCsv(design->Wall, 0.0004, 0.25).c_str());
    }
    ASSERT_TRUE(inspection.OpenMeasured(measured));
    ASSERT_TRUE(planRecut->isEnabled());
    planRecut->click();
    RecutWindow* recut = inspection.Recut();
    ASSERT_NE(recut, nullptr);
    EXPECT_TRUE(recut->isVisible());
    QStringList messages;
    recut->SetMessageSink([&messages](const QString& text) { messages << text; });
    // Its commands wait for a plan.
    QPushButton* open = Button(*recut, QStringLiteral("Open in Window"));
    ASSERT_NE(open, nullptr);
    EXPECT_FALSE(open->isEnabled());

    // The defaults of the step: the figures and the line shown, the commands enabled.
    ASSERT_TRUE(recut->Plan()) << messages.join('\n').toStdString();
    const RecutPlan byStep = *recut->Model().Result();
    EXPECT_EQ(recut->Figures()->rowCount(), 14);
    EXPECT_EQ(recut->Line()->text().toStdString(), RecutLine(byStep));
    EXPECT_TRUE(open->isEnabled());

    // A size list typed: the smallest size listed that clears the wear is the one the step gave.
    recut->Kind()->setCurrentIndex(1);
    emit recut->Kind()->activated(1);
    const std::string sizes =
        FixedDecimals(byStep.RecutOutlet, 4) + ", " + FixedDecimals(byStep.RecutOutlet + 0.001, 4);
    recut->Sizes()->setText(QString::fromStdString(sizes));
    ASSERT_TRUE(recut->Plan()) << messages.join('\n').toStdString();
    EXPECT_EQ(recut->Model().Result()->RecutOutlet, byStep.RecutOutlet);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    // Open in Window: the question answered Discard, the recut drawn there as a design of its
    // own, and the worn die's design file as it was.
    {
        const MessageAnswerer answerer;
        open->click();
        ASSERT_FALSE(answerer.Texts().isEmpty());
        EXPECT_TRUE(answerer.Texts().front().contains(QStringLiteral("has changed since")));
    }
    const Form1Model& designed = window->Model();
    EXPECT_EQ(designed.CurrentDesign().FieldTexts[0], byStep.Recut.FieldTexts[0]);
    ASSERT_TRUE(designed.LastCalculation().has_value());
    EXPECT_TRUE(designed.DesignPath().empty());
    EXPECT_FALSE(designed.HasUnsavedChanges());
    EXPECT_EQ(Bytes(designPath), designBytes);

    // Save Design… and Export Drawing… through the designed window's own dialogs.
    QString chosen;
    window->Commands().SetFileChooser(
        [&chosen](DesignCommands::FileDialog, const QString&) { return chosen; });
    chosen = folder.filePath(QStringLiteral("recut.dieprofile"));
    recut->SaveDesign();
    chosen = folder.filePath(QStringLiteral("recut.pdf"));
    recut->ExportDrawing();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    ASSERT_TRUE(window->Model().OpenDesign(folder.filePath("recut.dieprofile").toStdString()));
    EXPECT_EQ(window->Model().CurrentDesign().FieldTexts[0], byStep.Recut.FieldTexts[0]);
    const QString sheet = RunTool(QStringLiteral("pdftotext"), {chosen, "-"}).Output;
    EXPECT_TRUE(sheet.simplified().contains(QStringLiteral("Recut of die 7 & co.dieprofile from")))
        << sheet.toStdString();

    // Over the measured file: refused in one message, the file kept.
    const QByteArray measuredBytes = Bytes(measured);
    chosen = measured;
    recut->ExportDrawing();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(Bytes(measured), measuredBytes);

    if (const QString out = qEnvironmentVariable("DIEPROFILE_RECUT_OUT"); !out.isEmpty()) {
        QDir().mkpath(out);
        ASSERT_TRUE(recut->grab().save(QDir(out).filePath(QStringLiteral("recut.png"))));
    }

    // The die inspected again: the window no longer shows or offers the plan of the points before.
    ASSERT_TRUE(inspection.OpenMeasured(measured));
    EXPECT_EQ(recut->Line()->text(), QStringLiteral("No recut planned yet."));
    EXPECT_EQ(recut->Figures()->rowCount(), 0);
    EXPECT_FALSE(open->isEnabled());
}

} // namespace
} // namespace dieprofile::test
