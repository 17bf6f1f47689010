// The retained pixels of a window on the Qt side: a surface that a widget shows,
// and the two helpers every window's widget uses to show and raise itself.
#pragma once

#include "framework/graphics/Surface.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

// A retained surface shown by a widget: drawing on it outside a paint
// schedules a repaint of the touched rectangle.
class TWindowSurface : public TSurface {
public:
    explicit TWindowSurface(QWidget* widget) : widget_(widget) {}
    QImage& Image() override { return image_; }
    void Changed(const TRect& rect) override;
    // Keeps the pixels that still fit; new pixels take fill.
    void Resize(int width, int height, QRgb fill);
    // While the owner repaints it from a paint event, changes need no repaint.
    void SetPainting(bool painting) { painting_ = painting; }

private:
    QPointer<QWidget> widget_;
    QImage image_;
    bool painting_ = false;
};

// Brings a window to the front where the platform can (the offscreen one cannot).
void RaiseWindow(QWidget* widget);

// Paints a surface's image on a widget (the part the event asks for).
void ShowSurface(QWidget* widget, const QImage& image, const QRect& area, QPoint offset = {});

