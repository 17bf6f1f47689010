// The frame on screens of 96, 120, 144 and 192 pixels per inch: the system
// metrics each density gives, the frame geometry built from them, the
// non-client fonts, and the caption buttons painted at the larger sizes.
#include "FrameworkTestSupport.h"

#include "framework/controls/NonClient.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/graphics/Fonts.h"
#include "framework/windows/SystemMetrics.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// Pins the screen's density for one test and unpins it afterwards.
class TPinnedDensity {
public:
    explicit TPinnedDensity(int pixelsPerInch) { SetDisplayPixelsPerInchOverride(pixelsPerInch); }
    ~TPinnedDensity() { SetDisplayPixelsPerInchOverride(0); }
    TPinnedDensity(const TPinnedDensity&) = delete;
    TPinnedDensity& operator=(const TPinnedDensity&) = delete;
};

constexpr int Densities[] = {96, 120, 144, 192};

const TFrameStyle ConverterFrame{bsSingle, {biSystemMenu, biMinimize, biMaximize}, false};

// ---------------------------------------------------------------------------
// Metrics

TEST(ScreenDensity, MetricsAtTheClassicDensities)
{
    // Rounded to the nearest pixel, halves up; lines and tolerances stay.
    struct Row {
        const char* what;
        int metric;
        int at96, at120, at144, at192;
    } rows[] = {
        {"border line", SM_CXBORDER, 1, 1, 1, 1},
        {"3D edge: two lines", SM_CYEDGE, 2, 2, 2, 2},
        {"fixed frame", SM_CXDLGFRAME, 3, 4, 5, 6},
        {"sizeable frame", SM_CYFRAME, 4, 5, 6, 8},
        {"caption: bar scaled, its line not", SM_CYCAPTION, 19, 24, 28, 37},
        {"small caption likewise", SM_CYSMCAPTION, 15, 19, 22, 29},
        {"caption button cell", SM_CXSIZE, 18, 23, 27, 36},
        {"tool-window button", SM_CYSMSIZE, 14, 18, 21, 28},
        {"small icon", SM_CXSMICON, 16, 20, 24, 32},
        {"icon", SM_CYICON, 32, 40, 48, 64},
        {"cursor", SM_CXCURSOR, 32, 40, 48, 64},
        {"scroll bar", SM_CXVSCROLL, 16, 20, 24, 32},
        {"smallest window", SM_CYMIN, 27, 34, 41, 54},
        {"double-click box", SM_CXDOUBLECLK, 4, 4, 4, 4},
        {"not in the table", SM_CXSCREEN, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ScaledMetric(row.metric, 96), row.at96) << row.what;
        EXPECT_EQ(ScaledMetric(row.metric, 120), row.at120) << row.what;
        EXPECT_EQ(ScaledMetric(row.metric, 144), row.at144) << row.what;
        EXPECT_EQ(ScaledMetric(row.metric, 192), row.at192) << row.what;
    }
    // The table itself keeps the 96-ppi values.
    for (const TSystemMetricValue& entry : ClassicMetrics)
        EXPECT_EQ(ScaledMetric(entry.metric, 96), entry.value) << entry.metric;
}

TEST(ScreenDensity, AbsurdDensitiesStayInRange)
{
    EXPECT_EQ(ScaledMetric(SM_CYCAPTION, 0), 19) << "no density counts as 96";
    EXPECT_EQ(ScaledMetric(SM_CYCAPTION, -200), 19);
    const int densest = ScaledMetric(SM_CXMIN, INT_MAX);
    EXPECT_EQ(densest, ScaledMetric(SM_CXMIN, MaxMetricPixelsPerInch)) << "capped, not overflowed";
    EXPECT_GT(densest, 0);
    EXPECT_EQ(ScaledPixels(-11, 144), -17) << "halves away from zero, also for font heights";
}

TEST(ScreenDensity, SystemMetricsFollowThePinnedScreen)
{
    for (int ppi : Densities) {
        SCOPED_TRACE(ppi);
        TPinnedDensity pinned(ppi);
        EXPECT_EQ(SystemMetricsPixelsPerInch(), ppi);
        EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), ScaledMetric(SM_CYCAPTION, ppi));
        EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    }
}

