// The form services component on real offscreen forms: the opening trails
// (geometry, the virtual screen left as it was, elapsed-time pacing, when they
// run), size limits and their refusals, every message event, dropped files.
#include "services/FxExplode.h"
#include "services/FxForm.h"

#include "framework/controls/Application.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
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

#include <chrono>
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

TEST(OpeningTrail, LeavesTheScreenAsItWasAndTakesElapsedTime)
{
    TServicedForm form;
    Screen->Display().SetCursorPos({20, 30});
    const QImage before = VirtualScreen();
    const auto start = Clock::now();
    ExplodeExtEffect(&form, -1, 0, 40, 20, 10, 3, true);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GE(seconds, 0.48); // 160 waits of 3 ms
    EXPECT_LT(seconds, 2.0);
    EXPECT_EQ(VirtualScreen(), before);

    ExplodeEffect(&form, 50, 60, 1, 40);
    EXPECT_EQ(VirtualScreen(), before);
}

// Seconds a call takes.
template <typename F>
double Timed(F&& f)
{
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(OpeningTrail, RunsOnEveryExplicitShowButNotOnMinimiseAndRestore)
{
    TServicedForm form(nullptr, deExplodeExt);
    EXPECT_GE(Timed([&] { form.Show(); }), 0.45);
    QTest::qWait(10);
    form.Hide();
    EXPECT_GE(Timed([&] { form.Show(); }), 0.45);
    EXPECT_LT(Timed([&] {
                  form.SetWindowState(wsMinimized);
                  QTest::qWait(10);
                  form.SetWindowState(wsNormal);
                  QTest::qWait(10);
              }),
              0.4);
    // Shown because an owner opened (LParam non-zero): no trail either.
    EXPECT_LT(Timed([&] { SendMessage(form.Handle(), WM_SHOWWINDOW, 1, 1); }), 0.2);
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
}

TEST(SizeLimits, ShowBringsANarrowFormUpToTheMinimumAndKeepsTheFormsHandler)
{
    TServicedForm form;
    form.SetWidth(200);
    form.Fx->SetTrackMinWidth(300);
    form.Fx->SetTrackMaxHeight(250);
    form.Show();
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Height(), 250);
    EXPECT_EQ(form.ownShows, 1);
    EXPECT_TRUE(form.Fx->Restored());
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

TEST(FormShow, OnShowRunsBeforeTheShowMessageAndAnErrorStillShowsTheWindow)
{
    TBelow below;
    TServicedForm form(&below);
    form.SetWidth(200);
    form.Fx->SetTrackMinWidth(300);
    int widthAtShowMessage = 0;
    form.Fx->OnMove = nullptr;
    WNDPROC top = GetWindowProc(form.Handle());
    SetWindowProc(form.Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
                      if (msg == WM_SHOWWINDOW && wp != 0)
                          widthAtShowMessage = form.Width();
                      return CallWindowProc(top, w, msg, wp, lp);
                  }));
    form.Show();
    EXPECT_EQ(widthAtShowMessage, 300); // the trail starts from the shown size
    SetWindowProc(form.Handle(), top);
    form.Hide();

    std::vector<std::string> reported;
    TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    form.OnShow = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    below.Seen.clear();
    form.Show();
    Application->OnException = saved;
    EXPECT_EQ(reported, (std::vector<std::string>{"'x' is not a valid integer value"}));
    EXPECT_TRUE(form.Widget()->isVisible());
    int frames = 0;
    for (const TMessage& m : below.Seen)
        frames += m.Msg == WM_NCPAINT ? 1 : 0;
    EXPECT_GE(frames, 1);
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
