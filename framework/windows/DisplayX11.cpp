// The real screen on X11: a copy from it reads only the area copied; the
// whole screen is grabbed (once per screen context) only when something asks
// for all of it. Focus rectangles are drawn on the root window itself with XOR
// across child windows, so drawing one twice restores the screen exactly.
//
// Under a compositing manager the root window is hidden behind the composited
// picture, so drawing there shows nothing. There the rectangles go to a
// transparent overlay over the whole screen that takes no input: a pixel
// drawn an odd number of times shows in the contrasting one of black and white
// over the screen under it, an
// even number of times nothing. When the last inverted pixel is cleared (the
// second pass of a trail), the overlay goes and the screen is as it was.
#include "framework/windows/DisplayX11.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
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
    ~TX11ScreenSurface() override
    {
        CloseOverlay();
        XFreeGC(display_, gc_);
    }

    // The screen as it was when first read after a new screen context was
    // made. Native focus rectangles do not refresh it: they are drawn twice
    // (the second pass erases the first), and reading the whole screen for
    // every rectangle would stall an animation.
    QImage& Image() override
    {
        if (stale_) {
            stale_ = false;
            image_ = Grab(QRect(QPoint(), Size()));
        }
        return image_;
    }
    void MarkStale() { stale_ = true; }
    // The screen's size, without reading its pixels.
    QSize Size() override
    {
        const int screen = DefaultScreen(display_);
        return {DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
    }
    // Only the area asked for is read from the server: a copy of a hint's or a
    // strip's patch of the screen costs that patch, not the whole screen.
    TReadView Read(const QRect& area) override
    {
        patch_ = Grab(area);
        if (patch_.size() != area.size()) {
            patch_ = QImage(area.size(), QImage::Format_RGB32);
            patch_.fill(0xFF000000); // unreadable: black
        }
        return {&patch_, area.topLeft()};
    }
    // The root window's depth, not the grabbed image's format.
    int BitsPerPixel() const override { return DefaultDepth(display_, DefaultScreen(display_)); }

    bool DrawFocusRectNative(const TRect& rect, const QRegion& clip) override
    {
        if (rect.IsEmpty())
            return true;
        if (overlay_ != 0 || Composited())
            return DrawOnOverlay(rect, clip);
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
    static QImage Grab(const QRect& area)
    {
        if (area.isEmpty())
            return {};
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr)
            return {};
        return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // A compositing manager owns the screen's _NET_WM_CM_S<n> selection.
    bool Composited() const
    {
        const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display_));
        const Atom selection = XInternAtom(display_, name.c_str(), False);
        return selection != None && XGetSelectionOwner(display_, selection) != None;
    }

    bool OpenOverlay()
    {
        const int screen = DefaultScreen(display_);
        XVisualInfo visual;
        if (!XMatchVisualInfo(display_, screen, 32, TrueColor, &visual))
            return false;
        const Window root = DefaultRootWindow(display_);
        const int width = DisplayWidth(display_, screen);
        const int height = DisplayHeight(display_, screen);
        visual_ = visual.visual;
        colormap_ = XCreateColormap(display_, root, visual.visual, AllocNone);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.colormap = colormap_;
        attributes.border_pixel = 0;
        attributes.background_pixel = 0; // fully transparent
        overlay_ = XCreateWindow(display_, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                 32, InputOutput, visual.visual,
                                 CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixel, &attributes);
        // No input region: clicks go through to the windows below.
        XShapeCombineRectangles(display_, overlay_, ShapeInput, 0, 0, nullptr, 0, ShapeSet, YXBanded);
        overlayGc_ = XCreateGC(display_, overlay_, 0, nullptr);
        XMapRaised(display_, overlay_);
        XSync(display_, False);
        overlaySize_ = QSize(width, height);
        lit_.clear();
        // Shared with the screen's picture, which the overlay never writes.
        under_ = Image();
        return true;
    }

    void CloseOverlay()
    {
        if (overlay_ == 0)
            return;
        XFreeGC(display_, overlayGc_);
        XDestroyWindow(display_, overlay_);
        XFreeColormap(display_, colormap_);
        XFlush(display_);
        overlay_ = 0;
        lit_.clear();
        under_ = QImage();
    }

    void ToggleOverlayPixel(int x, int y, const QRegion& clip)
    {
        if (x < 0 || y < 0 || x >= overlaySize_.width() || y >= overlaySize_.height() || ((x + y) & 1) != 0)
            return;
        if (!clip.isEmpty() && !clip.contains(QPoint(x, y)))
            return;
        const auto [pixel, inserted] = lit_.try_emplace(PixelKey(x, y), 0u);
        if (!inserted) {
            lit_.erase(pixel);
            return;
        }
        const QRgb below = x < under_.width() && y < under_.height() ? under_.pixel(x, y) : 0;
        // White on dark, black on light: the inverse of a mid grey would not show.
        pixel->second = qGray(below) < 128 ? 0xFFFFFFFFu : 0xFF000000u;
    }

    void PutOverlay(int x, int y, int width, int height)
    {
        x = std::max(x, 0);
        y = std::max(y, 0);
        width = std::min(width, overlaySize_.width() - x);
        height = std::min(height, overlaySize_.height() - y);
        if (width <= 0 || height <= 0)
            return;
        // The strip's pixels: lit ones from the table, transparent elsewhere.
        std::vector<std::uint32_t> strip(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column) {
                const auto pixel = lit_.find(PixelKey(x + column, y + row));
                if (pixel != lit_.end())
                    strip[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(column)] = pixel->second;
            }
        XImage* image = XCreateImage(display_, visual_, 32, ZPixmap, 0, reinterpret_cast<char*>(strip.data()),
                                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
        if (image == nullptr)
            return;
        image->depth = 32;
        XPutImage(display_, overlay_, overlayGc_, image, 0, 0, x, y, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
        image->data = nullptr; // the pixels stay the vector's
        XDestroyImage(image);
    }

    static std::uint64_t PixelKey(int x, int y)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32) | static_cast<std::uint32_t>(x);
    }

    bool DrawOnOverlay(const TRect& rect, const QRegion& clip)
    {
        if (overlay_ == 0 && !OpenOverlay())
            return false;
        for (int x = rect.Left; x < rect.Right; ++x) {
            ToggleOverlayPixel(x, rect.Top, clip);
            if (rect.Bottom - 1 > rect.Top)
                ToggleOverlayPixel(x, rect.Bottom - 1, clip);
        }
        for (int y = rect.Top + 1; y < rect.Bottom - 1; ++y) {
            ToggleOverlayPixel(rect.Left, y, clip);
            if (rect.Right - 1 > rect.Left)
                ToggleOverlayPixel(rect.Right - 1, y, clip);
        }
        const int width = rect.Right - rect.Left;
        const int height = rect.Bottom - rect.Top;
        PutOverlay(rect.Left, rect.Top, width, 1);
        PutOverlay(rect.Left, rect.Bottom - 1, width, 1);
        PutOverlay(rect.Left, rect.Top, 1, height);
        PutOverlay(rect.Right - 1, rect.Top, 1, height);
        XFlush(display_);
        // Every inverted pixel cleared again: the trail is over.
        if (lit_.empty())
            CloseOverlay();
        return true;
    }

    Display* display_;
    GC gc_;
    Window overlay_ = 0;
    GC overlayGc_{};
    Colormap colormap_ = 0;
    Visual* visual_ = nullptr;
    // The overlay's inverted pixels by position and the colour each shows; a
    // trail lights a few thousand, so a table beats a screen-sized image.
    std::unordered_map<std::uint64_t, std::uint32_t> lit_;
    QSize overlaySize_;
    QImage under_; // the screen when the overlay opened
    QImage image_;
    QImage patch_; // the last area read
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

