// The form shadow on real (offscreen) windows: where the strips stand, when
// they show and hide, how they paint, and the owner rules.
#include "effects/FxFormShadow.h"

#include "tests/framework/controls/FrameworkTestSupport.h"

#include "framework/graphics/DcGuards.h"
#include "framework/graphics/RasterOps.h"
#include "framework/windows/Display.h"
#include "services/FxApplication.h"
#include "services/OneInstance.h"
#include "services/ServicesModule.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

TRect WindowRectOf(HWND window)
{
    TRect rect;
    GetWindowRect(window, rect);
    return rect;
}

// One pixel of a window's retained surface.
TColor PixelOf(HWND window, int x, int y)
{
    TOwnedDC dc(GetWindowDC(window));
    return GetPixel(dc.get(), x, y);
}

// A plain form with one shadow, made the way a form loads its components.
class TShadowedForm : public TForm {
public:
    TShadowedForm() : TForm(nullptr)
    {
        BeginLoad();
        SetBounds(100, 80, 300, 200);
        Shadow = new TFxFormShadow(this);
        EndLoad();
    }
    ~TShadowedForm() override { BeforeDestruction(); }
    TFxFormShadow* Shadow;
};

class FormShadow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (ApplicationServices == nullptr)
            services_ = std::make_unique<TServicesModule>();
        form_ = std::make_unique<TShadowedForm>();
    }
    void TearDown() override
    {
        form_.reset();
        services_.reset();
    }
    TFxFormShadow& Shadow() { return *form_->Shadow; }
    HWND Right() { return Shadow().RightShadow(); }
    HWND Bottom() { return Shadow().BottomShadow(); }
    bool StripsVisible() { return IsWindowVisible(Right()) && IsWindowVisible(Bottom()); }
    bool StripsHidden() { return !IsWindowVisible(Right()) && !IsWindowVisible(Bottom()); }
    // The strips stand beside the form as it is now.
    void ExpectBesideForm(int depth)
    {
        const TShadowStrips expected = ShadowStripRects(WindowRectOf(form_->Handle()), depth);
        EXPECT_EQ(WindowRectOf(Right()), expected.Right);
        EXPECT_EQ(WindowRectOf(Bottom()), expected.Bottom);
    }

    std::unique_ptr<TServicesModule> services_;
    std::unique_ptr<TShadowedForm> form_;
};

} // namespace

TEST(ShadowGeometry, AnLBesideTheRightAndBottomEdges)
{
    const TShadowStrips strips = ShadowStripRects(Rect(10, 20, 110, 70), 6);
    EXPECT_EQ(strips.Right, Rect(110, 26, 116, 70));
    EXPECT_EQ(strips.Bottom, Rect(16, 70, 116, 76));
    // The outer corner is (Right + d, Bottom + d).
    EXPECT_EQ(strips.Right.BottomRight(), TPoint(116, 70));
    EXPECT_EQ(strips.Bottom.BottomRight(), TPoint(116, 76));

    const TShadowStrips none = ShadowStripRects(Rect(10, 20, 110, 70), 0);
    EXPECT_EQ(none.Right, Rect(110, 20, 110, 70));
    EXPECT_EQ(none.Bottom, Rect(10, 70, 110, 70));
}

TEST_F(FormShadow, StripsAreMadeHiddenWithTheirClassAndLook)
{
    ASSERT_NE(Right(), nullptr);
    ASSERT_NE(Bottom(), nullptr);
    EXPECT_TRUE(StripsHidden());
    ExpectBesideForm(6);
    for (const HWND strip : {Right(), Bottom()}) {
        EXPECT_EQ(GetWindowLong(strip, GWL_STYLE), static_cast<std::intptr_t>(WS_POPUP));
        EXPECT_EQ(GetWindowLong(strip, ShadowStyleOffset), hssSolid);
        EXPECT_EQ(static_cast<TColor>(GetWindowLong(strip, ShadowColorOffset)), clBtnShadow);
        // Twenty bytes of extra data: the last 4-byte value still fits, the next does not.
        EXPECT_EQ(SetWindowLong(strip, 16, 7), 0);
        EXPECT_EQ(GetWindowLong(strip, 16), 7);
        EXPECT_EQ(SetWindowLong(strip, 20, 7), 0);
        EXPECT_EQ(GetWindowLong(strip, 20), 0);
    }
    EXPECT_TRUE(Shadow().Hooked());
    EXPECT_TRUE(Shadow().ShowInActive());
}

