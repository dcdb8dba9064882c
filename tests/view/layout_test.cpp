// The window as it opens: where the controls sit, the order the Tab key visits them and whether
// the focus shows, whether every caption can be read, and what the die drawing looks like in
// pixels.
#include "window_harness.h"

#include "catalogue/catalogue.h"
#include "profile/drawing_scene.h"
#include "qt/contact_label.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

struct Placement {
    const char* Name;
    bool InWindow;
    QRect Pixels; // design twips / 15, relative to the parent
};

TEST(Layout, ControlsSitAtTheirDesignRectangles) {
    const auto window = StartWindow();
    EXPECT_EQ(window->windowTitle(), kCaption);
    EXPECT_EQ(window->size(), QSize(964, 692));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window must not be resizable";

    const Placement placements[] = {
        {"z", true, {24, 0, 929, 681}},
        {"Combo1", false, {536, 248, 297, 21}},
        {"Label1(0)", false, {536, 224, 129, 17}},
        {"Option1(1)", false, {848, 256, 49, 17}},
        {"Text1(0)", false, {560, 352, 89, 25}},
        {"Text1(7)", false, {560, 576, 89, 25}},
        {"Label1(5)", false, {656, 480, 161, 17}},
        {"Text2", false, {816, 472, 65, 33}},
        {"Text3", true, {840, 392, 65, 33}},
        {"Command2", false, {808, 560, 81, 33}},
        {"Label12(0)", false, {592, 40, 225, 17}},
        {"Label2", false, {240, 536, 41, 17}},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.Name);
        const auto* widget = window->findChild<QWidget*>(QString::fromLatin1(p.Name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(),
                  p.InWindow ? static_cast<QWidget*>(window.get()) : window->Panel());
        EXPECT_EQ(widget->geometry(), p.Pixels);
    }

    // The delta value lies over the panel and is the widget a click there reaches.
    QLineEdit* delta = window->Field(ControlId::Text3);
    EXPECT_EQ(window->childAt(delta->geometry().center()), delta);
}

QStringList TabTour(int steps) {
    QStringList visited;
    for (int i = 0; i < steps; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr) {
            break;
        }
        visited << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return visited;
}

TEST(Layout, TabVisitsTheRowsInOrderAndSkipsHiddenFields) {
    const auto window = StartWindow();
    EXPECT_EQ(QApplication::focusWidget(), window->BlankList());
    EXPECT_EQ(window->Model().Focus(), ControlId::Combo1);

    // Of the two option buttons only the checked one is a Tab stop; the arrow keys move between
    // them.
    const QStringList tail{"Text1(0)",   "Text1(1)", "Text1(2)", "Text1(3)", "Text1(4)",
                           "Text1(8)",   "Text1(6)", "Text1(7)", "Command1", "Command2",
                           "Option1(0)", "Text2",    "Text3"};
    EXPECT_EQ(TabTour(14), QStringList{"Combo1"} + tail);
    EXPECT_EQ(window->Model().Focus(), ControlId::Combo1) << "the tour ends where it began";

    ChooseRow(*window, 26);
    EXPECT_EQ(TabTour(16), QStringList({"Combo1", "Text1(5)", "Text1(10)"}) + tail);
}

// The focus shows on every control that can hold it, from start-up on (Enter on a button:
// NoPrinter.PrintSaysSoAndRestoresTheWindow).
TEST(Layout, TheFocusShowsOnEveryControlThatCanHoldIt) {
    const auto window = StartWindow();
    QComboBox* list = window->BlankList();
    ASSERT_EQ(QApplication::focusWidget(), list);
    const QImage atStart = list->grab().toImage();
    QTest::mouseClick(window->Field(ControlId::Text1_0), Qt::LeftButton);
    EXPECT_NE(list->grab().toImage(), atStart) << "no focus frame on the blank list at start-up";

    ChooseRow(*window, 26); // the diamond fields can take the focus too
    int controls = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->isVisible() && control->focusPolicy() != Qt::NoFocus) {
            SCOPED_TRACE(control->objectName().toStdString());
            QWidget* elsewhere = list;
            if (control == list) {
                elsewhere = window->PrintButton();
            }
            elsewhere->setFocus(Qt::OtherFocusReason);
            const QImage without = control->grab().toImage();
            control->setFocus(Qt::OtherFocusReason);
            EXPECT_NE(control->grab().toImage(), without);
            ++controls;
        }
    }
    EXPECT_EQ(controls, 17); // the list, 12 fields, 2 buttons, 2 option buttons
}

