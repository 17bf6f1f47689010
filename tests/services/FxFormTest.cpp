// The form services component on real offscreen forms: the opening trails
// (geometry, the virtual screen left as it was, elapsed-time pacing, when they
// run), size limits and their refusals, every message event, dropped files.
#include "services/FxExplode.h"
#include "services/FxForm.h"

#include "framework/controls/Application.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/windows/Display.h"
#include "framework/windows/FileDrops.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Messages that reach the procedure below the component, with WM_GETMINMAXINFO's record.
struct TBelow {
    std::vector<TMessage> Seen;
    TMinMaxInfo LastMinMax;
};

// A form with the component; a logger sits on the form's own procedure, below it.
class TServicedForm : public TForm {
public:
    explicit TServicedForm(TBelow* below = nullptr, TFxDlgEffect effect = deNone) : TForm(nullptr)
    {
        BeginLoad();
        SetBounds(300, 200, 400, 300);
        if (below != nullptr) {
            WNDPROC own = GetWindowProc(Handle());
            SetWindowProc(Handle(), MakeWindowProc([below, own](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
                              below->Seen.push_back({msg, wp, lp, 0});
                              if (msg == WM_GETMINMAXINFO)
                                  below->LastMinMax = *reinterpret_cast<TMinMaxInfo*>(lp);
                              return msg >= WM_USER ? 0 : CallWindowProc(own, w, msg, wp, lp);
                          }));
        }
        OnShow = [this](TObject*) { ++ownShows; };
        Fx = new TFxForm(this);
        Fx->Effect = effect;
        EndLoad();
    }
    TFxForm* Fx;
    int ownShows = 0;
};

QImage VirtualScreen() { return Screen->Display().ScreenSurface()->Image().copy(); }

// ---------------------------------------------------------------------------
// Trail geometry

TEST(OpeningTrail, TravelsToTheLowerEdgeThenGrowsIntoTheWindow)
{
    const TRect window{300, 200, 700, 500};
    const std::vector<TRect> trail = ExplodeExtTrail(window, 100, 50, 40, 20, 10, true);
    ASSERT_EQ(trail.size(), 80u); // drawn twice: 160 rectangles
    EXPECT_EQ(trail.front(), (TRect{102, 61, 122, 71})); // steps of 2.5 and 11.25, cut toward zero
    // Halfway between the pointer and the left edge, on the lower edge.
    EXPECT_EQ(trail[39], (TRect{200, 500, 220, 510}));
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(trail[i].Width(), 20) << i;
    EXPECT_EQ(trail.back(), window);

    // Without travel only the growing half is left.
    EXPECT_EQ(ExplodeExtTrail(window, 100, 50, 40, 20, 10, false).size(), 40u);
}

TEST(OpeningTrail, FromThePointerAtTheLeftEdgeItMovesStraightDown)
{
    const TRect window{300, 200, 700, 500};
    const std::vector<TRect> trail = ExplodeExtTrail(window, 300, 50, 40, 20, 10, true);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(trail[i].Left, 300) << i;
    EXPECT_EQ(trail[39].Top, 500);
}

TEST(OpeningTrail, ExplodeGrowsFromThePointerAndFewStepsBecomeForty)
{
    const TRect window{300, 200, 700, 500};
    const std::vector<TRect> trail = ExplodeTrail(window, 100, 50, 40);
    ASSERT_EQ(trail.size(), 40u); // 80 with the erasing pass
    EXPECT_EQ(trail.front(), (TRect{105, 53, 115, 60}));
    EXPECT_EQ(trail.back(), window);
    EXPECT_EQ(ExplodeTrail(window, 100, 50, 3).size(), 40u);
    EXPECT_EQ(ExplodeExtTrail(window, 100, 50, 0, 20, 10, true).size(), 80u);
}

// ---------------------------------------------------------------------------
// The trail on the screen

// Watches the virtual screen while a trail is drawn. Each focus rectangle
// arrives as its four lines; once all four are there, the pixels along its
// frame must be those of a copy of the screen on which the expected
// rectangles, up to this one, were drawn.
class TTrailWatch {
public:
    explicit TTrailWatch(std::vector<TRect> expected) : expected_(std::move(expected))
    {
        model_.LoadFromImage(VirtualScreen());
        Screen->Display().OnVirtualScreenDrawn = [this](const TRect& line) { Line(line); };
    }
    ~TTrailWatch() { Screen->Display().OnVirtualScreenDrawn = nullptr; }
    TTrailWatch(const TTrailWatch&) = delete;
    TTrailWatch& operator=(const TTrailWatch&) = delete;