TEST(ScreenDensity, NonClientFontsAndSizesFollowTheScreen)
{
    struct Row {
        int ppi;
        int fontHeight;
    } rows[] = {{96, -11}, {120, -14}, {144, -17}, {192, -22}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ppi);
        TPinnedDensity pinned(row.ppi);
        const TNonClientMetrics m = NonClientMetrics();
        EXPECT_EQ(m.CaptionFont.lfHeight, row.fontHeight);
        EXPECT_EQ(m.SmCaptionFont.lfHeight, row.fontHeight);
        EXPECT_EQ(m.MessageFont.lfHeight, row.fontHeight);
        EXPECT_EQ(m.CaptionFont.lfWeight, FW_BOLD);
        EXPECT_EQ(m.CaptionHeight, ScaledPixels(18, row.ppi)) << "the bar without its line";
        EXPECT_EQ(m.CaptionWidth, ScaledMetric(SM_CXSIZE, row.ppi));
        EXPECT_EQ(m.BorderWidth, 1);
    }
}

// ---------------------------------------------------------------------------
// Frame geometry

TEST(ScreenDensity, ConverterFrameAtEachDensity)
{
    for (int ppi : Densities) {
        SCOPED_TRACE(ppi);
        TPinnedDensity pinned(ppi);
        const int frame = ScaledMetric(SM_CXDLGFRAME, ppi);
        const int bar = ScaledPixels(18, ppi);
        const int cell = ScaledMetric(SM_CXSIZE, ppi);
        const TSize window = WindowSizeForClient({393, 392}, ConverterFrame);
        EXPECT_EQ(window, (TSize{393 + 2 * frame, 392 + 2 * frame + bar + 1}));

        const TFrameGeometry g = FrameGeometry(window, ConverterFrame);
        EXPECT_EQ(g.Caption, Rect(frame, frame, window.cx - frame, frame + bar));
        EXPECT_EQ(g.Client.Top, g.Caption.Bottom + 1) << "one line under the caption";
        // Buttons: a cell less one gap wide, a gap from the bar's edges, the
        // minimise button touching maximise.
        const int gap = CaptionGap(cell);
        for (const TRect& button : {g.CloseButton, g.MaxButton, g.MinButton}) {
            EXPECT_EQ(button.Width(), cell - gap);
            EXPECT_EQ(button.Top, g.Caption.Top + gap);
            EXPECT_EQ(button.Bottom, g.Caption.Bottom - gap);
        }
        EXPECT_EQ(g.CloseButton.Right, g.Caption.Right - gap);
        EXPECT_EQ(g.MaxButton.Right, g.CloseButton.Left - gap);
        EXPECT_EQ(g.MinButton.Right, g.MaxButton.Left);
        // The icon at its scaled size, centred in the bar; text between it and the buttons.
        EXPECT_EQ(g.Icon.Width(), ScaledMetric(SM_CXSMICON, ppi));
        EXPECT_EQ(g.Icon.Height(), ScaledMetric(SM_CYSMICON, ppi));
        EXPECT_EQ(g.Icon.Top - g.Caption.Top, (bar - g.Icon.Height()) / 2);
        EXPECT_GT(g.Text.Left, g.Icon.Right);
        EXPECT_LT(g.Text.Right, g.MinButton.Left);
    }
}

