// Fill descriptions and the picture painters: placement, colour masks,
// masked and key-colour transfers, and every fill style.
#include "effects/FxFill.h"

#include "tests/framework/graphics/PixelTest.h"

namespace {

const std::initializer_list<std::pair<TColor, char>> Legend = {
    {Sentinel, '.'}, {clBlack, '#'}, {clWhite, 'o'}, {clRed, 'r'}, {clBlue, 'b'}, {clLime, 'g'}};

// A small picture from rows of legend characters.
std::unique_ptr<TBitmap> PictureOf(std::initializer_list<const char*> rows)
{
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(std::string(*rows.begin()).size());
    auto bitmap = SentinelBitmap(w, h);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < w; ++x)
            for (const auto& [color, mark] : Legend)
                if (mark == row[x])
                    bitmap->Canvas()->SetPixels(x, y, color);
        ++y;
    }
    return bitmap;
}

} // namespace

TEST(AlignRectIn, NinePlacementsHalvingTowardZero)
{
    const TRect container = Rect(10, 20, 21, 30);  // 11 x 10
    const TRect item = Rect(0, 0, 4, 3);
    const struct {
        TFxAlignment Alignment;
        TPoint TopLeft;
    } cases[] = {
        {agTopLeft, {10, 20}},    {agTopCenter, {13, 20}},    {agTopRight, {17, 20}},
        {agCenterLeft, {10, 23}}, {agCenter, {13, 23}},       {agCenterRight, {17, 23}},
        {agBottomLeft, {10, 27}}, {agBottomCenter, {13, 27}}, {agBottomRight, {17, 27}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AlignRectIn(c.Alignment, item, container), Bounds(c.TopLeft.X, c.TopLeft.Y, 4, 3)) << c.Alignment;
    // An item larger than its container hangs out on both sides, the odd pixel on the left.
    EXPECT_EQ(AlignRectIn(agCenter, Rect(0, 0, 7, 1), Rect(0, 0, 4, 1)), Rect(-1, 0, 6, 1));
}

TEST(ColorMask, MaskWhiteWhereKeyMaskedCopyBlackThere)
{
    auto picture = PictureOf({"rbr.", "bbrg"});
    TBitmap mask;
    TBitmap masked;
    MakeColorMask(picture->Canvas(), Rect(1, 0, 4, 2), &mask, clRed, &masked);
    EXPECT_TRUE(mask.Monochrome());
    EXPECT_EQ(Picture(mask, Legend), "#o#\n#o#\n");
    EXPECT_EQ(Picture(masked, Legend), "b#.\nb#g\n");
}

TEST(DrawPicture, MaskedTransferKeepsTheTargetWhereTheMaskIsWhite)
{
    auto picture = PictureOf({"rr", "bb"});
    auto mask = PictureOf({"o#", "#o"});
    mask->SetMonochrome(true);
    auto target = SentinelBitmap(4, 3);
    DrawPicture(target->Canvas(), Rect(1, 1, 3, 3), *picture, mask.get(), clNone, dpMasked, Rect(0, 0, 2, 2));
    // Masked transfers OR the picture over the ANDed target: the picture must
    // be black under the mask's white pixels, as MakeColorMask leaves it.
    EXPECT_EQ(Picture(*target, Legend), "....\n.?r.\n.b?.\n");
    EXPECT_EQ(target->Canvas()->CopyMode(), cmSrcCopy);
}

TEST(DrawPicture, KeyColourLeavesTheTargetAloneUnderTheKey)
{
    auto picture = PictureOf({"rbr", "gro"});
    auto target = SentinelBitmap(5, 3);
    DrawPicture(target->Canvas(), Rect(1, 0, 5, 3), *picture, nullptr, clRed, dpKeyColor, Rect(0, 0, 3, 2));
    EXPECT_EQ(Picture(*target, Legend), "..b..\n.g.o.\n.....\n");
}

TEST(DrawPicture, PlacementsStayInsideTheDestination)
{
    auto picture = PictureOf({"rb", "go"});
    const TRect whole = Rect(0, 0, 2, 2);
    struct Case {
        const char* What;
        WORD Flags;
        TRect Dest;
        const char* Expected;
    };
    const Case cases[] = {
        {"plain", 0, Rect(1, 1, 4, 4), ".....\n.rb..\n.go..\n.....\n"},
        {"centre", dpCenter, Rect(0, 0, 5, 4), ".....\n.rb..\n.go..\n.....\n"},
        {"tile cut at the edge", dpTile, Rect(0, 0, 5, 3), "rbrbr\ngogog\nrbrbr\n.....\n"},
        {"stretch", dpStretch, Rect(0, 0, 4, 4), "rrbb.\nrrbb.\nggoo.\nggoo.\n"},
        // the fitted height may reach past the destination
        {"fit width", dpStretch | dpFitWidth, Rect(0, 0, 4, 2), "rrbb.\nrrbb.\nggoo.\nggoo.\n"},
        {"fit both", dpStretch | dpFitWidth | dpFitHeight, Rect(0, 0, 5, 2), "rb...\ngo...\n.....\n.....\n"},
    };
    for (const Case& c : cases) {
        auto target = SentinelBitmap(5, 4);
        DrawPicture(target->Canvas(), c.Dest, *picture, nullptr, clNone, c.Flags, whole);
        EXPECT_EQ(Picture(*target, Legend), c.Expected) << c.What;
    }
}

// A key-colour transfer of part of a picture: the part's own pixels, keyed.
TEST(DrawPicture, KeyColourOfAPartOfThePicture)
{
    auto picture = PictureOf({"gggg", "grbg", "gogg"});
    auto target = SentinelBitmap(3, 3);
    DrawPicture(target->Canvas(), Rect(0, 0, 2, 2), *picture, nullptr, clLime, dpKeyColor, Rect(1, 1, 3, 3));
    EXPECT_EQ(Picture(*target, Legend), "rb.\no..\n...\n");
}

// The painters give the context back as they found it: its text and
// background colours (the monochrome mapping) and its stretch mode.
TEST(DrawPicture, TheTargetKeepsItsColoursAndStretchMode)
{
    auto picture = PictureOf({"rb", "go"});
    auto target = SentinelBitmap(4, 4);
    const HDC dc = target->Canvas()->Handle();
    SetTextColor(dc, ColorToRGB(clRed));
    SetBkColor(dc, ColorToRGB(clLime));
    SetStretchBltMode(dc, HALFTONE);
    DrawPicture(target->Canvas(), Rect(0, 0, 2, 2), *picture, nullptr, clRed, dpKeyColor, Rect(0, 0, 2, 2));
    DrawPicture(target->Canvas(), Rect(0, 0, 4, 4), *picture, nullptr, clNone, dpStretch, Rect(0, 0, 2, 2));
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(clRed));
    EXPECT_EQ(GetBkColor(dc), ColorToRGB(clLime));
    EXPECT_EQ(GetStretchBltMode(dc), HALFTONE);
}

