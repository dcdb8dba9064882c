// The commands beside the designed window: the context menu lists them with their shortcuts, the
// text fields keep their own edit menu, and Ctrl+S and Ctrl+O from a field save and open a design
// in the folder used last.
#include "window_harness.h"

#include "qt/design_commands.h"
#include "qt/dxf_options_dialog.h"
#include "qt/sheet_details.h"
#include "qt/user_settings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

// The entries of the popup menu that a right-click on widget opens, as "TEXT\tSHORTCUT".
QStringList MenuAfterRightClick(QWidget* widget) {
    QStringList entries;
    // A text field's own menu is modal: it is read and closed from the event loop.
    QTimer::singleShot(0, [&entries] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    entries << action->text() + QLatin1Char('\t') +
                                   action->shortcut().toString(QKeySequence::NativeText);
                }
            }
            menu->close();
        }
    });
    const QPoint at = widget->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    QTest::qWait(50);
    return entries;
}

TEST(DesignCommands, ContextMenuOutsideTheFieldsListsTheCommandsWithShortcuts) {
    const auto window = StartWindow();
    const QStringList expected{
        QStringLiteral("Open Design…\tCtrl+O"),          QStringLiteral("Save Design…\tCtrl+S"),
        QStringLiteral("Export Drawing…\tCtrl+E"),       QStringLiteral("Print Drawing…\tCtrl+P"),
        QStringLiteral("Print at Scale…\tCtrl+Shift+P"), QStringLiteral("Die Set…\tCtrl+D"),
        QStringLiteral("Inspect Die…\tCtrl+I"),          QStringLiteral("Sheet Details…\t")};
    EXPECT_EQ(MenuAfterRightClick(window->Panel()), expected);
    EXPECT_EQ(MenuAfterRightClick(window->CalculateButton()), expected);
    // A text field keeps its own edit menu.
    const QStringList fieldMenu = MenuAfterRightClick(window->Field(ControlId::Text1_2));
    EXPECT_FALSE(fieldMenu.isEmpty());
    EXPECT_FALSE(fieldMenu.contains(expected.front()));
    // Everything designed is as it was.
    EXPECT_EQ(window->windowTitle(), kCaption);
}

TEST(DesignCommands, ShortcutsFromAFieldSaveAndOpenInTheFolderUsedLast) {
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    MessageAnswerer answerer;
    CalculateDefaultProfile(*window);
    const std::string saved = DumpIgnoringFocus(window->Model());

    const QString path = folder.filePath(QStringLiteral("die.dieprofile"));
    std::vector<std::pair<DesignCommands::FileDialog, QString>> asked;
    window->Commands().SetFileChooser([&](DesignCommands::FileDialog dialog, const QString& from) {
        asked.emplace_back(dialog, from);
        return QString(path);
    });

    QLineEdit* field = window->Field(ControlId::Text1_2);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFileInfo::exists(path));

    TypeInto(field, QStringLiteral("40"));
    window->Option(1)->click();
    ASSERT_NE(DumpIgnoringFocus(window->Model()), saved);
    QTest::keyClick(window->Field(ControlId::Text1_0), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(DumpIgnoringFocus(window->Model()), saved);
    EXPECT_EQ(field->text(), QStringLiteral("25.0")); // the widgets show the opened design
    // The design came from a file and has changed: Open asked first, and was told to discard.
    ASSERT_EQ(answerer.Texts().size(), 1) << answerer.Texts().join('|').toStdString();
    EXPECT_TRUE(answerer.Texts()[0].contains(QStringLiteral("has changed since it was saved")));

    ASSERT_EQ(asked.size(), 2U);
    EXPECT_EQ(asked[0].first, DesignCommands::FileDialog::Save);
    EXPECT_EQ(asked[1].first, DesignCommands::FileDialog::Open);
    EXPECT_EQ(QDir(asked[1].second), QDir(folder.path()));
}

