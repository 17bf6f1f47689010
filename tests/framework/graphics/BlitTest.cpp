// Bit-block transfers: the truth tables of the raster operations, the
// monochrome mapping, overlap, stretching and the masked-transfer pair.
#include "PixelTest.h"

namespace {

// One-pixel contexts on bitmaps of fixed colours.
struct BlitPixels {
    TBitmap Dest{1, 1};
    TBitmap Source{1, 1};
    TBitmap Pattern{1, 1};

    std::uint32_t Run(TRop3 rop, TColor d, TColor s, TColor p)
    {
        Dest.Canvas()->SetPixels(0, 0, d);
        Source.Canvas()->SetPixels(0, 0, s);
        Pattern.Canvas()->SetPixels(0, 0, p);
        HDC dc = Dest.Canvas()->Handle();
        HBRUSH brush = CreatePatternBrush(Pattern.Handle());
        HGDIOBJ old = SelectObject(dc, brush);
        BitBlt(dc, 0, 0, 1, 1, Source.Canvas()->Handle(), 0, 0, rop);
        SelectObject(dc, old);
        DeleteObject(brush);
        return Dest.Pixels(0, 0);
    }
};

// With P = 0xF0, S = 0xCC and D = 0xAA in every channel, bit i of each
// channel sees the i-th combination of (P, S, D), so the result channel
// spells out the operation's truth table: it must equal the code's third byte.
TEST(RasterOps, EveryTruthTableOfAll256)
{
    BlitPixels pixels;
    for (unsigned op = 0; op < 256; ++op) {
        const TRop3 rop = op << 16;
        const std::uint32_t result = pixels.Run(rop, RGB(0xAA, 0xAA, 0xAA), RGB(0xCC, 0xCC, 0xCC), RGB(0xF0, 0xF0, 0xF0));
        EXPECT_EQ(result, RGB(op, op, op)) << "op " << op;
    }
}

TEST(RasterOps, NamedOperationsMeanTheirFormulas)
{
    struct Named {
        TRop3 Rop;
        std::uint32_t (*Formula)(std::uint32_t p, std::uint32_t s, std::uint32_t d);
    };
    const Named table[] = {
        {SRCCOPY, [](std::uint32_t, std::uint32_t s, std::uint32_t) { return s; }},
        {SRCPAINT, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s | d; }},
        {SRCAND, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s & d; }},
        {SRCINVERT, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s ^ d; }},
        {SRCERASE, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s & ~d; }},
        {NOTSRCCOPY, [](std::uint32_t, std::uint32_t s, std::uint32_t) { return ~s; }},
        {NOTSRCERASE, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return ~(s | d); }},
        {MERGECOPY, [](std::uint32_t p, std::uint32_t s, std::uint32_t) { return p & s; }},
        {MERGEPAINT, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return ~s | d; }},
        {PATCOPY, [](std::uint32_t p, std::uint32_t, std::uint32_t) { return p; }},
        {PATPAINT, [](std::uint32_t p, std::uint32_t s, std::uint32_t d) { return p | ~s | d; }},
        {PATINVERT, [](std::uint32_t p, std::uint32_t, std::uint32_t d) { return p ^ d; }},
        {DSTINVERT, [](std::uint32_t, std::uint32_t, std::uint32_t d) { return ~d; }},
        {BLACKNESS, [](std::uint32_t, std::uint32_t, std::uint32_t) { return 0u; }},
        {WHITENESS, [](std::uint32_t, std::uint32_t, std::uint32_t) { return ~0u; }},
        {ROP_DPa, [](std::uint32_t p, std::uint32_t, std::uint32_t d) { return p & d; }},
    };
    BlitPixels pixels;
    const TColor p = RGB(0x3C, 0xF0, 0x55), s = RGB(0x0F, 0x99, 0xE1), d = RGB(0xA5, 0x5A, 0x18);
    for (const Named& n : table)
        EXPECT_EQ(pixels.Run(n.Rop, d, s, p), n.Formula(p, s, d) & 0xFFFFFFu) << std::hex << n.Rop;
    // The table every copy mode is documented in has them all.
    EXPECT_EQ(NamedRop3s().size(), 17u);
}

TEST(Blit, MonochromeSourcePaintsTextAndBackgroundColours)
{
    TBitmap mono(3, 1);
    mono.SetMonochrome(true);
    mono.Canvas()->SetPixels(0, 0, clBlack);
    mono.Canvas()->SetPixels(1, 0, clWhite);
    mono.Canvas()->SetPixels(2, 0, clBlack);
    auto colour = SentinelBitmap(3, 1);
    HDC dc = colour->Canvas()->Handle();
    SetTextColor(dc, clRed);
    SetBkColor(dc, clBlue);
    BitBlt(dc, 0, 0, 3, 1, mono.Canvas()->Handle(), 0, 0, SRCCOPY);
    EXPECT_EQ(colour->Pixels(0, 0), clRed);
    EXPECT_EQ(colour->Pixels(1, 0), clBlue);
    EXPECT_EQ(colour->Pixels(2, 0), clRed);
}