TEST_F(FormShadow, ShownBesideTheActiveFormInItsColourAndNeverFocused)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    EXPECT_TRUE(StripsVisible());
    ExpectBesideForm(6);
    EXPECT_EQ(PixelOf(Right(), 2, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelOf(Bottom(), 50, 3), ColorToRGB(clBtnShadow));
    // Showing them moved neither the activation nor the focus.
    EXPECT_TRUE(form_->Active());
    EXPECT_EQ(GetActiveWindow(), form_->Handle());
    EXPECT_NE(GetFocus(), Right());
    EXPECT_NE(GetFocus(), Bottom());

    // A move takes them along.
    form_->SetBounds(140, 90, 300, 200);
    Pump();
    ExpectBesideForm(6);
    EXPECT_TRUE(StripsVisible());
}

TEST_F(FormShadow, HiddenWhileMinimisedOrMaximisedAndOnClose)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    const TRect normal = WindowRectOf(form_->Handle());
    ASSERT_TRUE(StripsVisible());

    form_->SetWindowState(wsMinimized);
    Pump();
    EXPECT_TRUE(StripsHidden());
    form_->SetWindowState(wsNormal);
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    EXPECT_TRUE(StripsVisible());
    EXPECT_EQ(WindowRectOf(form_->Handle()), normal);
    ExpectBesideForm(6);

    form_->SetWindowState(wsMaximized);
    Pump();
    EXPECT_TRUE(StripsHidden());
    form_->SetWindowState(wsNormal);
    Pump();

    ASSERT_TRUE(ShowActive(form_.get()));
    SendMessage(form_->Handle(), WM_CLOSE);
    Pump();
    EXPECT_TRUE(StripsHidden());
}

TEST_F(FormShadow, DeactivationKeepsThemOnlyWithShowInActive)
{
    TForm other(nullptr);
    other.SetBounds(600, 400, 120, 80);
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    ASSERT_TRUE(ShowActive(&other));
    Pump();
    EXPECT_FALSE(form_->Active());
    EXPECT_TRUE(StripsVisible()) << "kept while inactive by default";

    Shadow().SetShowInActive(false);
    ASSERT_TRUE(ShowActive(form_.get()));
    ASSERT_TRUE(ShowActive(&other));
    Pump();
    EXPECT_TRUE(StripsHidden());
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    EXPECT_TRUE(StripsVisible()) << "back with the activation";
    EXPECT_TRUE(form_->Active()) << "showing the strips took no activation";
}

TEST_F(FormShadow, DepthAndColourChangesPlaceAndRepaintAtOnce)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    Shadow().Shadow()->SetDepth(12);
    // No event loop in between: the strips moved and grew with the change.
    ExpectBesideForm(12);
    EXPECT_TRUE(StripsVisible());

    Shadow().Shadow()->SetColor(clRed);
    EXPECT_EQ(static_cast<TColor>(GetWindowLong(Right(), ShadowColorOffset)), clRed);
    Pump();
    EXPECT_EQ(PixelOf(Right(), 5, 20), ColorToRGB(clRed));
    EXPECT_EQ(PixelOf(Bottom(), 100, 11), ColorToRGB(clRed));

    Shadow().Shadow()->SetDepth(0);
    ExpectBesideForm(0);
    EXPECT_EQ(WindowRectOf(Right()).Width(), 0);
    EXPECT_EQ(WindowRectOf(Bottom()).Height(), 0);
}

