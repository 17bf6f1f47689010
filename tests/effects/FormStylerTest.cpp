// The caption styler: its geometry for every kind of frame, and the caption
// it paints on a real form's window surface (bands, icon, text colour,
// activation, owner drawing, the blanked form caption).
#include "effects/FxCaptionRects.h"
#include "effects/FxFormStyler.h"
#include "effects/FxGradient.h"

#include "services/OneInstance.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/graphics/Fonts.h"
#include "framework/windows/WindowDC.h"
#include "tests/framework/controls/FrameworkTestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

constexpr std::uint32_t ConverterStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr int Width = 400;

TFxCaptionLayout Layout(std::uint32_t style, std::uint32_t exStyle, int flags, bool newShell = true,
                        bool iconic = false, const TFxCaptionMetrics& m = {}, int width = Width)
{
    return CaptionRects({{width, 300}, style, exStyle, iconic, newShell}, m, flags);
}

TFxCaptionMetrics Doubled()
{
    TFxCaptionMetrics m;
    for (int* v : {&m.BorderWidth, &m.BorderHeight, &m.FrameWidth, &m.FrameHeight, &m.DlgFrameWidth,
                   &m.DlgFrameHeight, &m.CaptionHeight, &m.SmCaptionHeight, &m.ButtonWidth, &m.SmButtonWidth,
                   &m.SmIconWidth})
        *v *= 2;
    return m;
}

} // namespace

// ---------------------------------------------------------------------------
// Geometry

TEST(CaptionGeometry, ConverterGradientFromThreeBordersInToBeforeTheButtons)
{
    for (const auto& [m, scale] : {std::pair{TFxCaptionMetrics{}, 1}, std::pair{Doubled(), 2}}) {
        SCOPED_TRACE(scale);
        const int w = Width * scale;
        const auto l = Layout(ConverterStyle, 0, cfAlways | cfSingleBorder, true, false, m, w);
        EXPECT_EQ(l.Flags, cfAlways | cfSingleBorder | cfIcon);
        // Three border widths in; the caption's 18 rows (19 less its line).
        EXPECT_EQ(l.Caption, Rect(3 * scale, 3 * scale, w - 60 * scale, 21 * scale));
        // After icon, frame width and one border; before close (C + 3B) and two more buttons.
        EXPECT_EQ(l.Text, Rect(24 * scale, 3 * scale, w - 60 * scale, 21 * scale));
    }
}

TEST(CaptionGeometry, ConverterGradientNeverUnderTheFramesButtons)
{
    TForm form(nullptr);
    form.SetBorderStyle(bsSingle);
    form.SetBorderIcons({biSystemMenu, biMinimize, biMaximize});
    // On every density the gradient fills the frame's caption bar exactly, up
    // to just before the buttons, and the text clears the icon.
    for (int ppi : {96, 120, 144, 192}) {
        SCOPED_TRACE(ppi);
        SetDisplayPixelsPerInchOverride(ppi);
        const TFrameGeometry frame = FrameGeometry({Width, 300}, form.FrameStyle());
        const auto l = Layout(ConverterStyle, 0, cfAlways | cfSingleBorder, true, false, CurrentCaptionMetrics());
        EXPECT_LE(l.Caption.Right, frame.MinButton.Left);
        EXPECT_GE(l.Caption.Right, frame.MinButton.Left - 8) << "just before the buttons, not far before them";
        EXPECT_GE(l.Text.Left, frame.Icon.Right);
        EXPECT_EQ(l.Text.Left, frame.Text.Left) << "the icon strip it keeps holds none of the frame's title";
        EXPECT_EQ(l.Caption.Left, frame.Caption.Left);
        EXPECT_EQ(l.Caption.Top, frame.Caption.Top);
        EXPECT_EQ(l.Caption.Bottom, frame.Caption.Bottom) << "never over the line under the bar";
    }
    SetDisplayPixelsPerInchOverride(0);
}

