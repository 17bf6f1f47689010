// Fonts (substitution, heights, metrics) and text: output without
// antialiasing, rotation, character extra, and DrawText's formats.
#include "PixelTest.h"

#include <QFontInfo>

namespace {

LOGFONT Face(const char* name, int height)
{
    LOGFONT font;
    font.lfFaceName = name;
    font.lfHeight = height;
    return font;
}

struct SubstitutionCase {
    const char* Face;
    int Height;
    const char* Family;
    bool Bold;
    bool TrueType;
};

const SubstitutionCase Substitutions[] = {
    {"Times New Roman", -27, "Liberation Serif", false, true},
    {"Arial", -20, "Liberation Sans", false, true},
    {"arial", -20, "Liberation Sans", false, true},  // face names ignore case
    {"Courier New", -13, "Liberation Mono", false, true},
    {"System", -16, "Liberation Sans", true, false},
    {"MS Sans Serif", -11, "Liberation Sans", false, false},
};

TEST(Fonts, SubstitutesAndTrueTypeFlag)
{
    for (const SubstitutionCase& c : Substitutions) {
        const TResolvedFont resolved = ResolveFont(Face(c.Face, c.Height));
        EXPECT_EQ(QFontInfo(resolved.Font).family().toStdString(), c.Family) << c.Face;
        EXPECT_EQ(QFontInfo(resolved.Font).bold(), c.Bold) << c.Face;
        EXPECT_EQ((resolved.Metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0, c.TrueType) << c.Face;
        EXPECT_EQ(resolved.Font.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias) << c.Face;
    }
    // A face nobody substitutes goes to fontconfig and still resolves.
    EXPECT_FALSE(QFontInfo(ResolveFont(Face("No Such Face", -12)).Font).family().isEmpty());
}

TEST(Fonts, HeightsNameEmOrCell)
{
    // Outline faces: negative = em height, positive = at most that cell height.
    const TResolvedFont em = ResolveFont(Face("Times New Roman", -27));
    EXPECT_EQ(em.Font.pixelSize(), 27);
    EXPECT_GT(em.Metrics.tmHeight, 27);
    EXPECT_EQ(em.Metrics.tmInternalLeading, em.Metrics.tmHeight - 27);
    const TResolvedFont cell = ResolveFont(Face("Arial", 20));
    EXPECT_LE(cell.Metrics.tmHeight, 20);
    EXPECT_GE(cell.Metrics.tmHeight, 18);
    EXPECT_EQ(cell.Metrics.tmHeight, cell.Metrics.tmAscent + cell.Metrics.tmDescent);

    // Bitmap-face stand-ins come in a few cells only, whatever the sign of
    // the height: the largest cell not above the request, else the smallest.
    // So "System" scaled down for an ordinary screen (-13) keeps its 16-pixel
    // cell, and the layout's text height of 16 holds exactly.
    const struct {
        const char* Face;
        int Height;
        int Cell;
    } bitmapCells[] = {
        {"System", -16, 16}, {"System", 16, 16}, {"System", -13, 16}, {"System", -19, 16},
        {"System", -20, 20}, {"System", -26, 24}, {"MS Sans Serif", -11, 13},
        {"MS Sans Serif", 13, 13}, {"MS Sans Serif", -17, 16}, {"MS Sans Serif", -100, 37},
    };
    for (const auto& c : bitmapCells) {
        auto bitmap = SentinelBitmap(4, 4);
        bitmap->Canvas()->Font()->SetName(c.Face);
        bitmap->Canvas()->Font()->SetHeight(c.Height);
        EXPECT_EQ(bitmap->Canvas()->TextHeight("Wg"), c.Cell) << c.Face << " " << c.Height;
    }
}

TEST(Fonts, PointSizeFollowsPixelsPerInch)
{
    SetDisplayPixelsPerInchOverride(120);
    TFont font;
    EXPECT_EQ(font.PixelsPerInch(), 120);
    font.SetSize(28);
    EXPECT_EQ(font.Height(), -47);  // 28 * 120 / 72 = 46.67
    EXPECT_EQ(font.Size(), 28);
    SetDisplayPixelsPerInchOverride(0);
    EXPECT_EQ(DisplayPixelsPerInch(), 96);  // the offscreen screen
}

TEST(Fonts, OnChangeOncePerRealChange)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetName("MS Sans Serif");  // the default: no change
    font.SetHeight(-11);
    EXPECT_EQ(changes, 0);
    font.SetName("Arial");
    font.SetStyle({fsBold});
    font.SetColor(clRed);
    EXPECT_EQ(changes, 3);
    TFont other;
    other.SetHeight(-20);
    other.SetOrientation(900);
    font.Assign(&other);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Orientation(), 900);
    font.Assign(&other);
    EXPECT_EQ(changes, 4);
    font.OnChange = nullptr;
}

