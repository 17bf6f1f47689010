// Balloon hints on bitmaps and on the offscreen screen: each style and
// position painted, shadows solid, absent and traced, the component's switch
// of the program's hint window type, and a hint presented for the pointer.
#include "effects/FxShapeHint.h"

#include "framework/controls/Application.h"
#include "framework/controls/Screen.h"
#include "framework/graphics/DcGuards.h"
#include "framework/windows/WindowDC.h"
#include "services/FxApplication.h"
#include "services/ServicesModule.h"
#include "tests/framework/graphics/PixelTest.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace {

constexpr TColor Body = RGB(0xFF, 0xFF, 0xE1);
constexpr TColor Border = RGB(0x20, 0x00, 0x80);
constexpr TColor ShadowColor = RGB(0x80, 0x80, 0x80);

// A hint window sized W x H that paints for hint, on a sentinel bitmap.
struct TPaintedBalloon {
    std::unique_ptr<TBitmap> Bitmap;
    TRect Text;
};

TPaintedBalloon PaintBalloon(TFxShapeHint& hint, TFxHintPosition position, TSize size, TRect text,
                             TColor background = Sentinel)
{
    TFxShapeHintWindow window(nullptr);
    window.SetHintComponent(&hint);
    window.SetBounds(0, 0, size.cx, size.cy);
    TPaintedBalloon painted{SentinelBitmap(size.cx, size.cy, background), text};
    window.PaintShape(*painted.Bitmap, position, painted.Text);
    return painted;
}

// A shape hint that is not installed: the tests paint with it directly.
std::unique_ptr<TFxShapeHint> LooseHint(TFxHintStyle style)
{
    auto hint = std::make_unique<TFxShapeHint>(nullptr);
    hint->SetColor(Body);
    hint->SetBorderColor(Border);
    hint->SetStyle(style);
    hint->Shadow()->SetColor(ShadowColor);
    return hint;
}

// Restores the program's hint window type and active hint after a test.
class ShapeHintInstall : public ::testing::Test {
protected:
    void TearDown() override
    {
        ActiveShapeHint = nullptr;
        AppHintWindowType = DefaultHintWindowClass();
        Application->SetShowHint(false);
        Application->SetShowHint(true);
        Screen->Display().SetSizeOverride({0, 0});
    }
    // Puts the pointer at to; false where the platform does not move it.
    static bool PointerMovedTo(TPoint to)
    {
        Screen->SetCursorPos(to);
        TPoint now;
        GetCursorPos(now);
        return now.X == to.X && now.Y == to.Y;
    }
};

TPoint Lerp(TPoint from, TPoint to, double t)
{
    return {static_cast<int>(std::lround(from.X + (to.X - from.X) * t)),
            static_cast<int>(std::lround(from.Y + (to.Y - from.Y) * t))};
}

} // namespace

