// TBitmap (size, transparency, masks, copies) and TCanvas's own rules
// (borrowed handles, when tools are selected, brush copies).
#include "PixelTest.h"

#include <QImage>

namespace {

// The spin glyph: a black triangle on olive, 9 x 6, apex at the top.
QImage SpinUpGlyph()
{
    QImage image(9, 6, QImage::Format_RGB32);
    image.fill(qRgb(0x80, 0x80, 0x00));
    for (int row = 1; row <= 4; ++row)
        for (int x = 4 - (row - 1); x <= 4 + (row - 1); ++x)
            image.setPixel(x, row, qRgb(0, 0, 0));
    return image;
}

TEST(Bitmap, SizeKeepsPixelsAndNewOnesAreWhite)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixels(2, 1, clRed);
    bitmap.SetSize(5, 4);
    EXPECT_EQ(bitmap.Pixels(2, 1), clRed);
    EXPECT_EQ(bitmap.Pixels(4, 3), clWhite);
    bitmap.Canvas()->Brush()->SetColor(clBlue);
    bitmap.Canvas()->FillRect(Rect(0, 0, 10, 10));  // the canvas follows the new size
    EXPECT_EQ(CountPixels(bitmap, clBlue), 20);
    bitmap.SetSize(0, 0);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.Canvas()->FillRect(Rect(0, 0, 10, 10));  // nothing to draw on, no failure
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed)
{
    TBitmap glyph;
    glyph.LoadFromImage(SpinUpGlyph());
    EXPECT_EQ(glyph.TransparentColor(), clOlive);
    EXPECT_EQ(glyph.TransparentMode(), tmAuto);
    glyph.SetTransparentColor(clBlack);
    EXPECT_EQ(glyph.TransparentMode(), tmFixed);
    EXPECT_EQ(glyph.TransparentColor(), clBlack);
    glyph.SetTransparentMode(tmAuto);
    EXPECT_EQ(glyph.TransparentColor(), clOlive);

    // Drawn transparently on a button face, only the triangle lands.
    glyph.SetTransparent(true);
    auto face = SentinelBitmap(13, 10, clBtnFace);
    face->Canvas()->Draw(2, 2, glyph);
    EXPECT_EQ(CountPixels(*face, clOlive), 0);
    EXPECT_EQ(CountPixels(*face, clBlack), 1 + 3 + 5 + 7);
    EXPECT_EQ(face->Pixels(6, 3), clBlack);  // apex at (4, 1) of the glyph
    EXPECT_EQ(face->Pixels(6, 2), ColorToRGB(clBtnFace));
}

TEST(Bitmap, MaskIsWhiteExactlyWhereTheColourWas)
{
    TBitmap glyph;
    glyph.LoadFromImage(SpinUpGlyph());
    glyph.Mask(clBlack);
    EXPECT_TRUE(glyph.Monochrome());
    EXPECT_EQ(CountPixels(glyph, clWhite), 16);
    EXPECT_EQ(CountPixels(glyph, clBlack), 54 - 16);
    EXPECT_EQ(glyph.Pixels(4, 1), clWhite);
    EXPECT_EQ(glyph.Pixels(0, 0), clBlack);
}

TEST(Bitmap, MonochromeKeepsOnlyWhiteAndDrawsBlackAndWhite)
{
    TBitmap bitmap(3, 1);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    bitmap.Canvas()->SetPixels(1, 0, clWhite);
    bitmap.Canvas()->SetPixels(2, 0, clBlack);
    bitmap.SetPixelFormat(pf1bit);
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.Pixels(0, 0), clBlack);
    EXPECT_EQ(bitmap.Pixels(1, 0), clWhite);

    // Whatever the target's text and background colours are.
    auto target = SentinelBitmap(3, 1);
    HDC dc = target->Canvas()->Handle();
    SetTextColor(dc, clRed);
    SetBkColor(dc, clBlue);
    target->Canvas()->Draw(0, 0, bitmap);
    EXPECT_EQ(Picture(*target, {{clBlack, '#'}, {clWhite, 'o'}}), "#o#\n");
    EXPECT_EQ(GetTextColor(dc), clRed);
}

TEST(Bitmap, AssignIsADeepCopy)
{
    TBitmap original(4, 3);
    original.Canvas()->SetPixels(1, 1, clRed);
    original.SetTransparent(true);
    TBitmap copy;
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(&original);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_TRUE(copy.Transparent());
    copy.Canvas()->SetPixels(1, 1, clBlue);
    EXPECT_EQ(original.Pixels(1, 1), clRed);
    EXPECT_EQ(copy.Pixels(1, 1), clBlue);
    copy.OnChange = nullptr;
    TFont font;
    EXPECT_THROW(copy.Assign(&font), EConvertError);
}

TEST(Bitmap, MissingResourceIsReported)
{
    TBitmap bitmap;
    try {
        bitmap.LoadFromResourceName("NoSuchGlyph");
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NoSuchGlyph not found");
    }
}

TEST(Canvas, BrushCopyPaintsTheBrushWhereTheColourWas)
{
    TBitmap glyph;
    glyph.LoadFromImage(SpinUpGlyph());
    auto target = SentinelBitmap(9, 6);
    target->Canvas()->Brush()->SetColor(clBtnFace);
    target->Canvas()->BrushCopy(Rect(0, 0, 9, 6), glyph, Rect(0, 0, 9, 6), clOlive);
    EXPECT_EQ(CountPixels(*target, clBtnFace), 54 - 16);
    EXPECT_EQ(CountPixels(*target, clBlack), 16);
}

TEST(Canvas, CopyRectUsesTheCopyModeAndStretches)
{
    auto source = SentinelBitmap(2, 2, RGB(0x0F, 0xF0, 0xFF));
    auto target = SentinelBitmap(4, 4, RGB(0xFF, 0x3C, 0x00));
    target->Canvas()->SetCopyMode(cmSrcAnd);
    target->Canvas()->CopyRect(Rect(0, 0, 4, 4), *source->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(CountPixels(*target, RGB(0x0F, 0x30, 0x00)), 16);
}

TEST(Canvas, WithoutAHandleItRefusesAndBorrowedHandlesAreGivenBack)
{
    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);

    TImageSurface surface(6, 4, 0);
    HDC dc = CreateSurfaceDC(&surface);
    HGDIOBJ originalFont = GetCurrentObject(dc, TGdiObjectKind::Font);
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 6, 4));
    canvas.TextOut(0, 0, "x");
    EXPECT_EQ(QRgbToColor(surface.Image().pixel(5, 3)), clRed);
    EXPECT_NE(GetCurrentObject(dc, TGdiObjectKind::Font), originalFont);
    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, TGdiObjectKind::Font), originalFont);
    EXPECT_FALSE(canvas.HandleAllocated());
    DeleteDC(dc);
}

TEST(Canvas, DeviceColoursSetAfterHandleSurviveUntilAToolChanges)
{
    auto bitmap = SentinelBitmap(2, 1);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    HDC dc = canvas->Handle();
    EXPECT_EQ(GetBkColor(dc), clRed);
    SetBkColor(dc, clWhite);
    canvas->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(GetBkColor(dc), clWhite);
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(GetBkColor(dc), clBlue);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Handle();
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
}

TEST(Canvas, ChangesOfABitmapCanvasReachTheBitmap)
{
    TBitmap bitmap(2, 2);
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.Canvas()->FillRect(Rect(0, 0, 2, 2));
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(changes, 2);
    bitmap.OnChange = nullptr;
}

}  // namespace