TEST_F(FormShadow, TracingDarkensExactlyThePatternsPixelsOfWhatWasUnder)
{
    Shadow().Shadow()->SetStyle(hssTracing);
    Shadow().Shadow()->SetColor(RGB(0x40, 0x80, 0xC0));
    // Something known on the screen where the right strip will appear.
    const TRect strip = ShadowStripRects(WindowRectOf(form_->Handle()), 6).Right;
    {
        TOwnedDC screen(GetDC(nullptr));
        for (int y = strip.Top; y < strip.Bottom; ++y)
            for (int x = strip.Left; x < strip.Right; ++x)
                SetPixel(screen.get(), x, y, (x + y) % 3 == 0 ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x33, 0xCC, 0x99));
    }
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    ASSERT_TRUE(StripsVisible());
    // Erasing again gives the same pixels (AND twice is AND once) and leaks nothing.
    const int gdiBefore = TGdiObject::LiveCount();
    const int dcsBefore = LiveDeviceContexts();
    RedrawWindow(Right(), nullptr, RDW_INVALIDATE | RDW_ERASE);
    RedrawWindow(Bottom(), nullptr, RDW_INVALIDATE | RDW_ERASE);
    Pump();
    for (int y = 0; y < strip.Height(); y += 7)
        for (int x = 0; x < strip.Width(); ++x) {
            const int sx = strip.Left + x;
            const int sy = strip.Top + y;
            const TColor under = (sx + sy) % 3 == 0 ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x33, 0xCC, 0x99);
            // The pattern is anchored at the strip's own origin.
            const bool patterned = (x % 2) != (y % 2);
            const TColor expected = patterned ? (under & RGB(0x40, 0x80, 0xC0)) : under;
            ASSERT_EQ(PixelOf(Right(), x, y), expected) << x << "," << y;
        }
    // Every brush and device context the erases used went back.
    EXPECT_EQ(TGdiObject::LiveCount(), gdiBefore);
    EXPECT_EQ(LiveDeviceContexts(), dcsBefore);
}

TEST_F(FormShadow, TracingStripsThatGrowDarkenTheScreenUnderTheirNewArea)
{
    constexpr TColor Color = RGB(0x40, 0x80, 0xC0);
    Shadow().Shadow()->SetStyle(hssTracing);
    Shadow().Shadow()->SetColor(Color);
    // Something known on the screen wherever a strip of depth 6 or 14 stands.
    const auto under = [](int x, int y) { return (x + 2 * y) % 5 == 0 ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x33, 0xCC, 0x99); };
    const TRect form = WindowRectOf(form_->Handle());
    {
        TOwnedDC screen(GetDC(nullptr));
        for (int y = form.Top; y < form.Bottom + 20; ++y)
            for (int x = form.Left; x < form.Right + 20; ++x)
                if (x >= form.Right || y >= form.Bottom)
                    SetPixel(screen.get(), x, y, under(x, y));
    }
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    ASSERT_TRUE(StripsVisible());

    // Deeper while shown: both strips moved and grew; every pixel of each is
    // the screen under it, darkened through the pattern anchored at the
    // strip's origin (no white or plain pattern where it grew).
    Shadow().Shadow()->SetDepth(14);
    Pump();
    const TShadowStrips strips = ShadowStripRects(form, 14);
    for (const auto& [window, area] : {std::pair{Right(), strips.Right}, std::pair{Bottom(), strips.Bottom}})
        for (int y = 0; y < area.Height(); ++y)
            for (int x = 0; x < area.Width(); ++x) {
                const TColor screen = under(area.Left + x, area.Top + y);
                const TColor expected = (x % 2) != (y % 2) ? (screen & Color) : screen;
                ASSERT_EQ(PixelOf(window, x, y), expected) << x << "," << y << " of " << area.Left << "," << area.Top;
            }

    // Shallower again: what is left of each strip is still the screen, darkened once.
    Shadow().Shadow()->SetDepth(3);
    Pump();
    const TRect right = ShadowStripRects(form, 3).Right;
    for (int y = 0; y < right.Height(); y += 5)
        for (int x = 0; x < right.Width(); ++x) {
            const TColor screen = under(right.Left + x, right.Top + y);
            ASSERT_EQ(PixelOf(Right(), x, y), (x % 2) != (y % 2) ? (screen & Color) : screen) << x << "," << y;
        }
}