// Every style at every position: the body's centre is the fill, the shadow
// shows where only it reaches, the window's corner away from the balloon keeps
// what was there, and a nose reaches towards its tip.
TEST(ShapeHintPaint, EveryStyleAndPosition)
{
    const TSize size{160, 70};
    const int D = 6;
    const TRect text = Rect(0, 0, 100, 28);
    for (TFxHintStyle style : {hsRect, hsRoundRect, hsEllipse, hsNoseRect, hsNoseRoundRect, hsNoseEllipse}) {
        for (TFxHintPosition position : {hpAboveLeft, hpAboveRight, hpBelowLeft, hpBelowRight}) {
            SCOPED_TRACE(::testing::Message() << "style " << style << ", position " << position);
            auto hint = LooseHint(style);
            const TPaintedBalloon painted = PaintBalloon(*hint, position, size, text);
            const TBitmap& b = *painted.Bitmap;
            const THintShape shape = HintShapeFor(style, position, size, D, text);
            const TRect& box = shape.Body.Box;

            EXPECT_EQ(b.Pixels((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2), ColorToRGB(Body));
            // The shadow's far corner region, inside the shadow box only.
            const TRect& shadowBox = shape.Shadow.Box;
            const TPoint shadowOnly{shadowBox.Right - 3, (shadowBox.Top + shadowBox.Bottom) / 2};
            if (!box.Contains(shadowOnly)) {
                EXPECT_EQ(b.Pixels(shadowOnly.X, shadowOnly.Y), ColorToRGB(ShadowColor));
            }
            EXPECT_GT(CountPixels(b, ShadowColor), 0);
            if (style != hsNoseEllipse && style != hsEllipse) {
                EXPECT_GT(CountPixels(b, Border, Rect(box.Left, box.Top, box.Right, box.Top + 1)), 10);
            }
            // Top-right corner: no shape reaches it unless a nose points there.
            const bool noseTopRight = position == hpBelowLeft && style >= hsNoseRect;
            if (!noseTopRight) {
                EXPECT_EQ(b.Pixels(size.cx - 1, 0), ColorToRGB(Sentinel));
            }

            if (style >= hsNoseRect) {
                // A point a quarter of the way from the tip to the nose's base is balloon.
                TPoint base = shape.Body.Base;
                if (style == hsNoseEllipse) {
                    const TPoint a = EllipsePoint(box, static_cast<std::uint16_t>(shape.Body.Angle));
                    const TPoint c = EllipsePoint(box, static_cast<std::uint16_t>(shape.Body.Angle + 25));
                    base = {(a.X + c.X) / 2, (a.Y + c.Y) / 2};
                } else {
                    base.X += 15;
                }
                const TPoint inside = Lerp(shape.Body.Tip, base, 0.25);
                const TColor c = b.Pixels(std::clamp(inside.X, 0, size.cx - 1), std::clamp(inside.Y, 0, size.cy - 1));
                EXPECT_TRUE(c == ColorToRGB(Body) || c == ColorToRGB(Border)) << std::hex << c;
            }
            const TPoint moved{painted.Text.Left - text.Left, painted.Text.Top - text.Top};
            EXPECT_EQ(moved, shape.TextOffset);
        }
    }
}

// The converter's balloon: the outline runs round box and nose, but not along
// the seam where the nose joins the box.
TEST(ShapeHintPaint, ConverterBalloonSeamIsOpen)
{
    auto hint = LooseHint(hsNoseRoundRect);
    const int W = 149, H = 56;
    const TPaintedBalloon painted = PaintBalloon(*hint, hpAboveRight, {W, H}, Rect(0, 0, 120, 32));
    const TBitmap& b = *painted.Bitmap;
    for (int x = 27; x < 54; ++x)
        EXPECT_EQ(b.Pixels(x, H - 22), ColorToRGB(Body)) << x;
    for (int x = 70; x < 120; ++x)
        EXPECT_EQ(b.Pixels(x, H - 22), ColorToRGB(Border)) << x;   // the box's bottom edge
    EXPECT_EQ(b.Pixels(22, H - 15), ColorToRGB(Body));             // inside the nose
    EXPECT_EQ(b.Pixels(30, H - 10), ColorToRGB(ShadowColor));      // the nose's shadow below it
    EXPECT_EQ(b.Pixels(5, 5), ColorToRGB(Sentinel));               // left of the box
    EXPECT_EQ(b.Pixels(W - 1, H - 1), ColorToRGB(Sentinel));       // right of the shadow's nose
}

namespace {

// Whether a pixel of colour lies within distance pixels of p.
bool ColourNear(const TBitmap& b, TPoint p, TColor colour, int distance)
{
    for (int y = p.Y - distance; y <= p.Y + distance; ++y)
        for (int x = p.X - distance; x <= p.X + distance; ++x)
            if (x >= 0 && y >= 0 && x < b.Width() && y < b.Height() && b.Pixels(x, y) == ColorToRGB(colour))
                return true;
    return false;
}

} // namespace

// The ellipses' outline: the plain ellipse all round, the nose ellipse all
// round but the 25 degrees where its nose joins, and the nose's two sides.
TEST(ShapeHintPaint, EllipseOutlinesRunRoundTheBody)
{
    const TSize size{200, 120};
    const TRect text = Rect(0, 0, 110, 40);
    for (const TFxHintPosition position : {hpAboveLeft, hpAboveRight, hpBelowLeft, hpBelowRight}) {
        SCOPED_TRACE(position);
        for (const TFxHintStyle style : {hsEllipse, hsNoseEllipse}) {
            SCOPED_TRACE(style);
            auto hint = LooseHint(style);
            const TPaintedBalloon painted = PaintBalloon(*hint, position, size, text);
            const THintShape shape = HintShapeFor(style, position, size, 6, text);
            const TRect& box = shape.Body.Box;
            const int nose = style == hsNoseEllipse ? shape.Body.Angle : -1000;
            for (int angle = 0; angle < 360; angle += 5) {
                const int fromNose = (angle - nose + 360) % 360;
                if (fromNose <= 25)
                    continue; // where the nose joins
                const TPoint on = EllipsePoint(box, static_cast<std::uint16_t>(angle));
                EXPECT_TRUE(ColourNear(*painted.Bitmap, on, Border, 2)) << "outline at " << angle << " degrees";
            }
            if (style == hsNoseEllipse && position != hpBelowRight) {
                // Halfway along each side of the nose.
                const TPoint a = EllipsePoint(box, static_cast<std::uint16_t>(shape.Body.Angle));
                const TPoint c = EllipsePoint(box, static_cast<std::uint16_t>(shape.Body.Angle + 25));
                const TPoint tip = shape.Body.Tip;
                EXPECT_TRUE(ColourNear(*painted.Bitmap, Lerp(a, tip, 0.5), Border, 1));
                EXPECT_TRUE(ColourNear(*painted.Bitmap, Lerp(c, tip, 0.5), Border, 1));
            }
        }
    }
}

// Drawn with a clear pen, the nose ellipse's fill is made one pixel larger so
// that it reaches its box's last column and row, as the outline does.
TEST(ShapeHintPaint, NoseEllipseFillsItsWholeBox)
{
    auto hint = LooseHint(hsNoseEllipse);
    const TSize size{200, 120};
    const TRect text = Rect(0, 0, 110, 40);
    const TPaintedBalloon painted = PaintBalloon(*hint, hpAboveLeft, size, text);
    const THintShape shape = HintShapeFor(hsNoseEllipse, hpAboveLeft, size, 6, text);
    const TRect& shadow = shape.Shadow.Box; // the shadow reaches past the body on the right and below
    const int row = (shadow.Top + shadow.Bottom) / 2;
    EXPECT_EQ(painted.Bitmap->Pixels(shadow.Right - 1, row), ColorToRGB(ShadowColor));
    EXPECT_EQ(painted.Bitmap->Pixels(shadow.Right, row), ColorToRGB(Sentinel));
    const int column = (shadow.Left + shadow.Right) / 2;
    EXPECT_EQ(painted.Bitmap->Pixels(column, shadow.Bottom - 1), ColorToRGB(ShadowColor));
    EXPECT_EQ(painted.Bitmap->Pixels(column, shadow.Bottom), ColorToRGB(Sentinel));
}

TEST(ShapeHintPaint, WithoutShadowTheDepthShowsTheScreen)
{
    auto hint = LooseHint(hsNoseRoundRect);
    hint->Shadow()->SetStyle(hssNone);
    const int W = 149, H = 56, D = 6;
    const TPaintedBalloon painted = PaintBalloon(*hint, hpAboveRight, {W, H}, Rect(0, 0, 120, 32));
    const TBitmap& b = *painted.Bitmap;
    EXPECT_EQ(CountPixels(b, ShadowColor), 0);
    EXPECT_EQ(CountPixels(b, Sentinel, Rect(W - D, 0, W, H)), D * H);                 // right strip
    EXPECT_EQ(CountPixels(b, Sentinel, Rect(60, H - D, W, H)), (W - 60) * D);        // bottom strip
    EXPECT_EQ(CountPixels(b, Sentinel, Rect(60, H - 21, W, H - 15)), (W - 60) * 6);     // under the box, right of the nose
}

// A traced shadow ANDs the checkerboard with what is there: pixels with one
// odd coordinate darken, the others keep the screen's colour.
TEST(ShapeHintPaint, TracedShadowDarkensThePatternOnly)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    TServicesModule services;
    ASSERT_NE(ApplicationServices, nullptr);

    const TColor screen = RGB(0xF0, 0xE0, 0xD0);
    auto hint = LooseHint(hsRect);
    hint->Shadow()->SetStyle(hssTracing);
    const TSize size{60, 40};
    const TPaintedBalloon painted = PaintBalloon(*hint, hpAboveRight, size, Rect(0, 0, 40, 20), screen);
    const TBitmap& b = *painted.Bitmap;
    const TColor darkened = RGB(0xF0 & 0x80, 0xE0 & 0x80, 0xD0 & 0x80);
    // A clear pen leaves the shape's last column and row undrawn.
    for (int y = 8; y < 39; ++y)
        for (int x = 54; x < 59; ++x)
            EXPECT_EQ(b.Pixels(x, y), ColorToRGB((x + y) % 2 == 1 ? darkened : screen)) << x << "," << y;
    EXPECT_EQ(b.Pixels(10, 10), ColorToRGB(Body));
}

