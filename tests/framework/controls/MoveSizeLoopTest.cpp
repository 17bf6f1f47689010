// The frame's move and size loops: a caption or border press runs the whole
// drag and returns when the button comes up; the window hears WM_MOVING or
// WM_SIZING for each step and where it ended up once, at the end. Offscreen
// there is no window manager, so the frame follows the pointer itself.
#include "FrameworkTestSupport.h"

#include "framework/controls/FrameTracking.h"
#include "framework/controls/Screen.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(FrameTracking, BordersFollowThePointerWithinTheTrackLimits)
{
    const TRect start = Bounds(100, 100, 300, 200);
    const TPoint minTrack{120, 60};
    const TPoint maxTrack{500, 400};
    EXPECT_EQ(TrackedRect(HTRIGHT, start, {40, 99}, minTrack, maxTrack), Bounds(100, 100, 340, 200));
    EXPECT_EQ(TrackedRect(HTBOTTOMRIGHT, start, {40, 30}, minTrack, maxTrack), Bounds(100, 100, 340, 230));
    // Left and top edges move the window's origin; the far edges hold still.
    EXPECT_EQ(TrackedRect(HTTOPLEFT, start, {-20, -10}, minTrack, maxTrack), Rect(80, 90, 400, 300));
    // Too small or too large: the dragged edge stops, the other one never moves.
    EXPECT_EQ(TrackedRect(HTLEFT, start, {250, 0}, minTrack, maxTrack), Rect(280, 100, 400, 300));
    EXPECT_EQ(TrackedRect(HTBOTTOM, start, {0, 900}, minTrack, maxTrack), Rect(100, 100, 400, 500));
    EXPECT_EQ(TrackedRect(HTTOP, start, {0, 190}, minTrack, maxTrack), Rect(100, 240, 400, 300));
    // Limits that contradict each other: the minimum wins.
    EXPECT_EQ(TrackedRect(HTRIGHT, start, {0, 0}, {350, 0}, {200, 200}).Width(), 350);
    EXPECT_EQ(SizingEdge(HTLEFT), WMSZ_LEFT);
    EXPECT_EQ(SizingEdge(HTBOTTOMRIGHT), WMSZ_BOTTOMRIGHT);
    EXPECT_EQ(SizingEdge(HTCAPTION), 0);
}

TEST(FrameTracking, WhatAWindowPositionAnswerAgreedTo)
{
    const TRect current = Bounds(10, 20, 300, 200);
    EXPECT_EQ(ChangeFlags(current, Bounds(10, 20, 300, 200)), SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(ChangeFlags(current, Bounds(50, 20, 300, 200)), SWP_NOSIZE);
    EXPECT_EQ(ChangeFlags(current, Bounds(10, 20, 310, 200)), SWP_NOMOVE);
    TWindowPos position{nullptr, nullptr, 70, 80, 320, 240, SWP_NOZORDER};
    EXPECT_EQ(AgreedRect(position, current), Bounds(70, 80, 320, 240));
    position.flags |= SWP_NOMOVE;
    EXPECT_EQ(AgreedRect(position, current), Bounds(10, 20, 320, 240));
    position.flags |= SWP_NOSIZE;
    EXPECT_EQ(AgreedRect(position, current), current);
    position = {nullptr, nullptr, 0, 0, -5, 40, 0};
    EXPECT_EQ(AgreedRect(position, current), Bounds(0, 0, 0, 40));
}

class MoveSizeLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSizeable);
        form->SetCaption("Loop");
        form->SetBounds(100, 80, 300, 200);
        ASSERT_TRUE(ShowActive(form.get()));
        recorder = std::make_unique<TMessageRecorder>(form->Handle());
    }
    void TearDown() override
    {
        recorder.reset();
        form->BeforeDestruction();
    }

    // Presses the left button at the screen point from and, from inside the
    // loop that press runs, moves the pointer through steps and releases it
    // at the last one (or presses Escape instead).
    void Drag(TPoint from, std::vector<TPoint> steps, bool escape = false)
    {
        QWidget* frame = form->Widget();
        auto local = [frame](TPoint p) { return frame->mapFromGlobal(QPoint(p.X, p.Y)); };
        QTimer::singleShot(0, frame, [=, this] {
            for (const TPoint p : steps) {
                QTest::mouseMove(frame, local(p));
                movesDuringTheLoop.push_back(form->Left());
            }
            if (escape)
                QTest::keyClick(frame, Qt::Key_Escape);
            else
                QTest::mouseRelease(frame, Qt::LeftButton, {}, local(steps.back()));
        });
        QTest::mousePress(frame, Qt::LeftButton, {}, local(from));
        Pump();
    }
    TPoint OnScreen(int x, int y) const { return {form->Left() + x, form->Top() + y}; }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TMessageRecorder> recorder;
    std::vector<int> movesDuringTheLoop;
};