    std::vector<TRect> Drawn;    // the bounding box of each rectangle's four lines
    std::string FirstMismatch;   // where the screen first differed from the copy
    QImage AfterFirstPass;       // the screen once the first pass had drawn its last rectangle

private:
    void Line(const TRect& line)
    {
        box_ = lines_ == 0 ? line
                           : TRect{std::min(box_.Left, line.Left), std::min(box_.Top, line.Top),
                                   std::max(box_.Right, line.Right), std::max(box_.Bottom, line.Bottom)};
        if (++lines_ < 4)
            return;
        lines_ = 0;
        Drawn.push_back(box_);
        const std::size_t k = Drawn.size() - 1;
        if (k < expected_.size()) {
            DrawFocusRect(model_.Canvas()->Handle(), expected_[k]);
            if (FirstMismatch.empty())
                CompareFrame(k, expected_[k]);
        }
        if (Drawn.size() == expected_.size() / 2)
            AfterFirstPass = VirtualScreen();
    }
    void CompareFrame(std::size_t k, const TRect& r)
    {
        const QImage& screen = Screen->Display().ScreenSurface()->Image();
        const QImage& model = model_.Image();
        auto same = [&](int x, int y) {
            if (screen.pixel(x, y) == model.pixel(x, y))
                return true;
            FirstMismatch = "rectangle " + std::to_string(k) + " at " + std::to_string(x) + "," + std::to_string(y);
            return false;
        };
        for (int x = r.Left; x < r.Right; ++x)
            if (!same(x, r.Top) || !same(x, r.Bottom - 1))
                return;
        for (int y = r.Top; y < r.Bottom; ++y)
            if (!same(r.Left, y) || !same(r.Right - 1, y))
                return;
    }

    std::vector<TRect> expected_;
    TBitmap model_;
    int lines_ = 0;
    TRect box_;
};

TRect WindowRectOf(const TForm& form)
{
    TRect rect;
    GetWindowRect(const_cast<TForm&>(form).Handle(), rect);
    return rect;
}

// Both passes: the trail, then the same rectangles again.
std::vector<TRect> Twice(std::vector<TRect> trail)
{
    const std::size_t n = trail.size();
    for (std::size_t i = 0; i < n; ++i)
        trail.push_back(trail[i]);
    return trail;
}

TEST(OpeningTrail, DrawsEachRectangleOnTheScreenThenErasesItAndTakesElapsedTime)
{
    TServicedForm form;
    const QImage before = VirtualScreen();
    const std::vector<TRect> expected = Twice(ExplodeExtTrail(WindowRectOf(form), 20, 30, 40, 20, 10, true));
    TTrailWatch watch(expected);
    const auto start = Clock::now();
    ExplodeExtEffect(&form, 20, 30, 40, 20, 10, 3, true);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    EXPECT_EQ(watch.Drawn, expected);
    EXPECT_EQ(watch.FirstMismatch, "");
    // Halfway, every rectangle of the trail stands inverted on the screen, and nothing else.
    TBitmap firstPass;
    firstPass.LoadFromImage(before);
    for (std::size_t i = 0; i < expected.size() / 2; ++i)
        DrawFocusRect(firstPass.Canvas()->Handle(), expected[i]);
    EXPECT_TRUE(watch.AfterFirstPass == firstPass.Image()) << "the screen after the first pass";
    EXPECT_NE(watch.AfterFirstPass, before);
    EXPECT_EQ(VirtualScreen(), before);
    EXPECT_GE(seconds, 0.48); // 160 waits of 3 ms
    EXPECT_LT(seconds, 2.0);
}

// A start of (0, y) is a point of the screen, not "from the pointer"; a delay
// of 0 or less still paces the trail at a millisecond a rectangle.
TEST(OpeningTrail, StartAtTheScreensEdgeAndTheSmallestDelay)
{
    TServicedForm form;
    Screen->Display().SetCursorPos({600, 500});
    const std::vector<TRect> expected = Twice(ExplodeExtTrail(WindowRectOf(form), 0, 60, 40, 20, 10, true));
    TTrailWatch watch(expected);
    const auto start = Clock::now();
    ExplodeExtEffect(&form, 0, 60, 40, 20, 10, 0, true);
    EXPECT_GE(std::chrono::duration<double>(Clock::now() - start).count(), 0.15); // 160 waits of 1 ms
    EXPECT_EQ(watch.Drawn, expected);
}

