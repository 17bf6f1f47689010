// The fill label: gradient faces between untouched highlight and shadow
// strokes, the plain path for an empty fill or a disabled label, the fill
// cache's life, and lettering that never outlives a change.
#include "effects/FxLabelFill.h"
#include "effects/FxText.h"

#include "tests/framework/graphics/PixelTest.h"

#include "framework/controls/Forms.h"

#include <QCoreApplication>
#include "framework/controls/StdCtrls.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int Width = 264;
constexpr int Height = 49;
const TPoint At{3, 2};

// A banner label on an unshown form, configured as the converter's banner.
template <typename Label>
struct Banner {
    TForm form{nullptr};
    Label* label = nullptr;

    explicit Banner(const std::string& caption, TColor fontColor = clBlue)
    {
        form.SetColor(clBtnFace);
        label = new Label(&form);
        label->SetParent(&form);
        label->SetAutoSize(false);
        label->SetBounds(At.X, At.Y, Width, Height);
        label->SetCaption(caption);
        label->Font()->SetName("Times New Roman");
        label->Font()->SetHeight(-27);
        label->Font()->SetStyle({fsBold});
        label->Font()->SetColor(fontColor);
        label->FontFx()->SetStyle(tdRaisedShadow);
        label->SetAlignment(agCenter);
    }
    ~Banner() { form.BeforeDestruction(); }

    // The form's windowless children as the form's paint draws them.
    std::unique_ptr<TBitmap> Paint()
    {
        auto bitmap = SentinelBitmap(Width + 6, Height + 4);
        form.PaintControls(bitmap->Canvas()->Handle());
        return bitmap;
    }
};

struct FillBanner : Banner<TFxLabelFill> {
    explicit FillBanner(const std::string& caption, TColor fontColor = clBlue) : Banner(caption, fontColor)
    {
        label->FillObject()->SetStyle(sfGradient);
    }
};
// The plain effect label, opaque like the fill label.
struct PlainBanner : Banner<TFxCustomLabel> {
    explicit PlainBanner(const std::string& caption, TColor fontColor = clBlue) : Banner(caption, fontColor)
    {
        label->SetTransparent(false);
    }
};

// The default gradient's colour at a row of the label.
TColor BandColour(int row)
{
    TFxGradient gradient;
    int band = 0;
    while (MulDiv(band + 1, Height, 16) <= row)
        ++band;
    return gradient.BandColors()[static_cast<std::size_t>(band)];
}

bool SamePixels(const TBitmap& a, const TBitmap& b)
{
    return a.Image() == b.Image();
}

} // namespace

// Where the plain label has a face pixel the fill label shows the gradient's
// band of that row; every other pixel (highlight, shadow, background) is
// the same in both.
TEST(LabelFill, FacesShowTheGradientStrokesAndBackgroundStay)
{
    FillBanner filled("Gregorian Converter");
    PlainBanner plain("Gregorian Converter");
    const auto fill = filled.Paint();
    const auto reference = plain.Paint();
    int faces = 0;
    for (int y = 0; y < fill->Height(); ++y)
        for (int x = 0; x < fill->Width(); ++x) {
            const TColor p = reference->Pixels(x, y);
            if (p == clBlue) {
                ++faces;
                ASSERT_EQ(fill->Pixels(x, y), BandColour(y - At.Y)) << x << "," << y;
            } else {
                ASSERT_EQ(fill->Pixels(x, y), p) << x << "," << y;
            }
        }
    EXPECT_GT(faces, 500);
    EXPECT_GT(CountPixels(*fill, clBtnHighlight), 100);
    EXPECT_GT(CountPixels(*fill, clBtnShadow), 100);
    EXPECT_EQ(CountPixels(*fill, Sentinel), fill->Width() * fill->Height() - Width * Height);
}

TEST(LabelFill, WithoutAFillItPaintsAsThePlainLabel)
{
    FillBanner filled("Hijri", clBlack);
    filled.label->FillObject()->SetStyle(sfNone);
    PlainBanner plain("Hijri", clBlack);
    EXPECT_TRUE(SamePixels(*filled.Paint(), *plain.Paint()));
}

