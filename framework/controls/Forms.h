// Forms: frameless Qt top-level windows with the framework's own classic
// non-client area (frame, caption bar, caption buttons, system menu).
//
// Geometry: Left, Top, Width, Height are the outer window; ClientWidth and
// ClientHeight the client area inside the frame (a layout sets those).
//
// The window procedure. The bottom procedure of a form's window is its
// virtual WndProc (one switch, each message to a named handler), ending in
// DefWindowProc, whose default actions for a form are the frame's: paint the
// frame on WM_NCPAINT, redraw the caption on WM_NCACTIVATE (returning 1),
// hit-test on WM_NCHITTEST, move the window or press a caption button on
// WM_NCLBUTTONDOWN, carry out WM_SYSCOMMAND, turn Alt+F4 and Alt+Space into
// commands. A component hooks the form with SetWindowProc(form->Handle(), …)
// and sees every message first.
//
// Qt events arrive as: WM_MOVE, WM_SIZE (SIZE_RESTORED / MINIMIZED / MAXIMIZED,
// client size in LParam), WM_WINDOWPOSCHANGED, WM_SHOWWINDOW (before the
// window is mapped), WM_NCACTIVATE then WM_ACTIVATE, WM_CLOSE, WM_DESTROY,
// WM_GETMINMAXINFO (before maximising), WM_NCHITTEST and the non-client mouse
// messages, WM_DISPLAYCHANGE when the screen size changes, and WM_NCPAINT
// whenever the frame is drawn (first show, activation change, resize, caption
// change, caption-button state change). GetWindowDC(form->Handle()) draws on
// the retained window surface; a hook may paint over the frame after calling
// down the chain for WM_NCPAINT.
//
// Loading. A form builds itself "while loading":
//
//     TForm1::TForm1(TComponent* owner) : TForm(owner)
//     {
//         BeginLoad();                 // the form and what it creates are csLoading
//         ... create controls, set properties, assign OnCreate ...
//         EndLoad();                   // Loaded() on every component in creation
//     }                                // order, then scaling, then OnCreate
//
// Closing: BeforeDestruction (run by Application->DestroyForms, or by the
// destructor when nobody ran it) calls OnDestroy, frees the components newest
// first while the window still exists, then destroys the window (WM_DESTROY).
#pragma once

#include "framework/controls/Controls.h"
#include "framework/controls/FormScaling.h"
#include "framework/controls/NonClient.h"

#include <memory>

class TBitmap;
class QMenu;

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poScreenCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// The classic window-style bits of a frame (caption, system menu, boxes,
// frames, tool window, context help) replaced in style and exStyle; other
// bits are kept.
void FrameStyleBits(const TFrameStyle& frame, std::uint32_t& style, std::uint32_t& exStyle);

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Loading protocol (see the top of this file).
    void BeginLoad();
    void EndLoad();
    // OnDestroy, then components newest first, then the window. Idempotent.
    void BeforeDestruction();

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFrameStyle FrameStyle() const;
    // The frame's layout for the current outer size.
    TFrameGeometry FrameLayout() const;

    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);

    // The small icon in the caption; the application icon when the form has none.
    TBitmap* Icon() const { return icon_.get(); }
    void SetIcon(const TBitmap* icon);

    // Design resolution and text height the layout was made for.
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int pixelsPerInch) { pixelsPerInch_ = pixelsPerInch; }
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int textHeight) { textHeight_ = textHeight; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled) { scaled_ = scaled; }
    // The text height of the form's font on this screen.
    int GetTextHeight() const;

    // Shows the form (OnShow runs from WM_SHOWWINDOW) and activates it.
    void Show();
    void Hide();
    // Asks OnCloseQuery, runs OnClose, and hides (or frees) the form; closing
    // the main form ends the application's loop.
    void Close();
    bool Active() const { return active_; }

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Moves the keyboard focus to control (used by TWinControl::SetFocus).
    void FocusControl(TWinControl* control);
    // The window system moved the focus to control.
    void SetFocusedControl(TWinControl* control);

    // Once the window exists, every move and size the program makes asks it
    // first (WM_WINDOWPOSCHANGING), and it may keep its place or size.
    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    void SetClientSize(TSize size) override;
    QWidget* ClientWidget() override;
    TPoint ClientOrigin() const override;

    // The system menu while it is shown (by the icon, Alt+Space or a right
    // click on the caption), else nullptr. Its commands arrive as WM_SYSCOMMAND.
    QMenu* SystemMenu();
    void ShowSystemMenu(TPoint screenPoint);

    void WndProc(TMessage& message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& params) override;
    std::unique_ptr<TWindowBinding> CreateBinding() override;
    void TextChanged() override;
    void FontChanged() override;
    void VisibleChanged() override;
    void BoundsChanged() override;

    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual bool CloseQuery();
    // Scales the layout to the screen (see TFormScaling); runs inside EndLoad.
    virtual void ScaleForScreen();
    void ScaleControls(int m, int d);

    // Message handlers.
    void WMShowWindow(TMessage& message);
    void WMActivate(TMessage& message);
    void WMClose(TMessage& message);
    void WMSize(TMessage& message);
    void WMDestroy(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);

private:
    friend class TFormBinding;
    class TFormBinding* FormBinding() const;
    // GWL_STYLE and GWL_EXSTYLE follow BorderStyle and BorderIcons.
    void UpdateFrameStyleBits();
    void FocusChanged(TWinControl* control);

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    std::unique_ptr<TBitmap> icon_;
    int pixelsPerInch_ = 96;
    int textHeight_ = 0;
    bool scaled_ = true;
    bool active_ = false;
    bool loading_ = false;
    bool destructionStarted_ = false;
    bool created_ = false;
    TWinControl* activeControl_ = nullptr;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};