// A .dxf asks what the file holds and which way the axis runs, offers the last choice again, and
// a cancelled step writes nothing.
TEST(DesignCommands, DxfExportAsksForItsOptionsAndRemembersThem) {
    QStandardPaths::setTestModeEnabled(true);
    // The first export offers the defaults, whatever an earlier run left behind.
    UserSettings().remove(QStringLiteral("dxf"));
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    MessageAnswerer answerer;
    CalculateDefaultProfile(*window);
    const struct {
        const char* file;
        int profile; // chosen in the step; -1 cancels it
        int axis;
        int offeredProfile; // what the step showed first
        int offeredAxis;
        const char* closedFlag; // in the written file; empty: nothing written
    } rows[] = {
        {"first.dxf", 1, 1, 0, 0, "\n70\n1\n0\nVERTEX\n"},
        {"second.dxf", -1, 0, 1, 1, ""},
        {"third.dxf", 0, 0, 1, 1, "\n70\n0\n0\nVERTEX\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        QString path = folder.filePath(QString::fromLatin1(row.file));
        window->Commands().SetFileChooser(
            [&](DesignCommands::FileDialog, const QString&) { return path; });
        int offeredProfile = -1;
        int offeredAxis = -1;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<DxfOptionsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            offeredProfile = dialog->Profile()->currentIndex();
            offeredAxis = dialog->Axis()->currentIndex();
            if (row.profile < 0) {
                dialog->reject();
                return;
            }
            dialog->Profile()->setCurrentIndex(row.profile);
            dialog->Axis()->setCurrentIndex(row.axis);
            dialog->accept();
        });
        window->Commands().ExportDrawing();
        EXPECT_EQ(offeredProfile, row.offeredProfile);
        EXPECT_EQ(offeredAxis, row.offeredAxis);
        QFile file(path);
        if (*row.closedFlag == '\0') {
            EXPECT_FALSE(file.exists());
            continue;
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains(row.closedFlag));
    }
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
}

// Sheet Details… offers what was kept, keeps what is accepted for the next run, gives the design
// its drawing's name (saved with it), and a cancel changes nothing.
TEST(DesignCommands, SheetDetailsAreKeptForTheUserAndTheDesign) {
    QStandardPaths::setTestModeEnabled(true);
    SaveSheetDetails({"Old Owner", "", "", ""});
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto window = StartWindow();
    const struct {
        bool accept;
        // owner, drawn, approved, tolerances, number, title, revision, bearing tolerance
        QStringList typed;
        QString offeredOwner;
        SheetDetails kept;
        DrawingIdentity identity;
    } rows[] = {
        {true,
         {"Acme & Söhne", "J. Drafter", "A. Checker", "ISO 2768-m", "DP-7", "Fine die", "B",
          "+0.0002/-0"},
         "Old Owner",
         {"Acme & Söhne", "J. Drafter", "A. Checker", "ISO 2768-m"},
         {"DP-7", "Fine die", "B", "+0.0002/-0 in"}},
        {false,
         {"Nobody", "", "", "", "X", "", "", ""},
         "Acme & Söhne",
         {"Acme & Söhne", "J. Drafter", "A. Checker", "ISO 2768-m"},
         {"DP-7", "Fine die", "B", "+0.0002/-0 in"}},
    };
    for (const auto& row : rows) {
        QString offered;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<SheetDetailsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const QList<QLineEdit*> edits =
                dialog->findChildren<QLineEdit*>(Qt::FindChildrenRecursively);
            ASSERT_EQ(edits.size(), row.typed.size());
            offered = edits[0]->text();
            for (qsizetype i = 0; i < edits.size(); ++i) {
                edits[i]->setText(row.typed[i]);
            }
            row.accept ? dialog->accept() : dialog->reject();
        });
        window->Commands().EditSheetDetails();
        EXPECT_EQ(offered, row.offeredOwner);
        EXPECT_EQ(LoadSheetDetails(), row.kept);
        EXPECT_EQ(window->Model().Identity(), row.identity);
    }
    CalculateDefaultProfile(*window);
    const QString path = folder.filePath(QStringLiteral("die.dieprofile"));
    ASSERT_TRUE(window->Model().SaveDesign(path.toStdString()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\"drawingNumber\": \"DP-7\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("\"version\": 2")) << text.toStdString();
}

} // namespace
} // namespace dieprofile::test