TEST(CaptionGeometry, FixedFramesOfDenseScreensKeepTheGradientOffTheFrame)
{
    // At 192 ppi the fixed frame is 6 pixels while the border line stays 1:
    // the caption starts inside the frame, not three lines in.
    TFxCaptionMetrics m;
    m.DlgFrameWidth = m.DlgFrameHeight = 6;
    m.CaptionHeight = 37;
    m.ButtonWidth = 36;
    m.SmIconWidth = 32;
    m.FrameWidth = m.FrameHeight = 8;
    const int w = 2 * Width;
    const auto l = Layout(ConverterStyle, 0, cfAlways | cfSingleBorder, true, false, m, w);
    EXPECT_EQ(l.Caption, Rect(6, 6, w - 6 - (36 + 3) - 2 * 36, 42));
    EXPECT_EQ(l.Text.Left, 6 + 32 + 8 + 1);
    // Without a system menu, and as a dialog-modal frame: the same inset.
    EXPECT_EQ(Layout(WS_CAPTION, 0, cfAlways | cfSingleBorder, true, false, m, w).Caption, Rect(6, 6, w - 6, 42));
    EXPECT_EQ(Layout(WS_CAPTION, WS_EX_DLGMODALFRAME, cfAlways, true, false, m, w).Caption, Rect(6, 6, w - 6, 42));
}

TEST(CaptionGeometry, FramesOfTheNewShell)
{
    // Sizeable: inset by the frame, bottom by frame less one border line.
    auto l = Layout(ConverterStyle | WS_THICKFRAME, 0, cfAlways);
    EXPECT_EQ(l.Caption, Rect(4, 4, 339, 22));
    EXPECT_EQ(l.Text, Rect(25, 4, 339, 22));
    EXPECT_EQ(l.Flags, cfAlways | cfIcon);

    // Dialog-modal frame, context help, no icon: text moves 2B off the edge.
    l = Layout(WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, cfAlways);
    EXPECT_EQ(l.Caption, Rect(3, 3, 400 - 3 - 21 - 19, 21));
    EXPECT_EQ(l.Text.Left, 5);
    EXPECT_EQ(l.Flags, cfAlways);

    // Help counts only without minimise and maximise boxes.
    l = Layout(ConverterStyle, WS_EX_CONTEXTHELP, cfAlways | cfSingleBorder);
    EXPECT_EQ(l.Caption.Right, 340);

    // No system menu: no buttons, text 2B in.
    l = Layout(WS_CAPTION, 0, cfAlways | cfSingleBorder);
    EXPECT_EQ(l.Caption, Rect(3, 3, 397, 21));
    EXPECT_EQ(l.Text.Left, 5);

    // Owner-drawn with fsAdjustRect: painting starts where the text would.
    l = Layout(ConverterStyle, 0, cfAlways | cfSingleBorder | cfAdjustRect);
    EXPECT_EQ(l.Caption, Rect(24, 3, 340, 21));
    EXPECT_EQ(l.Text.Left, 26);
}

TEST(CaptionGeometry, MinimisedKeepsTheCloseSpaceAndMarksTheIcon)
{
    const auto l = Layout(ConverterStyle, 0, cfAlways | cfSingleBorder, true, true);
    EXPECT_EQ(l.Flags, cfAlways | cfSingleBorder | cfIcon | cfIconicIcon);
    EXPECT_EQ(l.Text, Rect(23, 3, 400 - 3 - 36, 20));
    EXPECT_EQ(l.Caption.Right, l.Text.Right);
    // WS_MINIMIZE says the same as the iconic state.
    EXPECT_EQ(Layout(ConverterStyle | WS_MINIMIZE, 0, cfAlways | cfSingleBorder).Text, l.Text);
}

TEST(CaptionGeometry, ToolWindows)
{
    // New shell: small caption and buttons; text from the unmoved bar, 4B/3B/2B in.
    auto l = Layout(WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, cfAlways);
    EXPECT_EQ(l.Flags, cfAlways | cfSmallCaption);
    EXPECT_EQ(l.Caption, Rect(3, 3, 400 - 15 - 2, 17));
    EXPECT_EQ(l.Text, Rect(4, 3, 383, 17));
    // Old shell: full-height caption, the system-menu box at the left.
    l = Layout(WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, cfAlways, false);
    EXPECT_EQ(l.Flags, cfAlways | cfIcon);
    EXPECT_EQ(l.Caption, Rect(21, 3, 395, 20));
    EXPECT_EQ(l.Text, Rect(23, 3, 395, 20));
}

