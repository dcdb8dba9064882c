// The commands beside the designed window: the context menu lists them with their shortcuts, the
// text fields keep their own edit menu, and Ctrl+S and Ctrl+O from a field save and open a design
// in the folder used last.
#include "window_harness.h"

#include "qt/design_commands.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
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
        QStringLiteral("Print at Scale…\tCtrl+Shift+P"), QStringLiteral("Die Set…\tCtrl+D")};
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
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();

    ASSERT_EQ(asked.size(), 2U);
    EXPECT_EQ(asked[0].first, DesignCommands::FileDialog::Save);
    EXPECT_EQ(asked[1].first, DesignCommands::FileDialog::Open);
    EXPECT_EQ(QDir(asked[1].second), QDir(folder.path()));
}

} // namespace
} // namespace dieprofile::test