TEST_F(FormShadow, OnlyOneShadowOnAFormAndOnlyOnAForm)
{
    try {
        new TFxFormShadow(form_.get());
        FAIL() << "a second shadow was accepted";
    } catch (const FxEOneInstError& error) {
        EXPECT_EQ(std::string(error.what()), "TFxFormShadow:\rInvalid owner (<>TForm) or second instance on a form");
    }
    EXPECT_EQ(form_->ComponentCount(), 1) << "the refused one is gone";
    TComponent notAForm(nullptr);
    EXPECT_THROW(TFxFormShadow{&notAForm}, FxEOneInstError);
    EXPECT_THROW(TFxFormShadow{nullptr}, FxEOneInstError);
}

TEST_F(FormShadow, DisablingDestroysTheStripsAndTheClassAndFreeingLeavesNone)
{
    Shadow().SetEnabled(false);
    EXPECT_EQ(Right(), nullptr);
    EXPECT_TRUE(Shadow().Hooked()) << "still in the chain";
    // The class is gone: a window of it cannot be made.
    EXPECT_EQ(CreateWindowEx(0, ShadowClassName, "", WS_POPUP, 0, 0, 5, 5, nullptr), nullptr);
    Shadow().SetEnabled(true);
    ASSERT_NE(Right(), nullptr);
    const HWND right = Right();
    form_.reset();
    EXPECT_FALSE(IsWindow(right));
}

TEST_F(FormShadow, ACaptionDragHidesThemWhileTheButtonIsHeldAndPaintsThemAtTheNewPlace)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    QWidget* frame = form_->Widget();
    const QPoint grip(100, 10);
    const QPoint target = frame->mapToGlobal(grip + QPoint(40, 30));
    std::vector<UINT> sequence;
    WNDPROC saved;
    saved = SetWindowProc(form_->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCLBUTTONDOWN || msg == WM_ENTERSIZEMOVE || msg == WM_MOVE || msg == WM_EXITSIZEMOVE ||
            msg == WM_NCLBUTTONUP)
            sequence.push_back(msg);
        return CallWindowProc(saved, w, msg, wp, lp);
    }));
    bool hiddenWhileHeld = false;
    TFxShadowStyle styleWhileHeld = hssSolid;
    QTimer::singleShot(0, frame, [&] {
        QTest::mouseMove(frame, frame->mapFromGlobal(target));
        Pump();
        hiddenWhileHeld = StripsHidden();
        styleWhileHeld = Shadow().Shadow()->Style();
        QTest::mouseRelease(frame, Qt::LeftButton, {}, frame->mapFromGlobal(target));
    });
    QTest::mousePress(frame, Qt::LeftButton, {}, grip);
    Pump();
    SetWindowProc(form_->Handle(), saved);

    EXPECT_EQ(sequence, (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_ENTERSIZEMOVE, WM_MOVE, WM_EXITSIZEMOVE, WM_NCLBUTTONUP}));
    EXPECT_TRUE(hiddenWhileHeld);
    EXPECT_EQ(styleWhileHeld, hssNone);
    EXPECT_EQ(form_->Left(), 140);
    EXPECT_EQ(Shadow().Shadow()->Style(), hssSolid);
    EXPECT_TRUE(StripsVisible());
    ExpectBesideForm(6);
    // Painted after the look came back, not with the drag's empty look.
    EXPECT_EQ(PixelOf(Right(), 2, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelOf(Bottom(), 50, 3), ColorToRGB(clBtnShadow));
}

// ---------------------------------------------------------------------------
// Each form message on its own, from a known state of form and strips