TEST_F(ShapeHintInstall, DefaultsAndCopiedSettings)
{
    TFxShapeHint hint(nullptr);
    EXPECT_TRUE(hint.Enabled());
    EXPECT_EQ(hint.Color(), clInfoBk);
    EXPECT_EQ(hint.MaxWidth(), -4);
    EXPECT_EQ(hint.BorderColor(), clBlack);
    EXPECT_EQ(hint.Position(), hpAboveRight);
    EXPECT_EQ(hint.Style(), hsNoseRoundRect);
    EXPECT_EQ(hint.Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(hint.Font()->Size(), 8);
    EXPECT_EQ(hint.Font()->Color(), clInfoText);
    EXPECT_EQ(hint.Shadow()->Color(), clBtnShadow);
    EXPECT_EQ(hint.Shadow()->Depth(), 6);
    EXPECT_EQ(hint.Shadow()->Style(), hssSolid);
    EXPECT_EQ(hint.Font3D()->Style(), tdNone);
    EXPECT_EQ(hint.WindowType().ClassName, "TFxShapeHintWindow");

    TFxShadow shadow;
    shadow.SetDepth(9);
    hint.SetShadow(&shadow);
    shadow.SetDepth(2);
    EXPECT_EQ(hint.Shadow()->Depth(), 9);
    TFx3DCaption lettering;
    lettering.SetStyle(tdRaised);
    hint.SetFont3D(&lettering);
    EXPECT_EQ(hint.Font3D()->Style(), tdRaised);
    EXPECT_NE(hint.Font3D(), &lettering);
    TFont font;
    font.SetName("Arial");
    hint.SetFont(&font);
    EXPECT_EQ(hint.Font()->Name(), "Arial");
    EXPECT_NE(hint.Font(), &font);
}

// Loading, disabling and enabling swap the program's hint window; freeing the
// component clears the active hint but leaves the window type.
TEST_F(ShapeHintInstall, EnabledSwapsTheApplicationsHintWindow)
{
    auto hint = std::make_unique<TFxShapeHint>(nullptr);
    EXPECT_EQ(ActiveShapeHint, nullptr);  // nothing before the after-load step
    hint->Loaded();
    EXPECT_EQ(ActiveShapeHint, hint.get());
    EXPECT_EQ(AppHintWindowType.ClassName, "TFxShapeHintWindow");
    EXPECT_NE(dynamic_cast<TFxShapeHintWindow*>(Application->HintWindow()), nullptr);

    hint->SetEnabled(false);
    EXPECT_EQ(ActiveShapeHint, nullptr);
    EXPECT_EQ(AppHintWindowType.ClassName, "THintWindow");
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_EQ(dynamic_cast<TFxShapeHintWindow*>(Application->HintWindow()), nullptr);

    // With hints off the type changes but no window is made.
    Application->SetShowHint(false);
    hint->SetEnabled(true);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    EXPECT_FALSE(Application->ShowHint());
    Application->SetShowHint(true);
    EXPECT_NE(dynamic_cast<TFxShapeHintWindow*>(Application->HintWindow()), nullptr);

    hint.reset();
    EXPECT_EQ(ActiveShapeHint, nullptr);
    EXPECT_EQ(AppHintWindowType.ClassName, "TFxShapeHintWindow");
}

// A shape hint that is disabled when its form finishes loading leaves the
// program's hint window alone.
TEST_F(ShapeHintInstall, ADisabledHintLoadedTakesNothingOver)
{
    TFxShapeHint hint(nullptr);
    hint.SetEnabled(false);
    hint.Loaded();
    EXPECT_FALSE(hint.Enabled());
    EXPECT_EQ(ActiveShapeHint, nullptr);
    EXPECT_EQ(AppHintWindowType.ClassName, "THintWindow");
    EXPECT_EQ(dynamic_cast<TFxShapeHintWindow*>(Application->HintWindow()), nullptr);
}

// A hint presented for the pointer on the offscreen screen: above right of
// it, the corners the screen's pixels, the text in the balloon.
TEST_F(ShapeHintInstall, PresentedBalloonCopiesTheScreenUnderIt)
{
    Screen->Display().SetSizeOverride({1024, 768});
    TFxShapeHint hint(nullptr);
    hint.Font()->SetName("Arial");
    hint.Font()->SetHeight(-11);
    hint.Font()->SetColor(clBlack);
    hint.Loaded();
    {
        // Something to be under the balloon.
        const TWindowDC screen = TWindowDC::Client(nullptr);
        ASSERT_TRUE(screen);
        const HBRUSH red = CreateSolidBrush(clRed);
        FillRect(screen.get(), Rect(300, 200, 700, 400), red);
        DeleteObject(red);
    }
    const TPoint cursor{500, 350};
    if (!PointerMovedTo(cursor))
        GTEST_SKIP() << "the platform does not move the pointer";

    TFxShapeHintWindow window(nullptr);
    // The screen is read once, before the window shows over it.
    std::vector<std::pair<TRect, bool>> reads;
    Screen->Display().OnVirtualScreenRead = [&](const TRect& r) { reads.push_back({r, window.Visible()}); };
    window.PresentHint(Rect(0, 0, 10, 10), "Change Gregorian day");
    Screen->Display().OnVirtualScreenRead = nullptr;
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].first, window.BoundsRect());
    EXPECT_FALSE(reads[0].second) << "the screen was read with the hint already showing";
    EXPECT_TRUE(window.Active());
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.HintComponent(), &hint);
    EXPECT_EQ(window.Caption(), "Change Gregorian day");
    const int W = window.Width();
    const int H = window.Height();
    EXPECT_EQ(window.Left(), cursor.X + 1);
    EXPECT_EQ(window.Top(), cursor.Y - 1 - H);
    EXPECT_GT(W, 75);
    EXPECT_GT(H, 24 + 10);

    const QImage& image = window.ClientSurface()->Image();
    ASSERT_EQ(image.width(), W);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);        // the red under the corner
    EXPECT_EQ(image.pixel(W - 1, 0) & 0xFFFFFF, 0xFF0000u);
    int fill = 0;
    int ink = 0;
    for (int y = 4; y < H - 21; ++y)
        for (int x = 19; x < W - 6; ++x)
            (image.pixel(x, y) & 0xFFFFFF) == 0 ? ++ink : (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFE1u ? ++fill : 0;
    EXPECT_GT(ink, 20);
    EXPECT_GT(fill, 4 * ink);

    // Drawn once: a repaint leaves the balloon as it is.
    const QImage shown = image.copy();
    window.Repaint();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.ClientSurface()->Image() == shown);

    window.ReleaseHint();
    EXPECT_FALSE(window.Visible());
    EXPECT_EQ(window.HintComponent(), nullptr);
}

