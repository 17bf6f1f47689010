// Effect lettering: where each pass of each style lands, disabled looks,
// clipping and spacing, and what a text measures.
#include "effects/FxText.h"

#include "tests/framework/graphics/PixelTest.h"

#include <set>

namespace {

constexpr TColor Face = clBlue;
constexpr TColor Light = clRed;
constexpr TColor Shadow = clLime;
constexpr TColor BrushFace = clYellow;
constexpr int LightDepth = 2;
constexpr int ShadowDepth = 3;

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsOf(const TBitmap& bitmap, TColor color, int dx = 0, int dy = 0)
{
    PixelSet set;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixels(x, y) == ColorToRGB(color))
                set.insert({x + dx, y + dy});
    return set;
}

bool Within(const PixelSet& part, const PixelSet& whole)
{
    for (const auto& p : part)
        if (!whole.contains(p))
            return false;
    return true;
}

void SetupFont(TCanvas* canvas)
{
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-36);
    canvas->Font()->SetStyle({fsBold});
    canvas->Font()->SetColor(Face);
    canvas->Brush()->SetColor(BrushFace);
}

// One glyph drawn with an effect (or plain) on white.
std::unique_ptr<TBitmap> Glyph(TFx3DCaption* effect, TFxTextState state = {tsEnabled})
{
    auto bitmap = SentinelBitmap(60, 60, clWhite);
    SetupFont(bitmap->Canvas());
    DrawEffectText(bitmap->Canvas(), "L", effect, Rect(5, 5, 60, 60), DT_SINGLELINE, state);
    return bitmap;
}

std::unique_ptr<TFx3DCaption> Effect(TFxThreeDStyle style, TFxDisabledStyle disabled = dsAuto)
{
    auto effect = std::make_unique<TFx3DCaption>();
    effect->SetStyle(style);
    effect->SetDisabledStyle(disabled);
    effect->SetLightDepth(LightDepth);
    effect->SetShadowDepth(ShadowDepth);
    effect->SetLightColor(Light);
    effect->SetShadowColor(Shadow);
    return effect;
}

// Net offset of a pass, or -1 when the style has no such pass.
struct PassOffsets {
    int Shadow;
    int Light;
    int Face;
};

// Checks that the face is the plain glyph moved by its offset, and that the
// highlight and shadow show (partly covered) at theirs.
void ExpectPasses(const TBitmap& drawn, const PixelSet& plain, PassOffsets at, TColor face, const std::string& what)
{
    const auto moved = [&](int d) {
        PixelSet set;
        for (const auto& [x, y] : plain)
            set.insert({x + d, y + d});
        return set;
    };
    EXPECT_EQ(PixelsOf(drawn, face), moved(at.Face)) << what << ": face";
    for (const auto& [colour, offset, name] :
         {std::tuple{Light, at.Light, "highlight"}, std::tuple{Shadow, at.Shadow, "shadow"}}) {
        const PixelSet pixels = PixelsOf(drawn, colour);
        if (offset < 0) {
            EXPECT_TRUE(pixels.empty()) << what << ": no " << name;
            continue;
        }
        EXPECT_FALSE(pixels.empty()) << what << ": " << name;
        EXPECT_TRUE(Within(pixels, moved(offset))) << what << ": " << name << " at +" << offset;
    }
}

} // namespace

TEST(EffectText, EachStyleDrawsItsPassesAtTheirOffsets)
{
    const PixelSet plain = PixelsOf(*Glyph(Effect(tdNone).get()), Face);
    ASSERT_GT(plain.size(), 50u);
    const int L = LightDepth;
    const int S = ShadowDepth;
    const struct {
        TFxThreeDStyle Style;
        PassOffsets At;
        TColor FaceColour;
    } cases[] = {
        {tdNone, {-1, -1, 0}, Face},
        {tdSunken, {-1, L, 0}, Face},
        {tdRaised, {-1, 0, L}, Face},
        {tdSunkenShadow, {0, L + S, S}, Face},
        {tdRaisedShadow, {L + S, 0, L}, Face},
        {tdPColorSunken, {0, L + S, S}, BrushFace},
        {tdPColorRaised, {L + S, 0, L}, BrushFace},
        {tdShadow, {S, -1, 0}, Face},
    };
    for (const auto& c : cases) {
        auto effect = Effect(c.Style);
        ExpectPasses(*Glyph(effect.get()), plain, c.At, c.FaceColour, "style " + std::to_string(c.Style));
    }
}

