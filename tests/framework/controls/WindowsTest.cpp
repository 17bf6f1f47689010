// Window procedures, hooks, messages, timers and the exception guard.
#include "FrameworkTestSupport.h"

#include "framework/graphics/DeviceContext.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/Timers.h"
#include "framework/windows/Windows.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr UINT WM_TEST = WM_USER + 1;

// A utility window whose procedure counts what reaches it.
struct CountingWindow {
    std::vector<UINT> seen;
    HWND handle = AllocateHWnd(MakeWindowProc([this](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        seen.push_back(msg);
        if (msg == WM_TEST)
            return 42;
        return DefWindowProc(w, msg, wp, lp);
    }));
    ~CountingWindow() { DeallocateHWnd(handle); }
    int Count(UINT msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }
};

TEST(WindowProcedures, HookSeesMessagesFirstAndCanSwallowThem)
{
    CountingWindow window;
    std::vector<std::string> order;
    WNDPROC saved;
    saved = SetWindowProc(window.handle, MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        order.push_back("hook");
        if (wp == 1)
            return 7; // swallowed: the window never sees it
        return CallWindowProc(saved, w, msg, wp, lp);
    }));
    EXPECT_EQ(SendMessage(window.handle, WM_TEST, 0, 0), 42);
    EXPECT_EQ(SendMessage(window.handle, WM_TEST, 1, 0), 7);
    EXPECT_EQ(window.Count(WM_TEST), 1);
    EXPECT_EQ(order.size(), 2u);

    // Unhooking puts back exactly the procedure that was there.
    const WNDPROC hook = SetWindowProc(window.handle, saved);
    EXPECT_NE(hook, saved);
    EXPECT_EQ(GetWindowProc(window.handle), saved);
    SendMessage(window.handle, WM_TEST, 1, 0);
    EXPECT_EQ(window.Count(WM_TEST), 2);
}

TEST(WindowProcedures, ChainedHooksRunNewestFirstAndUnhookInReverse)
{
    CountingWindow window;
    std::string trail;
    std::vector<WNDPROC> saved(3);
    for (int i = 0; i < 3; ++i) {
        saved[i] = SetWindowProc(window.handle, MakeWindowProc([&, i](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
            trail += static_cast<char>('A' + i);
            return CallWindowProc(saved[i], w, msg, wp, lp);
        }));
    }
    EXPECT_EQ(SendMessage(window.handle, WM_TEST), 42);
    EXPECT_EQ(trail, "CBA");
    for (int i = 2; i >= 0; --i)
        SetWindowProc(window.handle, saved[i]);
    trail.clear();
    SendMessage(window.handle, WM_TEST);
    EXPECT_EQ(trail, "");
}

TEST(WindowProcedures, MessagesToADestroyedWindowAreHarmless)
{
    auto window = std::make_unique<CountingWindow>();
    const HWND handle = window->handle;
    EXPECT_TRUE(IsWindow(handle));
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(SendMessage(handle, WM_TEST), 0);
    EXPECT_FALSE(PostMessage(handle, WM_TEST));
    EXPECT_EQ(SetTimer(handle, 1, 10), 0u);
    EXPECT_FALSE(DestroyWindow(handle));
    EXPECT_EQ(GetWindowProc(handle), nullptr);
}

TEST(WindowProcedures, DestroyWindowSendsDestroyThenForgetsTheHandle)
{
    CountingWindow window;
    std::vector<UINT> seen;
    WNDPROC saved;
    saved = SetWindowProc(window.handle, MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        seen.push_back(msg);
        EXPECT_TRUE(GetWindowProc(w) != nullptr); // still there while WM_DESTROY runs
        return CallWindowProc(saved, w, msg, wp, lp);
    }));
    EXPECT_TRUE(DestroyWindow(window.handle));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(window.handle));

    // A procedure that destroys its window again while WM_DESTROY runs.
    const HWND again = AllocateHWnd(MakeWindowProc([](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_DESTROY) {
            EXPECT_FALSE(DestroyWindow(w));
        }
        return DefWindowProc(w, msg, wp, lp);
    }));
    EXPECT_TRUE(DestroyWindow(again));
    EXPECT_FALSE(IsWindow(window.handle));
}

TEST(WindowProcedures, PostedMessagesArriveLaterThroughTheProcedure)
{
    CountingWindow window;
    EXPECT_TRUE(PostMessage(window.handle, WM_TEST, 3, 4));
    EXPECT_EQ(window.Count(WM_TEST), 0);
    EXPECT_TRUE(WaitUntil([&] { return window.Count(WM_TEST) == 1; }));
}

TEST(WindowProcedures, WindowLongsAddressStyleAndClassBytes)
{
    ASSERT_TRUE(RegisterClass({"TestPopupClass", MakeWindowProc(DefWindowProc), 8, 0}));
    const HWND popup = CreateWindowEx(0, "TestPopupClass", "", WS_POPUP, 10, 20, 30, 40, nullptr);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetWindowLong(popup, GWL_STYLE), static_cast<std::intptr_t>(WS_POPUP));
    SetWindowLong(popup, 0, 2);
    SetWindowLong(popup, 4, 0x808080);
    EXPECT_EQ(GetWindowLong(popup, 0), 2);
    EXPECT_EQ(GetWindowLong(popup, 4), 0x808080);
    EXPECT_EQ(GetWindowLong(popup, 6), 0); // past the extra bytes
    TRect r;
    ASSERT_TRUE(GetWindowRect(popup, r));
    EXPECT_EQ(r, Bounds(10, 20, 30, 40));
    EXPECT_FALSE(UnregisterClass("TestPopupClass")); // a window of it still exists
    DestroyWindow(popup);
    EXPECT_TRUE(UnregisterClass("TestPopupClass"));
}

