#include "framework/windows/Display.h"

#include "framework/graphics/Fonts.h"
#include "framework/windows/DisplayX11.h"

#include <QCursor>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace {

TDisplay* installedDisplay = nullptr;

// The offscreen platform's screen: an image of the screen's size that keeps
// whatever is drawn on it, and tells its display what is drawn and read.
class TVirtualScreenSurface : public TSurface {
public:
    explicit TVirtualScreenSurface(TDisplay& display) : display_(display) {}
    QImage& Image() override { return image_; }
    void Changed(const TRect& rect) override
    {
        if (display_.OnVirtualScreenDrawn)
            display_.OnVirtualScreenDrawn(rect);
    }
    TReadView Read(const QRect& area) override
    {
        if (display_.OnVirtualScreenRead)
            display_.OnVirtualScreenRead(ToTRect(area));
        return TSurface::Read(area);
    }
    // The depth the platform reports for its screen, not the image's format.
    int BitsPerPixel() const override
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->depth() : 24;
    }
    void Fit(int width, int height)
    {
        if (image_.width() == width && image_.height() == height)
            return;
        image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
        image_.fill(0xFF008080); // the classic desktop teal
    }

private:
    TDisplay& display_;
    QImage image_;
};

} // namespace

TDisplay* CurrentDisplay()
{
    return installedDisplay;
}

TDisplay* InstallDisplay(TDisplay* display)
{
    return std::exchange(installedDisplay, display);
}

TDisplay::TDisplay()
{
    watcher_ = std::make_unique<QObject>();
    if (QScreen* primary = QGuiApplication::primaryScreen())
        QObject::connect(primary, &QScreen::geometryChanged, watcher_.get(), [this] {
            if (OnSizeChanged)
                OnSizeChanged();
        });
}

TDisplay::~TDisplay()
{
    if (installedDisplay == this)
        installedDisplay = nullptr;
}

int TDisplay::Width() const
{
    if (sizeOverride_.cx > 0)
        return sizeOverride_.cx;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 0;
}

int TDisplay::Height() const
{
    if (sizeOverride_.cy > 0)
        return sizeOverride_.cy;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 0;
}

int TDisplay::PixelsPerInch() const
{
    return DisplayPixelsPerInch();
}

TPoint TDisplay::CursorPos() const
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void TDisplay::SetCursorPos(TPoint point)
{
    QCursor::setPos(point.X, point.Y);
}

TSurface* TDisplay::ScreenSurface()
{
    if (surface_ == nullptr && QGuiApplication::platformName() == QLatin1String("xcb"))
        surface_ = CreateX11ScreenSurface();
    if (surface_ == nullptr)
        surface_ = std::make_unique<TVirtualScreenSurface>(*this);
    if (auto* virtualScreen = dynamic_cast<TVirtualScreenSurface*>(surface_.get()))
        virtualScreen->Fit(Width(), Height());
    else
        MarkScreenSurfaceStale(surface_.get());
    return surface_.get();
}

int TDisplay::WatchRestacking(std::function<void()> onRestack)
{
    const int token = ++lastRestackToken_;
    restackWatchers_.emplace(token, std::move(onRestack));
    if (topLevels_ == nullptr && QGuiApplication::platformName() == QLatin1String("xcb"))
        topLevels_ = WatchX11TopLevels([this] { Restacked(); });
    return token;
}

void TDisplay::UnwatchRestacking(int token)
{
    restackWatchers_.erase(token);
    if (restackWatchers_.empty())
        topLevels_.reset();
}

void TDisplay::Restacked()
{
    // A watcher may unwire itself or another one meanwhile.
    const auto watchers = restackWatchers_;
    for (const auto& [token, onRestack] : watchers)
        if (restackWatchers_.count(token) != 0)
            onRestack();
}