// Disabled: grey faces, and a sunken look where the style asks for it.
TEST(EffectText, DisabledStyles)
{
    const PixelSet plain = PixelsOf(*Glyph(Effect(tdNone).get()), Face);
    const int L = LightDepth;
    const struct {
        TFxDisabledStyle Disabled;
        TFxTextState State;
        PassOffsets At;
        TColor FaceColour;
    } cases[] = {
        {dsAuto, {}, {-1, 0, L}, clGrayText},                    // raised kept
        {dsAuto, {tsSunkenIfDisabled}, {-1, L, 0}, clGrayText},  // turned sunken
        {ds3d, {}, {-1, L, 0}, clGrayText},
        {dsStandard, {tsSunkenIfDisabled}, {-1, 0, L}, clGrayText},
        {dsNone, {}, {-1, 0, L}, Face},                          // as if enabled
    };
    for (const auto& c : cases) {
        auto effect = Effect(tdRaised, c.Disabled);
        ExpectPasses(*Glyph(effect.get(), c.State), plain, c.At, c.FaceColour,
                     "disabled style " + std::to_string(c.Disabled));
    }
}

TEST(EffectText, PlainTextAndNothingToDraw)
{
    EXPECT_EQ(PixelsOf(*Glyph(nullptr), Face), PixelsOf(*Glyph(Effect(tdNone).get()), Face));
    auto bitmap = SentinelBitmap(20, 20);
    SetupFont(bitmap->Canvas());
    auto effect = Effect(tdRaisedShadow);
    DrawEffectText(bitmap->Canvas(), "", effect.get(), Rect(0, 0, 20, 20), 0, {tsEnabled});
    DrawEffectText(bitmap->Canvas(), "L", effect.get(), Rect(5, 5, 5, 20), 0, {tsEnabled});
    EXPECT_EQ(CountPixels(*bitmap, Sentinel), 400);
}

TEST(EffectText, ClipAndTracingLastOnlyForTheCall)
{
    auto bitmap = SentinelBitmap(60, 60, clWhite);
    SetupFont(bitmap->Canvas());
    auto effect = Effect(tdRaisedShadow);
    effect->SetTracing(4);
    const TRect clip = Rect(0, 0, 60, 20);
    DrawEffectText(bitmap->Canvas(), "LL", effect.get(), Rect(5, 5, 60, 60), DT_SINGLELINE, {tsEnabled, tsClip}, &clip);
    EXPECT_GT(CountPixels(*bitmap, Face), 0);
    EXPECT_EQ(InkBounds(*bitmap, clWhite).Bottom, 20);
    const HDC dc = bitmap->Canvas()->Handle();
    EXPECT_EQ(GetTextCharacterExtra(dc), 0);
    const HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, region), 0);
    DeleteObject(region);
}

// Right-aligned lettering keeps all its passes inside its rectangle: the
// rectangle is narrowed by the style's depth before the passes move right.
TEST(EffectText, RightAlignedPassesStayInsideTheRectangle)
{
    auto bitmap = SentinelBitmap(80, 60, clWhite);
    SetupFont(bitmap->Canvas());
    auto effect = Effect(tdRaisedShadow);
    DrawEffectText(bitmap->Canvas(), "L", effect.get(), Rect(5, 5, 60, 60), DT_SINGLELINE | DT_RIGHT, {tsEnabled});
    const TRect ink = InkBounds(*bitmap, clWhite);
    EXPECT_LE(ink.Right, 60) << "the shadow stays inside";
    EXPECT_GE(ink.Right, 56) << "and reaches the right edge, less the glyph's own side bearing";
}