TEST(Blit, ColourSourceOnMonochromeGivesWhiteWhereTheBackgroundColourWas)
{
    auto colour = SentinelBitmap(3, 1);
    colour->Canvas()->SetPixels(1, 0, clGreen);
    TBitmap mono(3, 1);
    mono.SetMonochrome(true);
    HDC source = colour->Canvas()->Handle();
    SetBkColor(source, clGreen);
    BitBlt(mono.Canvas()->Handle(), 0, 0, 3, 1, source, 0, 0, SRCCOPY);
    EXPECT_EQ(mono.Pixels(0, 0), clBlack);
    EXPECT_EQ(mono.Pixels(1, 0), clWhite);
    EXPECT_EQ(mono.Pixels(2, 0), clBlack);
}

TEST(Blit, OverlappingCopyOnOneSurface)
{
    auto bitmap = SentinelBitmap(5, 1);
    for (int x = 0; x < 5; ++x)
        bitmap->Canvas()->SetPixels(x, 0, RGB(static_cast<std::uint8_t>(x * 10), 0, 0));
    HDC dc = bitmap->Canvas()->Handle();
    BitBlt(dc, 1, 0, 4, 1, dc, 0, 0, SRCCOPY);  // shift right by one
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(bitmap->Pixels(x, 0), RGB(static_cast<std::uint8_t>((x - 1) * 10), 0, 0));
}

TEST(Blit, SourceBeyondItsBitmapLeavesTheDestination)
{
    auto source = SentinelBitmap(2, 2, clRed);
    auto dest = SentinelBitmap(4, 4);
    BitBlt(dest->Canvas()->Handle(), 0, 0, 4, 4, source->Canvas()->Handle(), -1, -1, SRCCOPY);
    EXPECT_EQ(InkBounds(*dest, Sentinel), Rect(1, 1, 3, 3));
}

TEST(Blit, StretchModes)
{
    // A 4 x 1 source: black, white, white, white.
    auto source = SentinelBitmap(4, 1, clWhite);
    source->Canvas()->SetPixels(0, 0, clBlack);
    HDC src = source->Canvas()->Handle();

    auto grown = SentinelBitmap(8, 2);
    StretchBlt(grown->Canvas()->Handle(), 0, 0, 8, 2, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(Picture(*grown, {{clBlack, '#'}, {clWhite, 'o'}}), "##oooooo\n##oooooo\n");

    // Halving: colour-on-colour takes the first of each pair, black-on-white ANDs them.
    auto dropped = SentinelBitmap(2, 1);
    SetStretchBltMode(dropped->Canvas()->Handle(), COLORONCOLOR);
    StretchBlt(dropped->Canvas()->Handle(), 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(dropped->Pixels(0, 0), clBlack);
    source->Canvas()->SetPixels(0, 0, clWhite);
    source->Canvas()->SetPixels(1, 0, clBlack);
    StretchBlt(dropped->Canvas()->Handle(), 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(dropped->Pixels(0, 0), clWhite);
    auto merged = SentinelBitmap(2, 1);
    EXPECT_EQ(GetStretchBltMode(merged->Canvas()->Handle()), BLACKONWHITE);
    StretchBlt(merged->Canvas()->Handle(), 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(merged->Pixels(0, 0), clBlack);

    // Mirrored when the widths' signs differ.
    auto mirrored = SentinelBitmap(4, 1);
    StretchBlt(mirrored->Canvas()->Handle(), 0, 0, 4, 1, src, 4, 0, -4, 1, SRCCOPY);
    EXPECT_EQ(mirrored->Pixels(2, 0), clBlack);
}

// The masked transfer: AND a monochrome mask (text black, background
// white), then OR the picture whose masked pixels are black. The target
// keeps its pixels where the mask is white and shows the picture elsewhere.
TEST(Blit, MaskAndThenPictureOr)
{
    TBitmap mask(4, 1);
    mask.SetMonochrome(true);
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 4, 1));
    mask.Canvas()->SetPixels(1, 0, clBlack);
    mask.Canvas()->SetPixels(2, 0, clBlack);
    auto picture = SentinelBitmap(4, 1, clBlack);
    picture->Canvas()->SetPixels(1, 0, clRed);
    picture->Canvas()->SetPixels(2, 0, clLime);

    auto target = SentinelBitmap(4, 1);
    TCanvas* canvas = target->Canvas();
    HDC dc = canvas->Handle();
    canvas->FillRect(Rect(0, 0, 0, 0));  // the brush is selected now
    SetBkColor(dc, clWhite);
    SetTextColor(dc, clBlack);
    canvas->SetCopyMode(cmSrcAnd);
    canvas->CopyRect(Rect(0, 0, 4, 1), *mask.Canvas(), Rect(0, 0, 4, 1));
    canvas->SetCopyMode(cmSrcPaint);
    canvas->CopyRect(Rect(0, 0, 4, 1), *picture->Canvas(), Rect(0, 0, 4, 1));
    EXPECT_EQ(target->Pixels(0, 0), Sentinel);
    EXPECT_EQ(target->Pixels(1, 0), clRed);
    EXPECT_EQ(target->Pixels(2, 0), clLime);
    EXPECT_EQ(target->Pixels(3, 0), Sentinel);
}

}  // namespace
