// The Qt host of a form (used by the forms module only): the frameless
// top-level widget that shows the retained window surface (the frame) with the
// client area as a child widget, and the binding that ties both to the form's
// handle. FormWindow.cpp turns the widget's Qt events into messages;
// FrameActions.cpp holds the frame's default actions (DefWindowProc for a
// form) and the window states.
#pragma once

#include "framework/controls/Forms.h"
#include "framework/controls/WindowBinding.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <climits>
#include <memory>
#include <optional>

class TFormBinding;

// The WM_SIZE kind of a window state.
WPARAM SizeKind(TWindowState state);

class TFormWindow : public QWidget {
public:
    TFormWindow(TCustomForm* form, TFormBinding* binding);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { SendNonClientMouse(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { SendNonClientMouse(event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { SendNonClientMouse(event); }
    void mouseMoveEvent(QMouseEvent* event) override { SendNonClientMouse(event); }

private:
    void SendShowPosition(UINT flag);
    void SendNonClientMouse(QMouseEvent* event);

    TCustomForm* form_;
    TFormBinding* binding_;
};

class TFormBinding : public TWindowBinding {
public:
    explicit TFormBinding(TCustomForm* form);
    ~TFormBinding() override;

    HWND Handle() const { return form_->HandleAllocated() ? const_cast<TCustomForm*>(form_)->Handle() : nullptr; }
    // The form's show handling (centring, OnShow), run before WM_SHOWWINDOW.
    void RunShowHandler() { form_->DoShow(); }
    QWidget* Widget() override { return window_.data(); }
    QWidget* Client() { return client_.data(); }
    TSurface* Surface() override { return clientSurface_.get(); }
    TSurface* WindowSurface() override { return windowSurface_.get(); }
    TSurface* ClientSurface() override { return clientSurface_.get(); }
    TPoint ClientOrigin() const override;
    TSize ClientSize() const override;

    void SetBoundsFromControl() override;
    // Lays the client widget out inside the frame.
    void LayoutClient();
    // The window system moved or sized the window: take the new bounds
    // without pushing them back.
    void TakeBounds(const QRect& r);
    // Whether the window really moved or changed size since the last event
    // (the window system repeats itself); remembers the new value.
    bool MovedTo(QPoint position);
    bool ResizedTo(QSize size);
    // Tells the window where it now lies and how large it is (WM_MOVE,
    // WM_SIZE, WM_WINDOWPOSCHANGED), each only when it really changed.
    void ReportMove();
    void ReportSize();

    // Asks the window before the program moves or sizes it
    // (WM_WINDOWPOSCHANGING) and returns the rectangle it agreed to.
    TRect AgreedBounds(const TRect& wanted);
    // Whether the window is asked before a move or size: not while the window
    // system's own changes are taken over, nor inside a move or size loop.
    bool AsksBeforeBounds() const { return !syncing_ && !tracking_; }
    // Whether a move or size loop runs: the window follows the pointer and
    // is told where it ended up when the button comes up.
    bool Tracking() const { return tracking_; }
    // The point where the button came up that ended the last move or size
    // loop, once: the press's sender delivers that release to the window.
    std::optional<TPoint> TakeTrackRelease();

    void SyncVisibility() override;

    TRect WindowRect() const override { return form_->BoundsRect(); }
    void SetWindowRect(const TRect& rect) override { form_->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }
    bool Iconic() const override { return form_->WindowState() == wsMinimized; }
    bool Zoomed() const override { return form_->WindowState() == wsMaximized; }
    TRect NormalRect() const override;
    void SetNormalRect(const TRect& rect) override;
    bool RestoresToMaximized() const override
    {
        return form_->WindowState() == wsMinimized && stateBeforeMinimize_ == wsMaximized;
    }
    void SetRestoresToMaximized(bool maximized) override
    {
        if (form_->WindowState() == wsMinimized)
            stateBeforeMinimize_ = maximized ? wsMaximized : wsNormal;
    }

    void ShowCommand(int command) override;
    void InvalidateClient(const TRect* rect) override;
    TRect PaintRect() const override { return client_.isNull() ? TRect{} : client_->PaintRect(); }
    void InvalidateFrame() override { SendMessage(Handle(), WM_NCPAINT, 1, 0); }
    void UpdateNow() override;

    LRESULT DefaultAction(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Draws the frame into the window surface now.
    void PaintFrameNow();
    bool FramePainted() const { return framePainted_; }
    TWindowSurface* FrameSurface() { return windowSurface_.get(); }
    QMenu* SystemMenu() { return systemMenu_.data(); }
    void ShowSystemMenu(TPoint at);

    // Sends WM_SIZE for the current state and client size.
    void SendSize();
    // While a state change runs, WM_SIZE waits for its end and is sent once.
    bool StateChanging() const { return stateChanging_; }
    // Whether the caption is drawn active.
    bool NonClientActive() const { return ncActive_; }
    // The activation last delivered (WM_NCACTIVATE and WM_ACTIVATE from the
    // window system), kept apart from the painted state: a caption redrawn
    // active by a direct WM_NCACTIVATE must not hide the next real change.
    bool DeliveredActive() const { return deliveredActive_; }
    // Sends WM_NCACTIVATE and WM_ACTIVATE when Qt's activation differs from
    // the one last delivered.
    void DeliverActivation();

private:
    // The frame's default actions, one handler a message (FrameActions.cpp).
    LRESULT NonClientActivate(WPARAM active);
    LRESULT NonClientButtonDown(UINT hit, TPoint screen);
    void NonClientMouseMove(TPoint screen);
    void NonClientButtonUp();
    void SetFrameCursor(int hit);
    void NonClientDoubleClick(HWND window, UINT hit, LPARAM lParam);
    void SystemCommand(HWND window, WPARAM command, LPARAM lParam);
    void SystemKeyDown(HWND window, WPARAM key);
    void SystemChar(HWND window, WPARAM key);
    void FillMinMaxInfo(TMinMaxInfo* info) const;
    // The move loop of a caption press, the size loop of a border press:
    // it returns when the button comes up (or Escape cancels).
    void TrackMoveSize(int hit, TPoint cursor);
    void FollowTrack(int hit, const TRect& start, TPoint delta, const TMinMaxInfo& limits);
    void EndTrack(const TRect& start);

    void Maximize();
    TRect MaximizedBounds();
    void Restore();
    void Minimize();
    int HitTest(TPoint screen) const;

    TCustomForm* form_;
    QPointer<TFormWindow> window_;
    QPointer<TControlWidget> client_;
    QPointer<QMenu> systemMenu_;
    std::unique_ptr<TWindowSurface> windowSurface_;
    std::unique_ptr<TWindowSurface> clientSurface_;
    bool syncing_ = false;
    bool framePainted_ = false;
    bool stateChanging_ = false;
    bool ncActive_ = false;
    bool deliveredActive_ = false;
    bool tracking_ = false;
    std::optional<TPoint> trackRelease_;
    TRect normalRect_;
    TWindowState stateBeforeMinimize_ = wsNormal;

    // Where the window system last put the window.
    struct TLastGeometry {
        QPoint Position{INT_MIN, INT_MIN};
        QSize Size{-1, -1};
    } last_;

    // A caption button held down, and whether the pointer is still on it.
    struct TButtonPress {
        TCaptionButton Button = cbNone;
        bool Down = false;
    } press_;

};