TEST(OpeningTrail, ExplodeGrowsOnTheScreenFromThePointer)
{
    TServicedForm form;
    const QImage before = VirtualScreen();
    const std::vector<TRect> expected = Twice(ExplodeTrail(WindowRectOf(form), 50, 60, 40));
    TTrailWatch watch(expected);
    ExplodeEffect(&form, 50, 60, 1, 40);
    EXPECT_EQ(watch.Drawn, expected);
    EXPECT_EQ(watch.FirstMismatch, "");
    EXPECT_EQ(VirtualScreen(), before);
}

// Each effect on every explicit show, from the pointer; no trail on minimise and restore, nor when an owner opens.
TEST(OpeningTrail, EachEffectRunsOnEveryExplicitShowButNotOnMinimiseAndRestore)
{
    for (const TFxDlgEffect effect : {deExplode, deExplodeExt}) {
        SCOPED_TRACE(effect);
        TServicedForm form(nullptr, effect);
        Screen->Display().SetCursorPos({20, 30});
        TPoint pointer;
        GetCursorPos(pointer);
        const TRect window = WindowRectOf(form);
        const std::vector<TRect> expected =
            Twice(effect == deExplode ? ExplodeTrail(window, pointer.X, pointer.Y, 40)
                                      : ExplodeExtTrail(window, pointer.X, pointer.Y, 40, 20, 10, true));
        {
            TTrailWatch watch(expected);
            form.Show();
            EXPECT_EQ(watch.Drawn, expected);
            EXPECT_EQ(watch.FirstMismatch, "");
        }
        EXPECT_TRUE(form.Widget()->isVisible());
        QTest::qWait(10);
        form.Hide();
        {
            TTrailWatch watch(expected);
            form.Show();
            EXPECT_EQ(watch.Drawn, expected) << "shown again";
        }
        TTrailWatch none({});
        form.SetWindowState(wsMinimized);
        QTest::qWait(10);
        form.SetWindowState(wsNormal);
        QTest::qWait(10);
        SendMessage(form.Handle(), WM_SHOWWINDOW, 1, 1); // shown because an owner opened
        EXPECT_TRUE(none.Drawn.empty());
    }
}

// ---------------------------------------------------------------------------
// Size limits

TEST(SizeLimits, NegativeValuesAreFractionsOfTheScreen)
{
    std::array<int, 8> p{};
    p[siTrackMaxWidth] = -2;
    p[siTrackMaxHeight] = 5000;  // held to the screen
    p[siTrackMinWidth] = 700;    // held to the maximum
    p[siMaximizedPosX] = -4;
    p[siMaximizedHeight] = -3;
    const TFxSizeLimits l = ComputeSizeLimits(p, 1024, 768);
    EXPECT_EQ(l.MaxWidth, 512);
    EXPECT_EQ(l.MaxHeight, 768);
    EXPECT_EQ(l.MinWidth, 512);
    EXPECT_EQ(l.MaxLeft, 256);
    EXPECT_EQ(l.MaxedHeight, 256);
    EXPECT_EQ(ComputeSizeLimits(p, 800, 600).MaxWidth, 400);
    p[siTrackMaxWidth] = 5000; // held to the screen too
    p[siTrackMaxHeight] = 300;
    p[siTrackMinHeight] = 400; // held to the maximum
    const TFxSizeLimits wide = ComputeSizeLimits(p, 1024, 768);
    EXPECT_EQ(wide.MaxWidth, 1024);
    EXPECT_EQ(wide.MinWidth, 700);
    EXPECT_EQ(wide.MinHeight, 300);
}

TEST(SizeLimits, ADisplayChangeRecomputesThemAndRaisesTheEvent)
{
    Screen->Display().SetSizeOverride({1024, 768});
    TServicedForm form;
    form.Fx->SetTrackMaxWidth(-2);
    form.Fx->SetTrackMinHeight(-4);
    EXPECT_EQ(form.Fx->EffectiveLimits().MaxWidth, 512);
    EXPECT_EQ(form.Fx->EffectiveLimits().MinHeight, 192);
    std::vector<int> seen;
    form.Fx->OnDisplayChange = [&](TObject*, int x, int y, int bits) { seen = {x, y, bits}; };
    SendMessage(form.Handle(), WM_DISPLAYCHANGE, 16, MakeLParam(800, 600));
    EXPECT_EQ(form.Fx->EffectiveLimits().MaxWidth, 400);
    EXPECT_EQ(form.Fx->EffectiveLimits().MinHeight, 150);
    EXPECT_EQ(seen, (std::vector<int>{800, 600, 16}));
    Screen->Display().SetSizeOverride({});
}