// The preferred side and the hint's own font: below right of the pointer, a
// text in the font's blue, wrapped over two lines as it was measured.
TEST_F(ShapeHintInstall, PreferredSideOwnFontAndWrappedLines)
{
    Screen->Display().SetSizeOverride({1024, 768});
    TFxShapeHint hint(nullptr);
    hint.SetPosition(hpBelowRight);
    hint.SetStyle(hsRect);
    hint.SetMaxWidth(120);
    hint.Font()->SetName("Arial");
    hint.Font()->SetHeight(-11);
    hint.Font()->SetColor(clBlue);
    hint.Loaded();
    const TPoint cursor{300, 200};
    if (!PointerMovedTo(cursor))
        GTEST_SKIP() << "the platform does not move the pointer";

    TFxShapeHintWindow window(nullptr);
    window.PresentHint({}, "Change the Gregorian day by one");
    EXPECT_EQ(window.Left(), cursor.X + 6);
    EXPECT_EQ(window.Top(), cursor.Y + 1);
    const QImage& image = window.ClientSurface()->Image();
    const int H = window.Height();
    auto inkIn = [&](int top, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == 0x0000FFu ? 1 : 0;
        return n;
    };
    EXPECT_GT(inkIn(0, H / 2), 20) << "the first line";
    EXPECT_GT(inkIn(H / 2, H), 20) << "the second line";
    EXPECT_EQ(inkIn(0, H) - inkIn(0, H / 2) - inkIn(H / 2, H), 0);
}