TEST_F(MoveSizeLoop, ACaptionDragIsOneLoopInsideThePressAndOneMoveAtItsEnd)
{
    std::vector<UINT> seenInsideThePress;
    bool inPress = false;
    WNDPROC saved;
    saved = SetWindowProc(form->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCLBUTTONDOWN)
            inPress = true;
        else if (inPress)
            seenInsideThePress.push_back(msg);
        const LRESULT result = CallWindowProc(saved, w, msg, wp, lp);
        if (msg == WM_NCLBUTTONDOWN)
            inPress = false;
        return result;
    }));
    const TPoint grip = OnScreen(100, 10);
    Drag(grip, {{grip.X + 20, grip.Y + 10}, {grip.X + 50, grip.Y + 30}});
    SetWindowProc(form->Handle(), saved);

    EXPECT_EQ(form->Left(), 150);
    EXPECT_EQ(form->Top(), 110);
    const std::vector<UINT> interesting{WM_NCHITTEST,     WM_NCLBUTTONDOWN,     WM_ENTERSIZEMOVE,
                                        WM_MOVING,        WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                                        WM_MOVE,          WM_EXITSIZEMOVE,      WM_NCLBUTTONUP,
                                        WM_NCMOUSEMOVE};
    std::vector<UINT> sequence;
    for (UINT m : recorder->messages)
        if (std::find(interesting.begin(), interesting.end(), m) != interesting.end())
            sequence.push_back(m);
    EXPECT_EQ(sequence, (std::vector<UINT>{WM_NCHITTEST, WM_NCLBUTTONDOWN, WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVING,
                                           WM_WINDOWPOSCHANGING, WM_MOVE, WM_WINDOWPOSCHANGED, WM_EXITSIZEMOVE,
                                           WM_NCHITTEST, WM_NCLBUTTONUP}))
        << "a hook sees the press, the loop inside it, then the release";
    EXPECT_EQ(seenInsideThePress.back(), static_cast<UINT>(WM_EXITSIZEMOVE));
    EXPECT_EQ(movesDuringTheLoop, (std::vector<int>{120, 150})) << "the window itself follows the pointer";
}

TEST_F(MoveSizeLoop, WindowProceduresSteerAndRefuseTheMove)
{
    // WM_MOVING may change each step; the end's WM_WINDOWPOSCHANGING may keep the old place.
    WNDPROC saved;
    bool refuse = false;
    saved = SetWindowProc(form->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_MOVING) {
            auto* r = reinterpret_cast<TRect*>(lp);
            *r = OffsetRect(*r, 0, -(r->Top - 80)); // only sideways
        }
        if (msg == WM_WINDOWPOSCHANGING && refuse)
            reinterpret_cast<TWindowPos*>(lp)->flags |= SWP_NOMOVE;
        return CallWindowProc(saved, w, msg, wp, lp);
    }));
    TPoint grip = OnScreen(100, 10);
    Drag(grip, {{grip.X + 40, grip.Y + 60}});
    EXPECT_EQ(form->BoundsRect(), Bounds(140, 80, 300, 200));

    refuse = true;
    recorder->Clear();
    grip = OnScreen(100, 10);
    Drag(grip, {{grip.X + 40, grip.Y + 60}});
    EXPECT_EQ(form->BoundsRect(), Bounds(140, 80, 300, 200)) << "SWP_NOMOVE puts the window back";
    EXPECT_FALSE(recorder->Saw(WM_MOVE));
    SetWindowProc(form->Handle(), saved);
}