// Disabled: grey raised lettering, no gradient; enabled again, the gradient
// comes back from the same cache.
TEST(LabelFill, DisabledShowsGreyLetteringAndReenablingReusesTheCache)
{
    FillBanner filled("Hijri", clBlack);
    const auto enabled = filled.Paint();
    const qint64 cache = filled.label->FillCache().Image().cacheKey();
    ASSERT_FALSE(filled.label->FillCache().Empty());

    filled.label->SetEnabled(false);
    PlainBanner plain("Hijri", clBlack);
    plain.label->SetEnabled(false);
    const auto disabled = filled.Paint();
    EXPECT_TRUE(SamePixels(*disabled, *plain.Paint()));
    EXPECT_GT(CountPixels(*disabled, clGrayText), 100);
    EXPECT_EQ(CountPixels(*disabled, clBlack), 0) << "no face in the font's own colour";
    EXPECT_EQ(CountPixels(*disabled, BandColour(Height / 2)), 0);

    filled.label->SetEnabled(true);
    EXPECT_TRUE(SamePixels(*filled.Paint(), *enabled));
    EXPECT_EQ(filled.label->FillCache().Image().cacheKey(), cache);
}

TEST(LabelFill, ChangesEmptyTheCacheOnlyWhenTheyChangeSomething)
{
    FillBanner filled("Hijri");
    const auto painted = [&] {
        filled.Paint();
        return !filled.label->FillCache().Empty();
    };
    ASSERT_TRUE(painted());
    filled.label->SetAlignment(agCenter);
    EXPECT_FALSE(filled.label->FillCache().Empty()) << "same alignment";
    filled.label->SetLeft(40);
    EXPECT_FALSE(filled.label->FillCache().Empty()) << "a move";
    filled.label->SetAlignment(agTopLeft);
    EXPECT_TRUE(filled.label->FillCache().Empty()) << "new alignment";
    ASSERT_TRUE(painted());
    filled.label->SetWidth(100);
    EXPECT_TRUE(filled.label->FillCache().Empty()) << "new size";
    ASSERT_TRUE(painted());
    filled.label->FillObject()->Gradient()->SetEndColor(clRed);
    EXPECT_TRUE(filled.label->FillCache().Empty()) << "new gradient";
    ASSERT_TRUE(painted());
    filled.label->SetBrushBackColor(clBtnFace);
    EXPECT_FALSE(filled.label->FillCache().Empty()) << "same brush background";
}

// The cache holds the fill alone; a new caption or colour at run time
// shows exactly what a label made with it from the start shows.
TEST(LabelFill, NewCaptionOrColourNeverShowsTheOldLettering)
{
    FillBanner changed("Hijri");
    changed.Paint();
    changed.label->SetCaption("Gregorian");
    FillBanner fresh("Gregorian");
    EXPECT_TRUE(SamePixels(*changed.Paint(), *fresh.Paint()));

    for (int y = 0; y < Height; ++y)
        EXPECT_EQ(CountPixels(changed.label->FillCache(), BandColour(y), Rect(0, y, Width, y + 1)), Width) << y;

    changed.form.SetColor(clWhite);  // the label follows its parent's colour
    fresh.form.SetColor(clWhite);
    FillBanner white("Gregorian");
    white.form.SetColor(clWhite);
    EXPECT_TRUE(SamePixels(*changed.Paint(), *white.Paint()));
}