// Draws text on white and checks that every pixel is white or the font colour.
void ExpectCrispText(const char* face, int height, int orientation)
{
    auto bitmap = SentinelBitmap(160, 160, clWhite);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetName(face);
    canvas->Font()->SetHeight(height);
    canvas->Font()->SetOrientation(orientation);
    canvas->Font()->SetColor(RGB(0x20, 0x40, 0xE0));
    canvas->TextOut(40, 120, "Gregorian Converter");
    const int ink = CountPixels(*bitmap, RGB(0x20, 0x40, 0xE0));
    EXPECT_GT(ink, 50) << face << " " << height;
    EXPECT_EQ(ink + CountPixels(*bitmap, clWhite), 160 * 160) << face << " " << height << " " << orientation;
}

TEST(Text, NoAntialiasingEveryInkPixelHasTheFontColour)
{
    ExpectCrispText("Arial", -28, 0);
    ExpectCrispText("Arial", -37, 300);
    ExpectCrispText("Times New Roman", -27, 0);
    ExpectCrispText("MS Sans Serif", -11, 0);
    ExpectCrispText("System", -16, 0);
}

TEST(Text, RotatedNinetyDegreesRunsUpwardFromThePoint)
{
    auto bitmap = SentinelBitmap(60, 200, clWhite);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-20);
    const int width = canvas->TextWidth("Hijri");
    canvas->Font()->SetOrientation(900);
    canvas->TextOut(10, 150, "Hijri");
    const TRect ink = InkBounds(*bitmap, clWhite);
    EXPECT_LE(ink.Bottom, 151);
    EXPECT_GE(ink.Top, 150 - width - 1);
    EXPECT_LT(ink.Top, 150 - width / 2);
    EXPECT_GE(ink.Left, 9);  // the cell lies to the right of the point
    EXPECT_LE(ink.Right, 10 + canvas->TextHeight("Hijri") + 1);
}

TEST(Text, RasterStandInsDoNotRotate)
{
    auto bitmap = SentinelBitmap(200, 60, clWhite);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName("System");
    canvas->Font()->SetHeight(-16);
    canvas->Font()->SetOrientation(900);
    canvas->TextOut(10, 20, "Hijri");
    const TRect ink = InkBounds(*bitmap, clWhite);
    EXPECT_GE(ink.Top, 20);
    EXPECT_GT(ink.Width(), ink.Height());
}

TEST(Text, CharacterExtraWidensByExtraPerCharacter)
{
    auto bitmap = SentinelBitmap(300, 40, clWhite);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-16);
    const int plain = canvas->TextWidth("Hijri 1420");
    const int plainHeight = canvas->TextHeight("Hijri 1420");
    HDC dc = canvas->Handle();
    EXPECT_EQ(SetTextCharacterExtra(dc, 3), 0);
    EXPECT_EQ(canvas->TextWidth("Hijri 1420"), plain + 3 * 10);
    EXPECT_EQ(canvas->TextHeight("Hijri 1420"), plainHeight);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(0, 0, "Hijri 1420");
    EXPECT_GT(InkBounds(*bitmap, clWhite).Right, plain + 20);
    EXPECT_EQ(SetTextCharacterExtra(dc, 0), 3);
}

