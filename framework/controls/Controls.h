// The control hierarchy: TControl (position, caption, font, colour, hint, mouse,
// messages through WndProc), TGraphicControl (windowless: paints on its parent's
// surface through its own canvas), TWinControl (a window of its own: a handle
// with a window procedure, a Qt widget, a retained surface, focus and tab
// order, windowless children) and TCustomControl (windowed, with a canvas).
//
// Messages. Every control handles messages in one virtual WndProc (one switch
// that hands each message to a named handler); what it does not handle goes to
// DefaultHandler, which for a windowed control is the framework's
// DefWindowProc. Perform sends a message straight to WndProc. A windowed
// control's Qt events arrive as messages through its window's current
// procedure (GetWindowProc/SetWindowProc), whose bottom is WndProc.
//
// Notifications (CM_*) follow the classic rules: changing Font, Caption,
// Enabled, Color or Visible performs CM_FONTCHANGED, CM_TEXTCHANGED,
// CM_ENABLEDCHANGED, CM_COLORCHANGED, CM_VISIBLECHANGED on the control; a
// windowed control passes font and colour changes on to its children as
// CM_PARENTFONTCHANGED and CM_PARENTCOLORCHANGED; the pointer entering and
// leaving a control performs CM_MOUSEENTER and CM_MOUSELEAVE; the form
// broadcasts CM_DIALOGKEY, CM_DIALOGCHAR and CM_FOCUSCHANGED; a control asked
// CM_WANTSPECIALKEY (WParam = key) answers 1 to keep an arrow or Enter key.
#pragma once

#include "framework/graphics/Canvas.h"
#include "framework/runtime/Classes.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Fonts.h"
#include "framework/windows/Messages.h"
#include "framework/runtime/Types.h"
#include "framework/windows/Cursors.h"
#include "framework/windows/Windows.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class TWinControl;
class TCustomForm;
class TControlWidget;
class TWindowBinding;

enum TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csReplicatable,
    csNoStdEvents,
};
using TControlStyle = Set<TControlStyleFlag>;

enum TControlStateFlag { csLButtonDown, csClicked, csFocusing, csCreating };
using TControlState = Set<TControlStateFlag>;

enum TAlign { alNone };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateFlag>;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// The roles a control reports to assistive technology.
enum TAccessibleRole { arStaticText, arPane, arButton, arGrouping, arToolTip };


// The shift state of a mouse message's WParam.
TShiftState KeysToShiftState(WPARAM keys);
// The shift state of the keyboard now.
TShiftState KeyboardShiftState();
// The accelerator character of a caption ("&Close" -> 'c'), 0 for none; "&&" is a literal '&'.
char AcceleratorOf(const std::string& caption);
// Whether ch is caption's accelerator (case-insensitive).
bool IsAccel(char ch, const std::string& caption);
// The caption as it reads: "&Today's Date" -> "Today's Date", "&&" -> "&".
std::string StripAccelerators(const std::string& caption);

// A canvas bound to a control. A windowless control's canvas paints on its
// parent's surface at the control's position, clipped to its bounds; it gets a
// device context of its own when used outside a paint.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(class TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    // Releases a context the canvas fetched for itself (not one a paint bound).
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    HDC ownDC_ = nullptr;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form the control sits on (its top parent when that is a form).
    TCustomForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area in the control's own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int width) { SetClientSize({width, ClientHeight()}); }
    void SetClientHeight(int height) { SetClientSize({ClientWidth(), height}); }
    virtual void SetClientSize(TSize size);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Text() const { return caption_; }
    void SetText(const std::string& text) { SetCaption(text); }

    // The font: the parent's while ParentFont is true; setting one's own clears ParentFont.
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    // Effective: the parent's while ParentShowHint is true.
    bool ShowHint() const;
    void SetShowHint(bool showHint);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint);

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent.
    bool Showing() const;

    TAlign Align() const { return alNone; }
    TControlStyle ControlStyle;
    TControlState ControlState;
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    // Accessible name; the accessible description is the hint.
    const std::string& AccessibleName() const { return accessibleName_; }
    void SetAccessibleName(const std::string& name);
    // What the control is to assistive technology: static text unless a kind says otherwise.
    virtual TAccessibleRole AccessibleRole() const { return arStaticText; }
    // The name a screen reader says: the accessible name, else the caption
    // without its accelerator marks.
    virtual std::string AccessibleLabel() const;
    // The text the control shows, as a screen reader reads it; none for a
    // control whose name says all it shows (a button, a frame).
    virtual std::optional<std::string> AccessibleText() const { return std::nullopt; }
    // A control whose text is a number (a read-only number field) reports
    // that number as its value too.
    bool AccessibleNumeric() const { return accessibleNumeric_; }
    void SetAccessibleNumeric(bool numeric) { accessibleNumeric_ = numeric; }
    // The number the text shows; none while it shows no number.
    std::optional<double> AccessibleValue() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    virtual void Invalidate();
    // Paints now.
    virtual void Repaint();
    // Paints what is invalid now.
    virtual void Update();
    void Refresh() { Repaint(); }

    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The control's own message handling, at the bottom of its window's
    // procedure chain. Every override is one switch that hands each message to
    // a named handler, with one convention: a case that ends in `return` has
    // handled the message (its handler calls the inherited WndProc itself if it
    // also wants the default), a case that ends in `break` lets the message go
    // on to the inherited WndProc after the switch.
    virtual void WndProc(TMessage& message);

    // Mouse capture: while set, the control receives every mouse message of
    // its window, wherever the pointer is.
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    // The screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;

    // Scales position, size and (unless ParentFont) the font by m/d.
    virtual void ChangeScale(int m, int d);

    // The control's canvas (windowless controls paint through it).
    TCanvas* ControlCanvas() { return canvas_.get(); }

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // Messages WndProc leaves alone; a windowed control hands them to DefWindowProc.
    virtual void DefaultHandler(TMessage& message);
    // The control's font, colour, caption, enabled state or visibility changed.
    virtual void FontChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void VisibleChanged();
    // The position or size changed (after the new bounds are stored).
    virtual void BoundsChanged() {}
    // Tells assistive technology that the text the control shows changed
    // from oldText (and its value with it). SetCaption sends it; a control
    // whose text changes otherwise sends it itself.
    void NotifyAccessibleTextChanged(const std::optional<std::string>& oldText);

    // Message handlers.
    void WMMouseButton(TMessage& message, TMouseButton button, bool down, bool doubleClick);
    void WMMouseMove(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void CMParentShowHintChanged(TMessage& message);
    void CMHitTest(TMessage& message);

    TControlCanvas* Canvas() const { return canvas_.get(); }

private:
    friend class TWinControl;
    void FontObjectChanged();

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::string caption_;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool updatingParentFont_ = false;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    bool enabled_ = true;
    bool visible_ = true;
    TCursor cursor_ = crDefault;
    std::string accessibleName_;
    bool accessibleNumeric_ = false;
    std::unique_ptr<TControlCanvas> canvas_;
};