// A fill that leaves part of the label uncovered shows the label's colour
// there; when the colour scheme changes that colour, the label looks as one
// made under the new scheme, faces included.
TEST(LabelFill, ASchemeChangeShowsThroughTheUncoveredFill)
{
    const auto smallPicture = [](FillBanner& banner) {
        TBitmap picture(40, Height);
        picture.Canvas()->Brush()->SetColor(clRed);
        picture.Canvas()->FillRect(Rect(0, 0, 40, Height));
        banner.label->FillObject()->SetStyle(sfBitmap);
        banner.label->FillObject()->SetTileMode(tmNone);
        banner.label->FillObject()->SetBitmap(&picture);
    };
    FillBanner changed("Gregorian Converter");
    smallPicture(changed);
    changed.Paint();
    const int index = COLOR_BTNFACE;
    const COLORREF teal = RGB(0x00, 0x80, 0x80);
    ASSERT_TRUE(SetSysColors(1, &index, &teal));
    FillBanner fresh("Gregorian Converter");
    smallPicture(fresh);
    const auto now = changed.Paint();
    const bool same = SamePixels(*now, *fresh.Paint());
    const int tealPixels = CountPixels(*now, teal);
    ResetSysColors();
    EXPECT_TRUE(same);
    EXPECT_GT(tealPixels, 1000);
}

// A hatched brush fill: its gaps in BrushBackColor, which repaints when it changes.
TEST(LabelFill, BrushFillGapsTakeTheBrushBackColour)
{
    FillBanner filled("Gregorian Converter");
    filled.label->FillObject()->SetStyle(sfBrush);
    filled.label->FillObject()->Brush()->SetStyle(bsDiagCross);
    filled.label->FillObject()->Brush()->SetColor(clRed);
    filled.label->SetBrushBackColor(clLime);
    EXPECT_GT(CountPixels(*filled.Paint(), clLime), 50);
    filled.label->SetBrushBackColor(clYellow);
    const auto painted = filled.Paint();
    EXPECT_EQ(CountPixels(*painted, clLime), 0);
    EXPECT_GT(CountPixels(*painted, clYellow), 50);
}

// A change of BrushBackColor shows on a shown form at once.
TEST(LabelFill, BrushBackColourRepaintsAShownLabel)
{
    FillBanner filled("Gregorian Converter");
    filled.label->FillObject()->SetStyle(sfBrush);
    filled.label->FillObject()->Brush()->SetStyle(bsDiagCross);
    filled.label->FillObject()->Brush()->SetColor(clRed);
    filled.label->SetBrushBackColor(clLime);
    filled.form.SetBounds(50, 50, 300, 100);
    filled.form.Show();
    QCoreApplication::processEvents();
    const auto yellowOnForm = [&] {
        const QImage& image = filled.form.ClientSurface()->Image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == 0xFFFF00u ? 1 : 0; // yellow
        return n;
    };
    ASSERT_EQ(yellowOnForm(), 0);
    filled.label->SetBrushBackColor(clYellow);
    EXPECT_GT(yellowOnForm(), 50);
}

// A brush fill whose gaps take a system colour follows a scheme change of that
// colour, in the faces too, while the label's own colour stays.
TEST(LabelFill, BrushGapsFollowASchemeChangeOfTheirColour)
{
    const auto hatched = [](FillBanner& banner) {
        banner.form.SetColor(clWhite);
        banner.label->FillObject()->SetStyle(sfBrush);
        banner.label->FillObject()->Brush()->SetStyle(bsDiagCross);
        banner.label->FillObject()->Brush()->SetColor(clRed);
        banner.label->SetBrushBackColor(clBtnFace);
    };
    FillBanner changed("Gregorian Converter");
    hatched(changed);
    changed.Paint();
    const int index = COLOR_BTNFACE;
    const COLORREF teal = RGB(0x00, 0x80, 0x80);
    ASSERT_TRUE(SetSysColors(1, &index, &teal));
    FillBanner fresh("Gregorian Converter");
    hatched(fresh);
    const auto now = changed.Paint();
    const bool same = SamePixels(*now, *fresh.Paint());
    const int tealPixels = CountPixels(*now, teal);
    ResetSysColors();
    EXPECT_TRUE(same);
    EXPECT_GT(tealPixels, 100);
}

