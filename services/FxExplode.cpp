#include "services/FxExplode.h"

#include "framework/controls/Forms.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/runtime/sysutils.h"
#include "framework/windows/WindowDC.h"

#include <chrono>

namespace {

constexpr int DefaultSteps = 40;

// Steps rectangles starting at (sx, sy) with the given size, each moved by
// (dx, dy) and grown by (dw, dh) per step from the start.
void FocusTrail(std::vector<TRect>& trail, int steps, double sx, double sy, double dx, double dy, double dw,
                double dh, int startWidth, int startHeight)
{
    for (int i = 1; i <= steps; ++i) {
        const int left = Trunc(dx * i + sx);
        const int top = Trunc(dy * i + sy);
        const int right = Trunc(dw * i + left + startWidth);
        const int bottom = Trunc(dh * i + top + startHeight);
        trail.push_back({left, top, right, bottom});
    }
}

int UsableSteps(int steps) { return steps <= 3 ? DefaultSteps : steps; }

// Waits until the given time without processing messages: the trail's
// speed is the same on every processor.
void BusyWaitUntil(std::chrono::steady_clock::time_point until)
{
    while (std::chrono::steady_clock::now() < until) {
    }
}

TPoint StartPoint(int x, int y)
{
    if (x >= 0)
        return {x, y};
    TPoint cursor;
    GetCursorPos(cursor);
    return cursor;
}

TRect FormRect(TCustomForm* form)
{
    TRect rect;
    if (!GetWindowRect(form->Handle(), rect))
        rect = form->BoundsRect();
    return rect;
}

// Both passes of a trail on the screen; the second erases the first.
void DrawTwice(const std::vector<TRect>& trail, int delayMs)
{
    const TWindowDC screen = TWindowDC::Client(nullptr);
    if (!screen)
        return;
    // Rectangle k is due k delays after the start, so a wait that ran long
    // (the thread was not scheduled) is made up by the next one and the trail
    // keeps its length.
    const auto delay = std::chrono::milliseconds(delayMs);
    auto due = std::chrono::steady_clock::now();
    for (int pass = 0; pass < 2; ++pass)
        for (const TRect& rect : trail) {
            due += delay;
            BusyWaitUntil(due);
            DrawFocusRect(screen.get(), rect);
        }
}

} // namespace

std::vector<TRect> ExplodeTrail(const TRect& window, int x, int y, int steps)
{
    steps = UsableSteps(steps);
    std::vector<TRect> trail;
    trail.reserve(static_cast<std::size_t>(steps));
    FocusTrail(trail, steps, x, y, double(window.Left - x) / steps, double(window.Top - y) / steps,
               double(window.Right - window.Left) / steps, double(window.Bottom - window.Top) / steps, 0, 0);
    return trail;
}

std::vector<TRect> ExplodeExtTrail(const TRect& window, int x, int y, int steps, int startWidth, int startHeight,
                                   bool travel)
{
    steps = UsableSteps(steps);
    // Halfway between the start and the window's left edge, truncated toward zero.
    const int midX = x + (window.Left - x) / 2;
    std::vector<TRect> trail;
    trail.reserve(static_cast<std::size_t>(2 * steps));
    if (travel)
        FocusTrail(trail, steps, x, y, double(midX - x) / steps, double(window.Bottom - y) / steps, 0, 0,
                   startWidth, startHeight);
    FocusTrail(trail, steps, midX, window.Bottom, double(window.Left - midX) / steps,
               double(window.Top - window.Bottom) / steps, double(window.Right - window.Left - startWidth) / steps,
               double(window.Bottom - window.Top - startHeight) / steps, startWidth, startHeight);
    return trail;
}

void ExplodeEffect(TCustomForm* form, int x, int y, int delayMs, int steps)
{
    if (form == nullptr)
        return;
    const TPoint start = StartPoint(x, y);
    DrawTwice(ExplodeTrail(FormRect(form), start.X, start.Y, steps), delayMs <= 0 ? 1 : delayMs);
}

void ExplodeExtEffect(TCustomForm* form, int x, int y, int steps, int startWidth, int startHeight, int delayMs,
                      bool travel)
{
    if (form == nullptr)
        return;
    const TPoint start = StartPoint(x, y);
    DrawTwice(ExplodeExtTrail(FormRect(form), start.X, start.Y, steps, startWidth, startHeight, travel),
              delayMs <= 0 ? 1 : delayMs);
}