namespace {

enum TStripState {
    ssShownActive,     // the form active, the strips beside it
    ssShownInactive,   // another form active, the strips kept (ShowInActive)
    ssHiddenActive,    // the form active, the strips hidden
    ssHiddenInactive,  // another form active, the strips hidden
    ssHiddenMaximised, // the form maximised and active, the strips hidden
    ssShownMaximised,  // the form maximised and active, the strips shown all the same
};

struct TMessageRow {
    const char* What;
    TStripState State;
    UINT Msg;
    WPARAM WParam;
    bool VisibleAfter;
};

const TMessageRow MessageRows[] = {
    {"a close hides them, whatever the form answers", ssShownActive, WM_CLOSE, 0, false},
    {"a position change of a form that cannot show them hides them", ssShownInactive, WM_WINDOWPOSCHANGED, 0, false},
    {"a position change of the active form keeps them", ssShownActive, WM_WINDOWPOSCHANGED, 0, true},
    {"shown and showable: shown", ssHiddenActive, WM_SHOWWINDOW, 1, true},
    {"shown but inactive: not shown", ssHiddenInactive, WM_SHOWWINDOW, 1, false},
    {"hidden: hidden", ssShownActive, WM_SHOWWINDOW, 0, false},
    {"restored: shown beside a visible form, active or not", ssHiddenInactive, WM_SIZE, SIZE_RESTORED, true},
    {"minimised", ssShownActive, WM_SIZE, SIZE_MINIMIZED, false},
    {"another window restored", ssShownActive, WM_SIZE, SIZE_MAXSHOW, false},
    {"another window maximised", ssShownActive, WM_SIZE, SIZE_MAXHIDE, false},
    {"a move of a form that cannot show them hides them", ssShownInactive, WM_MOVE, 0, false},
    {"a move of the active form keeps them", ssShownActive, WM_MOVE, 0, true},
    {"an activation while minimised hides them", ssShownActive, WM_ACTIVATE, MakeWParam(WA_ACTIVE, 1), false},
    {"an activation the form cannot show them for hides them", ssShownMaximised, WM_ACTIVATE, WA_ACTIVE, false},
    {"an activation of the active form shows them", ssHiddenActive, WM_ACTIVATE, WA_ACTIVE, true},
    {"an activation of a maximised form leaves them hidden", ssHiddenMaximised, WM_ACTIVATE, WA_ACTIVE, false},
    {"a deactivation keeps them by default", ssShownActive, WM_ACTIVATE, WA_INACTIVE, true},
};

} // namespace

TEST_F(FormShadow, EachMessageShowsOrHidesTheStripsAsTheStateAllows)
{
    TForm other(nullptr);
    other.SetBounds(600, 400, 120, 80);
    form_->OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    for (const TMessageRow& row : MessageRows) {
        SCOPED_TRACE(row.What);
        // From another form's activation to the form's: the strips come with it.
        form_->SetWindowState(wsNormal);
        ASSERT_TRUE(ShowActive(&other));
        Pump();
        ASSERT_TRUE(ShowActive(form_.get()));
        Pump();
        if (row.State == ssShownInactive || row.State == ssHiddenInactive) {
            ASSERT_TRUE(ShowActive(&other));
            Pump();
        }
        if (row.State == ssHiddenMaximised || row.State == ssShownMaximised) {
            form_->SetWindowState(wsMaximized);
            Pump();
            ASSERT_TRUE(IsZoomed(form_->Handle()));
        }
        ASSERT_EQ(form_->Active(), row.State != ssShownInactive && row.State != ssHiddenInactive);
        if (row.State == ssShownActive || row.State == ssShownInactive) {
            ASSERT_TRUE(StripsVisible());
        } else if (row.State == ssShownMaximised) {
            ShowWindow(Right(), SW_SHOWNOACTIVATE);
            ShowWindow(Bottom(), SW_SHOWNOACTIVATE);
        } else {
            ShowWindow(Right(), SW_HIDE);
            ShowWindow(Bottom(), SW_HIDE);
        }
        TWindowPos position{form_->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE};
        SendMessage(form_->Handle(), row.Msg, row.WParam,
                    row.Msg == WM_WINDOWPOSCHANGED ? reinterpret_cast<LPARAM>(&position) : 0);
        EXPECT_EQ(IsWindowVisible(Right()), row.VisibleAfter);
        EXPECT_EQ(IsWindowVisible(Bottom()), row.VisibleAfter);
    }
    form_->SetWindowState(wsNormal);
}