TEST(Text, OpaqueTextFillsItsCellWithTheBrushColour)
{
    auto bitmap = SentinelBitmap(100, 30);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clYellow);
    canvas->Font()->SetColor(clBlack);
    canvas->TextOut(5, 5, "Ab");
    const TSize extent = canvas->TextExtent("Ab");
    EXPECT_EQ(InkBounds(*bitmap, Sentinel), Bounds(5, 5, extent.cx, extent.cy));
    EXPECT_EQ(CountPixels(*bitmap, clYellow) + CountPixels(*bitmap, clBlack), extent.cx * extent.cy);
}

// ---- DrawText -------------------------------------------------------------

struct DrawTextFixture : ::testing::Test {
    std::unique_ptr<TBitmap> Bitmap = SentinelBitmap(200, 100, clWhite);
    TCanvas* Canvas = Bitmap->Canvas();
    HDC Dc = nullptr;
    int Height = 0;
    void SetUp() override
    {
        Canvas->Font()->SetName("Arial");
        Canvas->Font()->SetHeight(-16);
        Canvas->Font()->SetColor(clBlack);
        Canvas->Brush()->SetStyle(bsClear);
        Dc = Canvas->Handle();
        Height = Canvas->TextHeight("X");
    }
    int Width(const char* text) { return Canvas->TextWidth(text); }
    TRect Draw(const char* text, TRect rect, UINT format)
    {
        DrawText(Dc, text, rect, format);
        return InkBounds(*Bitmap, clWhite);
    }
};

// Alignments of a single line in (20, 10, 180, 90); 'ink' checks where the
// text's ink lies relative to the rectangle.
TEST_F(DrawTextFixture, AlignmentsOfASingleLine)
{
    struct Case {
        UINT Format;
        const char* What;
        int Left, Right;   // ink expected within [Left, Right) horizontally
        int Top, Bottom;   // and within [Top, Bottom) vertically
    };
    const int w = Width("Hijri");
    const Case cases[] = {
        {DT_LEFT | DT_TOP | DT_SINGLELINE, "left top", 20, 20 + w + 1, 10, 10 + Height},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, "centre", (200 - w) / 2, (200 + w) / 2 + 1, (100 - Height) / 2,
         (100 + Height) / 2 + 1},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, "right bottom", 180 - w, 180, 90 - Height, 90},
        {DT_RIGHT | DT_BOTTOM, "bottom needs single line", 180 - w, 180, 10, 10 + Height},
    };
    for (const Case& c : cases) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(clWhite);
        Canvas->FillRect(Rect(0, 0, 200, 100));
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Handle();
        const TRect ink = Draw("Hijri", Rect(20, 10, 180, 90), c.Format);
        EXPECT_GE(ink.Left, c.Left) << c.What;
        EXPECT_LE(ink.Right, c.Right) << c.What;
        EXPECT_GE(ink.Top, c.Top) << c.What;
        EXPECT_LE(ink.Bottom, c.Bottom) << c.What;
    }
}