TEST(Caption, AngleWrapsAndSilentPosition)
{
    TFxCaption caption;
    int notices = 0;
    caption.OnChange = [&](TObject*) { ++notices; };
    caption.SetAngle(360);
    EXPECT_EQ(caption.Angle(), 0);
    EXPECT_EQ(notices, 0);
    caption.SetAngle(450);
    EXPECT_EQ(caption.Angle(), 90);
    caption.SetPositionSilently(7, 9);
    EXPECT_EQ(caption.PosX(), 7);
    EXPECT_EQ(caption.PosY(), 9);
    EXPECT_EQ(notices, 1);
}

class MeasureFixture : public ::testing::Test {
protected:
    MeasureFixture()
    {
        font.SetName("Times New Roman");
        font.SetHeight(-27);
        font.SetStyle({fsBold});
    }
    // The text's own extent, as DrawText computes it.
    TSize TextSize(const std::string& text, UINT format = 0)
    {
        const HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font.Handle());
        TRect r;
        DrawText(dc, text, r, DT_CALCRECT | format);
        DeleteDC(dc);
        return {r.Width(), r.Height()};
    }
    TRect Measure(const std::string& text, TFx3DCaption* effect, bool showAccel = true, int border = 0)
    {
        TRect r = Rect(10, 20, 10, 20);
        MeasureEffectText(text, effect, r, &font, false, showAccel, border);
        return r;
    }
    TFont font;
};

TEST_F(MeasureFixture, GrowsByTheDepthAndTheBorder)
{
    const TSize text = TextSize("Hijri");
    TFxCaption caption;
    caption.SetStyle(tdRaisedShadow);
    EXPECT_EQ(Measure("Hijri", &caption), Bounds(10, 20, text.cx + 4, text.cy + 4));
    EXPECT_EQ(Measure("Hijri", &caption, true, 3), Bounds(10, 20, text.cx + 2 + 8, text.cy + 2 + 8));
    caption.SetStyle(tdShadow);
    caption.SetShadowDepth(5);
    EXPECT_EQ(Measure("Hijri", &caption), Bounds(10, 20, text.cx + 5 + 2, text.cy + 5 + 2));
    EXPECT_EQ(Measure("Hijri", nullptr), Bounds(10, 20, text.cx + 2, text.cy + 2));
}

TEST_F(MeasureFixture, LoneAmpersandMeasuresAsASpaceAndEmptyAsOneLine)
{
    const TSize space = TextSize(" ");
    EXPECT_EQ(Measure("&", nullptr).Width(), space.cx + 2);
    EXPECT_EQ(Measure("", nullptr).Height(), space.cy + 2);
    EXPECT_EQ(Measure("&", nullptr, false).Width(), TextSize("&", DT_NOPREFIX).cx + 2);
}

TEST_F(MeasureFixture, LongTextsAreCutAt255)
{
    EXPECT_EQ(Measure(std::string(300, 'x'), nullptr), Measure(std::string(255, 'x'), nullptr));
}

// A long text is cut to the buffer's 255 bytes without splitting a character.
TEST_F(MeasureFixture, LongTextsAreCutBetweenCharacters)
{
    std::string accents;
    for (int i = 0; i < 150; ++i)
        accents += "\xC3\xA9"; // é, two bytes
    EXPECT_EQ(Measure(accents, nullptr), Measure(accents.substr(0, 254), nullptr));
}

TEST_F(MeasureFixture, MultiLineWrapsAtTheRectanglesWidth)
{
    const TSize word = TextSize("Converter");
    TRect r = Rect(0, 0, word.cx + 4, 0);
    MeasureEffectText("Converter Converter", nullptr, r, &font, true, false, 0);
    EXPECT_EQ(r.Height(), 2 * word.cy + 2);
    r = Rect(0, 0, word.cx + 4, 0);
    MeasureEffectText("Converter Converter", nullptr, r, &font, false, false, 0);
    EXPECT_EQ(r.Height(), word.cy + 2) << "one line without multi-line";
}

