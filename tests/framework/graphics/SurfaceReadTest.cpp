// Copies from a surface that is costly to read whole (the real screen): a
// copy asks for the source rectangle only and places what it gets by the
// origin the surface reports; the clip and the device caps come from the
// surface's size without reading its pixels.
#include "PixelTest.h"

#include <QRect>

#include <vector>

namespace {

// A 64 x 48 surface whose pixel (x, y) is RGB(x, y, 7), handing out only the
// areas asked for. Image() is the whole picture, counted, so a test can see
// that nothing reads it.
class TPatchSurface : public TSurface {
public:
    TPatchSurface()
    {
        whole_ = QImage(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < whole_.height(); ++y)
            for (int x = 0; x < whole_.width(); ++x)
                whole_.setPixel(x, y, qRgb(x, y, 7));
    }
    QImage& Image() override
    {
        ++wholeReads;
        return whole_;
    }
    QSize Size() override { return whole_.size(); }
    TReadView Read(const QRect& area) override
    {
        areas.push_back(area);
        patch_ = whole_.copy(area);
        return {&patch_, area.topLeft()};
    }

    int wholeReads = 0;
    std::vector<QRect> areas;

private:
    QImage whole_;
    QImage patch_;
};

} // namespace

TEST(SurfaceReads, ACopyReadsOnlyItsSourceRectangleAndPlacesItByTheOrigin)
{
    TPatchSurface screen;
    HDC source = CreateSurfaceDC(&screen);
    auto bitmap = SentinelBitmap(6, 4);
    BitBlt(bitmap->Canvas()->Handle(), 1, 1, 4, 2, source, 30, 20, SRCCOPY);
    ASSERT_EQ(screen.areas.size(), 1u);
    EXPECT_EQ(screen.areas[0], QRect(30, 20, 4, 2));
    EXPECT_EQ(screen.wholeReads, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bitmap->Pixels(1 + x, 1 + y), RGB(30 + x, 20 + y, 7)) << x << "," << y;
    EXPECT_EQ(bitmap->Pixels(0, 0), ColorToRGB(Sentinel));
    EXPECT_EQ(bitmap->Pixels(5, 3), ColorToRGB(Sentinel));
    DeleteDC(source);
}

TEST(SurfaceReads, ACopyOverTheEdgeReadsTheInsideAndShrinkingMergesWithinIt)
{
    TPatchSurface screen;
    HDC source = CreateSurfaceDC(&screen);
    // Half of the source rectangle lies left of the surface.
    auto bitmap = SentinelBitmap(4, 1);
    BitBlt(bitmap->Canvas()->Handle(), 0, 0, 4, 1, source, -2, 5, SRCCOPY);
    ASSERT_EQ(screen.areas.size(), 1u);
    EXPECT_EQ(screen.areas[0], QRect(0, 5, 2, 1));
    EXPECT_EQ(bitmap->Pixels(0, 0), ColorToRGB(Sentinel));
    EXPECT_EQ(bitmap->Pixels(2, 0), RGB(0, 5, 7));
    EXPECT_EQ(bitmap->Pixels(3, 0), RGB(1, 5, 7));

    // Halving with BLACKONWHITE: each pixel is the AND of two source pixels
    // from the area read, not from the surface's own corner.
    auto half = SentinelBitmap(2, 1);
    SetStretchBltMode(half->Canvas()->Handle(), BLACKONWHITE);
    StretchBlt(half->Canvas()->Handle(), 0, 0, 2, 1, source, 40, 9, 4, 1, SRCCOPY);
    EXPECT_EQ(half->Pixels(0, 0), RGB(40 & 41, 9, 7));
    EXPECT_EQ(half->Pixels(1, 0), RGB(42 & 43, 9, 7));
    EXPECT_EQ(screen.wholeReads, 0);
    DeleteDC(source);
}

TEST(SurfaceReads, ClipAndDeviceCapsComeFromTheSizeAlone)
{
    TPatchSurface screen;
    HDC dc = CreateSurfaceDC(&screen);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 64);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 48);
    TRect box;
    EXPECT_NE(GetClipBox(dc, &box), 0);
    EXPECT_EQ(box.Right, 64);
    EXPECT_EQ(box.Bottom, 48);
    EXPECT_EQ(screen.wholeReads, 0);
    DeleteDC(dc);
}
