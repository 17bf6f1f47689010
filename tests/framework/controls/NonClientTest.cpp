// The frame's geometry as pure functions, hit-testing, and the frame's pixels
// on a form's window surface.
#include "FrameworkTestSupport.h"

#include "framework/graphics/DeviceContext.h"
#include "framework/graphics/Fonts.h"
#include "framework/controls/NonClient.h"

#include <gtest/gtest.h>

namespace {

// These tests check the classic 96-ppi layout pixel by pixel, whatever the
// screen's density (the other densities are tested on their own).
class TClassicDensity {
public:
    TClassicDensity() { SetDisplayPixelsPerInchOverride(96); }
    ~TClassicDensity() { SetDisplayPixelsPerInchOverride(0); }
    TClassicDensity(const TClassicDensity&) = delete;
    TClassicDensity& operator=(const TClassicDensity&) = delete;
};

const TFrameStyle SingleWithBoxes{bsSingle, {biSystemMenu, biMinimize, biMaximize}, false};
// The converter's window: a 393 x 392 client area in a single fixed border.
constexpr TSize ConverterWindow{399, 417};

TEST(FrameGeometry, SingleBorderWithCaptionButtons)
{
    const TClassicDensity classic;
    EXPECT_EQ(WindowSizeForClient({393, 392}, SingleWithBoxes), ConverterWindow);
    const TFrameGeometry g = FrameGeometry(ConverterWindow, SingleWithBoxes);
    struct Row {
        const char* part;
        TRect actual;
        TRect expected;
    } rows[] = {
        {"caption bar (18 high, a line under it)", g.Caption, Rect(3, 3, 396, 21)},
        {"client: 3 in, under the caption", g.Client, Rect(3, 22, 396, 414)},
        {"close: 16 x 14, 2 from the right", g.CloseButton, Rect(378, 5, 394, 19)},
        {"maximise: 2 left of close", g.MaxButton, Rect(360, 5, 376, 19)},
        {"minimise: touching maximise", g.MinButton, Rect(344, 5, 360, 19)},
        {"small icon", g.Icon, Rect(5, 4, 21, 20)},
        {"text: after the icon, a frame and a line, before the buttons", g.Text, Rect(24, 3, 342, 21)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.actual, row.expected) << row.part;
}

TEST(FrameGeometry, StylesWithoutButtonsOrFrame)
{
    const TClassicDensity classic;
    const TFrameGeometry dialog = FrameGeometry({200, 100}, {bsDialog, {biSystemMenu, biMinimize}, false});
    EXPECT_TRUE(dialog.MinButton.IsEmpty()) << "dialogs have no minimise box";
    EXPECT_TRUE(dialog.Icon.IsEmpty());
    EXPECT_FALSE(dialog.CloseButton.IsEmpty());

    const TFrameGeometry bare = FrameGeometry({200, 100}, {bsSingle, {}, false});
    EXPECT_TRUE(bare.CloseButton.IsEmpty());
    EXPECT_EQ(bare.Text, Rect(5, 3, 195, 21));

    const TFrameGeometry none = FrameGeometry({200, 100}, {bsNone, {biSystemMenu}, false});
    EXPECT_EQ(none.Client, Rect(0, 0, 200, 100));
    EXPECT_TRUE(none.Caption.IsEmpty());

    EXPECT_EQ(ClientInsets({bsSizeable, {}, false}), Rect(4, 23, 4, 4));
}

TEST(FrameGeometry, HitTesting)
{
    const TClassicDensity classic;
    const TFrameGeometry g = FrameGeometry(ConverterWindow, SingleWithBoxes);
    struct Row {
        TPoint point;
        int expected;
    } rows[] = {
        {{0, 0}, HTBORDER},      {{1, 200}, HTBORDER},       {{10, 10}, HTSYSMENU},  {{100, 10}, HTCAPTION},
        {{100, 21}, HTCAPTION},  {{385, 10}, HTCLOSE},       {{365, 10}, HTMAXBUTTON}, {{350, 10}, HTMINBUTTON},
        {{377, 10}, HTCAPTION},  {{200, 200}, HTCLIENT},     {{398, 416}, HTBORDER}, {{-1, 5}, HTNOWHERE},
        {{399, 5}, HTNOWHERE},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FrameHitTest(g, SingleWithBoxes, ConverterWindow, row.point), row.expected)
            << row.point.X << "," << row.point.Y;

    const TFrameStyle sizeable{bsSizeable, {biSystemMenu}, false};
    const TFrameGeometry s = FrameGeometry({300, 200}, sizeable);
    EXPECT_EQ(FrameHitTest(s, sizeable, {300, 200}, {0, 0}), HTTOPLEFT);
    EXPECT_EQ(FrameHitTest(s, sizeable, {300, 200}, {299, 199}), HTBOTTOMRIGHT);
    EXPECT_EQ(FrameHitTest(s, sizeable, {300, 200}, {0, 100}), HTLEFT);
    EXPECT_EQ(FrameHitTest(s, sizeable, {300, 200}, {150, 199}), HTBOTTOM);
}

TEST(FrameGeometry, SystemMenuEntriesFollowTheState)
{
    const TFrameStyle maximized{bsSingle, {biSystemMenu, biMinimize, biMaximize}, true};
    struct Row {
        TSystemMenuItem item;
        bool restored, maximizedState, minimizedState;
    } rows[] = {
        {smRestore, false, true, true}, {smMove, true, false, true},  {smSize, false, false, false},
        {smMinimize, true, true, false}, {smMaximize, true, false, true}, {smClose, true, true, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SystemMenuItemEnabled(row.item, SingleWithBoxes, false), row.restored) << row.item;
        EXPECT_EQ(SystemMenuItemEnabled(row.item, maximized, false), row.maximizedState) << row.item;
        EXPECT_EQ(SystemMenuItemEnabled(row.item, SingleWithBoxes, true), row.minimizedState) << row.item;
    }
}

// ---------------------------------------------------------------------------
// Frame pixels

class FramePixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDisplayPixelsPerInchOverride(96);
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetCaption("Frame");
        form->SetClientSize({200, 100});
        form->Show();
        Pump();
    }
    void TearDown() override
    {
        form->BeforeDestruction();
        SetDisplayPixelsPerInchOverride(0);
    }