TEST(SizeLimits, ValuesCrossingTheOppositeLimitAreRefused)
{
    TServicedForm form;
    TFxForm& fx = *form.Fx;
    fx.SetTrackMaxWidth(300);
    fx.SetTrackMinWidth(400); // above the maximum
    EXPECT_EQ(fx.TrackMinWidth(), 0);
    fx.SetTrackMinWidth(250);
    fx.SetTrackMaxWidth(200); // below the minimum
    EXPECT_EQ(fx.TrackMaxWidth(), 300);
    EXPECT_EQ(fx.EffectiveLimits().MaxWidth, 300);
    fx.SetTrackMinHeight(100);
    fx.SetTrackMaxHeight(-101); // out of range
    EXPECT_EQ(fx.TrackMaxHeight(), 0);
    fx.SetTrackMaxHeight(0); // no limit is never refused
    fx.SetTrackMaxWidth(0);
    EXPECT_EQ(fx.EffectiveLimits().MaxWidth, 0);
    fx.SetMaximizedWidth(10); // maximized values are always taken
    EXPECT_EQ(fx.EffectiveLimits().MaxedWidth, 10);

    // The same for heights.
    fx.SetTrackMaxHeight(300);
    fx.SetTrackMinHeight(400); // above the maximum
    EXPECT_EQ(fx.TrackMinHeight(), 100);
    EXPECT_EQ(fx.EffectiveLimits().MinHeight, 100);
    // -100 is the smallest fraction; below it nothing is taken, also where no other limit stands in the way.
    fx.SetMaximizedHeight(-101);
    EXPECT_EQ(fx.MaximizedHeight(), 0);
    fx.SetMaximizedHeight(-100);
    EXPECT_EQ(fx.MaximizedHeight(), -100);
}

// On show a normal window is brought within each track limit.
TEST(SizeLimits, ShowBringsTheFormWithinEachLimitAndKeepsTheFormsHandler)
{
    struct Row {
        TFxSizeIndex Limit;
        int Value;
        TSize Before, After;
    } rows[] = {
        {siTrackMinWidth, 300, {200, 300}, {300, 300}},
        {siTrackMaxWidth, 300, {400, 300}, {300, 300}},
        {siTrackMinHeight, 250, {400, 200}, {400, 250}},
        {siTrackMaxHeight, 250, {400, 300}, {400, 250}},
        {siTrackMaxHeight, 350, {400, 300}, {400, 300}}, // within: left alone
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.Limit << " " << row.Value);
        TServicedForm form;
        form.SetWidth(row.Before.cx);
        form.SetHeight(row.Before.cy);
        form.Fx->SetSizeProperty(row.Limit, row.Value);
        form.Show();
        EXPECT_EQ(form.Width(), row.After.cx);
        EXPECT_EQ(form.Height(), row.After.cy);
        EXPECT_EQ(form.ownShows, 1);
        EXPECT_TRUE(form.Fx->Restored());
    }
}

TEST(SizeLimits, MinMaxInfoTakesTheLimitsOrTheEvents)
{
    TBelow below;
    TServicedForm form(&below);
    TMinMaxInfo info{{1, 1}, {1000, 700}, {0, 0}, {50, 40}, {2000, 1500}};
    TMinMaxInfo untouched = info;
    auto send = [&] {
        TMinMaxInfo copy = info;
        SendMessage(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&copy));
        return below.LastMinMax;
    };
    // Nothing set: the values pass unchanged.
    TMinMaxInfo seen = send();
    EXPECT_EQ(seen.ptMaxSize, untouched.ptMaxSize);
    EXPECT_EQ(seen.ptMinTrackSize, untouched.ptMinTrackSize);
    EXPECT_EQ(seen.ptMaxTrackSize, untouched.ptMaxTrackSize);

    form.Fx->SetTrackMinWidth(120);
    form.Fx->SetTrackMaxHeight(600);
    form.Fx->SetMaximizedPosY(5);
    seen = send();
    EXPECT_EQ(seen.ptMinTrackSize, (TPoint{120, 40}));
    EXPECT_EQ(seen.ptMaxTrackSize, (TPoint{2000, 600}));
    EXPECT_EQ(seen.ptMaxPosition, (TPoint{0, 5}));

    // The events replace the limits entirely.
    form.Fx->OnTrackInfo = [](TObject*, int& minW, int&, int&, int& maxH) { minW = 77, maxH = 88; };
    form.Fx->OnMaximizeInfo = [](TObject*, int& x, int&, int&, int& h) { x = 3, h = 444; };
    seen = send();
    EXPECT_EQ(seen.ptMinTrackSize, (TPoint{77, 40}));
    EXPECT_EQ(seen.ptMaxTrackSize, (TPoint{2000, 88}));
    EXPECT_EQ(seen.ptMaxPosition, (TPoint{3, 0}));
    EXPECT_EQ(seen.ptMaxSize, (TPoint{1000, 444}));
}

