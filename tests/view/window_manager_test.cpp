// Under a window manager that frames the window (ctest runs this under Xvfb and openbox, through
// with-openbox): start-up centres the window's outer size, frame and all, on the screen.
#include "window_harness.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

TEST(WindowManager, CentresTheFramedWindowOnTheScreen) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        GTEST_SKIP() << "needs an X server with a window manager (tests/view/with-openbox)";
    }
    const auto window = StartWindow();
    if (!QTest::qWaitFor([&] { return window->frameGeometry().size() != window->size(); })) {
        ASSERT_FALSE(qEnvironmentVariableIsSet("DIEPROFILE_REQUIRE_WM")) << "no frame came";
        GTEST_SKIP() << "no window manager frames the window";
    }
    // The gaps on either side may differ by the odd pixel of halving.
    const QRect screen = window->screen()->geometry();
    auto offCentre = [&] {
        const QRect outer = window->frameGeometry();
        return outer.topLeft() - screen.topLeft() - (screen.bottomRight() - outer.bottomRight());
    };
    const bool centred = QTest::qWaitFor(
        [&] { return std::abs(offCentre().x()) <= 1 && std::abs(offCentre().y()) <= 1; });
    EXPECT_TRUE(centred) << "off centre by " << offCentre().x() << "," << offCentre().y();
    EXPECT_EQ(window->Model().Window().Height, window->frameGeometry().height() * 15.0f);
}

} // namespace
} // namespace dieprofile::test