TEST_F(FormShadow, AResizeAloneTakesTheStripsAlong)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    form_->SetBounds(100, 80, 360, 150); // same corner: no move
    Pump();
    ExpectBesideForm(6);
    EXPECT_TRUE(StripsVisible());
}

TEST_F(FormShadow, SolidErasesReleaseTheirBrushes)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    const int gdiBefore = TGdiObject::LiveCount();
    for (int i = 0; i < 3; ++i) {
        RedrawWindow(Right(), nullptr, RDW_INVALIDATE | RDW_ERASE);
        RedrawWindow(Bottom(), nullptr, RDW_INVALIDATE | RDW_ERASE);
        Pump();
    }
    EXPECT_EQ(PixelOf(Right(), 2, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(TGdiObject::LiveCount(), gdiBefore);
}

// Under a window manager the press's loop may end where the form sees no
// pointer message; a second press before one must not take the drag's empty
// look for the shadow's own.
TEST_F(FormShadow, ASecondPressBeforeAnyPointerMessageKeepsTheLook)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    SendMessage(form_->Handle(), WM_NCLBUTTONDOWN, HTNOWHERE, 0);
    SendMessage(form_->Handle(), WM_NCLBUTTONDOWN, HTNOWHERE, 0);
    EXPECT_EQ(Shadow().Shadow()->Style(), hssNone);
    SendMessage(form_->Handle(), WM_NCMOUSEMOVE, HTCAPTION, 0);
    EXPECT_EQ(Shadow().Shadow()->Style(), hssSolid);
    EXPECT_FALSE(Shadow().Dragging());
}

// The drag's empty look is the component's only: strips painted while the
// form is moved and grown during a press show the shadow's stored look, and
// stand beside the form after it.
TEST_F(FormShadow, StripsPaintedDuringADragShowTheStoredLook)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    SendMessage(form_->Handle(), WM_NCLBUTTONDOWN, HTNOWHERE, 0);
    form_->SetBounds(150, 100, 340, 240);
    Pump();
    // Painted now, as a window system paints what it shows.
    UpdateWindow(Right());
    UpdateWindow(Bottom());
    EXPECT_EQ(Shadow().Shadow()->Style(), hssNone);
    EXPECT_EQ(PixelOf(Right(), 3, 230), ColorToRGB(clBtnShadow));
    SendMessage(form_->Handle(), WM_NCMOUSEMOVE, HTCAPTION, 0);
    Pump();
    ASSERT_TRUE(StripsVisible());
    ExpectBesideForm(6);
    const TRect right = WindowRectOf(Right());
    const TRect bottom = WindowRectOf(Bottom());
    for (int y = 0; y < right.Height(); y += 5)
        ASSERT_EQ(PixelOf(Right(), 3, y), ColorToRGB(clBtnShadow)) << y;
    for (int x = 0; x < bottom.Width(); x += 5)
        ASSERT_EQ(PixelOf(Bottom(), x, 3), ColorToRGB(clBtnShadow)) << x;
}

// The strips go with the form's window: the component holds no handle of a
// window that no longer exists.
TEST_F(FormShadow, TheStripsGoWithTheFormsWindow)
{
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    const HWND right = Right();
    DestroyWindow(form_->Handle());
    EXPECT_EQ(Right(), nullptr);
    EXPECT_EQ(Bottom(), nullptr);
    EXPECT_FALSE(IsWindow(right));
}

TEST_F(FormShadow, ADisabledShadowLeavesItsLookAloneOnAPress)
{
    Shadow().SetEnabled(false);
    SendMessage(form_->Handle(), WM_NCLBUTTONDOWN, HTNOWHERE, 0);
    EXPECT_EQ(Shadow().Shadow()->Style(), hssSolid);
    EXPECT_FALSE(Shadow().Dragging());
    Shadow().SetEnabled(true);
    ASSERT_TRUE(ShowActive(form_.get()));
    Pump();
    EXPECT_EQ(GetWindowLong(Right(), ShadowStyleOffset), hssSolid);
}