// ---------------------------------------------------------------------------
// Message events

TEST(MessageEvents, WithNoEventEveryMessageReachesTheFormUnchanged)
{
    TBelow below;
    TServicedForm form(&below);
    const std::vector<TMessage> sent = {{WM_MOVE, 0, 7},          {WM_SIZE, 2, MakeLParam(3, 4)},
                                        {WM_SYSCOLORCHANGE, 0, 0}, {WM_FONTCHANGE, 0, 0},
                                        {WM_TIMECHANGE, 0, 0},     {WM_POWER, 1, 0},
                                        {WM_COMPACTING, 9, 0},     {WM_SPOOLERSTATUS, 0, 3},
                                        {WM_USER + 5, 11, 12}};
    for (const TMessage& m : sent)
        SendMessage(form.Handle(), m.Msg, m.WParam, m.LParam);
    ASSERT_EQ(below.Seen.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(below.Seen[i].Msg, sent[i].Msg);
        EXPECT_EQ(below.Seen[i].WParam, sent[i].WParam);
        EXPECT_EQ(below.Seen[i].LParam, sent[i].LParam);
    }
}

TEST(MessageEvents, EachMessageRaisesItsEventWithDecodedValues)
{
    TServicedForm form;
    TFxForm& fx = *form.Fx;
    std::vector<std::string> log;
    auto note = [&log](std::string what) { return [&log, what](TObject*) { log.push_back(what); }; };
    fx.OnMove = note("move");
    fx.OnSysColorChange = note("colours");
    fx.OnFontChange = note("fonts");
    fx.OnTimeChange = note("time");
    fx.OnPaintIcon = note("icon");
    fx.OnAPMResume = note("resume");
    fx.OnAPMCriticalResume = note("critical resume");
    fx.OnSize = [&](TObject*, int x, int y, int flag) {
        log.push_back("size " + std::to_string(x) + "x" + std::to_string(y) + " " + std::to_string(flag));
    };
    fx.OnIniChange = [&](TObject*, const std::string& s) { log.push_back("ini " + s); };
    fx.OnDevModeChange = [&](TObject*, const std::string& s) { log.push_back("device " + s); };
    fx.OnSpoolerStatus = [&](TObject*, int jobs) { log.push_back("jobs " + std::to_string(jobs)); };
    fx.OnCompacting = [&](TObject*, int v) { log.push_back("compacting " + std::to_string(v)); };

    const HWND w = form.Handle();
    SendMessage(w, WM_MOVE, 0, 0);
    SendMessage(w, WM_SIZE, SIZE_MAXIMIZED, MakeLParam(640, 480));
    SendMessage(w, WM_SYSCOLORCHANGE);
    SendMessage(w, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    SendMessage(w, WM_DEVMODECHANGE, 0, reinterpret_cast<LPARAM>("printer"));
    SendMessage(w, WM_FONTCHANGE);
    SendMessage(w, WM_TIMECHANGE);
    SendMessage(w, WM_PAINTICON);
    SendMessage(w, WM_SPOOLERSTATUS, 0, MakeLParam(4, 99));
    SendMessage(w, WM_COMPACTING, 0x20, 0);
    SendMessage(w, WM_POWER, 2, 0);
    SendMessage(w, WM_POWER, 3, 0);
    const std::vector<std::string> expected = {
        "move",      "size 640x480 2", "colours", "ini intl",     "device printer", "fonts",
        "time",      "icon",           "jobs 4",  "compacting 32", "resume",         "critical resume"};
    EXPECT_EQ(log, expected);

    // A disabled component raises nothing.
    log.clear();
    fx.SetEnabled(false);
    SendMessage(w, WM_TIMECHANGE);
    EXPECT_TRUE(log.empty());
}

TEST(MessageEvents, MovingCanCancelAndARefusedSuspendAnswersMinusOne)
{
    TServicedForm form;
    TFxForm& fx = *form.Fx;
    std::vector<int> where;
    fx.OnMoving = [&](TObject*, int x, int y, bool& cancel) {
        where = {x, y};
        cancel = x > 500;
    };
    TWindowPos position{form.Handle(), nullptr, 10, 20, 0, 0, SWP_NOSIZE};
    SendMessage(form.Handle(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
    EXPECT_EQ(where, (std::vector<int>{10, 20}));
    EXPECT_EQ(position.flags, SWP_NOSIZE);
    position.x = 600;
    SendMessage(form.Handle(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
    EXPECT_EQ(position.flags, SWP_NOSIZE | SWP_NOMOVE);

    EXPECT_NE(SendMessage(form.Handle(), WM_POWER, 1, 0), -1);
    fx.OnAPMSuspendRequest = [](TObject*, bool& cancel) { cancel = true; };
    EXPECT_EQ(SendMessage(form.Handle(), WM_POWER, 1, 0), -1);
    fx.OnAPMSuspendRequest = [](TObject*, bool&) {};
    EXPECT_NE(SendMessage(form.Handle(), WM_POWER, 1, 0), -1);
}

// ---------------------------------------------------------------------------
// Dropped files

TEST(DroppedFiles, RealFilesDroppedThroughQtKeepTheirCaseAndLongNamesAreSkipped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString mixed = dir.filePath("Notes.TXT");
    const QString prefix = dir.path() + "/";
    const QString longName = prefix + QString(255 - prefix.size(), 'x'); // 255 characters in all
    for (const QString& name : {mixed, longName}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }

    TServicedForm form;
    form.Show();
    form.Fx->SetAcceptFiles(true);
    EXPECT_TRUE(form.Widget()->acceptDrops());
    int count = 0;
    TPoint at;
    std::vector<std::string> files;
    form.Fx->OnFMDragDrop = [&](TObject*, int n, int x, int y, const std::vector<std::string>& list) {
        count = n;
        at = {x, y};
        files = list;
    };

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(mixed), QUrl::fromLocalFile(longName)});
    const QPoint inWindow(60, 70);
    QDragEnterEvent enter(inWindow, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.Widget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(inWindow), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.Widget(), &drop);

    EXPECT_EQ(count, 2);
    EXPECT_EQ(files, (std::vector<std::string>{mixed.toStdString()}));
    TPoint expected{form.Left() + 60, form.Top() + 70};
    ScreenToClient(form.Handle(), expected);
    EXPECT_EQ(at, expected);

    form.Fx->SetAcceptFiles(false);
    EXPECT_FALSE(form.Widget()->acceptDrops());
}

TEST(DroppedFiles, DisablingTheComponentStopsTheDropsAndEnablingTakesThemBack)
{
    TServicedForm form;
    form.Fx->SetAcceptFiles(true);
    EXPECT_TRUE(form.Widget()->acceptDrops());
    form.Fx->SetEnabled(false);
    EXPECT_FALSE(form.Widget()->acceptDrops());
    EXPECT_TRUE(form.Fx->AcceptFiles()) << "the setting stays";
    form.Fx->SetEnabled(true);
    EXPECT_TRUE(form.Widget()->acceptDrops());
}

TEST(DroppedFiles, TheHandleGoesAfterTheMessageUnlessTheHandlerFinishedIt)
{
    HDROP seen = nullptr;
    bool finishInHandler = false;
    WNDPROC own;
    TServicedForm form; // goes first: its last messages still reach the logger
    own = GetWindowProc(form.Handle());
    SetWindowProc(form.Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
                      if (msg == WM_DROPFILES) {
                          seen = reinterpret_cast<HDROP>(wp);
                          char name[8];
                          EXPECT_EQ(DragQueryFile(seen, 0xFFFFFFFFu, nullptr, 0), 1u);
                          EXPECT_EQ(DragQueryFile(seen, 0, nullptr, 0), 7u); // UTF-8 bytes
                          EXPECT_EQ(DragQueryFile(seen, 0, name, 5), 4u);    // cut to the buffer
                          EXPECT_STREQ(name, "/a/B");
                          if (finishInHandler)
                              DragFinish(seen);
                      }
                      return CallWindowProc(own, w, msg, wp, lp);
                  }));
    DeliverDroppedFiles(form.Handle(), {"/a/B\xC3\xBC" "b"}, {1, 2});
    ASSERT_NE(seen, nullptr);
    TPoint point;
    EXPECT_FALSE(DragQueryPoint(seen, point)); // released by the framework
    finishInHandler = true;
    DeliverDroppedFiles(form.Handle(), {"/a/B\xC3\xBC" "b"}, {1, 2}); // and not twice
    EXPECT_FALSE(DragQueryPoint(seen, point));
}

// ---------------------------------------------------------------------------
// What the form gives the component

TEST(FormShow, OnShowRunsBeforeTheShowMessageSoTheTrailStartsFromTheShownSize)
{
    TBelow below;
    TServicedForm form(&below);
    form.SetWidth(200);
    form.Fx->SetTrackMinWidth(300);
    int widthAtShowMessage = 0;
    WNDPROC top = GetWindowProc(form.Handle());
    SetWindowProc(form.Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
                      if (msg == WM_SHOWWINDOW && wp != 0)
                          widthAtShowMessage = form.Width();
                      return CallWindowProc(top, w, msg, wp, lp);
                  }));
    form.Show();
    EXPECT_EQ(widthAtShowMessage, 300);
    SetWindowProc(form.Handle(), top);
}

