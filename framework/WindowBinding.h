// The Qt side of the framework's windows: retained surfaces, the widget of a
// windowed control (it turns Qt events into messages sent through the window's
// procedure) and the binding that ties both to a handle. Used by the framework
// itself; components and the program work through Controls.h and Windows.h.
#pragma once

#include "framework/Controls.h"
#include "framework/Surface.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>

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

// Mouse and keyboard translation shared by every widget of the framework.
namespace EventTranslation {
// The window message for a Qt mouse event (0 for a button the framework ignores).
UINT MouseMessage(const QMouseEvent* event);
WPARAM MouseKeys(const QMouseEvent* event);
LPARAM MousePoint(const QMouseEvent* event);
// The virtual key of a Qt key (0 when there is none).
WORD VirtualKey(int qtKey);
// Sends a key press as WM_KEYDOWN (WM_SYSKEYDOWN with Alt) followed by WM_CHAR
// (WM_SYSCHAR) for a printable character. Returns false for an unmapped key.
bool SendKeyPress(HWND window, const QKeyEvent* event);
void SendKeyRelease(HWND window, const QKeyEvent* event);
} // namespace EventTranslation

// The widget of a windowed control (also a form's client area): paints its
// surface, regenerating it through WM_PAINT when invalid, and sends mouse,
// keyboard, focus and pointer-crossing events to target's handle.
class TControlWidget : public QWidget {
public:
    TControlWidget(TWinControl* control, TWindowSurface* surface, QWidget* parent, Qt::WindowFlags flags = {});
    // Marks rect for the next WM_PAINT (the union of what was invalidated).
    void Invalidate(const QRect& rect);
    // The part the running (or last) WM_PAINT redraws, in client coordinates.
    TRect PaintRect() const { return Bounds(paintRect_.x(), paintRect_.y(), paintRect_.width(), paintRect_.height()); }
    void SetSurface(TWindowSurface* surface) { surface_ = surface; }
    TWinControl* Control() const { return control_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void SendMouse(QMouseEvent* event);
    HWND Target() const;

    TWinControl* control_;
    TWindowSurface* surface_;
    bool dirty_ = true;
    QRect dirtyRect_;  // empty with dirty_: everything
    QRect paintRect_;
};

// Brings a window to the front where the platform can (the offscreen one cannot).
void RaiseWindow(QWidget* widget);

// Paints a surface's image on a widget (the part the event asks for).
void ShowSurface(QWidget* widget, const QImage& image, const QRect& area, QPoint offset = {});

// Accessibility: a windowed control's widget reports its windowless children
// to assistive technology as children of its own, with the control's
// accessible name and its hint as the description. A windowless control
// leaving forgets its accessible object.
void InstallAccessibleFactory();
void ForgetAccessibleControl(TControl* control);

std::unique_ptr<TWindowBinding> MakeControlBinding(TWinControl* control, const TCreateParams& params);
