// The converter window's shadow on a real X server (run under xvfb-run by
// xvfb-test.sh, with or without a window manager): the strips are X windows
// beside the window in the button-shadow grey, stand beside it at its new
// place after a caption drag, and another program's window placed over the
// window covers them too.
#include "XvfbScreen.h"

#include <QImage>
#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>

namespace {

constexpr QRgb ButtonShadow = 0x808080;
constexpr int Depth = 6;

// Both strips of the L beside window: a column right of it and a row below it.
bool ShadowBeside(const QImage& screen, const QRect& window)
{
    const int right = window.x() + window.width();
    const int bottom = window.y() + window.height();
    for (int d = 0; d < Depth; ++d) {
        if (ColourAt(screen, {right + d, window.y() + Depth + 20}) != ButtonShadow ||
            ColourAt(screen, {right + d, bottom - 1}) != ButtonShadow ||
            ColourAt(screen, {window.x() + Depth + 20, bottom + d}) != ButtonShadow ||
            ColourAt(screen, {right + Depth - 1, bottom + d}) != ButtonShadow)
            return false;
    }
    // Nothing above the right strip's start or left of the bottom strip's.
    return ColourAt(screen, {right + 1, window.y() + 1}) != ButtonShadow &&
           ColourAt(screen, {window.x() + 1, bottom + 1}) != ButtonShadow;
}

} // namespace

TEST(XvfbShadow, BesideTheWindowFollowsACaptionDragAndIsCoveredWithIt)
{
    QProcess program;
    ASSERT_TRUE(StartOnX(program, DATES_CONVERTER_PATH));
    const QString window = FindWindow(ConverterWindowName);
    ASSERT_FALSE(window.isEmpty());
    const QRect start = WindowGeometry(window);

    // Real X windows of their own, beside the window.
    EXPECT_TRUE(Eventually([&] {
        return RunTool("xdotool", {"search", "--onlyvisible", "--pid", QString::number(program.processId())})
                   .split('\n', Qt::SkipEmptyParts)
                   .size() >= 3;
    })) << "the window and its two strips";
    EXPECT_TRUE(Eventually([&] { return ShadowBeside(ScreenShot(), start); })) << "the L beside the window";

    // A caption drag at a person's pace (a window manager starts its move
    // from the press it is told of): the strips stand beside the window at
    // its new place.
    const QPoint grip = start.topLeft() + QPoint(start.width() / 3, 10);
    DragAtAPersonsPace(grip, grip + QPoint(40, 30));
    QRect moved;
    ASSERT_TRUE(Eventually([&] {
        moved = WindowGeometry(window);
        return moved.topLeft() == start.topLeft() + QPoint(40, 30);
    })) << "the caption drag moved the window with the pointer";
    EXPECT_TRUE(Eventually([&] { return ShadowBeside(ScreenShot(), moved); })) << "the L at the new place";
    EXPECT_NE(ColourAt(ScreenShot(), {start.right() + 1, start.y() + Depth + 5}), ButtonShadow) << "none left at the old place";

    // Another program's window over the window's lower right corner covers the strips there.
    QProcess other;
    const QPoint corner = moved.topLeft() + QPoint(moved.width() - 100, moved.height() - 100);
    other.start("xmessage", {"-geometry", QString("300x300+%1+%2").arg(corner.x()).arg(corner.y()), "another program"});
    ASSERT_TRUE(other.waitForStarted());
    const QString otherWindow =
        RunTool("xdotool", {"search", "--sync", "--onlyvisible", "--class", "xmessage"}).section('\n', 0, 0);
    ASSERT_FALSE(otherWindow.isEmpty());
    const QPoint underOther{moved.x() + moved.width() + 2, moved.y() + moved.height() - 20};
    const QPoint stillFree{moved.x() + moved.width() + 2, moved.y() + Depth + 20};
    EXPECT_TRUE(Eventually([&] {
        const QImage screen = ScreenShot();
        return ColourAt(screen, underOther) != ButtonShadow && ColourAt(screen, stillFree) == ButtonShadow;
    })) << "the other program's window covers the strip where it lies over it";
    if (::testing::Test::HasFailure())
        ScreenShot().save("xvfb-shadow-last.png");
    other.kill();
    other.waitForFinished();
    program.kill();
    program.waitForFinished();
}

// A window manager's other desktop: the window goes off the screen, and its
// strips with it; back on the first desktop, both stand beside it again.
TEST(XvfbShadow, GoesToAnotherDesktopWithTheWindowAndComesBack)
{
    if (RunTool("xdotool", {"get_num_desktops"}).toInt() < 1)
        GTEST_SKIP() << "no window manager with desktops";
    QProcess program;
    ASSERT_TRUE(StartOnX(program, DATES_CONVERTER_PATH));
    const QString window = FindWindow(ConverterWindowName);
    ASSERT_FALSE(window.isEmpty());
    const QRect area = WindowGeometry(window);
    ASSERT_TRUE(Eventually([&] { return ShadowBeside(ScreenShot(), area); })) << "the L beside the window";

    RunTool("xdotool", {"set_num_desktops", "2"});
    RunTool("xdotool", {"set_desktop", "1"});
    const QPoint right{area.x() + area.width() + 2, area.y() + area.height() / 2};
    const QPoint bottom{area.x() + area.width() / 2, area.y() + area.height() + 2};
    EXPECT_TRUE(Eventually([&] {
        const QImage screen = ScreenShot();
        return ColourAt(screen, right) != ButtonShadow && ColourAt(screen, bottom) != ButtonShadow;
    })) << "no strip left on the other desktop";

    RunTool("xdotool", {"set_desktop", "0"});
    EXPECT_TRUE(Eventually([&] { return ShadowBeside(ScreenShot(), area); })) << "the L beside the window again";
    if (::testing::Test::HasFailure())
        ScreenShot().save("xvfb-shadow-desktop-last.png");
    program.kill();
    program.waitForFinished();
}