TEST(CaptionGeometry, FramesOfTheOldShell)
{
    // Sizeable: one border line less at the bottom, 2B for the close box,
    // one button per box, and painting starts after the system-menu box.
    auto l = Layout(ConverterStyle | WS_THICKFRAME, 0, cfAlways, false);
    EXPECT_EQ(l.Caption, Rect(22, 4, 396 - 2 - 36, 21));
    EXPECT_EQ(l.Text, Rect(24, 4, 358, 21));
    l = Layout(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME, 0, cfAlways, false);
    EXPECT_EQ(l.Caption.Right, 396 - 2 - 18);
    // Single border: its own inset.
    l = Layout(ConverterStyle, 0, cfAlways | cfSingleBorder, false);
    EXPECT_EQ(l.Caption.Top, 3);
    EXPECT_EQ(l.Caption.Bottom, 20);
    // No system menu: B plus the boxes off the right.
    l = Layout(WS_CAPTION | WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME, cfAlways, false);
    EXPECT_EQ(l.Text, Rect(5, 3, 397 - 1 - 18, 20));
}

// ---------------------------------------------------------------------------
// Painting on a form

namespace {

class StyledForm : public ::testing::Test {
protected:
    void SetUp() override { Make({fsAdjustRect, fsUseDefaultFont, fsUseFormCaption}); }
    void TearDown() override
    {
        ResetSysColors();
        if (form)
            form->BeforeDestruction();
    }

    void Make(TFxFormStyleOptions options)
    {
        if (form)
            form->BeforeDestruction();
        form = std::make_unique<TForm>(nullptr);
        form->BeginLoad();
        form->SetBorderStyle(bsSingle);
        form->SetCaption("Hijri-Gregorian Converter");
        form->SetClientSize({300, 100});
        TBitmap icon(16, 16);
        icon.Canvas()->Brush()->SetColor(clRed);
        icon.Canvas()->FillRect(Rect(0, 0, 16, 16));
        icon.Canvas()->Brush()->SetColor(clBlue);
        icon.Canvas()->FillRect(Rect(4, 4, 12, 12));
        form->SetIcon(&icon);
        styler = new TFxFormStyler(form.get());
        styler->SetOptions(options);
        form->EndLoad();
        form->Show();
        Pump();
        Activation(true);
    }

    void Activation(bool active) { SendMessage(form->Handle(), WM_NCACTIVATE, active ? 1 : 0, 0); }
    TFxCaptionLayout LayoutNow() const { return styler->CaptionRects(form->Handle()); }

    TColor Pixel(int x, int y)
    {
        TWindowDC dc = TWindowDC::Window(form->Handle());
        return GetPixel(dc.get(), x, y);
    }
    int Count(const TRect& r, TColor color)
    {
        int n = 0;
        TWindowDC dc = TWindowDC::Window(form->Handle());
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += GetPixel(dc.get(), x, y) == ColorToRGB(color) ? 1 : 0;
        return n;
    }
    // The band index of every pixel of a row of the caption; -1 for a colour no band has.
    std::vector<int> BandsAlongRow(int y, TColor end, int count)
    {
        TFxColorList bands;
        BuildGradientColors(clBlack, ColorToRGB(end), count, &bands);
        std::vector<int> out;
        const TFxCaptionLayout l = LayoutNow();
        for (int x = l.Caption.Left; x < l.Caption.Right; ++x) {
            const auto it = std::find(bands.begin(), bands.end(), Pixel(x, y));
            out.push_back(it == bands.end() ? -1 : static_cast<int>(it - bands.begin()));
        }
        return out;
    }

    std::unique_ptr<TForm> form;
    TFxFormStyler* styler = nullptr;
};

} // namespace