// Deep lettering turned a quarter: the box grows by the depth, and the
// reference point moves by half of that less the allowance that keeps the
// passes in the box (half the depth less one).
TEST_F(MeasureFixture, RotatedDeepLetteringKeepsItsPassesInTheBox)
{
    TFxCaption plain;
    plain.SetAngle(90);
    const TRect plainBox = Measure("Hijri", &plain);
    TFxCaption deep;
    deep.SetAngle(90);
    deep.SetStyle(tdRaisedShadow);
    deep.SetLightDepth(4);
    deep.SetShadowDepth(4);
    const TRect deepBox = Measure("Hijri", &deep);
    EXPECT_EQ(deepBox.Width(), plainBox.Width() + 8);
    EXPECT_EQ(deepBox.Height(), plainBox.Height() + 8);
    EXPECT_EQ(deep.PosX() - plain.PosX(), 4 - 3);
    EXPECT_EQ(deep.PosY() - plain.PosY(), 4 - 3);
}

TEST_F(MeasureFixture, PlacedCaptionStartsAtItsCorner)
{
    TFxCaption caption;
    caption.SetPositionSilently(5, 6);
    int notices = 0;
    caption.OnChange = [&](TObject*) { ++notices; };
    Measure("Hijri", &caption);
    EXPECT_EQ(caption.PosX(), 0);
    EXPECT_EQ(caption.PosY(), 0);
    EXPECT_EQ(notices, 0);
}

// Turned a quarter, the text stands in a box as wide as it was high; the
// reference point sits so the text's centre is the box's centre.
TEST_F(MeasureFixture, RotatedTextTakesItsTurnedBoxAndCentres)
{
    const TSize text = TextSize("Hijri");
    TFxCaption caption;
    caption.SetAngle(90);
    int notices = 0;
    caption.OnChange = [&](TObject*) { ++notices; };
    const TRect box = Measure("Hijri", &caption);
    // Corners are rounded half to even, so an odd side may gain a pixel.
    EXPECT_EQ(box.TopLeft(), (TPoint{0, 0}));
    EXPECT_NEAR(box.Width(), text.cy + 2, 1);
    EXPECT_NEAR(box.Height(), text.cx + 2, 1);
    EXPECT_NEAR(caption.PosX(), 0, 1);
    EXPECT_NEAR(caption.PosY(), text.cx, 1);
    EXPECT_GE(notices, 1);

    // Drawn there, the turned text lies inside its box.
    auto bitmap = SentinelBitmap(box.Width(), box.Height(), clWhite);
    bitmap->Canvas()->Font()->Assign(&font);
    bitmap->Canvas()->Font()->SetColor(Face);
    DrawEffectText(bitmap->Canvas(), "Hijri", &caption, Rect(1, 1, box.Right, box.Bottom), 0, {tsEnabled});
    const TRect ink = InkBounds(*bitmap, clWhite);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_EQ(IntersectRect(ink, Rect(0, 0, box.Width(), box.Height())), ink);
    EXPECT_GT(ink.Height(), ink.Width());
}

TEST(AlignEffectText, PlacesTheMeasuredTextInTheContainer)
{
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-20);
    TRect measured = Rect(0, 0, 200, 100);
    --measured.Right;
    MeasureEffectText("Hi", nullptr, measured, &font, false, true, 0);
    const TRect container = Rect(0, 0, 200, 100);
    EXPECT_EQ(AlignEffectText(agBottomRight, "Hi", nullptr, container, &font, false, true),
              Rect(200 - measured.Width(), 100 - measured.Height(), 200, 100));
}

// The text is measured in the container less its last column, so a line as
// wide as the whole container wraps.
TEST(AlignEffectText, ALineAsWideAsTheContainerWraps)
{
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-20);
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font.Handle());
    TRect line;
    DrawText(dc, "Hi Hi", line, DT_CALCRECT);
    DeleteDC(dc);
    const TRect container = Rect(0, 0, line.Width(), 200);
    const TRect aligned = AlignEffectText(agTopLeft, "Hi Hi", nullptr, container, &font, true, true);
    EXPECT_EQ(aligned.Height(), 2 * line.Height() + 2);
    const TRect wider = AlignEffectText(agTopLeft, "Hi Hi", nullptr, OffsetRect(Rect(0, 0, line.Width() + 1, 200), 0, 0),
                                        &font, true, true);
    EXPECT_EQ(wider.Height(), line.Height() + 2);
}