TEST(DrawPicture, OwnTransparentColourShowsTheKey)
{
    auto picture = PictureOf({"rb", "go"});  // bottom-left green is the transparent colour
    auto target = SentinelBitmap(2, 2);
    DrawPicture(target->Canvas(), Rect(0, 0, 2, 2), *picture, nullptr, clBlack, dpOwnTransparent, Rect(0, 0, 2, 2));
    EXPECT_EQ(Picture(*target, Legend), "rb\n#o\n");
}

TEST(FillObject, ConstructionIsSilentWithItsDefaults)
{
    TFxFillObject fill;
    EXPECT_EQ(fill.Style(), sfNone);
    EXPECT_EQ(fill.TileMode(), tmTile);
    EXPECT_EQ(fill.Alignment(), agTopLeft);
    EXPECT_EQ(fill.Options(), (TFxFillOptions{foFillInner, foGrUseBitmap}));
    EXPECT_EQ(fill.Brush()->Color(), clWhite);
    EXPECT_TRUE(fill.IsEmptyFill());
}

// Alignment and offsets only matter to an untiled picture.
TEST(FillObject, PlacementNoticesOnlyWhereThePlacementShows)
{
    const struct {
        TFxFillStyle Style;
        TFxTileMode Tile;
        bool Notices;
    } cases[] = {
        {sfGradient, tmNone, false}, {sfBitmap, tmTile, false},   {sfBitmap, tmNone, true},
        {sfBitmapList, tmNone, true}, {sfBrush, tmNone, false}, {sfBitmapList, tmStretch, false},
    };
    for (const auto& c : cases) {
        TFxFillObject fill;
        fill.SetStyle(c.Style);
        fill.SetTileMode(c.Tile);
        int notices = 0;
        fill.OnChange = [&](TObject*) { ++notices; };
        fill.SetAlignment(agCenter);
        fill.SetOffsetX(3);
        fill.SetOffsetY(-2);
        fill.SetOffsetY(-2);
        EXPECT_EQ(fill.Alignment(), agCenter);
        EXPECT_EQ(fill.OffsetY(), -2);
        EXPECT_EQ(notices, c.Notices ? 3 : 0) << c.Style << " " << c.Tile;
        fill.OnChange = nullptr;
    }
}