TEST_F(ShapeHintInstall, WrapWidthAndLongHints)
{
    Screen->Display().SetSizeOverride({1024, 768});
    TFxShapeHint hint(nullptr);
    hint.Loaded();
    Screen->SetCursorPos({600, 600});
    const std::string words = "one two three four";
    TFxShapeHintWindow window(nullptr);
    window.PresentHint({}, words);
    const int oneLine = window.Height();

    hint.SetMaxWidth(0);  // one word per line
    window.PresentHint({}, words);
    EXPECT_GT(window.Height(), oneLine + 2 * (oneLine - 24 - 6));
    EXPECT_LT(window.Width(), 46 + 29 + 20);

    hint.SetMaxWidth(-4);  // a quarter of 1024: lines wrap at 256
    std::string longHint;
    while (longHint.size() < 300)
        longHint += "restore ";
    window.PresentHint({}, longHint);
    EXPECT_LE(window.Width(), 256 + 6 + 29);
    EXPECT_GT(window.Height(), 3 * (oneLine - 24));
}

// No active shape hint: the plain look, but without the border.
TEST_F(ShapeHintInstall, WithoutActiveHintPlainAndBorderless)
{
    TFxShapeHintWindow window(nullptr);
    window.SetColor(Body);
    const TRect rect = window.CalcHintRect(300, "Hijri day");
    window.PresentHint(OffsetRect(rect, 100, 100), "Hijri day");
    EXPECT_EQ(window.Left(), 100);
    EXPECT_EQ(window.Width(), rect.Width());
    window.Repaint();
    QCoreApplication::processEvents();
    const QImage& image = window.ClientSurface()->Image();
    for (const auto& [x, y] : {std::pair{0, 0}, {rect.Width() - 1, 0}, {0, rect.Height() - 1}})
        EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, 0xFFFFE1u) << x << "," << y;
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += (image.pixel(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
    EXPECT_GT(ink, 20) << "the text, inset as the plain window has it";

    THintWindow plain(nullptr);
    plain.SetColor(Body);
    plain.ActivateHint(OffsetRect(rect, 100, 100), "Hijri day");
    plain.Repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(plain.ClientSurface()->Image().pixel(0, 0) & 0xFFFFFF, 0u);  // the plain one's border

    // Erasing is answered without painting.
    auto bitmap = SentinelBitmap(4, 4);
    EXPECT_EQ(window.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle())), 1);
    EXPECT_EQ(bitmap->Pixels(1, 1), ColorToRGB(Sentinel));
}

// A balloon too wide for the screen hangs over its edge; where there was no
// screen to copy, the corners keep the button face they start from.
TEST_F(ShapeHintInstall, UnreadableScreenLeavesButtonFace)
{
    Screen->Display().SetSizeOverride({1024, 768});
    TFxShapeHint hint(nullptr);
    hint.SetStyle(hsRect);
    hint.SetMaxWidth(3000);
    hint.Loaded();
    Screen->SetCursorPos({500, 400});
    std::string wide;
    while (wide.size() < 250)
        wide += "wide ";
    TFxShapeHintWindow window(nullptr);
    window.PresentHint({}, wide);
    ASSERT_LT(window.Left(), 0);  // above left, the last position tried
    const QImage& image = window.ClientSurface()->Image();
    const int W = window.Width();
    const int H = window.Height();
    EXPECT_EQ(image.pixel(0, H - 1) & 0xFFFFFF, 0xC0C0C0u);  // left of the screen
    EXPECT_EQ(image.pixel(W - 1, 0) & 0xFFFFFF,              // on it: copied
              Screen->Display().ScreenSurface()->Image().pixel(window.Left() + W - 1, window.Top()) & 0xFFFFFF);
}