TEST_F(StyledForm, ActiveCaptionShowsThirtyTwoBandsTheIconAndWhiteText)
{
    const TFxCaptionLayout l = LayoutNow();
    ASSERT_TRUE(styler->CaptionActive());
    // The top row holds neither icon nor text: bands from black, left to right.
    const std::vector<int> bands = BandsAlongRow(l.Caption.Top, clActiveCaption, 32);
    EXPECT_EQ(bands.front(), 0);
    EXPECT_EQ(bands.back(), 31);
    EXPECT_TRUE(std::is_sorted(bands.begin(), bands.end()));
    EXPECT_EQ(std::set<int>(bands.begin(), bands.end()).size(), 32u);
    // Past the gradient the frame's own caption colour is left alone.
    EXPECT_EQ(Pixel(l.Caption.Right, l.Caption.Top), ColorToRGB(clActiveCaption));

    // The icon is on top of the gradient, its pixels as the frame drew them:
    // the standard caption (pcNone) shows where they are.
    const TRect icon = form->FrameLayout().Icon;
    ASSERT_FALSE(icon.IsEmpty());
    styler->SetPaintMode(pcNone);
    std::vector<std::pair<TPoint, TColor>> iconPixels;
    for (int y = icon.Top; y < icon.Bottom; ++y)
        for (int x = icon.Left; x < icon.Right; ++x)
            if (const TColor p = Pixel(x, y); p != ColorToRGB(clActiveCaption))
                iconPixels.push_back({{x, y}, p});
    styler->SetPaintMode(pcControl);
    EXPECT_GT(iconPixels.size(), 20u);
    for (const auto& [at, color] : iconPixels)
        ASSERT_EQ(Pixel(at.X, at.Y), color) << at.X << "," << at.Y;
    EXPECT_LT(Count(icon, clActiveCaption), icon.Width() * icon.Height() / 4);

    // White lettering in the text rectangle.
    EXPECT_GT(Count(l.Text, clWhite), 30);
    EXPECT_EQ(styler->IconStrip().Width(), l.Text.Left - l.Caption.Left);
}

TEST_F(StyledForm, BlackCaptionTextSchemeStillDrawsWhite)
{
    const int index = COLOR_CAPTIONTEXT;
    const COLORREF black = 0;
    ASSERT_TRUE(SetSysColors(1, &index, &black));
    styler->PaintCaption(true);
    const TRect text = LayoutNow().Text;
    EXPECT_GT(Count(text, clWhite), 30);
    EXPECT_EQ(Count(text, clBlack), 0);
}

TEST_F(StyledForm, DeactivationShowsTheSystemCaptionOrTheInactiveGradient)
{
    const TFxCaptionLayout l = LayoutNow();
    Activation(false);
    EXPECT_FALSE(styler->CaptionActive());
    // Without fsInactiveGradient the frame's own inactive caption stays.
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clInactiveCaption));
    EXPECT_EQ(Count(Rect(l.Caption.Left, l.Caption.Top, l.Caption.Right, l.Caption.Top + 1), clInactiveCaption),
              l.Caption.Width());

    styler->SetOptions(styler->Options() + TFxFormStyleOptions{fsInactiveGradient});
    const std::vector<int> bands = BandsAlongRow(l.Caption.Top, clInactiveCaption, 32);
    EXPECT_EQ(bands.front(), 0);
    EXPECT_EQ(bands.back(), 31);
    EXPECT_TRUE(std::is_sorted(bands.begin(), bands.end()));
    // Activation swaps the gradient's right colour back.
    Activation(true);
    EXPECT_EQ(BandsAlongRow(l.Caption.Top, clActiveCaption, 32).back(), 31);
}

TEST_F(StyledForm, PaintModeNoneRestoresTheActiveLookAndTheNextActivationStillCounts)
{
    const TFxCaptionLayout l = LayoutNow();
    Activation(false);
    styler->SetPaintMode(pcNone);
    // The standard caption, drawn active although the form is inactive.
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clActiveCaption));
    EXPECT_FALSE(styler->CaptionActive());
    // Nothing paints while pcNone.
    Activation(true);
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clActiveCaption));
    styler->SetPaintMode(pcControl);
    Activation(false);
    Activation(true);
    EXPECT_TRUE(styler->CaptionActive());
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clBlack));
}

