// The Qt side of a windowed control: its widget (it turns Qt events into
// messages sent through the window's procedure), the binding that ties widget
// and surface to a handle, and what the control is to assistive technology.
// Used by the framework itself; components and the program work through
// Controls.h and Windows.h.
#pragma once

#include "framework/controls/Controls.h"
#include "framework/windows/EventTranslation.h"
#include "framework/windows/WindowSurface.h"

#include <QPointer>
#include <QWidget>

#include <memory>

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

// Accessibility: a windowed control's widget reports its windowless children
// to assistive technology as children of its own, with the control's
// accessible name and its hint as the description. A windowless control
// leaving forgets its accessible object.
void InstallAccessibleFactory();
void ForgetAccessibleControl(TControl* control);

std::unique_ptr<TWindowBinding> MakeControlBinding(TWinControl* control, const TCreateParams& params);