TEST(FillObject, NestedChangesBubbleUpAndAssignLeavesThePlacement)
{
    TFxFillObject source;
    source.SetStyle(sfGradient);
    source.Gradient()->SetColor(clRed);
    source.Brush()->SetColor(clLime);
    source.SetAlignment(agBottomRight);
    source.SetOffsetX(5);
    source.SetTileMode(tmStretch);

    TFxFillObject copy;
    int notices = 0;
    copy.OnChange = [&](TObject*) { ++notices; };
    copy.Gradient()->SetEndColor(clWhite);
    copy.Brush()->SetStyle(bsCross);
    EXPECT_EQ(notices, 2);
    copy.Assign(&source);
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(copy.Style(), sfGradient);
    EXPECT_EQ(copy.Gradient()->BandColors(), source.Gradient()->BandColors());
    EXPECT_EQ(copy.Brush()->Color(), clLime);
    EXPECT_EQ(copy.TileMode(), tmStretch);
    EXPECT_EQ(copy.Alignment(), agTopLeft);
    EXPECT_EQ(copy.OffsetX(), 0);
}

TEST(FillObject, EmptyFillIsNoneOrAMissingPicture)
{
    TFxFillObject fill;
    const struct {
        TFxFillStyle Style;
        bool WithPicture;
        bool Empty;
    } cases[] = {
        {sfNone, true, true},       {sfBrush, false, false},     {sfBrushBitmap, false, false},
        {sfGradient, false, false}, {sfBitmap, false, true},     {sfBitmap, true, false},
        {sfBitmapList, true, true},
    };
    for (const auto& c : cases) {
        fill.SetStyle(c.Style);
        fill.Bitmap()->SetSize(c.WithPicture ? 2 : 0, c.WithPicture ? 2 : 0);
        EXPECT_EQ(fill.IsEmptyFill(), c.Empty) << c.Style << " " << c.WithPicture;
    }
}

TEST(PaintFill, NoneAndEmptyPicturePaintNoCover)
{
    TFxFillObject fill;
    auto target = SentinelBitmap(4, 4);
    EXPECT_FALSE(fill.PaintFill(target->Canvas(), Rect(0, 0, 4, 4), clRed));
    EXPECT_EQ(CountPixels(*target, Sentinel), 16);
    fill.SetStyle(sfBitmap);
    EXPECT_FALSE(fill.PaintFill(target->Canvas(), Rect(1, 1, 3, 3), clRed));
    EXPECT_EQ(CountPixels(*target, clRed), 4);  // foFillInner: the background shows
}

TEST(PaintFill, HatchGapsShowTheBackgroundColour)
{
    TFxFillObject fill;
    fill.SetStyle(sfBrush);
    fill.Brush()->SetStyle(bsCross);
    fill.Brush()->SetColor(clBlack);
    auto target = SentinelBitmap(16, 16);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(0, 0, 16, 16), clLime));
    EXPECT_EQ(CountPixels(*target, Sentinel), 0);
    EXPECT_GT(CountPixels(*target, clBlack), 0);
    EXPECT_GT(CountPixels(*target, clLime), 0);
}