// A form whose own OnShow fails: the component has done its part by then, the
// error is reported, and the trail still runs on the show message.
TEST(FormShow, TheFormsFailingOnShowComesAfterTheComponentsWork)
{
    std::vector<std::string> reported;
    TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    {
        TForm form(nullptr);
        form.BeginLoad();
        form.SetBounds(300, 200, 200, 300);
        int calls = 0;
        form.OnShow = [&calls](TObject*) {
            ++calls;
            throw EConvertError("'x' is not a valid integer value");
        };
        auto* fx = new TFxForm(&form);
        fx->Effect = deExplode;
        fx->SetTrackMinWidth(320);
        form.EndLoad();
        TTrailWatch watch({});
        form.Show();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(form.Width(), 320) << "the limits applied before the form's handler ran";
        EXPECT_EQ(watch.Drawn.size(), 80u) << "the trail ran on the show message";
        EXPECT_TRUE(form.Widget()->isVisible());
        form.BeforeDestruction();
    }
    Application->OnException = saved;
    EXPECT_EQ(reported, (std::vector<std::string>{"'x' is not a valid integer value"}));
}

// A form laid out for 96 ppi with foTryAdaptRes, shown on a 120-ppi screen:
// on the first show its controls, also those inside a panel, grow by 120/96.
TEST(FormShow, TryAdaptResGrowsTheControlsToTheScreensDensityOnce)
{
    TServicedForm form;
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 20, 100, 30);
    auto* inside = new TPanel(&form);
    inside->SetParent(panel);
    inside->SetBounds(3, 5, 50, 18);
    form.Fx->Options = form.Fx->Options + TFxFormOptions{foTryAdaptRes};
    SetDisplayPixelsPerInchOverride(120);
    form.Show();
    EXPECT_EQ(form.PixelsPerInch(), 120);
    EXPECT_EQ(panel->BoundsRect(), Bounds(13, 25, 125, 38)); // 12.5 and 37.5 round up
    EXPECT_EQ(inside->BoundsRect(), Bounds(4, 6, 63, 23));
    form.Hide();
    form.SetPixelsPerInch(96);
    form.Show();
    SetDisplayPixelsPerInchOverride(0);
    EXPECT_EQ(panel->BoundsRect(), Bounds(13, 25, 125, 38)) << "once only";
}