TEST_F(MoveSizeLoop, EscapeCancelsTheMove)
{
    const TPoint grip = OnScreen(100, 10);
    Drag(grip, {{grip.X + 40, grip.Y + 60}}, true);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 80, 300, 200));
    EXPECT_EQ(movesDuringTheLoop, (std::vector<int>{140}));
    EXPECT_TRUE(recorder->Saw(WM_EXITSIZEMOVE));
    EXPECT_FALSE(recorder->Saw(WM_MOVE));
    EXPECT_FALSE(recorder->Saw(WM_NCLBUTTONUP)) << "the button is still down";
}

TEST_F(MoveSizeLoop, ABorderDragSizesWithinTheLimitsTheProceduresSet)
{
    std::vector<WPARAM> edges;
    WNDPROC saved;
    saved = SetWindowProc(form->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        const LRESULT result = CallWindowProc(saved, w, msg, wp, lp);
        if (msg == WM_GETMINMAXINFO) {
            auto* info = reinterpret_cast<TMinMaxInfo*>(lp);
            info->ptMinTrackSize = {200, 150};
            info->ptMaxTrackSize = {360, 260};
        }
        if (msg == WM_SIZING)
            edges.push_back(wp);
        return result;
    }));
    // The bottom-right corner: wider within the limit, taller up to the limit.
    TPoint corner = OnScreen(298, 198);
    Drag(corner, {{corner.X + 30, corner.Y + 20}, {corner.X + 40, corner.Y + 300}});
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 80, 340, 260));
    EXPECT_EQ(edges, (std::vector<WPARAM>{WMSZ_BOTTOMRIGHT, WMSZ_BOTTOMRIGHT}));
    EXPECT_EQ(recorder->Only({WM_GETMINMAXINFO, WM_ENTERSIZEMOVE, WM_SIZE, WM_MOVE, WM_EXITSIZEMOVE}),
              (std::vector<UINT>{WM_GETMINMAXINFO, WM_ENTERSIZEMOVE, WM_SIZE, WM_EXITSIZEMOVE}))
        << "one WM_SIZE at the end, no move";

    // The left edge: the right edge holds still and the minimum width stops it.
    recorder->Clear();
    const TPoint left = OnScreen(1, 100);
    Drag(left, {{left.X + 500, left.Y}});
    EXPECT_EQ(form->BoundsRect(), Rect(240, 80, 440, 340));
    EXPECT_EQ(recorder->Only({WM_SIZE, WM_MOVE}), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
    SetWindowProc(form->Handle(), saved);
}

TEST_F(MoveSizeLoop, AFixedBorderOrAMaximisedWindowIsNotSized)
{
    form->SetBorderStyle(bsSingle);
    const TPoint corner = OnScreen(form->Width() - 1, form->Height() - 1);
    const TRect before = form->BoundsRect();
    QTest::mousePress(form->Widget(), Qt::LeftButton, {}, form->Widget()->mapFromGlobal(QPoint(corner.X, corner.Y)));
    QTest::mouseRelease(form->Widget(), Qt::LeftButton, {}, form->Widget()->mapFromGlobal(QPoint(corner.X, corner.Y)));
    EXPECT_EQ(form->BoundsRect(), before);
    EXPECT_FALSE(recorder->Saw(WM_ENTERSIZEMOVE));
}

TEST_F(MoveSizeLoop, TheProgramsOwnMovesAskTheWindowFirst)
{
    WNDPROC saved;
    std::vector<UINT> flags;
    saved = SetWindowProc(form->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_WINDOWPOSCHANGING) {
            auto* position = reinterpret_cast<TWindowPos*>(lp);
            flags.push_back(position->flags & (SWP_NOMOVE | SWP_NOSIZE));
            position->flags |= SWP_NOMOVE; // stay where you are
        }
        return CallWindowProc(saved, w, msg, wp, lp);
    }));
    form->SetBounds(300, 300, 320, 220);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 80, 320, 220)) << "sized, not moved";
    MoveWindow(form->Handle(), 10, 10, 320, 220, true);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 80, 320, 220));
    form->SetBounds(100, 80, 320, 220);
    EXPECT_EQ(flags, (std::vector<UINT>{0, SWP_NOSIZE})) << "asked with what changes; not asked for no change";
    SetWindowProc(form->Handle(), saved);
}

} // namespace