    TColor WindowPixel(int x, int y)
    {
        const HDC dc = GetWindowDC(form->Handle());
        const TColor color = GetPixel(dc, x, y);
        ReleaseDC(form->Handle(), dc);
        return color;
    }

    std::unique_ptr<TForm> form;
};

TEST_F(FramePixels, EdgesAndCaptionColours)
{
    SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0);
    const int right = form->Width() - 1;
    const int bottom = form->Height() - 1;
    struct Row {
        const char* stroke;
        TPoint at;
        TColor expected;
    } rows[] = {
        {"outer edge, left: light", {0, 40}, GetSysColor(COLOR_3DLIGHT)},
        {"inner edge, left: highlight", {1, 40}, GetSysColor(COLOR_BTNHIGHLIGHT)},
        {"third line: face", {2, 40}, GetSysColor(COLOR_BTNFACE)},
        {"outer edge, right: dark shadow", {right, 40}, GetSysColor(COLOR_3DDKSHADOW)},
        {"inner edge, right: shadow", {right - 1, 40}, GetSysColor(COLOR_BTNSHADOW)},
        {"outer edge, bottom: dark shadow", {50, bottom}, GetSysColor(COLOR_3DDKSHADOW)},
        {"line under the caption: face", {50, 21}, GetSysColor(COLOR_BTNFACE)},
        {"caption bar: active caption", {120, 4}, GetSysColor(COLOR_ACTIVECAPTION)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WindowPixel(row.at.X, row.at.Y), row.expected) << row.stroke;

    EXPECT_EQ(SendMessage(form->Handle(), WM_NCACTIVATE, 0, 0), 1);
    EXPECT_EQ(WindowPixel(120, 4), GetSysColor(COLOR_INACTIVECAPTION));
}

TEST_F(FramePixels, AHookPaintsOverTheFrameAfterTheDefault)
{
    WNDPROC saved;
    saved = SetWindowProc(form->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        const LRESULT result = CallWindowProc(saved, w, msg, wp, lp);
        if (msg == WM_NCPAINT || msg == WM_NCACTIVATE) {
            const HDC dc = GetWindowDC(w);
            const HBRUSH red = CreateSolidBrush(clRed);
            FillRect(dc, Rect(60, 5, 70, 15), red);
            DeleteObject(red);
            ReleaseDC(w, dc);
        }
        return result;
    }));
    SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0);
    EXPECT_EQ(WindowPixel(65, 10), clRed);
    EXPECT_EQ(WindowPixel(120, 4), GetSysColor(COLOR_ACTIVECAPTION));
    form->SetCaption("New caption"); // a caption change redraws the frame
    EXPECT_EQ(WindowPixel(65, 10), clRed);
    SetWindowProc(form->Handle(), saved);
}

TEST_F(FramePixels, PressedCaptionButtonIsDrawnIn)
{
    const TFrameGeometry g = form->FrameLayout();
    // The close button's top-left corner: highlight when up, dark shadow when pressed.
    EXPECT_EQ(WindowPixel(g.CloseButton.Left, g.CloseButton.Top), GetSysColor(COLOR_BTNHIGHLIGHT));
    const TPoint inside{form->Left() + g.CloseButton.Left + 4, form->Top() + g.CloseButton.Top + 4};
    SendMessage(form->Handle(), WM_NCLBUTTONDOWN, HTCLOSE, MakeLParam(inside.X, inside.Y));
    EXPECT_EQ(WindowPixel(g.CloseButton.Left, g.CloseButton.Top), GetSysColor(COLOR_3DDKSHADOW));
    // Leaving the button draws it up again; releasing outside does nothing.
    SendMessage(form->Handle(), WM_NCMOUSEMOVE, HTCAPTION, MakeLParam(form->Left() + 100, form->Top() + 10));
    EXPECT_EQ(WindowPixel(g.CloseButton.Left, g.CloseButton.Top), GetSysColor(COLOR_BTNHIGHLIGHT));
    SendMessage(form->Handle(), WM_NCLBUTTONUP, HTCAPTION, MakeLParam(form->Left() + 100, form->Top() + 10));
    EXPECT_TRUE(form->Visible());
}

} // namespace