TEST(FormShow, TryAdaptResLeavesAnUnscaledFormAndOneWithoutTheOption)
{
    for (const bool scaled : {false, true}) {
        TServicedForm form;
        auto* panel = new TPanel(&form);
        panel->SetParent(&form);
        panel->SetBounds(10, 20, 100, 30);
        form.SetScaled(scaled);
        if (!scaled)
            form.Fx->Options = form.Fx->Options + TFxFormOptions{foTryAdaptRes};
        SetDisplayPixelsPerInchOverride(120);
        form.Show();
        SetDisplayPixelsPerInchOverride(0);
        EXPECT_EQ(panel->BoundsRect(), Bounds(10, 20, 100, 30)) << scaled;
    }
}

// foRestoreOnce: the first show applies the limits, later shows leave the
// window as it is; the form's own OnShow runs every time.
TEST(FormShow, RestoreOnceAppliesTheLimitsOnTheFirstShowOnlyAndTheFormsOnShowAlways)
{
    for (const bool once : {false, true}) {
        SCOPED_TRACE(once);
        TServicedForm form;
        if (once)
            form.Fx->Options = form.Fx->Options + TFxFormOptions{foRestoreOnce};
        form.Fx->SetTrackMinWidth(300);
        form.SetWidth(200);
        form.Show();
        EXPECT_EQ(form.Width(), 300);
        form.Hide();
        form.SetWidth(250);
        form.Show();
        EXPECT_EQ(form.Width(), once ? 250 : 300);
        EXPECT_EQ(form.ownShows, 2);
    }
}

