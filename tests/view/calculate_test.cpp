// Calculate and the units switch driven through the real widgets: the results and the redrawn
// bore, the messages for inputs that cannot be laid out, and the painter on absurd profiles.
#include "window_harness.h"

#include "app/dump.h"
#include "profile/drawing_scene.h"
#include "qt/drawing_panel.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <map>

namespace dieprofile::test {
namespace {

// Column 150 of the panel crosses the blank's top face left of the bore.
bool TopFaceAt(MainWindow& window, int y) {
    const QImage panel = window.Panel()->grab().toImage();
    return Dark(panel.pixel(150, y));
}

TEST(Calculate, DefaultProfileThroughTheWidgets) {
    const auto window = StartWindow();
    ASSERT_TRUE(TopFaceAt(*window, 232));
    ASSERT_FALSE(TopFaceAt(*window, 176));

    MessageAnswerer answerer;
    CalculateDefaultProfile(*window);
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();

    EXPECT_EQ(window->Field(ControlId::Text3)->text(), QStringLiteral("0.736"));
    EXPECT_EQ(window->Field(ControlId::Text2)->text(), QStringLiteral("70.248"));
    const std::map<std::string, QString> labels{
        {"Label2", "0.0120"}, {"Label3", "0.0220"}, {"Label4", "0.0540"},
        {"Label5", "0.0614"}, {"Label6", "0.0226"}, {"Label7", "0.0060"},
        {"Label8", "0.0360"}, {"Label9", "0.180"},  {"Label10", "0.180"},
    };
    for (const auto& [name, caption] : labels) {
        SCOPED_TRACE(name);
        const QLabel* label = window->ValueLabel(name);
        EXPECT_EQ(label->text(), caption);
    }

    // The blank's top face has moved up from 3480 to 2640 twips.
    EXPECT_TRUE(TopFaceAt(*window, 176));
    EXPECT_FALSE(TopFaceAt(*window, 232));
    // The bell's right wall now runs from (5194.88, 2640) to (4540.18, 4044) twips.
    const QImage panel = window->Panel()->grab().toImage();
    for (double t : {0.25, 0.5, 0.75}) {
        const int x = static_cast<int>(std::lround((5194.88 + t * (4540.18 - 5194.88)) / 15));
        const int y = static_cast<int>(std::lround((2640 + t * (4044 - 2640)) / 15));
        SCOPED_TRACE(t);
        EXPECT_TRUE(Dark(panel.pixel(x, y)) || Dark(panel.pixel(x - 1, y)) ||
                    Dark(panel.pixel(x + 1, y)));
    }
}

struct FailureCase {
    const char* Name;
    int Row;
    std::vector<std::pair<int, const char*>> Typed; // Text1 index, text
    const char* Message;
    const char* FocusAfter;    // the control holding the focus once the box is closed
    const char* SelectedAfter; // what that field then has selected
};

TEST(Calculate, FailuresExplainThemselvesAndChangeNothing) {
    const FailureCase cases[] = {
        {"bearing not a number",
         1,
         {{3, "abc"}},
         "Bearing Length (%) must be a number.",
         "Text1(3)",
         "abc"},
        {"incoming not a number",
         1,
         {{1, "0.0x22"}},
         "Incoming Wire Diameter must be a number.",
         "Text1(1)",
         "0.0x22"},
        {"diameters equal",
         1,
         {{0, "0.02200"}, {1, "0.022"}},
         "Outlet Diameter must be less than Incoming Diameter.",
         "Text1(0)",
         "0.0220"},
        {"outlet larger",
         1,
         {{0, "0.0300"}},
         "Outlet Diameter must be less than Incoming Diameter.",
         "Text1(0)",
         "0.0300"},
        {"diamond diameter zero",
         26,
         {{10, "0.0000"}, {5, "0.180"}},
         "Diamond Diameter must not be zero.",
         "Text1(10)",
         "0.0000"},
        {"diameters overflow",
         1,
         {{0, "1e299"}, {1, "1e300"}},
         "The profile cannot be calculated with these values.",
         "Command1",
         nullptr},
        {"diamond overflows the scale",
         26,
         {{10, "1e-320"}, {5, "0.180"}},
         "The profile cannot be calculated with these values.",
         "Command1",
         nullptr},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto window = StartWindow();
        if (c.Row != 1) {
            ChooseRow(*window, c.Row);
        }
        for (const auto& [index, text] : c.Typed) {
            TypeInto(*window, index, QString::fromLatin1(text));
        }
        const std::string before = DumpIgnoringFocus(window->Model());
        MessageAnswerer answerer;
        QTest::mouseClick(window->CalculateButton(), Qt::LeftButton);

        ASSERT_FALSE(answerer.Boxes().empty()) << "no message";
        const MessageAnswerer::Box& box = answerer.Boxes().back();
        EXPECT_EQ(box.Text, QString::fromLatin1(c.Message));
        EXPECT_EQ(box.Title, kCaption);
        EXPECT_TRUE(box.Modal);
        EXPECT_TRUE(box.OnlyOk);
        EXPECT_EQ(DumpIgnoringFocus(window->Model()), before);

        // The program's focus is where the window's focus goes when it is active again.
        QWidget* expected = window->findChild<QWidget*>(QString::fromLatin1(c.FocusAfter));
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(window->focusWidget(), expected);
        ReactivateAfterMessage(*window);
        EXPECT_EQ(QApplication::focusWidget(), expected);
        if (c.SelectedAfter != nullptr) {
            const auto* field = qobject_cast<QLineEdit*>(expected);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(field->selectionStart(), 0);
            EXPECT_EQ(field->selectedText(), QString::fromLatin1(c.SelectedAfter));
        }
    }
}

TEST(Units, OptionButtonsConvertTheWireDiameters) {
    const auto window = StartWindow();
    QLineEdit* outlet = window->Field(ControlId::Text1_0);
    QLineEdit* incoming = window->Field(ControlId::Text1_1);
    MessageAnswerer answerer;

    QTest::mouseClick(window->Option(1), Qt::LeftButton);
    EXPECT_EQ(outlet->text(), QStringLiteral("0.3048"));
    EXPECT_EQ(incoming->text(), QStringLiteral("0.5588"));
    EXPECT_TRUE(window->Option(1)->isChecked());
    EXPECT_FALSE(window->Option(0)->isChecked());

    // A second click on the unit in force must not convert again.
    const std::string inMillimetres = DumpIgnoringFocus(window->Model());
    QTest::mouseClick(window->Option(1), Qt::LeftButton);
    EXPECT_EQ(DumpIgnoringFocus(window->Model()), inMillimetres);

    QTest::mouseClick(window->Option(0), Qt::LeftButton);
    EXPECT_EQ(outlet->text(), QStringLiteral("0.012"));
    EXPECT_EQ(incoming->text(), QStringLiteral("0.022"));
    EXPECT_TRUE(window->Option(0)->isChecked());
    EXPECT_FALSE(window->Option(1)->isChecked());

    const std::string inInches = DumpIgnoringFocus(window->Model());
    QTest::mouseClick(window->Option(0), Qt::LeftButton);
    EXPECT_EQ(DumpIgnoringFocus(window->Model()), inInches);
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
}

TEST(Units, DiameterThatIsNotANumberKeepsInches) {
    const auto window = StartWindow();
    TypeInto(*window, 0, QStringLiteral("0.0l2"));
    const std::string before = DumpIgnoringFocus(window->Model());
    MessageAnswerer answerer;
    QTest::mouseClick(window->Option(1), Qt::LeftButton);

    EXPECT_EQ(answerer.Texts(), QStringList{"Outlet Wire Diameter must be a number."});
    EXPECT_TRUE(window->Option(0)->isChecked());
    EXPECT_FALSE(window->Option(1)->isChecked());
    EXPECT_EQ(DumpIgnoringFocus(window->Model()), before);
    ReactivateAfterMessage(*window);
    EXPECT_EQ(QApplication::focusWidget(), window->Field(ControlId::Text1_0));
    EXPECT_EQ(window->Field(ControlId::Text1_0)->selectedText(), QStringLiteral("0.0l2"));
}

// Profiles no die maker would draw. Each either draws, or is refused and changes nothing; the
// window is painted either way and the painter must come back.
TEST(Extreme, AbsurdProfilesArePaintedOrRefused) {
    const std::vector<std::vector<std::pair<int, QString>>> profiles = {
        {{2, "0"}, {8, "0"}, {7, "0"}},
        {{2, "90"}, {8, "90"}, {7, "90"}},
        {{2, "179.9"}, {8, "179.9"}, {7, "179.9"}},
        {{2, "180"}, {8, "180"}, {7, "180"}},
        {{2, "360"}, {8, "360"}, {7, "360"}},
        {{2, "-720"}, {8, "-720"}, {7, "-720"}},
        {{0, "1e-9"}, {1, "2e-9"}},
        {{0, "1e8"}, {1, "1e9"}},
        {{0, "-0.022"}, {1, "-0.012"}},
        {{10, "1e-9"}, {5, "1e-9"}},
        {{10, "1e9"}, {5, "1e9"}},
        {{10, "1e-9"}, {5, "1e9"}},
        {{10, "-0.180"}, {5, "-0.180"}},
        {{3, "500"}},
        {{3, "500"}, {4, "500"}, {6, "-500"}},
        {{0, "1e-300"}, {1, "1e300"}, {2, "179.999999"}},
        {{0, "1e-9"}, {1, "1e9"}, {10, "1e-9"}, {5, "1e9"}, {2, "179.9"}, {8, "-720"}, {3, "500"}},
    };
    const QString refused = QStringLiteral("The profile cannot be calculated with these values.");
    for (const auto& profile : profiles) {
        const auto window = StartWindow();
        ChooseRow(*window, 26);
        QString name;
        for (const auto& [index, text] : profile) {
            TypeInto(*window, index, text);
            name += QStringLiteral("Text1(%1)=%2 ").arg(index).arg(text);
        }
        SCOPED_TRACE(name.toStdString());
        const std::string before = DumpIgnoringFocus(window->Model());
        MessageAnswerer answerer;
        QTest::mouseClick(window->CalculateButton(), Qt::LeftButton);
        if (answerer.Texts().contains(refused)) {
            EXPECT_EQ(DumpIgnoringFocus(window->Model()), before);
        }
        const QImage shot = window->grab().toImage();
        EXPECT_EQ(shot.size(), QSize(964, 692));
    }
}

void FillScene(DrawingScene& scene, Segment segment) {
    for (const SegmentDesign& design : SceneSegments()) {
        scene.*design.Member = segment;
    }
}

TEST(Extreme, PainterClipsCoordinatesFarOutsideThePanel) {
    // The window's panel drawing a scene of the test's own, at the window's panel size.
    const auto window = StartWindow();
    DrawingScene scene;
    DrawingPanel panel(scene, nullptr);
    panel.resize(window->Panel()->size());
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

    // Lines that cannot be seen: wholly outside, or with an end that is not a number.
    const Segment unseen[] = {
        {1e30f, 1e30f, 2e30f, -1e30f},
        {-FLT_MAX, -FLT_MAX, -FLT_MAX, FLT_MAX},
        {kInf, 0, 0, 0},
        {0, 0, kNan, 3000},
        {-kInf, -kInf, kInf, kInf},
        {1e6f, 1e6f, 1e6f, 1e6f},
    };
    // Nothing of the drawing shown: only the frame lines and the value labels remain.
    FillScene(scene, {kNan, kNan, kNan, kNan});
    const QImage empty = panel.grab().toImage();
    for (const Segment& s : unseen) {
        SCOPED_TRACE(::testing::PrintToString(std::vector<float>{s.X1, s.Y1, s.X2, s.Y2}));
        FillScene(scene, s);
        EXPECT_EQ(panel.grab().toImage(), empty);
    }

    // Lines that cross the panel although their ends are far away: the visible part must lie
    // where the line really runs.
    struct Crossing {
        Segment Ends;
        QPoint Inside; // a panel pixel on the line
    };
    const Crossing crossings[] = {
        {{3000, 3000, 1e30f, 3000}, {400, 200}},       {{-1e30f, 4500, 1e30f, 4500}, {250, 300}},
        {{3750, -FLT_MAX, 3750, FLT_MAX}, {250, 400}}, {{-1e25f, -1e25f, 1e25f, 1e25f}, {300, 300}},
        {{-1e30f, -1e30f, 1e30f, 1e30f}, {200, 200}},
    };
    for (const Crossing& c : crossings) {
        const Segment& s = c.Ends;
        SCOPED_TRACE(::testing::PrintToString(std::vector<float>{s.X1, s.Y1, s.X2, s.Y2}));
        FillScene(scene, s);
        const QImage image = panel.grab().toImage();
        EXPECT_TRUE(Dark(image.pixel(c.Inside)) || Dark(image.pixel(c.Inside + QPoint(1, 0))) ||
                    Dark(image.pixel(c.Inside - QPoint(1, 0))))
            << "the line is missing at " << c.Inside.x() << "," << c.Inside.y();
    }
}

} // namespace
} // namespace dieprofile::test