void X11StackAbove(unsigned long window, unsigned long owner)
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr || window == 0 || owner == 0)
        return;
    // A window manager puts the owner into a frame of its own: the frame is
    // the root's child that the strip has to stand above.
    Window sibling = owner;
    for (int depth = 0; depth < 8; ++depth) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, sibling, &root, &parent, &children, &count) == 0)
            return;
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == 0)
            break;
        sibling = parent;
    }
    XWindowChanges changes{};
    changes.sibling = sibling;
    changes.stack_mode = Above;
    XConfigureWindow(display, window, CWSibling | CWStackMode, &changes);
    XFlush(display);
}

namespace {

class TX11TopLevelWatchImpl : public TX11TopLevelWatch, public QAbstractNativeEventFilter {
public:
    TX11TopLevelWatchImpl(Display* display, std::function<void()> onRestack)
        : display_(display), root_(DefaultRootWindow(display)), onRestack_(std::move(onRestack))
    {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display_, root_, &attributes) != 0)
            mask_ = attributes.your_event_mask;
        // Added to what Qt selected on the root: the reports on its children
        // are then this watch's alone, and Qt never sees them (it would take a
        // child's configure for a change of the screens).
        ours_ = (mask_ & SubstructureNotifyMask) == 0;
        XSelectInput(display_, root_, mask_ | SubstructureNotifyMask);
        XFlush(display_);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~TX11TopLevelWatchImpl() override
    {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
        if (ours_) {
            XSelectInput(display_, root_, mask_);
            XFlush(display_);
        }
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const TReport report = Classify(static_cast<const xcb_generic_event_t*>(message));
        if (report == rpRestacked && !pending_) {
            pending_ = true;
            QTimer::singleShot(0, &context_, [this] {
                pending_ = false;
                onRestack_();
            });
        }
        return ours_ && report != rpNone;
    }

private:
    enum TReport {
        rpNone,      // not a report on the root's children
        rpOther,     // a report that changes no managed window's place in the stack
        rpRestacked, // a managed top-level window was mapped or restacked
    };

    TReport Classify(const xcb_generic_event_t* event) const
    {
        switch (event->response_type & 0x7F) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            if (configure->event != root_ || configure->window == root_)
                return rpNone;
            // Unmanaged windows (menus, tooltips, the popups restacked in
            // answer) leave the managed ones where they are.
            return configure->override_redirect ? rpOther : rpRestacked;
        }
        case XCB_MAP_NOTIFY: {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            if (map->event != root_)
                return rpNone;
            return map->override_redirect ? rpOther : rpRestacked;
        }
        case XCB_CIRCULATE_NOTIFY:
            return reinterpret_cast<const xcb_circulate_notify_event_t*>(event)->event == root_ ? rpRestacked : rpNone;
        case XCB_CREATE_NOTIFY:
            return reinterpret_cast<const xcb_create_notify_event_t*>(event)->parent == root_ ? rpOther : rpNone;
        case XCB_DESTROY_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_REPARENT_NOTIFY:
        case XCB_GRAVITY_NOTIFY: {
            // Laid out alike: the window told (here the root), then the window.
            const auto* notify = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            return notify->event == root_ && notify->window != root_ ? rpOther : rpNone;
        }
        default:
            return rpNone;
        }
    }

    Display* display_;
    Window root_;
    std::function<void()> onRestack_;
    long mask_ = 0;
    bool ours_ = false;
    bool pending_ = false;
    QObject context_; // a pending report goes with the watch
};

} // namespace

std::unique_ptr<TX11TopLevelWatch> WatchX11TopLevels(std::function<void()> onRestack)
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr)
        return nullptr;
    return std::make_unique<TX11TopLevelWatchImpl>(display, std::move(onRestack));
}