// Centred and multi-line, the text stands in the middle of the label; its
// faces still show the gradient band of their own row.
TEST(LabelFill, CentredMultiLineFacesShowTheirRowsBand)
{
    FillBanner filled("Hijri");
    filled.label->SetMultiLine(true);
    PlainBanner plain("Hijri");
    plain.label->SetMultiLine(true);
    const auto fill = filled.Paint();
    const auto reference = plain.Paint();
    int faces = 0;
    for (int y = 0; y < fill->Height(); ++y)
        for (int x = 0; x < fill->Width(); ++x)
            if (reference->Pixels(x, y) == clBlue) {
                ++faces;
                ASSERT_EQ(fill->Pixels(x, y), BandColour(y - At.Y)) << x << "," << y;
            }
    EXPECT_GT(faces, 100);
}

// A centred single line stands halfway between where the top and the bottom
// alignments put it.
TEST(LabelFill, CentredSingleLineStandsHalfwayDown)
{
    const auto inkTop = [](TFxAlignment alignment) {
        PlainBanner plain("Hijri");
        plain.label->SetAlignment(alignment);
        const auto painted = plain.Paint();
        for (int y = At.Y; y < At.Y + Height; ++y)
            for (int x = At.X; x < At.X + Width; ++x)
                if (painted->Pixels(x, y) != ColorToRGB(clBtnFace))
                    return y;
        return -1;
    };
    const int top = inkTop(agTopCenter);
    const int centre = inkTop(agCenter);
    const int bottom = inkTop(agBottomCenter);
    ASSERT_GT(bottom - top, 8);
    EXPECT_NEAR(centre - top, bottom - centre, 1);
}

// A bevel's border band shows in its own colour; the lettering stays inside
// the bevel however long the caption.
TEST(LabelFill, BevelBorderShowsAndTheLetteringStaysInside)
{
    PlainBanner plain("Gregorian Converter Gregorian Converter");
    plain.label->Bevel()->SetStyleOuter(TFxBevelStyle::bvLowered);
    plain.label->Bevel()->SetBorderWidth(2);
    plain.label->Bevel()->SetBorderColor(clRed);
    plain.label->SetAlignment(agCenterLeft);
    const auto painted = plain.Paint();
    // outer lowered frame 1, red band 2: the text starts 3 in
    const TRect label = Bounds(At.X, At.Y, Width, Height);
    EXPECT_EQ(CountPixels(*painted, clRed, Rect(label.Left + 1, label.Top + 1, label.Right - 1, label.Top + 3)),
              2 * (Width - 2));
    EXPECT_EQ(CountPixels(*painted, clRed, Rect(label.Right - 3, label.Top + 3, label.Right - 1, label.Bottom - 3)),
              2 * (Height - 6)) << "the right band, where the long caption runs into it";
}

// Turned lettering is drawn without a rectangle to stop it: the bevel's clip
// keeps a long turned caption off the bevel.
TEST(LabelFill, TurnedLetteringStaysInsideTheBevel)
{
    PlainBanner plain("Gregorian Converter Gregorian Converter");
    plain.label->Font()->SetName("Arial");
    plain.label->FontFx()->SetAngle(90);
    plain.label->SetAlignment(agTopLeft);
    plain.label->Bevel()->SetBorderWidth(2);
    plain.label->Bevel()->SetBorderColor(clRed);
    const auto painted = plain.Paint();
    const TRect label = Bounds(At.X, At.Y, Width, Height);
    EXPECT_EQ(CountPixels(*painted, clRed, Rect(label.Left, label.Top, label.Right, label.Top + 2)), 2 * Width)
        << "the top band, which the turned caption runs into";
}

// The caption's accelerator moves the focus to the label's control only
// while the label shows accelerators.
TEST(LabelFill, AcceleratorFocusesTheControlOnlyWithShowAccelChar)
{
    PlainBanner plain("&Hijri");
    auto* button = new TButton(&plain.form);
    button->SetParent(&plain.form);
    button->SetBounds(10, 60, 80, 24);
    plain.label->SetFocusControl(button);
    plain.form.Show();
    plain.label->SetShowAccelChar(false);
    EXPECT_EQ(plain.label->Perform(CM_DIALOGCHAR, 'h', 0), 0);
    EXPECT_FALSE(button->Focused());
    plain.label->SetShowAccelChar(true);
    EXPECT_EQ(plain.label->Perform(CM_DIALOGCHAR, 'h', 0), 1);
    EXPECT_TRUE(button->Focused());
}

