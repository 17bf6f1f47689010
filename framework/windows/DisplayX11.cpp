// The real screen on X11: reading it grabs the root window's pixels once per
// screen context; focus
// rectangles are drawn on the root window itself with XOR across child
// windows, so drawing one twice restores the screen exactly.
#include "framework/windows/DisplayX11.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <vector>

namespace {

class TX11ScreenSurface : public TSurface {
public:
    explicit TX11ScreenSurface(Display* display) : display_(display)
    {
        const Window root = DefaultRootWindow(display_);
        gc_ = XCreateGC(display_, root, 0, nullptr);
        XSetFunction(display_, gc_, GXxor);
        XSetForeground(display_, gc_, 0xFFFFFF); // every colour bit flips
        XSetSubwindowMode(display_, gc_, IncludeInferiors);
    }
    ~TX11ScreenSurface() override { XFreeGC(display_, gc_); }

    // The screen as it was when first read after a new screen context was
    // made. Native focus rectangles do not refresh it: they are drawn twice
    // (the second pass erases the first), and reading the whole screen for
    // every rectangle would stall an animation.
    QImage& Image() override
    {
        if (stale_) {
            stale_ = false;
            if (QScreen* screen = QGuiApplication::primaryScreen())
                image_ = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        }
        return image_;
    }
    void MarkStale() { stale_ = true; }
    // The root window's depth, not the grabbed image's format.
    int BitsPerPixel() const override { return DefaultDepth(display_, DefaultScreen(display_)); }

    bool DrawFocusRectNative(const TRect& rect, const QRegion& clip) override
    {
        if (rect.IsEmpty())
            return true;
        std::vector<XRectangle> rectangles;
        for (const QRect& r : clip)
            rectangles.push_back({static_cast<short>(r.x()), static_cast<short>(r.y()),
                                  static_cast<unsigned short>(r.width()), static_cast<unsigned short>(r.height())});
        if (!clip.isEmpty())
            XSetClipRectangles(display_, gc_, 0, 0, rectangles.data(), static_cast<int>(rectangles.size()), Unsorted);
        else
            XSetClipMask(display_, gc_, None);

        // Every other pixel of the frame, as the dotted focus rectangle has it.
        std::vector<XPoint> points;
        const auto dot = [&](int x, int y) {
            if (((x + y) & 1) == 0)
                points.push_back({static_cast<short>(x), static_cast<short>(y)});
        };
        for (int x = rect.Left; x < rect.Right; ++x) {
            dot(x, rect.Top);
            if (rect.Bottom - 1 > rect.Top)
                dot(x, rect.Bottom - 1);
        }
        for (int y = rect.Top + 1; y < rect.Bottom - 1; ++y) {
            dot(rect.Left, y);
            if (rect.Right - 1 > rect.Left)
                dot(rect.Right - 1, y);
        }
        XDrawPoints(display_, DefaultRootWindow(display_), gc_, points.data(), static_cast<int>(points.size()),
                    CoordModeOrigin);
        XFlush(display_);
        return true;
    }

private:
    Display* display_;
    GC gc_;
    QImage image_;
    bool stale_ = true;
};

} // namespace

void MarkScreenSurfaceStale(TSurface* surface)
{
    if (auto* x11 = dynamic_cast<TX11ScreenSurface*>(surface))
        x11->MarkStale();
}

std::unique_ptr<TSurface> CreateX11ScreenSurface()
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr)
        return nullptr;
    return std::make_unique<TX11ScreenSurface>(x11->display());
}
