// Sizing a window by its border on a real X server (run under xvfb-run by
// xvfb-test.sh or xvfb-wm-test.sh): the framework's demo form with a sizeable
// border grows when its bottom-right corner is dragged and stops at its
// smallest size when the left edge is dragged far to the right, whether the
// program follows the pointer itself or a window manager does the sizing.
#include "XvfbScreen.h"

#include <QProcess>

#include <gtest/gtest.h>

TEST(XvfbSizing, TheBorderSizesTheWindowWithinItsTrackLimits)
{
    QProcess program;
    ASSERT_TRUE(StartOnX(program, FRAMEWORK_DEMO_PATH, {"60", "sizeable"}));
    const QString window = FindWindow("^Framework Demo$");
    ASSERT_FALSE(window.isEmpty());
    QRect start;
    ASSERT_TRUE(Eventually([&] { return !(start = WindowGeometry(window)).isEmpty(); }));

    // Two pixels in from the bottom-right corner lies the sizing border.
    const QPoint corner = start.topLeft() + QPoint(start.width() - 2, start.height() - 2);
    DragAtAPersonsPace(corner, corner + QPoint(60, 40));
    QRect grown;
    EXPECT_TRUE(Eventually([&] {
        grown = WindowGeometry(window);
        return grown == QRect(start.topLeft(), start.size() + QSize(60, 40));
    })) << "grown by the drag: " << grown.width() << "x" << grown.height() << " from " << start.width() << "x"
        << start.height();

    // The left edge dragged past the right one: the right edge holds and the
    // window keeps its smallest width.
    const QRect before = WindowGeometry(window);
    const QPoint left = before.topLeft() + QPoint(1, before.height() / 2);
    DragAtAPersonsPace(left, left + QPoint(before.width() + 100, 0));
    QRect narrowed;
    EXPECT_TRUE(Eventually([&] {
        narrowed = WindowGeometry(window);
        return narrowed.right() == before.right() && narrowed.width() < before.width() && narrowed.width() >= 100 &&
               narrowed.height() == before.height();
    })) << "narrowed to " << narrowed.x() << "," << narrowed.width();
    program.kill();
    program.waitForFinished();
}
