// Hints of the built program on a real X server (run under xvfb-run by
// xvfb-test.sh): resting the pointer on a spin button shows a balloon above
// right of the pointer after the hint pause, whose corners show what was on
// the screen under it; it goes after the hide pause; moving on to another
// control while it shows brings the next one after the short pause; near the
// top of the screen the balloon hangs below the pointer.
#include "tests/framework/controls/FrameworkTestSupport.h"

#include "framework/controls/ExtCtrls.h"
#include "window/Hagri1.h"
#include "window/Spin.h"
#include "tests/window/XvfbScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

namespace {

constexpr QRgb InfoBk = 0xFFFFE1;  // the balloon's fill
constexpr QRgb Colour = 0x00FFFFFF;

void MovePointer(QPoint p)
{
    CheckedTool("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y())});
}

// The bounding box of the balloon's fill colour within area, if any shows.
std::optional<QRect> BalloonFill(const QImage& screen, const QRect& area)
{
    QRect box;
    const QRect r = area.intersected(screen.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((screen.pixel(x, y) & Colour) == InfoBk)
                box = box.united(QRect(x, y, 1, 1));
    if (box.width() < 20 || box.height() < 10)
        return std::nullopt;
    return box;
}

struct TSeen {
    qint64 Ms = -1;
    QImage Screen;
    QRect Fill;
};

// Polls the screen until a balloon shows in area (or, with appear false,
// until none does); Ms is the time since clock started.
TSeen WaitFor(TRootReader& screen, bool appear, const QRect& area, const QElapsedTimer& clock, int timeoutMs)
{
    while (clock.elapsed() < timeoutMs) {
        TSeen seen;
        seen.Screen = screen.Read();
        seen.Ms = clock.elapsed();
        const std::optional<QRect> fill = BalloonFill(seen.Screen, area);
        if (fill.has_value() == appear) {
            if (fill)
                seen.Fill = *fill;
            return seen;
        }
    }
    return {};
}

QRect InWindow(const TControl* control)
{
    const TPoint origin = control->ClientOrigin();
    return QRect(origin.X - Form1->Left(), origin.Y - Form1->Top(), control->Width(), control->Height());
}

// The same number of colour-equal pixels in rect on both screens.
bool SamePixels(const QImage& a, const QImage& b, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if ((a.pixel(x, y) & Colour) != (b.pixel(x, y) & Colour))
                return false;
    return true;
}

class XvfbHints : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(screen.Open()) << "no X display";
        ASSERT_TRUE(StartOnX(program, DATES_CONVERTER_PATH));
        window = FindWindow(ConverterWindowName);
        ASSERT_FALSE(window.isEmpty());
        // The same layout here, offscreen, for the controls' positions.
        Application->CreateForm(&Form1);
        ASSERT_TRUE(ShowActive(Form1));
        // Away from every control, and time for the opening effect to end.
        MovePointer({5, 5});
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
        Application->DestroyForms();
    }

    TRootReader screen;
    QProcess program;
    QString window;
};

TEST_F(XvfbHints, BalloonAppearsAboveRightShowsTheScreenAndGoes)
{
    const QPoint origin = WindowGeometry(window).topLeft();
    const QRect spin = InWindow(Form1->SpinButton4).translated(origin);
    const QPoint pointer(spin.center().x(), spin.top() + 8);
    const QRect aboveRight(pointer.x(), pointer.y() - 200, 400, 200);
    const QImage before = screen.Read();

    QElapsedTimer clock;
    MovePointer(pointer);
    clock.start();  // the pointer has arrived: the times below are at most the real ones
    const TSeen shown = WaitFor(screen, true, aboveRight, clock, 3000);
    ASSERT_GE(shown.Ms, 0) << "no balloon above right of the pointer";
    shown.Screen.save("xvfb-hint-balloon.png");
    EXPECT_GE(shown.Ms, 350) << "before the hint pause";
    EXPECT_LE(shown.Ms, 1500);

    // The fill's top is one pixel inside the window's top edge; the window's
    // bottom is just above the pointer, its left just right of it.
    const QRect fill = shown.Fill;
    const int top = fill.top() - 1;
    EXPECT_LT(fill.bottom(), pointer.y());
    EXPECT_GE(fill.left(), pointer.x() + 1);
    EXPECT_LE(fill.left(), pointer.x() + 10) << "the nose reaches back to the pointer";
    EXPECT_GT(fill.bottom(), pointer.y() - 20) << "the nose reaches down to the pointer";
    // The corners outside the balloon: what was there before it appeared.
    EXPECT_TRUE(SamePixels(shown.Screen, before, QRect(pointer.x() + 1, top, 12, 4))) << "top-left corner";
    EXPECT_TRUE(SamePixels(shown.Screen, before, QRect(pointer.x() + 1, top + 6, 5, 8))) << "left of the box";
    // The text: dark letters inside the fill.
    int ink = 0;
    for (int y = fill.top(); y <= fill.bottom() - 20; ++y)
        for (int x = fill.left() + 15; x < fill.right() - 5; ++x)
            ink += (shown.Screen.pixel(x, y) & Colour) == 0 ? 1 : 0;
    EXPECT_GT(ink, 30) << "\"Change Gregorian day\" in black";

    const TSeen gone = WaitFor(screen, false, aboveRight, clock, 8000);
    ASSERT_GE(gone.Ms, 0) << "the balloon never went";
    EXPECT_GE(gone.Ms - shown.Ms, 2000) << "hidden before the hide pause";
    EXPECT_LE(gone.Ms - shown.Ms, 4000);
}

TEST_F(XvfbHints, NextControlShowsItsHintAfterTheShortPause)
{
    const QPoint origin = WindowGeometry(window).topLeft();
    const QRect first = InWindow(Form1->SpinButton4).translated(origin);
    const QRect second = InWindow(Form1->SpinButton5).translated(origin);
    const QPoint p1(first.center().x(), first.top() + 8);
    const QPoint p2(second.center().x(), second.top() + 8);

    QElapsedTimer clock;
    clock.start();
    MovePointer(p1);
    const TSeen shown = WaitFor(screen, true, QRect(p1.x(), p1.y() - 200, 400, 200), clock, 3000);
    ASSERT_GE(shown.Ms, 0);

    MovePointer(p2);
    clock.restart();
    // The next balloon hangs from the new pointer. The first one reaches
    // beyond it, so a fill right of the pointer alone proves nothing: the
    // first balloon must be gone where the next cannot be (left of the new
    // pointer), and fill must show where only the next one's nose reaches
    // (just right of the new pointer, below the bodies of both).
    const QRect firstOnly(shown.Fill.left(), shown.Fill.top(), p2.x() + 1 - shown.Fill.left(), shown.Fill.height());
    const QRect nextNose(p2.x() + 1, p2.y() - 20, 40, 12);
    TSeen next;
    while (clock.elapsed() < 3000) {
        const QImage now = screen.Read();
        const qint64 ms = clock.elapsed();
        int nose = 0;
        for (int y = nextNose.top(); y <= nextNose.bottom(); ++y)
            for (int x = nextNose.left(); x <= nextNose.right(); ++x)
                nose += (now.pixel(x, y) & Colour) == InfoBk ? 1 : 0;
        if (!BalloonFill(now, firstOnly).has_value() && nose >= 20) {
            next = {ms, now, BalloonFill(now, QRect(p2.x() + 1, p2.y() - 200, 400, 200)).value_or(QRect())};
            break;
        }
    }
    ASSERT_GE(next.Ms, 0) << "no balloon for the next control";
    EXPECT_GE(next.Fill.left(), p2.x() + 1);
    EXPECT_LE(next.Fill.left(), p2.x() + 10);
    EXPECT_LE(next.Ms, 400) << "the short pause, not the full one";
}

TEST_F(XvfbHints, NearTheTopEdgeTheBalloonHangsBelow)
{
    // The window moved up until the credit panel lies 20 pixels below the screen's top.
    const QPoint origin = WindowGeometry(window).topLeft();
    const QRect credit = InWindow(Form1->Panel8);
    const int y = 20;
    CheckedTool("xdotool", {"windowmove", window, QString::number(origin.x()), QString::number(y - credit.center().y())});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const QPoint moved = WindowGeometry(window).topLeft();
    const QPoint pointer(moved.x() + credit.center().x(), moved.y() + credit.center().y());
    ASSERT_LT(pointer.y(), 40);

    QElapsedTimer clock;
    clock.start();
    MovePointer(pointer);
    // Above right does not fit; below left is next.
    const TSeen shown = WaitFor(screen, true, QRect(0, pointer.y() + 1, pointer.x(), 300), clock, 3000);
    ASSERT_GE(shown.Ms, 0) << "no balloon below left of the pointer";
    shown.Screen.save("xvfb-hint-top-edge.png");
    EXPECT_LT(shown.Fill.right(), pointer.x());
    EXPECT_GT(shown.Fill.top(), pointer.y());
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    TApplication application;
    return RUN_ALL_TESTS();
}
