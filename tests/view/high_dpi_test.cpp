// The window on a screen with two device pixels to the logical pixel: the layout is the same in
// logical pixels, and lines and text are drawn at the device's resolution, not blown up.
#include "window_harness.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

TEST(HighDpi, KeepsTheLayoutAndDrawsAtDeviceResolution) {
    if (qEnvironmentVariable("QT_SCALE_FACTOR") != QStringLiteral("2")) {
        GTEST_SKIP() << "run with QT_SCALE_FACTOR=2";
    }
    const auto window = StartWindow();
    ASSERT_EQ(window->devicePixelRatio(), 2);
    EXPECT_EQ(window->size(), QSize(964, 692));
    EXPECT_EQ(window->BlankList()->geometry(), QRect(536, 248, 297, 21));
    EXPECT_EQ(window->Field(ControlId::Text3)->geometry(), QRect(840, 392, 65, 33));

    const QImage shot = window->grab().toImage();
    ASSERT_EQ(shot.devicePixelRatio(), 2);
    ASSERT_EQ(shot.size(), QSize(1928, 1384));

    // The panel starts 24 logical pixels into the window. LineDieLeft, 2 pixels wide, is at
    // window x 128; Line16, 1 pixel wide, at window x 112 from y 152 to 232.
    for (int y = 480; y <= 960; ++y) {
        SCOPED_TRACE(y);
        ASSERT_EQ(DarkRunNear(shot, 256, y), 4);
    }
    for (int y = 310; y <= 460; ++y) {
        SCOPED_TRACE(y);
        ASSERT_EQ(DarkRunNear(shot, 224, y), 2);
    }

    // A caption drawn at device resolution has detail finer than a logical pixel: text blown up
    // from a logical-pixel rendering would be made of uniform two-by-two blocks.
    const QWidget* caption = window->CaptionLabel("Label1(2)");
    const QRect area(caption->mapTo(window.get(), QPoint(0, 0)) * 2, caption->size() * 2);
    int detailed = 0;
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2) {
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb p = shot.pixel(x, y);
            detailed += p != shot.pixel(x + 1, y) || p != shot.pixel(x, y + 1) ||
                        p != shot.pixel(x + 1, y + 1);
        }
    }
    EXPECT_GT(detailed, 20);

    // Text laid out at the device's resolution still puts the contact values in one column.
    ExpectContactValuesInOneColumn(*window);
}

} // namespace
} // namespace dieprofile::test