// A windowless control: it paints on its parent's surface in creation order,
// below every windowed sibling, and gets its mouse messages from the parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    void WndProc(TMessage& message) override;

protected:
    // Paints through Canvas() (origin at the control's top-left, clipped to it).
    virtual void Paint() {}
};

// The extra parameters of a window: classic style bits. A control without a
// parent whose style has WS_POPUP becomes a popup window (hint windows).
struct TCreateParams {
    std::uint32_t Style = WS_CHILD;
    std::uint32_t ExStyle = 0;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    TAccessibleRole AccessibleRole() const override { return arPane; }

    // The window handle, created on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { (void)Handle(); }
    // The Qt widget of the window (created with the handle).
    QWidget* Widget();
    // The widget that hosts the client area and the child windows.
    virtual QWidget* ClientWidget() { return Widget(); }

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    // The topmost visible child at a client point: windowed children first, then
    // windowless ones, the latest created on top.
    TControl* ControlAtPos(TPoint point, bool allowDisabled = false) const;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // Position among the parent's windowed children in tab order; setting one
    // moves the others along, as the classic framework does.
    int TabOrder() const;
    void SetTabOrder(int order);
    // The windowed descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    // Sends a message to every child (stopping when one sets a non-zero Result).
    void Broadcast(TMessage& message);

    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    void WndProc(TMessage& message) override;
    TPoint ClientOrigin() const override;
    void ChangeScale(int m, int d) override;

    // The retained client surface (the canvas layer's TSurface), valid with the handle.
    TSurface* ClientSurface();
    // Paints the windowless children on dc, from first (or all).
    void PaintControls(HDC dc, TControl* first = nullptr);

    // The windowless child that holds the mouse capture, or null.
    TControl* CaptureControl() const { return captureControl_; }

protected:
    friend class TControl;
    friend class TControlWidget;
    friend class TWindowBinding;

    virtual void CreateParams(TCreateParams& params);
    // Creates the window: the widget, the surface and the handle.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Called when the handle exists (children's windows are created after it).
    virtual void CreateHandleDone() {}

    // Paints the window's own content on its client surface (after the
    // background, before the windowless children).
    virtual void PaintWindow(HDC dc);
    void DefaultHandler(TMessage& message) override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void TextChanged() override;
    void BoundsChanged() override;

    // Keyboard: what the control wants for itself (DLGC_* bits).
    virtual LRESULT DialogCode() { return 0; }
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter() {}
    virtual void DoExit() {}
    // Tells assistive technology that the control took the keyboard focus
    // (the framework moves the focus itself, so Qt does not know).
    void NotifyAccessibleFocus();

    // Message handlers.
    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMChar(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    bool RouteMouseToChild(TMessage& message);
    void UpdateMouseControl(TControl* control);
    // Shows the cursor of the control under the pointer (or this control's).
    void ApplyCursor();

    // Attaches a popup/top-level window's widget; TCustomForm makes its own.
    virtual std::unique_ptr<TWindowBinding> CreateBinding();
    TWindowBinding* Binding() const { return binding_.get(); }

public:
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

private:
    friend class TCustomForm;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void SyncWidgetGeometry();
    void ReleaseCaptureControl(TControl* control);

    std::vector<TControl*> controls_;      // creation order, the paint order of windowless ones
    std::vector<TWinControl*> tabList_;    // windowed children in tab order
    bool tabStop_ = false;
    HWND handle_ = nullptr;
    std::unique_ptr<TWindowBinding> binding_;
    TControl* captureControl_ = nullptr;
    TControl* mouseControl_ = nullptr;     // windowless child under the pointer
};

// A windowed control that paints itself through its canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
};

// The window binding of a windowed control: its Qt widget, retained surface and
// window host. Defined in the framework's widget module; TCustomForm and the
// hint window use their own kinds.
class TWindowBinding : public TWindowHost {
public:
    ~TWindowBinding() override = default;
    virtual TSurface* Surface() = 0;          // the client surface
    virtual void SetBoundsFromControl() = 0;  // the control's bounds changed
    virtual void SyncVisibility() = 0;
    // The part of the client area WM_PAINT redraws now.
    virtual TRect PaintRect() const = 0;
};
