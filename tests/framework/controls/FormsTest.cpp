// Forms: message sequences, loading and closing order, window states, the
// caption drag, the system menu, Alt+F4, scaling and centring.
#include "FrameworkTestSupport.h"

#include "framework/controls/Screen.h"
#include "framework/controls/StdCtrls.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A component that reports its Loaded step and its destruction.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, std::vector<std::string>& log, std::string name)
        : TComponent(owner), log_(log), name_(std::move(name))
    {
        loadingAtBirth = IsLoading();
    }
    ~TProbe() override { log_.push_back("free " + name_); }
    void Loaded() override
    {
        TComponent::Loaded();
        log_.push_back("loaded " + name_);
    }
    bool loadingAtBirth = false;

private:
    std::vector<std::string>& log_;
    std::string name_;
};

class TLoadedForm : public TForm {
public:
    TLoadedForm(TComponent* owner, std::vector<std::string>& log) : TForm(owner)
    {
        BeginLoad();
        first = new TProbe(this, log, "first");
        second = new TProbe(this, log, "second");
        OnCreate = [&log](TObject*) { log.push_back("create"); };
        OnDestroy = [&log](TObject*) { log.push_back("destroy handler"); };
        EndLoad();
    }
    TProbe* first;
    TProbe* second;
};

TEST(FormLifecycle, LoadedInCreationOrderThenCreateAndClosingNewestFirstBeforeDestroy)
{
    std::vector<std::string> log;
    auto form = std::make_unique<TLoadedForm>(nullptr, log);
    EXPECT_TRUE(form->first->loadingAtBirth);
    EXPECT_FALSE(form->first->IsLoading());
    EXPECT_EQ(log, (std::vector<std::string>{"loaded first", "loaded second", "create"}));

    log.clear();
    const HWND handle = form->Handle();
    WNDPROC saved;
    saved = SetWindowProc(handle, MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_DESTROY)
            log.push_back("WM_DESTROY");
        return CallWindowProc(saved, w, msg, wp, lp);
    }));
    form.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"destroy handler", "free second", "free first", "WM_DESTROY"}));
    EXPECT_FALSE(IsWindow(handle));
}

class FormMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetCaption("Messages");
        form->SetBounds(100, 80, 300, 200);
        recorder = std::make_unique<TMessageRecorder>(form->Handle());
    }
    void TearDown() override
    {
        if (QMenu* menu = form->SystemMenu())
            menu->close();
        recorder.reset();
        form->BeforeDestruction();
    }
    void ShowAndActivate()
    {
        ASSERT_TRUE(ShowActive(form.get()));
    }
    LPARAM ScreenPoint(int x, int y) { return MakeLParam(form->Left() + x, form->Top() + y); }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TMessageRecorder> recorder;
};

TEST_F(FormMessages, ShowSendsShowWindowThenFrameThenActivation)
{
    bool shownSeen = false;
    form->OnShow = [&](TObject*) { shownSeen = true; };
    ShowAndActivate();
    EXPECT_TRUE(shownSeen);
    EXPECT_EQ(recorder->Only({WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE}));
    const auto& all = recorder->messages;
    const auto show = std::find(all.begin(), all.end(), WM_SHOWWINDOW);
    EXPECT_NE(std::find(show, all.end(), WM_NCPAINT), all.end()) << "the frame is drawn after WM_SHOWWINDOW";
}

TEST_F(FormMessages, MoveAndResize)
{
    ShowAndActivate();
    recorder->Clear();
    form->SetBounds(140, 90, 300, 200);
    Pump();
    EXPECT_EQ(recorder->Only({WM_MOVE, WM_SIZE, WM_WINDOWPOSCHANGED}), (std::vector<UINT>{WM_MOVE, WM_WINDOWPOSCHANGED}));

    recorder->Clear();
    form->SetClientSize({250, 150});
    Pump();
    EXPECT_EQ(recorder->Only({WM_NCPAINT, WM_SIZE, WM_WINDOWPOSCHANGED}),
              (std::vector<UINT>{WM_NCPAINT, WM_SIZE, WM_WINDOWPOSCHANGED}));
    EXPECT_EQ(form->ClientWidth(), 250);
    EXPECT_EQ(form->Width(), 256);
}

