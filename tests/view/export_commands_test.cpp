// The window's drawing commands go the export's one road: a profile that cannot be made, or an
// output that is the design's own file, is refused in one message before any dialog, nothing is
// written, and the window keeps what it drew.
#include "window_harness.h"

#include "qt/design_commands.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

// Rejects any dialog that is not a message box, counting them: none may come up for a refusal.
class DialogCounter : public QObject {
public:
    DialogCounter() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(modal);
                dialog != nullptr && qobject_cast<QMessageBox*>(modal) == nullptr) {
                ++Count;
                dialog->reject();
            }
        });
        timer_.start(5);
    }
    int Count = 0;

private:
    QTimer timer_;
};

TEST(ExportCommands, RefuseWhatCannotLeaveInOneMessageBeforeAnyDialog) {
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    CalculateDefaultProfile(*window);
    TypeInto(*window, 2, QStringLiteral("180"));
    QTest::mouseClick(window->CalculateButton(), Qt::LeftButton);
    const std::string drawn = DumpIgnoringFocus(window->Model());
    QString chosen;
    window->Commands().SetFileChooser(
        [&](DesignCommands::FileDialog, const QString&) { return chosen; });
    const QString fault = QStringLiteral("the bore is wider than the blank.");
    const struct {
        const char* Name;
        const char* File; // chosen in the file dialog; empty for the prints
        void (DesignCommands::*Command)();
        QString Message;
    } rows[] = {
        {"sheet as PDF", "sheet.pdf", &DesignCommands::ExportDrawing, QString()},
        {"sheet as SVG", "sheet.svg", &DesignCommands::ExportDrawing, QString()},
        {"print the sheet", "", &DesignCommands::PrintDrawing,
         QStringLiteral("Cannot print the drawing: ") + fault},
        {"print at scale", "", &DesignCommands::PrintAtScale,
         QStringLiteral("Cannot print at scale: ") + fault},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        chosen = folder.filePath(QString::fromLatin1(row.File));
        MessageAnswerer answerer;
        DialogCounter dialogs;
        (window->Commands().*row.Command)();
        const QString expected = row.Message.isEmpty()
                                     ? QStringLiteral("Cannot export \"%1\": %2")
                                           .arg(QDir::toNativeSeparators(chosen), fault)
                                     : row.Message;
        EXPECT_EQ(answerer.Texts(), QStringList{expected});
        EXPECT_EQ(dialogs.Count, 0);
        if (*row.File != '\0') {
            EXPECT_FALSE(QFileInfo::exists(chosen));
        }
        EXPECT_EQ(DumpIgnoringFocus(window->Model()), drawn);
    }
}

TEST(ExportCommands, AnExportOverTheOpenDesignIsRefusedAndKeepsIt) {
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    CalculateDefaultProfile(*window);
    // A design saved under a sheet's name, then chosen as the sheet.
    QString path = folder.filePath(QStringLiteral("d.pdf"));
    window->Commands().SetFileChooser(
        [&](DesignCommands::FileDialog, const QString&) { return path; });
    MessageAnswerer answerer;
    window->Commands().SaveDesign();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray design = saved.readAll();
    saved.close();
    window->Commands().ExportDrawing();
    EXPECT_EQ(answerer.Texts(),
              QStringList{QStringLiteral("Cannot export \"%1\": it is the design file \"d.pdf\" "
                                         "itself.")
                              .arg(path)});
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), design);
}

// A save or export that fails leaves the next dialog starting where the last one that worked did.
TEST(ExportCommands, AFailedWriteDoesNotMoveTheNextDialogsFolder) {
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    CalculateDefaultProfile(*window);
    MessageAnswerer answerer;
    QString chosen;
    QStringList startedIn;
    window->Commands().SetFileChooser([&](DesignCommands::FileDialog, const QString& from) {
        startedIn << QDir(from).absolutePath();
        return chosen;
    });
    const QString good = QDir(folder.path()).absolutePath();
    const QString missing = folder.filePath(QStringLiteral("missing"));
    const struct {
        const char* Name;
        void (DesignCommands::*Command)();
        QString Path;
    } rows[] = {
        {"saved", &DesignCommands::SaveDesign, good + QStringLiteral("/d.dieprofile")},
        {"save fails", &DesignCommands::SaveDesign, missing + QStringLiteral("/d.dieprofile")},
        {"export fails", &DesignCommands::ExportDrawing, missing + QStringLiteral("/d.svg")},
        {"exported", &DesignCommands::ExportDrawing, good + QStringLiteral("/d.svg")},
    };
    for (const auto& row : rows) {
        chosen = row.Path;
        (window->Commands().*row.Command)();
    }
    (window->Commands().*rows[0].Command)();
    ASSERT_EQ(startedIn.size(), 5);
    // Each dialog after the first starts in the folder of the last write that worked.
    EXPECT_EQ(startedIn.mid(1), QStringList(4, good));
    EXPECT_EQ(answerer.Texts().size(), 2);
}

} // namespace
} // namespace dieprofile::test