TEST_F(StyledForm, WithoutFormCaptionTheFormShowsABlankAndGetsItsCaptionBack)
{
    Make({fsAdjustRect, fsUseDefaultFont});
    EXPECT_EQ(form->Caption(), " ");
    EXPECT_EQ(styler->CaptionText(), "Hijri-Gregorian Converter");
    char buffer[64] = "unchanged";
    EXPECT_EQ(SendMessage(form->Handle(), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 1);
    EXPECT_STREQ(buffer, " ");
    EXPECT_EQ(SendMessage(form->Handle(), WM_GETTEXTLENGTH), 1);
    // A one-byte buffer gets only the terminating zero.
    char one[1] = {'x'};
    EXPECT_EQ(SendMessage(form->Handle(), WM_GETTEXT, 1, reinterpret_cast<LPARAM>(one)), 0);
    EXPECT_EQ(one[0], '\0');
    // The kept text is painted; the frame itself shows the blank.
    EXPECT_GT(Count(LayoutNow().Text, clWhite), 30);
    styler->SetPaintMode(pcNone);
    EXPECT_EQ(Count(LayoutNow().Text, clCaptionText), 0);
    styler->SetPaintMode(pcControl);

    styler->SetEnabled(false);
    EXPECT_EQ(form->Caption(), "Hijri-Gregorian Converter");
    // A disabled styler lets the text request through to the form.
    buffer[0] = 0;
    SendMessage(form->Handle(), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, "Hijri-Gregorian Converter");
}

TEST_F(StyledForm, RaisingOwnerDrawLeavesNothingBehind)
{
    int paints = 0;
    TRect clipSeen;
    styler->OnPaint = [&](TObject* sender, TCanvas* canvas, const TRect& dest) {
        EXPECT_EQ(sender, styler);
        EXPECT_EQ(dest, LayoutNow().Caption);
        ++paints;
        clipSeen = canvas->ClipRect();
        EXPECT_TRUE(styler->Painting());
        throw std::runtime_error("paint failed");
    };
    const int contexts = LiveDeviceContexts();
    const int regions = TGdiObject::LiveCount(TGdiObjectKind::Region);
    const int objects = TGdiObject::LiveCount();
    styler->SetPaintMode(pcNone);
    EXPECT_THROW(styler->SetPaintMode(pcOwnerDraw), std::runtime_error);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(clipSeen, LayoutNow().Caption);
    EXPECT_FALSE(styler->Painting());
    EXPECT_EQ(LiveDeviceContexts(), contexts);
    // The clip region went too, and every other graphics object.
    EXPECT_EQ(TGdiObject::LiveCount(TGdiObjectKind::Region), regions);
    EXPECT_EQ(TGdiObject::LiveCount(), objects);

    // The next paint is not clipped by what the failed one left.
    styler->OnPaint = nullptr;
    styler->SetPaintMode(pcControl);
    const TFxCaptionLayout l = LayoutNow();
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clBlack));
    EXPECT_EQ(BandsAlongRow(l.Caption.Top, clActiveCaption, 32).back(), 31);
}

TEST_F(StyledForm, OwnerDrawnTextClippedAndNoReentrantPaint)
{
    int paints = 0;
    int texts = 0;
    styler->SetOptions(styler->Options() + TFxFormStyleOptions{fsDrawCaptionEvent});
    styler->OnPaint = [&](TObject*, TCanvas*, const TRect&) {
        ++paints;
        // Anything that repaints the frame from here finds the paint running.
        SendMessage(form->Handle(), WM_NCPAINT, 1, 0);
        styler->PaintCaption(true);
    };
    styler->OnCaptionPaint = [&](TObject*, TCanvas* canvas, const TRect& dest) {
        ++texts;
        EXPECT_EQ(canvas->ClipRect(), dest);
    };
    styler->SetPaintMode(pcOwnerDraw);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(texts, 1);
    EXPECT_FALSE(styler->Painting());
}

TEST_F(StyledForm, SettingsRepaintOnlyWhereTheyShow)
{
    int paints = 0;
    styler->SetPaintMode(pcOwnerDraw);
    styler->OnPaint = [&](TObject*, TCanvas*, const TRect&) { ++paints; };
    styler->SetColors(8);          // bands are not drawn by owner drawing
    EXPECT_EQ(paints, 0);
    styler->SetAlignment(taCenter);
    EXPECT_EQ(paints, 1);
    styler->Font()->SetHeight(-20); // the system font is in use
    EXPECT_EQ(paints, 1);
    styler->SetOptions({fsUseFormCaption});
    EXPECT_EQ(paints, 2);
    styler->Font3D()->SetStyle(tdRaised);
    EXPECT_EQ(paints, 3);
    styler->SetColors(1);
    EXPECT_EQ(styler->Colors(), 2);
    styler->SetColors(255);
    EXPECT_EQ(styler->Colors(), 236);
}

TEST(FormStylerInstances, SecondStylerOnADesignedFormIsRefused)
{
    TForm form(nullptr);
    form.SetDesigning(true);
    new TFxFormStyler(&form);
    try {
        new TFxFormStyler(&form);
        FAIL() << "a second styler was accepted";
    } catch (const FxEOneInstError& error) {
        EXPECT_EQ(std::string(error.Message()), OneInstErrorMessage("TFxFormStyler"));
    }
    // At run time nothing is checked.
    TForm running(nullptr);
    new TFxFormStyler(&running);
    EXPECT_NO_THROW(new TFxFormStyler(&running));
}

