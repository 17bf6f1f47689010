#include "framework/windows/WindowSurface.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

// ---------------------------------------------------------------------------
// TWindowSurface

void TWindowSurface::Changed(const TRect& rect)
{
    if (!painting_ && !widget_.isNull())
        widget_->update(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()));
}

void TWindowSurface::Resize(int width, int height, QRgb fill)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (image_.width() == width && image_.height() == height && !image_.isNull())
        return;
    QImage resized(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    resized.fill(fill);
    if (!image_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
}

void RaiseWindow(QWidget* widget)
{
    if (widget != nullptr && QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget->raise();
}

void ShowSurface(QWidget* widget, const QImage& image, const QRect& area, QPoint offset)
{
    QPainter painter(widget);
    painter.drawImage(area, image, area.translated(offset));
}
