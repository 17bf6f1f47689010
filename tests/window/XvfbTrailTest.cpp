// The opening trail on a real X server (run under xvfb-run, without and with a
// compositing manager): with the pointer placed first, the converter is
// started while the screen is read over and over. While it starts, pixels
// change outside the window's final area, and every one of them lies on the
// frame of one of the trail's rectangles; once the window is up the screen
// outside the window and its shadow is exactly as it was before the start.
#include "XvfbScreen.h"
#include "services/FxExplode.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr QPoint Pointer{100, 900};
// What beside the window may change when it appears: its shadow strips (6 pixels).
constexpr int ShadowDepth = 6;
// A screen read with more changed pixels than this shows the window itself.
constexpr int WindowShownPixels = 20000;

// A compositing manager paints the desktop only after the first damage: a
// small window of our own mapped and gone gives it one.
void Disturb(Display* display)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 16, 16, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    XDestroyWindow(display, window);
    XSync(display, False);
}

// The pixels where now differs from before.
std::vector<QPoint> Changed(const QImage& before, const QImage& now)
{
    std::vector<QPoint> changed;
    for (int y = 0; y < before.height(); ++y) {
        const auto* a = reinterpret_cast<const std::uint32_t*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const std::uint32_t*>(now.constScanLine(y));
        for (int x = 0; x < before.width(); ++x)
            if (a[x] != b[x])
                changed.emplace_back(x, y);
    }
    return changed;
}

// The window with its shadow strips, right and below it.
QRect WithShadow(const QRect& window)
{
    return window.adjusted(0, 0, ShadowDepth, ShadowDepth);
}

bool OnFrame(const TRect& r, QPoint p)
{
    const bool inside = p.x() >= r.Left && p.x() < r.Right && p.y() >= r.Top && p.y() < r.Bottom;
    return inside && (p.x() == r.Left || p.x() == r.Right - 1 || p.y() == r.Top || p.y() == r.Bottom - 1);
}

} // namespace

TEST(XvfbTrail, DrawnOnTheScreenWhileTheWindowOpensAndGoneAfter)
{
    TRootReader reader;
    ASSERT_TRUE(reader.Open());
    RunTool("xdotool", {"mousemove", QString::number(Pointer.x()), QString::number(Pointer.y())});
    // A compositing manager may still be painting the desktop: wait until two reads agree.
    Disturb(reader.Handle());
    QImage before = reader.Read();
    QElapsedTimer settle;
    settle.start();
    for (QImage again = reader.Read(); again != before && settle.elapsed() < 10000; again = reader.Read())
        before = again;

    // Read the screen as often as it can be read until the window shows; keep
    // only what changed in each read (the trail is a few thousand pixels). The
    // trail lasts a fraction of a second: on a loaded machine a compositing
    // manager may paint no frame of it, or no read may fall within it. Then
    // the converter is started again, three times at most.
    std::unique_ptr<QProcess> program;
    std::vector<std::vector<QPoint>> duringStart;
    for (int attempt = 0; attempt < 3 && duringStart.empty(); ++attempt) {
        if (program != nullptr) {
            program->kill();
            program->waitForFinished();
            // Back to the screen as it was before that start.
            Eventually([&] { return Changed(before, reader.Read()).empty(); }, 15000);
        }
        program = std::make_unique<QProcess>();
        ASSERT_TRUE(StartOnX(*program, DATES_CONVERTER_PATH));
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            std::vector<QPoint> changed = Changed(before, reader.Read());
            if (static_cast<int>(changed.size()) > WindowShownPixels)
                break;
            if (!changed.empty())
                duringStart.push_back(std::move(changed));
        }
    }
    const QString window = FindWindow(ConverterWindowName);
    ASSERT_FALSE(window.isEmpty());
    const QRect shown = WindowGeometry(window);
    ASSERT_FALSE(shown.isEmpty());

    // The trail this window opens with from the pointer, both passes alike.
    const std::vector<TRect> trail =
        ExplodeExtTrail({shown.x(), shown.y(), shown.x() + shown.width(), shown.y() + shown.height()}, Pointer.x(),
                        Pointer.y(), 40, 20, 10, true);
    int outside = 0;
    int offTrail = 0;
    QPoint firstOffTrail;
    for (const std::vector<QPoint>& changed : duringStart)
        for (const QPoint& p : changed) {
            if (WithShadow(shown).contains(p))
                continue;
            ++outside;
            bool onTrail = false;
            for (const TRect& r : trail)
                onTrail = onTrail || OnFrame(r, p);
            if (!onTrail && offTrail++ == 0)
                firstOffTrail = p;
        }
    std::printf("screen reads showing the trail: %zu, pixels outside the window changed, summed over the reads: %d\n", duringStart.size(),
                outside);
    EXPECT_GE(duringStart.size(), 1u) << "the screen was read while the trail ran";
    EXPECT_GT(outside, 50) << "trail pixels outside the window's final area during start-up";
    EXPECT_EQ(offTrail, 0) << "changed pixels not on any trail rectangle, first at " << firstOffTrail.x() << ","
                           << firstOffTrail.y();

    // Once the window is up, the screen outside it and its shadow is as it was.
    int left = -1;
    QElapsedTimer after;
    after.start();
    while (after.elapsed() < 15000) {
        left = 0;
        for (const QPoint& p : Changed(before, reader.Read()))
            left += WithShadow(shown).contains(p) ? 0 : 1;
        if (left == 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(left, 0) << "pixels outside the window still changed after the trail";
    if (::testing::Test::HasFailure())
        reader.Read().save("xvfb-trail-last.png");
    program->kill();
    program->waitForFinished();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (QStandardPaths::findExecutable("xdotool").isEmpty()) {
        std::puts("xdotool is not installed: skipped");
        return 77;
    }
    return RUN_ALL_TESTS();
}