// AutoSize leaves room for the bevel on every side.
TEST(LabelFill, AutoSizeMakesRoomForTheBevel)
{
    FillBanner filled("Hijri");
    filled.label->Bevel()->SetStyleOuter(TFxBevelStyle::bvLowered);
    filled.label->Bevel()->SetWidthOuter(3);
    filled.label->SetAutoSize(true);
    TRect plain;
    MeasureEffectText("Hijri", filled.label->FontFx(), plain, filled.label->Font(), false, true, 0);
    EXPECT_EQ(filled.label->Width(), plain.Width() + 2 * 3);
    EXPECT_EQ(filled.label->Height(), plain.Height() + 2 * 3);
}

TEST(LabelFill, PaintingReleasesEverythingItMakes)
{
    FillBanner filled("Gregorian Converter");
    filled.Paint();
    const int live = TGdiObject::LiveCount();
    filled.Paint();  // warm
    filled.label->SetCaption("Hijri");
    filled.label->FillObject()->Gradient()->SetStyle(gstElliptic);
    filled.Paint();  // cold
    EXPECT_EQ(TGdiObject::LiveCount(), live);
}

// Outline fonts turn; a raster font drops the angle, and an angle set on a
// raster font brings an outline font.
TEST(LabelFill, OnlyOutlineFontsTurn)
{
    FillBanner filled("Hijri");
    filled.label->FontFx()->SetAngle(90);
    EXPECT_EQ(filled.label->FontFx()->Angle(), 90);
    EXPECT_EQ(filled.label->Font()->Name(), "Times New Roman");

    filled.label->Font()->SetName("System");
    EXPECT_EQ(filled.label->FontFx()->Angle(), 0);

    filled.label->FontFx()->SetAngle(45);
    EXPECT_EQ(filled.label->Font()->Name(), "Arial");
    EXPECT_EQ(filled.label->FontFx()->Angle(), 45);
}

TEST(LabelFill, AutoSizeTakesTheMeasuredSize)
{
    FillBanner filled("Hijri");
    filled.label->SetAutoSize(true);
    TRect expected;
    MeasureEffectText("Hijri", filled.label->FontFx(), expected, filled.label->Font(), false, true, 0);
    EXPECT_EQ(filled.label->BoundsRect(), Bounds(At.X, At.Y, expected.Width(), expected.Height()));
    filled.label->SetCaption("Gregorian Converter");
    EXPECT_GT(filled.label->Width(), expected.Width());
}

namespace {

// A list of one picture: a red square.
class OnePicture : public TFxImageList {
public:
    using TFxImageList::TFxImageList;
    bool GetPicture(int listIndex, int imageIndex, TBitmap& picture) const override
    {
        if (listIndex != 0 || imageIndex != 0)
            return false;
        picture.SetSize(4, 4);
        picture.Canvas()->Brush()->SetColor(clRed);
        picture.Canvas()->FillRect(Rect(0, 0, 4, 4));
        return true;
    }
};

} // namespace

TEST(LabelFill, ListPictureFollowsTheListAndItsIndexes)
{
    FillBanner filled("Hijri", clBlack);
    auto list = std::make_unique<OnePicture>(nullptr);
    filled.label->FillObject()->SetStyle(sfBitmapList);
    filled.label->SetImageList(list.get());
    EXPECT_EQ(filled.label->FillObject()->ListBitmap()->Width(), 4);
    EXPECT_GT(CountPixels(*filled.Paint(), clRed), 100);
    filled.label->SetImageIndex(1);
    EXPECT_TRUE(filled.label->FillObject()->ListBitmap()->Empty());
    filled.label->SetImageIndex(0);
    list.reset();
    EXPECT_EQ(filled.label->ImageList(), nullptr);
    EXPECT_TRUE(filled.label->FillObject()->ListBitmap()->Empty());
}