// Shown maximised, the form takes the maximized position and size the
// component holds, when the window system's answer leaves them to it.
TEST(FormShow, AMaximisedShowTakesTheMaximizedValues)
{
    TServicedForm form;
    form.Fx->SetMaximizedPosX(11);
    form.Fx->SetMaximizedPosY(12);
    form.Fx->SetMaximizedWidth(513);
    form.Fx->SetMaximizedHeight(414);
    form.Fx->SetTrackMaxWidth(350); // the normal limits do not apply
    form.Fx->OnMaximizeInfo = [](TObject*, int&, int&, int&, int&) {};
    form.SetWindowState(wsMaximized);
    form.Show();
    EXPECT_EQ(form.BoundsRect(), Bounds(11, 12, 513, 414));
}

TEST(FormShow, ADisabledComponentLeavesTheShowToTheForm)
{
    TServicedForm form;
    form.Fx->SetTrackMinWidth(300);
    form.SetWidth(200);
    form.Fx->SetEnabled(false);
    form.Show();
    EXPECT_EQ(form.Width(), 200);
    EXPECT_EQ(form.ownShows, 1);
    EXPECT_FALSE(form.Fx->Restored());
}

int formHandlerCalls = 0;
void FormHandler(TObject*)
{
    ++formHandlerCalls;
}

// The form's own OnShow and OnDestroy: called on by the component, given
// back to the form when the component goes, and never taken by a component
// that was disabled when the form finished loading.
TEST(FormShow, TheFormsOwnHandlersAreCalledOnAndGivenBack)
{
    using THandler = void (*)(TObject*);
    formHandlerCalls = 0;
    {
        TForm form(nullptr);
        form.BeginLoad();
        form.OnShow = FormHandler;
        form.OnDestroy = FormHandler;
        new TFxForm(&form);
        form.EndLoad();
        EXPECT_EQ(form.OnShow.target<THandler>(), nullptr) << "taken over";
        form.Show();
        EXPECT_EQ(formHandlerCalls, 1);
        form.BeforeDestruction();
        EXPECT_EQ(formHandlerCalls, 2) << "the form's OnDestroy";
    }
    {
        TForm form(nullptr);
        form.BeginLoad();
        form.OnShow = FormHandler;
        form.OnDestroy = FormHandler;
        auto* fx = new TFxForm(&form);
        form.EndLoad();
        delete fx;
        ASSERT_NE(form.OnShow.target<THandler>(), nullptr);
        EXPECT_EQ(*form.OnShow.target<THandler>(), &FormHandler);
        ASSERT_NE(form.OnDestroy.target<THandler>(), nullptr);
        EXPECT_EQ(*form.OnDestroy.target<THandler>(), &FormHandler);
        form.BeforeDestruction();
    }
    {
        TForm form(nullptr);
        form.BeginLoad();
        form.OnShow = FormHandler;
        auto* fx = new TFxForm(&form);
        fx->SetEnabled(false);
        form.EndLoad();
        ASSERT_NE(form.OnShow.target<THandler>(), nullptr) << "left to the form";
        form.BeforeDestruction();
    }
}

TEST(FormShow, MaximisingAsksThroughTheProceduresAndKeepsTheirLimits)
{
    TServicedForm form;
    form.Fx->SetTrackMaxWidth(500);
    form.Fx->SetMaximizedPosY(7);
    form.Show();
    form.SetWindowState(wsMaximized);
    EXPECT_EQ(form.Width(), 500);
    EXPECT_EQ(form.Top(), 7);
    form.SetWindowState(wsNormal);
}

} // namespace