TEST(ScreenDensity, At192TheCaptionAndItsButtonsAreTwiceTheirClassicSize)
{
    TFrameGeometry classic;
    {
        TPinnedDensity pinned(96);
        classic = FrameGeometry({400, 300}, ConverterFrame);
    }
    TPinnedDensity pinned(192);
    const TFrameGeometry doubled = FrameGeometry({800, 600}, ConverterFrame);
    EXPECT_EQ(doubled.Caption, Rect(2 * classic.Caption.Left, 2 * classic.Caption.Top, 2 * classic.Caption.Right,
                                    2 * classic.Caption.Bottom));
    for (const auto& [big, small] : {std::pair{doubled.CloseButton, classic.CloseButton},
                                     std::pair{doubled.MaxButton, classic.MaxButton},
                                     std::pair{doubled.MinButton, classic.MinButton},
                                     std::pair{doubled.Icon, classic.Icon}})
        EXPECT_EQ(big, Rect(2 * small.Left, 2 * small.Top, 2 * small.Right, 2 * small.Bottom));
    EXPECT_EQ(CaptionGlyphScale(doubled.CloseButton.Height()), 2);
    EXPECT_EQ(CaptionGlyphScale(classic.CloseButton.Height()), 1);
}

TEST(ScreenDensity, SizeableAndToolFramesKeepTheirButtonsInsideTheBar)
{
    const TFrameStyle styles[] = {{bsSizeable, {biSystemMenu, biMinimize, biMaximize}, false},
                                  {bsToolWindow, {biSystemMenu}, false},
                                  {bsSizeToolWin, {biSystemMenu}, false},
                                  {bsDialog, {biSystemMenu}, false}};
    for (int ppi : Densities) {
        TPinnedDensity pinned(ppi);
        for (const TFrameStyle& style : styles) {
            SCOPED_TRACE(::testing::Message() << ppi << " ppi, border style " << style.BorderStyle);
            const TFrameGeometry g = FrameGeometry({300, 200}, style);
            EXPECT_EQ(g.FrameWidth, FrameWidthFor(style.BorderStyle));
            EXPECT_EQ(g.Caption.Height() + 1, CaptionHeightFor(style.BorderStyle));
            EXPECT_FALSE(g.CloseButton.IsEmpty());
            EXPECT_GE(g.CloseButton.Top, g.Caption.Top);
            EXPECT_LE(g.CloseButton.Bottom, g.Caption.Bottom);
            EXPECT_LE(g.CloseButton.Right, g.Caption.Right);
            EXPECT_LE(g.Text.Right, g.CloseButton.Left);
            if (ppi == 96 && style.BorderStyle == bsToolWindow) {
                EXPECT_EQ(g.CloseButton, Bounds(300 - 3 - 2 - 10, 3 + 2, 10, 10)) << "the classic small button";
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Painted buttons

// The glyph pixels (button-text colour) inside a painted button, within its
// two bevel lines (the outer dark one is black too).
TRect GlyphBounds(const TBitmap& surface, const TRect& face)
{
    TRect found = Rect(face.Right, face.Bottom, face.Left, face.Top);
    const TColor text = ColorToRGB(clBtnText);
    for (int y = face.Top + 2; y < face.Bottom - 2; ++y)
        for (int x = face.Left + 2; x < face.Right - 2; ++x)
            if (surface.Pixels(x, y) == text) {
                found.Left = std::min(found.Left, x);
                found.Top = std::min(found.Top, y);
                found.Right = std::max(found.Right, x + 1);
                found.Bottom = std::max(found.Bottom, y + 1);
            }
    return found;
}

TEST(ScreenDensity, CaptionGlyphsGrowWithTheButtonAndStayCentred)
{
    // The close glyph is 8 x 7 pixels on the classic 16 x 14 face.
    struct Row {
        TRect face;
        int scale;
    } rows[] = {{Bounds(0, 0, 16, 14), 1}, {Bounds(0, 0, 21, 19), 1}, {Bounds(0, 0, 32, 28), 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.face.Height());
        TBitmap surface;
        surface.SetSize(40, 40);
        PaintCaptionButton(surface.Canvas()->Handle(), row.face, cbClose, false, false, true);
        const TRect glyph = GlyphBounds(surface, row.face);
        EXPECT_EQ(glyph.Width(), 8 * row.scale);
        EXPECT_EQ(glyph.Height(), 7 * row.scale);
        EXPECT_EQ(glyph.Left, (row.face.Width() - glyph.Width()) / 2);
        EXPECT_EQ(glyph.Top, (row.face.Height() - glyph.Height()) / 2);
    }
}

} // namespace