TEST(PopupWindows, OwnedPopupPaintsFromEraseAndNeverTakesTheActivation)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 200, 150);
    ASSERT_TRUE(ShowActive(&form));
    int erases = 0;
    ASSERT_TRUE(RegisterClass({"TestStripClass",
                               MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
                                   if (msg != WM_ERASEBKGND)
                                       return DefWindowProc(w, msg, wp, lp);
                                   ++erases;
                                   const HBRUSH red = CreateSolidBrush(clRed);
                                   FillRect(reinterpret_cast<HDC>(wp), Rect(0, 0, 6, 100), red);
                                   DeleteObject(red);
                                   return 1;
                               }),
                               0, 0}));
    const HWND strip = CreateWindowEx(0, "TestStripClass", "", WS_POPUP, 240, 46, 6, 100, form.Handle());
    ASSERT_NE(strip, nullptr);
    EXPECT_FALSE(IsWindowVisible(strip));
    ShowWindow(strip, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return erases > 0; }));
    EXPECT_TRUE(form.Active());
    const HDC dc = GetWindowDC(strip);
    EXPECT_EQ(GetPixel(dc, 3, 50), clRed);
    ReleaseDC(strip, dc);

    form.BeforeDestruction();
    EXPECT_FALSE(IsWindow(strip)) << "owned popups go with their owner";
    EXPECT_TRUE(UnregisterClass("TestStripClass"));
}

TEST(ScreenContext, FocusRectanglesDrawnTwiceLeaveTheScreenAsItWas)
{
    const HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const TColor before = GetPixel(dc, 10, 10);
    DrawFocusRect(dc, Rect(10, 10, 50, 30));
    EXPECT_NE(GetPixel(dc, 10, 10), before);
    DrawFocusRect(dc, Rect(10, 10, 50, 30));
    EXPECT_EQ(GetPixel(dc, 10, 10), before);
    ReleaseDC(nullptr, dc);
}

// ---------------------------------------------------------------------------
// Timers

TEST(MessageTimers, FireThroughTheProcedureUntilKilled)
{
    CountingWindow window;
    ASSERT_EQ(SetTimer(window.handle, 5, 20), 5u);
    ASSERT_TRUE(WaitUntil([&] { return window.Count(WM_TIMER) >= 3; }));
    EXPECT_TRUE(KillTimer(window.handle, 5));
    const int fired = window.Count(WM_TIMER);
    Pump(100);
    EXPECT_EQ(window.Count(WM_TIMER), fired);
    EXPECT_FALSE(KillTimer(window.handle, 5));
}

TEST(MessageTimers, TTimerTicksAndStops)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(20);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }));
    timer.SetEnabled(false);
    const int stopped = ticks;
    Pump(100);
    EXPECT_EQ(ticks, stopped);
}

// ---------------------------------------------------------------------------
// The guard: no exception crosses the event loop

TEST(ExceptionGuard, TimerPostedMessageAndClickAreReportedAndTheLoopGoesOn)
{
    TExceptionCatcher catcher;

    // A timer whose handler throws keeps running, and so does another timer.
    TTimer failing(nullptr);
    failing.SetInterval(20);
    failing.SetOnTimer([](TObject*) { throw EConvertError("'x' is not a valid integer value"); });
    ASSERT_TRUE(WaitUntil([&] { return catcher.texts.size() >= 2; }));
    EXPECT_EQ(catcher.texts[0], "'x' is not a valid integer value");
    EXPECT_EQ(catcher.senders[0], &failing);
    failing.SetEnabled(false);

    // A posted message whose procedure throws a standard exception.
    catcher.texts.clear();
    const HWND throwing = AllocateHWnd(MakeWindowProc([](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_TEST)
            throw std::runtime_error("posted failure");
        return DefWindowProc(w, msg, wp, lp);
    }));
    PostMessage(throwing, WM_TEST);
    ASSERT_TRUE(WaitUntil([&] { return !catcher.texts.empty(); }));
    EXPECT_EQ(catcher.texts.back(), "posted failure");
    DeallocateHWnd(throwing);

    // A click handler on a real button, pressed with the mouse.
    catcher.texts.clear();
    auto form = std::make_unique<TForm>(nullptr);
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 80, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        throw Exception("click failure");
    };
    form->Show();
    QTest::mouseClick(button->Widget(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(catcher.texts.size(), 1u);
    EXPECT_EQ(catcher.texts[0], "click failure");

    // The loop still runs: a later timer fires.
    int later = 0;
    TTimer after(nullptr);
    after.SetInterval(20);
    after.SetOnTimer([&](TObject*) { ++later; });
    EXPECT_TRUE(WaitUntil([&] { return later > 0; }));
    form->BeforeDestruction();
}

} // namespace