TEST_F(StyledForm, RefreshDoesNotSwallowTheNextRealActivation)
{
    ASSERT_TRUE(ShowActive(form.get()));
    TForm other(nullptr);
    other.SetBounds(500, 400, 120, 80);
    ASSERT_TRUE(ShowActive(&other));
    Pump();
    ASSERT_FALSE(styler->CaptionActive());
    // The standard caption drawn active while the form is not.
    styler->SetPaintMode(pcNone);
    styler->SetPaintMode(pcControl);
    EXPECT_FALSE(form->Active());
    ASSERT_TRUE(ShowActive(form.get()));
    Pump();
    EXPECT_TRUE(styler->CaptionActive()) << "the activation reached the styler";
    EXPECT_EQ(Screen->ActiveForm(), form.get());
    const TFxCaptionLayout l = LayoutNow();
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clBlack));
    other.BeforeDestruction();
}

// ---------------------------------------------------------------------------
// What each setting and message changes on the caption

namespace {

// The white pixels of a rectangle of the form's window, as points.
std::set<std::pair<int, int>> WhiteIn(TForm& form, const TRect& r)
{
    std::set<std::pair<int, int>> out;
    TWindowDC dc = TWindowDC::Window(form.Handle());
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (GetPixel(dc.get(), x, y) == ColorToRGB(clWhite))
                out.insert({x, y});
    return out;
}

// The leftmost and rightmost columns of the white pixels.
std::pair<int, int> Columns(const std::set<std::pair<int, int>>& pixels)
{
    int left = 1 << 20;
    int right = -1;
    for (const auto& [x, y] : pixels) {
        left = std::min(left, x);
        right = std::max(right, x);
    }
    return {left, right};
}

} // namespace

TEST_F(StyledForm, ANonClientPaintIsFollowedByTheStylersPaint)
{
    const TFxCaptionLayout l = LayoutNow();
    // The frame painter alone would leave its own caption colour here.
    SendMessage(form->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clBlack));
    EXPECT_EQ(BandsAlongRow(l.Caption.Top, clActiveCaption, 32).back(), 31);
}

// The answers the styler gives the ones who send these messages: a
// non-client activation may go on (1), a non-client paint is done (0).
TEST_F(StyledForm, AnswersTheActivationWithOneAndThePaintWithZero)
{
    EXPECT_EQ(SendMessage(form->Handle(), WM_NCACTIVATE, 0, 0), 1);
    EXPECT_EQ(SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0), 1);
    EXPECT_EQ(SendMessage(form->Handle(), WM_NCPAINT, 1, 0), 0);
}

// With the system font the styler's text is the frame's own title, pixel for
// pixel: the same bold caption font at the same place.
TEST_F(StyledForm, TheSystemFontTextIsTheFramesOwnTitle)
{
    const TFxCaptionLayout l = LayoutNow();
    const auto styled = WhiteIn(*form, l.Text);
    styler->SetPaintMode(pcNone);
    const auto frames = WhiteIn(*form, l.Text);
    EXPECT_GT(frames.size(), 30u);
    EXPECT_EQ(styled, frames);
}

TEST_F(StyledForm, AlignmentPlacesTheTextLeftCentredOrRight)
{
    const TRect text = LayoutNow().Text;
    const auto [left, leftEnd] = Columns(WhiteIn(*form, text));
    const int width = leftEnd - left;
    EXPECT_LE(left, text.Left + 2);
    styler->SetAlignment(taRightJustify);
    const auto [right, rightEnd] = Columns(WhiteIn(*form, text));
    EXPECT_GE(rightEnd, text.Right - 3);
    EXPECT_EQ(rightEnd - right, width);
    styler->SetAlignment(taCenter);
    const auto [centre, centreEnd] = Columns(WhiteIn(*form, text));
    EXPECT_NEAR((centre + centreEnd) / 2.0, (text.Left + text.Right) / 2.0, 2.0);
}

TEST_F(StyledForm, ColorsSetsTheNumberOfBands)
{
    const TFxCaptionLayout l = LayoutNow();
    styler->SetColors(8);
    const std::vector<int> bands = BandsAlongRow(l.Caption.Top, clActiveCaption, 8);
    EXPECT_EQ(std::set<int>(bands.begin(), bands.end()).size(), 8u);
    EXPECT_EQ(bands.front(), 0);
    EXPECT_EQ(bands.back(), 7);
}

