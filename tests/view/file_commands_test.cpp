// The file commands as a user meets them through the real dialogs: every shortcut from every
// control, the drawing's commands only once there is a drawing, no file replaced without asking
// whatever name was typed, the sheet naming a design file only while it shows that file, and a
// changed design from a file not lost without a question.
#include "window_harness.h"

#include "qt/design_commands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

// Answers whatever modal window turns up while it lives: a file dialog gets a name typed into it
// and Return, a message box the chosen button, any other dialog is cancelled. It records the
// message boxes' texts and how many file dialogs came.
class DialogDriver : public QObject {
public:
    explicit DialogDriver(QString typed = {},
                          QMessageBox::StandardButton answer = QMessageBox::Cancel)
        : typed_(std::move(typed)), answer_(answer) {
        connect(&timer_, &QTimer::timeout, this, &DialogDriver::Answer);
        timer_.start(10);
    }
    QStringList Boxes;
    int FileDialogs = 0;

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        // 0: not seen yet; 1: being answered; 2: answered and still there (a file dialog whose
        // name the user declined to replace: the user gives up).
        const int state = modal->property("driven").toInt();
        if (state == 1) {
            return;
        }
        modal->setProperty("driven", 1);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Boxes << box->text();
            QAbstractButton* button = box->button(answer_);
            QTimer::singleShot(0, box, [box, button] { button ? button->click() : box->reject(); });
        } else if (auto* files = qobject_cast<QFileDialog*>(modal); files && state == 0) {
            ++FileDialogs;
            auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QTimer::singleShot(0, files, [files, name, typed = typed_] {
                if (name == nullptr || typed.isEmpty()) {
                    files->reject();
                    return;
                }
                name->setText(typed);
                QTest::keyClick(name, Qt::Key_Return);
                files->setProperty("driven", 2);
            });
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            QTimer::singleShot(0, dialog, [dialog] { dialog->reject(); });
        }
    }

    QString typed_;
    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A window whose file dialogs start in folder.
std::unique_ptr<MainWindow> StartWindowIn(const QTemporaryDir& folder) {
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QStringLiteral("dieprofile"), QStringLiteral("dieprofile"))
        .setValue(QStringLiteral("files/lastFolder"), folder.path());
    return StartWindow();
}

TEST(FileCommands, EveryShortcutWorksFromAFieldTheBlankListAndAButton) {
    const auto window = StartWindow();
    CalculateDefaultProfile(*window);
    window->Commands().SetFileChooser([](DesignCommands::FileDialog, const QString&) {
        return QString(); // the user cancels
    });
    DialogDriver cancelEverything;
    QLineEdit* field = window->Field(ControlId::Text1_2);
    const QString fieldText = field->text();
    int tried = 0;
    for (QAction* action : window->Commands().Actions()) {
        if (action->shortcut().isEmpty()) {
            continue;
        }
        for (QWidget* control : std::initializer_list<QWidget*>{field, window->BlankList(),
                                                                window->CalculateButton()}) {
            SCOPED_TRACE(action->text().toStdString() + " from " +
                         control->metaObject()->className());
            // A window manager gives the activation back a little after a dialog has gone.
            for (int waited = 0; !control->hasFocus() && waited < 10000; waited += 20) {
                window->activateWindow();
                control->setFocus(Qt::OtherFocusReason);
                QTest::qWait(20);
            }
            ASSERT_TRUE(control->hasFocus());
            int triggered = 0;
            const auto counting =
                QObject::connect(action, &QAction::triggered, [&triggered] { ++triggered; });
            const QKeyCombination keys = action->shortcut()[0];
            QTest::keyClick(control, keys.key(), keys.keyboardModifiers());
            QObject::disconnect(counting);
            EXPECT_EQ(triggered, 1);
            ++tried;
        }
    }
    EXPECT_GE(tried, 15); // five commands with shortcuts at least, from three controls each
    EXPECT_EQ(field->text(), fieldText); // no key went into the field
}

TEST(FileCommands, TheDrawingsCommandsWaitForTheFirstDrawing) {
    const auto window = StartWindow();
    int chosen = 0;
    window->Commands().SetFileChooser([&chosen](DesignCommands::FileDialog, const QString&) {
        ++chosen;
        return QString();
    });
    DialogDriver cancelEverything;
    auto enabled = [&window] {
        QStringList names;
        for (QAction* action : window->Commands().Actions()) {
            if (action->isEnabled()) {
                names << action->text();
            }
        }
        return names;
    };
    const QStringList before = enabled();
    for (const char* command : {"Export Drawing…", "Print Drawing…", "Print at Scale…"}) {
        EXPECT_FALSE(before.contains(QString::fromUtf8(command))) << command;
    }
    EXPECT_TRUE(before.contains(QStringLiteral("Open Design…")));
    // Pressed anyway, from a field: nothing opens.
    QLineEdit* field = window->Field(ControlId::Text1_0);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(cancelEverything.Boxes.size() + cancelEverything.FileDialogs, 0);
    // A Calculate that refuses draws nothing either.
    MessageAnswerer answerer;
    TypeInto(*window, 0, QStringLiteral("x"));
    QTest::mouseClick(window->CalculateButton(), Qt::LeftButton);
    EXPECT_EQ(enabled(), before);
    ReactivateAfterMessage(*window);
    TypeInto(*window, 0, QStringLiteral("0.012"));
    CalculateDefaultProfile(*window);
    EXPECT_EQ(enabled().size(), window->Commands().Actions().size());
}

struct ReplaceCase {
    const char* Name;
    DesignCommands::FileDialog Dialog;
    const char* Existing; // the file there before
    const char* Typed;    // what the user types into the dialog
    QMessageBox::StandardButton Answer;
    bool Replaced;
};

class ReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTest, AsksBeforeReplacingWhateverNameWasTyped) {
    const ReplaceCase& c = GetParam();
    const QTemporaryDir folder;
    const auto window = StartWindowIn(folder);
    CalculateDefaultProfile(*window);
    const QString existing = folder.filePath(QString::fromUtf8(c.Existing));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("last week's file\n");
    }
    DialogDriver driver(folder.filePath(QString::fromUtf8(c.Typed)), c.Answer);
    if (c.Dialog == DesignCommands::FileDialog::Save) {
        window->Commands().SaveDesign();
    } else {
        window->Commands().ExportDrawing();
    }
    EXPECT_EQ(driver.FileDialogs, 1);
    ASSERT_EQ(driver.Boxes.size(), 1) << driver.Boxes.join('|').toStdString();
    EXPECT_TRUE(driver.Boxes[0].contains(QString::fromUtf8(c.Existing)));
    EXPECT_EQ(ReadAll(existing) != "last week's file\n", c.Replaced);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1); // nothing else written
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReplaceTest,
    ::testing::Values(ReplaceCase{"DesignWithoutExtensionKept", DesignCommands::FileDialog::Save,
                                  "die.dieprofile", "die", QMessageBox::No, false},
                      ReplaceCase{"DesignWithoutExtensionReplaced",
                                  DesignCommands::FileDialog::Save, "die.dieprofile", "die",
                                  QMessageBox::Yes, true},
                      ReplaceCase{"DesignWithExtensionKept", DesignCommands::FileDialog::Save,
                                  "die.dieprofile", "die.dieprofile", QMessageBox::No, false},
                      ReplaceCase{"SheetWithoutExtensionKept", DesignCommands::FileDialog::Export,
                                  "sheet.pdf", "sheet", QMessageBox::No, false},
                      ReplaceCase{"SheetWithoutExtensionReplaced",
                                  DesignCommands::FileDialog::Export, "sheet.pdf", "sheet",
                                  QMessageBox::Yes, true},
                      ReplaceCase{"SheetWithExtensionKept", DesignCommands::FileDialog::Export,
                                  "sheet.pdf", "sheet.pdf", QMessageBox::No, false}),
    [](const auto& info) { return std::string(info.param.Name); });

struct LeaveCase {
    const char* Name;
    bool FromFile;                      // saved before the change
    bool Changed;                       // a field typed afterwards
    QMessageBox::StandardButton Answer; // to the question, if it comes
    bool Asked;
    bool Closed;
    bool Saved; // the file holds the change afterwards
};

class LeaveTest : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(LeaveTest, ClosingAsksOnlyAboutAChangedDesignFromAFile) {
    const LeaveCase& c = GetParam();
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("die.dieprofile"));
    const auto window = StartWindowIn(folder);
    CalculateDefaultProfile(*window);
    if (c.FromFile) {
        ASSERT_TRUE(window->Model().SaveDesign(path.toStdString()));
    }
    if (c.Changed) {
        TypeInto(*window, 2, QStringLiteral("14.75"));
    }
    DialogDriver driver({}, c.Answer);
    EXPECT_EQ(window->close(), c.Closed);
    EXPECT_EQ(driver.Boxes.size(), c.Asked ? 1 : 0);
    EXPECT_EQ(ReadAll(path).contains("14.75"), c.Saved);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LeaveTest,
    ::testing::Values(
        LeaveCase{"NeverInAFile", false, true, QMessageBox::Cancel, false, true, false},
        LeaveCase{"UnchangedSinceSaved", true, false, QMessageBox::Cancel, false, true, false},
        LeaveCase{"ChangedCancel", true, true, QMessageBox::Cancel, true, false, false},
        LeaveCase{"ChangedDiscard", true, true, QMessageBox::Discard, true, true, false},
        LeaveCase{"ChangedSave", true, true, QMessageBox::Save, true, true, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// The sheet of a drawing that no longer shows the saved design does not name the file.
TEST(FileCommands, TheSheetNamesTheFileOnlyWhileItShowsIt) {
    const QTemporaryDir folder;
    const auto window = StartWindowIn(folder);
    CalculateDefaultProfile(*window);
    ASSERT_TRUE(window->Model().SaveDesign(
        folder.filePath(QStringLiteral("die.dieprofile")).toStdString()));
    QStringList sheets;
    window->Commands().SetFileChooser([&](DesignCommands::FileDialog, const QString&) {
        sheets << folder.filePath(QStringLiteral("sheet%1.pdf").arg(sheets.size()));
        return sheets.back();
    });
    window->Commands().ExportDrawing();
    TypeInto(*window, 0, QStringLiteral("0.011"));
    QTest::mouseClick(window->CalculateButton(), Qt::LeftButton);
    window->Commands().ExportDrawing();
    ASSERT_EQ(sheets.size(), 2);
    // The sheet gives the design's name without its extension as the drawing number.
    auto lines = [](const QString& pdf) {
        return RunTool(QStringLiteral("pdftotext"), {pdf, "-"}).Output.split(QLatin1Char('\n'));
    };
    const QStringList saved = lines(sheets[0]);
    const QStringList changed = lines(sheets[1]);
    EXPECT_TRUE(saved.contains(QStringLiteral("die")));
    EXPECT_FALSE(saved.contains(QStringLiteral("(changed since saved)")));
    EXPECT_FALSE(changed.contains(QStringLiteral("die")));
    EXPECT_TRUE(changed.contains(QStringLiteral("(changed since saved)")));
}

} // namespace
} // namespace dieprofile::test