TEST_F(FormMessages, MaximiseMinimiseRestoreAndTheirSizes)
{
    ShowAndActivate();
    const TRect normal = form->BoundsRect();
    std::vector<WPARAM> sizes;
    WNDPROC saved;
    saved = SetWindowProc(form->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_SIZE)
            sizes.push_back(wp);
        return CallWindowProc(saved, w, msg, wp, lp);
    }));

    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(recorder->Saw(WM_GETMINMAXINFO));
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_EQ(form->BoundsRect(), Rect(-3, -3, Screen->Width() + 3, Screen->Height() + 3));
    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(form->BoundsRect(), normal);
    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(form->Handle()));
    TWindowPlacement placement;
    ASSERT_TRUE(GetWindowPlacement(form->Handle(), placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(placement.rcNormalPosition, normal);
    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(form->Handle()));
    EXPECT_EQ(sizes, (std::vector<WPARAM>{SIZE_MAXIMIZED, SIZE_RESTORED, SIZE_MINIMIZED, SIZE_RESTORED}));
    SetWindowProc(form->Handle(), saved);
}

TEST_F(FormMessages, PlacementCarriesStateFlagsAndTheNormalRectangleWhileMinimisedOrMaximised)
{
    ShowAndActivate();
    const HWND window = form->Handle();
    const TRect normal = form->BoundsRect();
    SendMessage(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    TWindowPlacement placement;
    ASSERT_TRUE(GetWindowPlacement(window, placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(placement.ptMaxPosition, TPoint(-3, -3));
    EXPECT_EQ(placement.rcNormalPosition, normal);

    // Minimised from maximised: it comes back maximised, and says so.
    SendMessage(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(GetWindowPlacement(window, placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(placement.flags, WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(placement.rcNormalPosition, normal);

    // A new normal rectangle while minimised moves nothing until the restore,
    // and the flag cleared brings it back normal at that rectangle.
    placement.rcNormalPosition = Bounds(50, 60, 320, 220);
    placement.flags = 0;
    ASSERT_TRUE(SetWindowPlacement(window, placement));
    EXPECT_TRUE(IsIconic(window));
    SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(form->BoundsRect(), Bounds(50, 60, 320, 220));

    // A stored placement: minimised, to come back maximised.
    placement.showCmd = SW_SHOWMINIMIZED;
    placement.flags = WPF_RESTORETOMAXIMIZED;
    ASSERT_TRUE(SetWindowPlacement(window, placement));
    EXPECT_TRUE(IsIconic(window));
    SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(form->BoundsRect(), Rect(-3, -3, Screen->Width() + 3, Screen->Height() + 3));
    SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(form->BoundsRect(), Bounds(50, 60, 320, 220));

    // SW_HIDE hides a shown window and leaves a hidden one hidden.
    placement.showCmd = SW_HIDE;
    placement.flags = 0;
    ASSERT_TRUE(SetWindowPlacement(window, placement));
    EXPECT_FALSE(form->Visible());
    ASSERT_TRUE(SetWindowPlacement(window, placement));
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormMessages, CaptionButtonsAndDoubleClickWithTheMouse)
{
    ShowAndActivate();
    QWidget* frame = form->Widget();
    const TFrameGeometry g = form->FrameLayout();
    const QPoint maxButton(g.MaxButton.Left + 5, g.MaxButton.Top + 5);
    QTest::mouseClick(frame, Qt::LeftButton, {}, maxButton);
    EXPECT_EQ(form->WindowState(), wsMaximized);
    QTest::mouseDClick(frame, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_TRUE(recorder->Saw(WM_NCLBUTTONDBLCLK));
}

TEST_F(FormMessages, CaptionDragMovesTheWindowWithoutAWindowManager)
{
    ShowAndActivate();
    const TPoint start{form->Left(), form->Top()};
    QWidget* frame = form->Widget();
    // The press runs the move loop: the pointer moves and the button comes up
    // while it runs.
    const QPoint target = frame->mapToGlobal(QPoint(150, 40));
    QTimer::singleShot(0, frame, [frame, target] {
        QTest::mouseMove(frame, frame->mapFromGlobal(target));
        QTest::mouseRelease(frame, Qt::LeftButton, {}, frame->mapFromGlobal(target));
    });
    QTest::mousePress(frame, Qt::LeftButton, {}, QPoint(100, 10));
    Pump();
    EXPECT_EQ(form->Left(), start.X + 50);
    EXPECT_EQ(form->Top(), start.Y + 30);
    EXPECT_TRUE(recorder->Saw(WM_NCHITTEST));
    EXPECT_TRUE(recorder->Saw(WM_NCLBUTTONDOWN));
    EXPECT_TRUE(recorder->Saw(WM_NCLBUTTONUP));
}

TEST_F(FormMessages, AltF4AndTheCloseBoxClose)
{
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    ShowAndActivate();
    QTest::keyClick(form->Widget(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(recorder->Saw(WM_CLOSE));

    ShowAndActivate();
    const TFrameGeometry g = form->FrameLayout();
    QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(g.CloseButton.Left + 5, g.CloseButton.Top + 5));
    EXPECT_EQ(closes, 2);

    // OnClose may refuse.
    ShowAndActivate();
    form->OnClose = [&](TObject*, TCloseAction& action) { action = caNone; };
    SendMessage(form->Handle(), WM_CLOSE);
    EXPECT_TRUE(form->Visible());
}

TEST_F(FormMessages, SystemMenuFromAltSpaceCarriesOutItsCommands)
{
    ShowAndActivate();
    QTest::keyClick(form->Widget(), Qt::Key_Space, Qt::AltModifier);
    QMenu* menu = form->SystemMenu();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    QAction* minimize = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts << action->text();
        if (action->text() == "Mi&nimize")
            minimize = action;
    }
    EXPECT_EQ(texts, (QStringList{"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "&Close\tAlt+F4"}));
    EXPECT_FALSE(menu->actions().at(2)->isEnabled()) << "a fixed border cannot be sized";
    ASSERT_NE(minimize, nullptr);
    minimize->trigger();
    EXPECT_TRUE(WaitUntil([&] { return form->WindowState() == wsMinimized; }));
    menu->close();
}

// ---------------------------------------------------------------------------
// Scaling and centring

TEST(FormScaling, Arithmetic)
{
    // The text height a font height gives: raster-like, the cell is the height.
    const auto cell = [](int height) { return height < 0 ? -height : height; };
    struct Row {
        int fontHeight, designPpi, screenPpi, designText;
        int scaledFont, m, d;
    } rows[] = {
        {-16, 120, 120, 16, -16, 1, 1},  // the design screen: nothing changes
        {-16, 120, 96, 16, -13, 13, 16}, // MulDiv(-16, 96, 120) = -12.8 -> -13
        {-16, 120, 144, 16, -19, 19, 16},
        {-11, 96, 96, 13, -11, 11, 13},  // same density, another text height
        {-16, 120, 96, 0, -13, 1, 1},    // no design text height: no layout scaling
    };
    for (const Row& row : rows) {
        const TFormScaling s = ComputeFormScaling(row.fontHeight, row.designPpi, row.screenPpi, row.designText, cell);
        EXPECT_EQ(s.FontHeight, row.scaledFont);
        EXPECT_EQ(s.ScalesLayout() ? s.M : 1, row.m);
        EXPECT_EQ(s.ScalesLayout() ? s.D : 1, row.d);
    }
}

class TScaledForm : public TForm {
public:
    TScaledForm(TComponent* owner, int designTextHeight) : TForm(owner)
    {
        BeginLoad();
        SetPixelsPerInch(96);
        SetTextHeight(designTextHeight);
        Font()->SetHeight(-11);
        SetClientSize({160, 100});
        label = new TLabel(this);
        label->SetParent(this);
        label->SetAutoSize(false);
        label->SetBounds(10, 20, 30, 15);
        label->Font()->SetHeight(-13);
        EndLoad();
    }
    TLabel* label;
};

TEST(FormScaling, LayoutFollowsTheTextHeight)
{
    SetDisplayPixelsPerInchOverride(96);
    TScaledForm probe(nullptr, 0);
    const int actual = probe.GetTextHeight();
    EXPECT_EQ(probe.label->BoundsRect(), Bounds(10, 20, 30, 15)) << "no design text height, no scaling";

    // Designed with a text height twice the real one: everything halves.
    TScaledForm halved(nullptr, actual * 2);
    EXPECT_EQ(halved.label->BoundsRect(), Rect(MulDiv(10, 1, 2), MulDiv(20, 1, 2), MulDiv(40, 1, 2), MulDiv(35, 1, 2)));
    EXPECT_EQ(halved.ClientWidth(), 80);
    EXPECT_EQ(halved.label->Font()->Height(), MulDiv(-13, 1, 2));
    EXPECT_EQ(halved.Font()->Height(), -11) << "the form's own font only follows the density";
    SetDisplayPixelsPerInchOverride(0);
}

TEST(FormScaling, DensityScalesTheFormFont)
{
    SetDisplayPixelsPerInchOverride(120);
    TScaledForm form(nullptr, 0);
    EXPECT_EQ(form.Font()->Height(), MulDiv(-11, 120, 96));
    EXPECT_EQ(form.label->Font()->Height(), -13) << "only the layout step scales a control's own font";
    SetDisplayPixelsPerInchOverride(0);
}

TEST(FormCentring, TruncatesTowardZero)
{
    struct Row {
        int screen, window, expected;
    } rows[] = {
        {1024, 399, 312}, {768, 417, 175}, {800, 401, 199},
        {600, 603, -1},   // 3 taller than the screen: -1, not -2
        {600, 605, -2}, {600, 600, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CentredPosition(row.screen, row.window), row.expected) << row.screen << " " << row.window;
}

} // namespace