TEST(Layout, EveryCaptionFitsItsControl) {
    const auto window = StartWindow();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString() + ": " + label->text().toStdString());
        const QFontMetrics metrics(label->font());
        const QRect room = label->contentsRect();
        if (const auto* contact = qobject_cast<const ContactLabel*>(label)) {
            EXPECT_LE(contact->PaintedWidth(), room.width());
            continue;
        }
        if (metrics.horizontalAdvance(label->text()) <= room.width()) {
            continue;
        }
        ASSERT_TRUE(label->wordWrap()) << "too wide and does not wrap";
        const QRect wrapped =
            metrics.boundingRect(room, Qt::TextWordWrap | label->alignment(), label->text());
        EXPECT_LE(wrapped.width(), room.width());
        EXPECT_LE(wrapped.height(), room.height());
    }
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()) + 2 * margin,
                  button->width());
    }
    for (const QRadioButton* option : window->findChildren<QRadioButton*>()) {
        SCOPED_TRACE(option->text().toStdString());
        EXPECT_LE(option->sizeHint().width(), option->width());
    }
}

TEST(Layout, BannerContactValuesStartInOneColumn) {
    const auto window = StartWindow();
    ExpectContactValuesInOneColumn(*window);
}

TEST(Layout, BlankListDropsDownWideEnoughForTheLongestRow) {
    const auto window = StartWindow();
    QComboBox* combo = window->BlankList();
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(view->isVisible());
    const QFontMetrics metrics(view->font());
    int longest = 0;
    int longestRow = 0;
    for (int row = 0; row < combo->count(); ++row) {
        const int advance = metrics.horizontalAdvance(combo->itemText(row));
        if (advance > longest) {
            longest = advance;
            longestRow = row;
        }
    }
    EXPECT_GT(longest, combo->width()) << "the closed list is narrower than its rows";
    EXPECT_GE(view->viewport()->width(), longest);
    EXPECT_GE(view->viewport()->width(),
              view->sizeHintForIndex(combo->model()->index(longestRow, 0)).width());
    EXPECT_EQ(combo->count(), static_cast<int>(CatalogueRows().size()));
    combo->hidePopup();
}

TEST(Startup, FirstBlankIsCurrentAndItsDiamondFieldsHidden) {
    const auto window = StartWindow();
    EXPECT_EQ(window->BlankList()->currentIndex(), 0);
    EXPECT_EQ(window->BlankList()->currentText().toStdString(), CatalogueRows().front());
    for (ControlId id : {ControlId::Text1_5, ControlId::Text1_10}) {
        EXPECT_FALSE(window->Field(id)->isVisible());
        EXPECT_EQ(window->Field(id)->text(), QStringLiteral("0.0591"));
    }
    EXPECT_FALSE(window->CaptionLabel("Label1(6)")->isVisible());
    EXPECT_FALSE(window->CaptionLabel("Label1(11)")->isVisible());
    EXPECT_TRUE(window->Option(0)->isChecked());
    EXPECT_FALSE(window->Option(1)->isChecked());
}

