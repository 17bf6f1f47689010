#include "framework/Screen.h"

#include "framework/Application.h"
#include "framework/Forms.h"

#include <QCursor>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>

#include <algorithm>

TScreen* Screen = nullptr;

// The X11 screen surface lives in ScreenX11.cpp; nullptr when there is no X11 display.
std::unique_ptr<TSurface> CreateX11ScreenSurface();
void MarkScreenSurfaceStale(TSurface* surface);

namespace {

// The offscreen platform's screen: an image of the screen's size that keeps
// whatever is drawn on it.
class TVirtualScreenSurface : public TSurface {
public:
    QImage& Image() override { return image_; }
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
    QImage image_;
};

struct StandardCursor {
    TCursor index;
    Qt::CursorShape shape;
};

constexpr StandardCursor StandardCursors[] = {
    {crDefault, Qt::ArrowCursor},    {crNone, Qt::BlankCursor},         {crArrow, Qt::ArrowCursor},
    {crCross, Qt::CrossCursor},      {crIBeam, Qt::IBeamCursor},        {crSizeNESW, Qt::SizeBDiagCursor},
    {crSizeNS, Qt::SizeVerCursor},   {crSizeNWSE, Qt::SizeFDiagCursor}, {crSizeWE, Qt::SizeHorCursor},
    {crUpArrow, Qt::UpArrowCursor},  {crHourGlass, Qt::WaitCursor},     {crNo, Qt::ForbiddenCursor},
    {crHandPoint, Qt::PointingHandCursor}, {crSizeAll, Qt::SizeAllCursor},
};

} // namespace

TScreen::TScreen(TComponent* owner) : TComponent(owner)
{
    for (const StandardCursor& entry : StandardCursors)
        cursors_[entry.index] = QCursor(entry.shape);
    Screen = this;
    watcher_ = std::make_unique<QObject>();
    if (QScreen* primary = QGuiApplication::primaryScreen())
        QObject::connect(primary, &QScreen::geometryChanged, watcher_.get(), [this] { DisplayChanged(); });
}

void TScreen::DisplayChanged()
{
    const LPARAM size = MakeLParam(Width(), Height());
    for (TCustomForm* form : std::vector<TCustomForm*>(forms_))
        if (form->HandleAllocated())
            RunGuarded(form, [form, size] { SendMessage(form->Handle(), WM_DISPLAYCHANGE, 24, size); });
}

TScreen::~TScreen()
{
    if (Screen == this)
        Screen = nullptr;
}

int TScreen::Width() const
{
    if (sizeOverride_.cx > 0)
        return sizeOverride_.cx;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 0;
}

int TScreen::Height() const
{
    if (sizeOverride_.cy > 0)
        return sizeOverride_.cy;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 0;
}

void TScreen::SetSizeOverride(TSize size)
{
    sizeOverride_ = size;
}

int TScreen::PixelsPerInch() const
{
    return DisplayPixelsPerInch();
}

TPoint TScreen::CursorPos() const
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void TScreen::SetCursorPos(TPoint point)
{
    QCursor::setPos(point.X, point.Y);
}

QCursor TScreen::Cursors(TCursor index) const
{
    const auto it = cursors_.find(index);
    return it != cursors_.end() ? it->second : QCursor(Qt::ArrowCursor);
}

void TScreen::SetCursors(TCursor index, const QCursor& cursor)
{
    cursors_[index] = cursor;
}

TCustomForm* TScreen::ActiveForm() const
{
    for (TCustomForm* form : forms_)
        if (form->Active())
            return form;
    return nullptr;
}

void TScreen::AddForm(TCustomForm* form)
{
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

TSurface* TScreen::ScreenSurface()
{
    if (surface_ == nullptr && QGuiApplication::platformName() == QLatin1String("xcb"))
        surface_ = CreateX11ScreenSurface();
    if (surface_ == nullptr)
        surface_ = std::make_unique<TVirtualScreenSurface>();
    if (auto* virtualScreen = dynamic_cast<TVirtualScreenSurface*>(surface_.get()))
        virtualScreen->Fit(Width(), Height());
    else
        MarkScreenSurfaceStale(surface_.get());
    return surface_.get();
}