// Without the system font: Font's colour with fsUseFontColor, and the
// lettering effect of Font3D (here a red shadow under the letters).
TEST_F(StyledForm, OwnFontKeepsItsColourAndItsLettering)
{
    Make({fsUseFontColor, fsUseFormCaption});
    styler->Font()->SetName("Arial");
    styler->Font()->SetHeight(-13);
    styler->Font()->SetColor(clYellow);
    const TRect text = LayoutNow().Text;
    EXPECT_GT(Count(text, clYellow), 30);
    EXPECT_EQ(Count(text, clWhite), 0);
    EXPECT_EQ(Count(text, clRed), 0);

    styler->Font3D()->SetShadowColor(clRed);
    styler->Font3D()->SetShadowDepth(2);
    styler->Font3D()->SetStyle(tdShadow);
    EXPECT_GT(Count(text, clRed), 30) << "the shadow of the lettering";
    EXPECT_GT(Count(text, clYellow), 30);

    // Without fsUseFontColor the active caption is drawn in the caption text colour.
    styler->SetOptions({fsUseFormCaption});
    EXPECT_EQ(Count(text, clYellow), 0);
    EXPECT_GT(Count(text, clWhite), 30);
}

TEST_F(StyledForm, InactiveGradientTextInTheInactiveCaptionTextColour)
{
    styler->SetOptions(styler->Options() + TFxFormStyleOptions{fsInactiveGradient});
    Activation(false);
    const TRect text = LayoutNow().Text;
    ASSERT_NE(ColorToRGB(clInactiveCaptionText), ColorToRGB(clWhite));
    EXPECT_GT(Count(text, clInactiveCaptionText), 30);
    EXPECT_EQ(Count(text, clWhite), 0);
}

TEST_F(StyledForm, EachPaintTakesTheFormsCaptionAsItIsNow)
{
    const TRect text = LayoutNow().Text;
    const std::size_t before = WhiteIn(*form, text).size();
    form->SetCaption("Hi");
    styler->PaintCaption(true);
    const std::size_t after = WhiteIn(*form, text).size();
    EXPECT_GT(after, 5u);
    EXPECT_LT(after * 4, before);
}

// An inactive form that shows the system's caption keeps the system's
// drawing also when a setting repaints: nothing of the styler's is drawn.
TEST_F(StyledForm, AnInactiveSystemCaptionIsLeftAsTheFrameDrewIt)
{
    const TFxCaptionLayout l = LayoutNow();
    Activation(false);
    const TRect bar = Rect(l.Caption.Left, l.Caption.Top, l.Caption.Right, l.Caption.Bottom);
    std::vector<TColor> before;
    for (int y = bar.Top; y < bar.Bottom; ++y)
        for (int x = bar.Left; x < bar.Right; ++x)
            before.push_back(Pixel(x, y));
    styler->SetAlignment(taRightJustify);
    std::vector<TColor> after;
    for (int y = bar.Top; y < bar.Bottom; ++y)
        for (int x = bar.Left; x < bar.Right; ++x)
            after.push_back(Pixel(x, y));
    EXPECT_TRUE(before == after);
}

TEST_F(StyledForm, DisablingGivesTheFormItsStandardCaptionBack)
{
    const TFxCaptionLayout l = LayoutNow();
    ASSERT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clBlack));
    styler->SetEnabled(false);
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clActiveCaption));
}

// With PaintMode pcNone a change of Options lets the form draw its standard
// active caption, as the change of PaintMode itself does.
TEST_F(StyledForm, OptionsChangedWithoutPaintingRefreshTheStandardCaption)
{
    const TFxCaptionLayout l = LayoutNow();
    styler->SetPaintMode(pcNone);
    Activation(false);
    ASSERT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clInactiveCaption));
    styler->SetOptions(styler->Options() + TFxFormStyleOptions{fsInactiveGradient});
    EXPECT_EQ(Pixel(l.Caption.Left, l.Caption.Top), ColorToRGB(clActiveCaption));
}

// Without fsUseFormCaption the caption is the styler's: whoever asks the
// window for its text gets the blank, also after the program renamed the form.
TEST_F(StyledForm, WithoutFormCaptionTheWindowsTextStaysBlank)
{
    Make({fsAdjustRect, fsUseDefaultFont});
    form->SetCaption("Renamed");
    EXPECT_EQ(GetWindowText(form->Handle()), " ");
}