TEST(Startup, TabIntoAFieldSelectsItsFirstSixCharacters) {
    const auto window = StartWindow();
    ChooseRow(*window, 26);
    QLineEdit* height = window->Field(ControlId::Text1_5);
    ASSERT_TRUE(height->isVisible());

    QTest::keyClick(window->BlankList(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), height);
    QTest::keyClicks(height, QStringLiteral("0.05906"));
    ASSERT_EQ(height->text(), QStringLiteral("0.05906"));

    QTest::keyClick(height, Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), window->BlankList());
    QTest::keyClick(window->BlankList(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), height);
    EXPECT_EQ(height->selectionStart(), 0);
    EXPECT_EQ(height->selectedText(), QStringLiteral("0.0590"));
    EXPECT_EQ(window->Model().Text1(5).SelStart, 0);
    EXPECT_EQ(window->Model().Text1(5).SelLength, 6);

    // Typing now replaces just the selected characters.
    QTest::keyClicks(height, QStringLiteral("1"));
    EXPECT_EQ(height->text(), QStringLiteral("16"));
    EXPECT_EQ(window->Model().Text1(5).Text, "16");
}

QImage GrabPanel(MainWindow& window) {
    return window.Panel()->grab().toImage();
}

TEST(Drawing, BoreWallIsAnUnbrokenTwoPixelLine) {
    const auto window = StartWindow();
    const QImage panel = GrabPanel(*window);
    // LineDieLeft: x 1560 twips, y 3480 to 7320 twips; rows where nothing crosses it.
    for (int y = 240; y <= 480; ++y) {
        SCOPED_TRACE(y);
        ASSERT_EQ(DarkRunNear(panel, 104, y), 2);
        EXPECT_FALSE(Dark(panel.pixel(100, y)));
        EXPECT_FALSE(Dark(panel.pixel(107, y)));
    }
}

struct Runs {
    int Dark = 0;
    int Light = 0;
    int Longest = 0;
};

template <typename Pixel> Runs RunsAlong(int from, int to, Pixel pixel) {
    Runs runs;
    int current = 0;
    bool wasDark = false;
    for (int i = from; i <= to; ++i) {
        const bool dark = Dark(pixel(i));
        if (dark != wasDark || i == from) {
            (dark ? runs.Dark : runs.Light) += 1;
            current = 0;
        }
        current += dark ? 1 : 0;
        runs.Longest = std::max(runs.Longest, current);
        wasDark = dark;
    }
    return runs;
}

TEST(Drawing, DimensionLinesAreBrokenInTheirPatterns) {
    const auto window = StartWindow();
    const QImage panel = GrabPanel(*window);

    // Line70, dotted, at x 1320 twips down the blank's height.
    const Runs dotted = RunsAlong(240, 480, [&](int y) { return panel.pixel(88, y); });
    EXPECT_GE(dotted.Dark, 40);
    EXPECT_GE(dotted.Light, 40);
    EXPECT_LE(dotted.Longest, 2) << "dots, not dashes";

    // Line52, dashed, at y 4680 twips from the bell out to the dimension.
    const Runs dashed = RunsAlong(330, 420, [&](int x) { return panel.pixel(x, 312); });
    EXPECT_GE(dashed.Dark, 8);
    EXPECT_GE(dashed.Light, 8);
    EXPECT_GE(dashed.Longest, 3) << "dashes, not dots";
}

TEST(Drawing, ValueLabelsShowStarsUntilCalculated) {
    const auto window = StartWindow();
    const QImage panel = GrabPanel(*window);
    for (const LabelDesign& design : SceneLabels()) {
        SCOPED_TRACE(design.Name);
        const QLabel* label = window->ValueLabel(design.Name);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->isVisible());
        EXPECT_EQ(label->text(), QStringLiteral("***"));
        const QRect area = label->geometry();
        bool inked = false;
        for (int y = area.top(); y <= area.bottom() && !inked; ++y) {
            for (int x = area.left(); x <= area.right() && !inked; ++x) {
                inked = Dark(panel.pixel(x, y));
            }
        }
        EXPECT_TRUE(inked) << "nothing drawn in the label";
    }
}

} // namespace
} // namespace dieprofile::test