TEST_F(DrawTextFixture, WordBreakAndCalcRect)
{
    const int wide = Width("Gregorian");
    TRect rect = Rect(0, 0, wide + 4, 0);
    // CALCRECT measures without drawing.
    const int height = DrawText(Dc, "Gregorian Converter one", rect, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(CountPixels(*Bitmap, clWhite), 200 * 100);
    EXPECT_EQ(height, 3 * Height);
    EXPECT_EQ(rect.Bottom, 3 * Height);
    EXPECT_EQ(rect.Right, std::max({wide, Width("Converter"), Width("one")}));

    TRect single = Rect(5, 7, 6, 8);
    EXPECT_EQ(DrawText(Dc, "Gregorian Converter", single, DT_SINGLELINE | DT_CALCRECT), Height);
    EXPECT_EQ(single, Rect(5, 7, 5 + Width("Gregorian Converter"), 7 + Height));

    TRect empty = Rect(5, 7, 50, 50);
    EXPECT_EQ(DrawText(Dc, "", empty, DT_CALCRECT), 0);
    EXPECT_EQ(empty, Rect(5, 7, 5, 7));

    const TRect ink = Draw("Gregorian Converter one", Rect(0, 0, wide + 4, 100), DT_WORDBREAK);
    EXPECT_GT(ink.Bottom, 2 * Height);
    EXPECT_LE(ink.Bottom, 3 * Height);
}

TEST_F(DrawTextFixture, PrefixesUnderlineAndMeasure)
{
    TRect r = Rect(0, 0, 200, 0);
    DrawText(Dc, "&Close", r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.Right, Width("Close"));
    r = Rect(0, 0, 200, 0);
    DrawText(Dc, "Tom && Jerry", r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.Right, Width("Tom & Jerry"));
    r = Rect(0, 0, 200, 0);
    DrawText(Dc, "&Close", r, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.Right, Width("&Close"));
    // A caption of just "&" measures as nothing at all.
    r = Rect(0, 0, 200, 0);
    DrawText(Dc, "&", r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.Right, 0);

    // The underline: a row of ink under the C, none under the rest.
    TEXTMETRIC tm;
    GetTextMetrics(Dc, &tm);
    Draw("&Close", Rect(0, 0, 200, 100), DT_SINGLELINE);
    const int row = tm.tmAscent + 1;
    const int cWidth = Width("C");
    EXPECT_EQ(CountPixels(*Bitmap, clBlack, Rect(0, row, cWidth, row + 1)), cWidth);
    EXPECT_EQ(CountPixels(*Bitmap, clBlack, Rect(cWidth + 2, row, 200, row + 1)), 0);

    // Hidden prefixes measure the same and draw no underline.
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clWhite);
    Canvas->FillRect(Rect(0, 0, 200, 100));
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Handle();
    Draw("&Close", Rect(0, 0, 200, 100), DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(CountPixels(*Bitmap, clBlack, Rect(0, row, cWidth, row + 1)), 0);
}

TEST_F(DrawTextFixture, CentredLineWiderThanItsRectangleLosesBothEnds)
{
    const int w = Width("Gregorian Converter");
    const TRect box = Rect(80, 10, 80 + w / 2, 10 + Height);
    const TRect ink = Draw("Gregorian Converter", box, DT_CENTER | DT_SINGLELINE);
    EXPECT_EQ(ink.Left, box.Left);
    EXPECT_EQ(ink.Right, box.Right);
    EXPECT_GE(ink.Top, box.Top);
    EXPECT_LE(ink.Bottom, box.Bottom);
    // Without clipping the ends show.
    const TRect free = Draw("Gregorian Converter", box, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
    EXPECT_LT(free.Left, box.Left - w / 8);
    EXPECT_GT(free.Right, box.Right + w / 8);
}

TEST_F(DrawTextFixture, TabsAndEllipsis)
{
    TEXTMETRIC tm;
    GetTextMetrics(Dc, &tm);
    TRect r = Rect(0, 0, 200, 0);
    DrawText(Dc, "a\tb", r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(r.Right, 8 * tm.tmAveCharWidth + Width("b"));
    // With DT_TABSTOP bits 8..15 are the tab width (so no CALCRECT): look at the ink.
    const TRect ink = Draw("a\tb", Rect(0, 0, 200, 100), DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (2 << 8));
    EXPECT_GT(ink.Right, 2 * tm.tmAveCharWidth);
    EXPECT_LE(ink.Right, 2 * tm.tmAveCharWidth + Width("b"));

    const int narrow = Width("Gregorian");
    r = Rect(0, 0, narrow, 0);
    DrawText(Dc, "Gregorian Converter", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(r.Right, narrow);
    EXPECT_GT(r.Right, narrow / 2);
}

}  // namespace