TEST(PaintFill, PicturePlacedByAlignmentAndOffsetsCutToTheRectangle)
{
    TFxFillObject fill;
    fill.SetStyle(sfBitmap);
    fill.SetTileMode(tmNone);
    fill.SetBitmap(PictureOf({"rb", "go"}).get());
    fill.SetAlignment(agBottomRight);
    fill.SetOffsetX(1);
    auto target = SentinelBitmap(6, 4);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(1, 0, 5, 3), clBlack));
    EXPECT_EQ(Picture(*target, Legend), ".####.\n.###r.\n.###g.\n......\n");
}

TEST(PaintFill, TiledPictureAndGradientCoverTheRectangle)
{
    TFxFillObject fill;
    fill.SetStyle(sfBitmap);
    fill.SetBitmap(PictureOf({"rb", "go"}).get());
    auto target = SentinelBitmap(5, 4);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(0, 0, 5, 3), clBlack));
    EXPECT_EQ(Picture(*target, Legend), "rbrbr\ngogog\nrbrbr\n.....\n");

    fill.SetStyle(sfGradient);
    fill.Gradient()->SetColorCount(2);
    fill.Gradient()->SetStyle(gstHorizontal);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(0, 0, 4, 4), clRed));
    EXPECT_EQ(Picture(*target, Legend), "bb##r\nbb##g\nbb##r\nbb##.\n");
}

// Without foFillInner a picture leaves what lies around it (and an empty
// picture everything) as it was.
TEST(PaintFill, WithoutFillInnerTheBackgroundStaysAsItWas)
{
    TFxFillObject fill;
    fill.SetOptions({foGrUseBitmap});
    fill.SetStyle(sfBitmap);
    auto target = SentinelBitmap(4, 4);
    EXPECT_FALSE(fill.PaintFill(target->Canvas(), Rect(0, 0, 4, 4), clRed));
    EXPECT_EQ(CountPixels(*target, Sentinel), 16);
    fill.SetBitmap(PictureOf({"rb", "go"}).get());
    fill.SetTileMode(tmCenter);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(0, 0, 4, 4), clBlack));
    EXPECT_EQ(Picture(*target, Legend), "....\n.rb.\n.go.\n....\n");
}

// Centred with the background round it; stretched over the whole rectangle.
TEST(PaintFill, CentredAndStretchedPictures)
{
    TFxFillObject fill;
    fill.SetStyle(sfBitmap);
    fill.SetBitmap(PictureOf({"rb", "go"}).get());
    fill.SetTileMode(tmCenter);
    auto target = SentinelBitmap(4, 4);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(0, 0, 4, 4), clBlack));
    EXPECT_EQ(Picture(*target, Legend), "####\n#rb#\n#go#\n####\n");
    fill.SetTileMode(tmStretch);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(0, 0, 4, 4), clBlack));
    EXPECT_EQ(Picture(*target, Legend), "rrbb\nrrbb\nggoo\nggoo\n");
}

// A pattern-brush fill tiles its picture and leaves the canvas a plain brush.
TEST(PaintFill, BrushPictureTilesAndLeavesThePlainBrush)
{
    TFxFillObject fill;
    fill.SetStyle(sfBrushBitmap);
    fill.SetBitmap(PictureOf({"rb", "go"}).get());
    auto target = SentinelBitmap(4, 2);
    EXPECT_TRUE(fill.PaintFill(target->Canvas(), Rect(0, 0, 4, 2), clBlack));
    EXPECT_EQ(Picture(*target, Legend), "rbrb\ngogo\n");
    target->Canvas()->Brush()->SetColor(clLime);
    target->Canvas()->FillRect(Rect(0, 0, 4, 2));
    EXPECT_EQ(CountPixels(*target, clLime), 8);
}
