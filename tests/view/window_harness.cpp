#include "window_harness.h"

#include "app/dump.h"
#include "core/controls.h"
#include "profile/form_design.h"
#include "qt/application.h"
#include "qt/printing.h"
#include "qt/widget_design.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace dieprofile::test {

std::unique_ptr<MainWindow> StartWindow() {
    auto window = std::make_unique<MainWindow>();
    window->Start();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

void ChooseRow(MainWindow& window, int row) {
    QComboBox* combo = window.BlankList();
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_F4);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(view->isVisible()) << "the blank list did not drop down";
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 1; i < row; ++i) {
        QTest::keyClick(view, Qt::Key_Down);
    }
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_FALSE(view->isVisible());
}

void TypeInto(QLineEdit* field, const QString& text) {
    ASSERT_TRUE(field->isVisible());
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
    ASSERT_EQ(field->text(), text);
}

void TypeInto(MainWindow& window, int text1Index, const QString& text) {
    TypeInto(window.Field(Text1Control(text1Index)), text);
}

void CalculateDefaultProfile(MainWindow& window) {
    ChooseRow(window, 26);
    TypeInto(window, 10, QStringLiteral("0.180"));
    TypeInto(window, 5, QStringLiteral("0.180"));
    QTest::mouseClick(window.CalculateButton(), Qt::LeftButton);
}

void ReactivateAfterMessage(MainWindow& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

MessageAnswerer::MessageAnswerer() {
    // The boxes run their own event loop inside the click that raised them; a timer is the one
    // thing that still gets a turn there.
    connect(&timer_, &QTimer::timeout, this, &MessageAnswerer::AnswerOpenBox);
    timer_.start(5);
}

void MessageAnswerer::AnswerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    const QList<QAbstractButton*> buttons = box->buttons();
    boxes_.push_back({box->text(), box->windowTitle(), box->isModal(),
                      buttons.size() == 1 && box->standardButton(buttons[0]) == QMessageBox::Ok,
                      box->width()});
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
        ok->click();
    } else if (QAbstractButton* discard = box->button(QMessageBox::Discard)) {
        discard->click();
    } else {
        box->reject();
    }
}

QStringList MessageAnswerer::Texts() const {
    QStringList texts;
    for (const Box& box : boxes_) {
        texts << box.Text;
    }
    return texts;
}

namespace {

// Where a contact line's value starts, in logical pixels into its label as drawn at the screen's
// resolution: the first inked column after a gap of three pixels (the blank after the tag).
double ValueStart(QWidget& label) {
    const QImage image = label.grab().toImage();
    const double ratio = image.devicePixelRatio();
    int empty = -image.width(); // no gap before the first ink counts
    for (int x = 0; x < image.width(); ++x) {
        bool inked = false;
        for (int y = 0; y < image.height() && !inked; ++y) {
            inked = Dark(image.pixel(x, y));
        }
        if (inked && empty >= 3 * ratio) {
            return x / ratio;
        }
        empty = inked ? 0 : empty + 1;
    }
    ADD_FAILURE() << label.objectName().toStdString() << ": no value after a blank";
    return 0;
}

} // namespace

void ExpectContactValuesInOneColumn(MainWindow& window) {
    std::vector<double> starts;
    for (std::string_view name : ContactLines()) {
        QLabel* label = window.CaptionLabel(name);
        const QString caption = ToQString(ControlDesignOf(name).Text);
        EXPECT_EQ(label->text(), caption);
        EXPECT_EQ(label->accessibleName(), caption);
        starts.push_back(ValueStart(*label));
    }
    const auto [first, last] = std::minmax_element(starts.begin(), starts.end());
    EXPECT_LE(*last - *first, 1.0)
        << "the values start between " << *first << " and " << *last << " pixels into their labels";
}

int DarkRunNear(const QImage& image, int x, int y) {
    int from = -1;
    for (int offset : {0, -1, 1, -2, 2, -3, 3}) {
        if (Dark(image.pixel(x + offset, y))) {
            from = x + offset;
            break;
        }
    }
    if (from < 0) {
        return 0;
    }
    int left = from;
    while (left > 0 && Dark(image.pixel(left - 1, y))) {
        --left;
    }
    int right = from;
    while (right + 1 < image.width() && Dark(image.pixel(right + 1, y))) {
        ++right;
    }
    return right - left + 1;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ToolRun RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted() || !process.waitForFinished(120000)) {
        ADD_FAILURE() << program.toStdString() << " did not run to completion";
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return run;
}

} // namespace dieprofile::test

int main(int argc, char** argv) {
    // Test discovery starts the binary outside the tests' environment; it needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    dieprofile::ConfigureApplication();
    dieprofile::SetPrintingModule(QStringLiteral(DIEPROFILE_PRINTING_MODULE_PATH));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
