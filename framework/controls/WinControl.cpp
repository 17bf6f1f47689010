// TWinControl and TCustomControl: windows of their own, painting, focus and the
// dialog keyboard.
#include "framework/controls/Controls.h"
#include "framework/graphics/DcGuards.h"

#include "framework/controls/Application.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/controls/WindowBinding.h"

#include <QWidget>

#include <algorithm>

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
    ControlStyle.Include(csAcceptsControls);
}

TWinControl::~TWinControl()
{
    // Children still here belong to someone else's list: they go with their parent.
    while (!controls_.empty())
        delete controls_.back();
    DestroyWnd();
}

HWND TWinControl::Handle()
{
    if (handle_ == nullptr)
        CreateWnd();
    return handle_;
}

QWidget* TWinControl::Widget()
{
    HandleNeeded();
    return binding_ != nullptr ? binding_->Widget() : nullptr;
}

TSurface* TWinControl::ClientSurface()
{
    HandleNeeded();
    return binding_ != nullptr ? binding_->Surface() : nullptr;
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.Style = WS_CHILD;
    if (parent_ == nullptr)
        params.Style = WS_POPUP;
}

std::unique_ptr<TWindowBinding> TWinControl::CreateBinding()
{
    TCreateParams params;
    CreateParams(params);
    return MakeControlBinding(this, params);
}

void TWinControl::CreateWnd()
{
    if (parent_ != nullptr)
        parent_->HandleNeeded();
    // Creating the parent's window creates its children's too, this one among them.
    if (handle_ != nullptr)
        return;
    TCreateParams params;
    CreateParams(params);
    binding_ = CreateBinding();
    handle_ = RegisterWindow(binding_.get(),
                             MakeWindowProc([this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
                                 TMessage message{msg, wParam, lParam, 0};
                                 WndProc(message);
                                 return message.Result;
                             }),
                             ClassName(), params.Style);
    SetWindowLong(handle_, GWL_EXSTYLE, static_cast<std::intptr_t>(params.ExStyle));
    binding_->SetBoundsFromControl();
    if (QWidget* widget = binding_->Widget()) {
        widget->setAccessibleName(QString::fromStdString(AccessibleName()));
        widget->setAccessibleDescription(QString::fromStdString(Hint()));
        widget->setEnabled(Enabled());
    }
    ApplyCursor();
    CreateHandleDone();
    for (TControl* child : controls_)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->HandleNeeded();
    binding_->SyncVisibility();
}

void TWinControl::DestroyWnd()
{
    if (handle_ != nullptr) {
        const HWND handle = handle_;
        DestroyWindow(handle);
        handle_ = nullptr;
    }
    binding_.reset();
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    const bool hadHandle = HandleAllocated();
    if (hadHandle)
        DestroyWnd();
    TControl::SetParent(parent);
    if (parent != nullptr || hadHandle)
        HandleNeeded();
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
}

void TWinControl::BoundsChanged()
{
    if (binding_ != nullptr)
        binding_->SetBoundsFromControl();
}

void TWinControl::SyncWidgetGeometry()
{
    if (binding_ != nullptr)
        binding_->SetBoundsFromControl();
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        tabList_.push_back(windowed);
}

void TWinControl::RemoveControl(TControl* control)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    ReleaseCaptureControl(control);
    if (mouseControl_ == control)
        mouseControl_ = nullptr;
}

void TWinControl::ReleaseCaptureControl(TControl* control)
{
    if (captureControl_ == control && control != nullptr) {
        captureControl_ = nullptr;
        if (HandleAllocated() && GetCapture() == handle_)
            ReleaseCapture();
    }
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled) const
{
    const auto hit = [&](TControl* c) {
        return c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(point) &&
               c->Perform(CM_HITTEST, 0, MakeLParam(point.X - c->Left(), point.Y - c->Top())) != 0;
    };
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (dynamic_cast<TWinControl*>(*it) != nullptr && hit(*it))
            return *it;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (dynamic_cast<TWinControl*>(*it) == nullptr && hit(*it))
            return *it;
    return nullptr;
}

void TWinControl::SetTabStop(bool tabStop)
{
    tabStop_ = tabStop;
}

int TWinControl::TabOrder() const
{
    if (parent_ == nullptr)
        return -1;
    const auto& list = parent_->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order)
{
    if (parent_ == nullptr)
        return;
    auto& list = parent_->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    const int clamped = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + clamped, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* child : tabList_) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                          bool checkParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int count = static_cast<int>(list.size());
    const auto found = std::find(list.begin(), list.end(), current);
    int start = found == list.end() ? (forward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    do {
        i = forward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[static_cast<std::size_t>(i)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
            (!checkParent || candidate->Parent() == this))
            return candidate;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop, false))
        next->SetFocus();
}

bool TWinControl::CanFocus() const
{
    // Visible and enabled up to the form; the form itself may still be hidden
    // (it picks its first focus before it shows).
    const TCustomForm* form = ParentForm();
    for (const TControl* c = this; c != nullptr && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return form == nullptr || form == this || form->Enabled();
}

bool TWinControl::Focused() const
{
    if (const TCustomForm* form = ParentForm(); form != nullptr && form != this)
        return form->ActiveControl() == this;
    return binding_ != nullptr && binding_->Widget() != nullptr && binding_->Widget()->hasFocus();
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = ParentForm(); form != nullptr && form != this) {
        form->FocusControl(this);
        return;
    }
    if (QWidget* widget = Widget())
        widget->setFocus(Qt::OtherFocusReason);
}

void TWinControl::Broadcast(TMessage& message)
{
    const std::vector<TControl*> children = controls_; // a handler may change the list
    for (TControl* child : children) {
        child->WndProc(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::Invalidate()
{
    if (HandleAllocated())
        InvalidateRect(handle_, nullptr, !ControlStyle.Contains(csOpaque));
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::Update()
{
    if (HandleAllocated())
        UpdateWindow(handle_);
}

TPoint TWinControl::ClientOrigin() const
{
    if (binding_ != nullptr) {
        if (QWidget* client = const_cast<TWinControl*>(this)->ClientWidget()) {
            const QPoint p = client->mapToGlobal(QPoint(0, 0));
            return {p.x(), p.y()};
        }
    }
    return TControl::ClientOrigin();
}

void TWinControl::ChangeScale(int m, int d)
{
    for (TControl* child : std::vector<TControl*>(controls_))
        child->ChangeScale(m, d);
    TControl::ChangeScale(m, d);
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    TRect clip;
    GetClipBox(dc, &clip);
    bool started = first == nullptr;
    for (TControl* child : std::vector<TControl*>(controls_)) {
        if (!started) {
            started = child == first;
            if (!started)
                continue;
        }
        if (dynamic_cast<TWinControl*>(child) != nullptr || !child->Visible())
            continue;
        if (IntersectRect(child->BoundsRect(), clip).IsEmpty())
            continue;
        TSavedDCState saved(dc);
        OffsetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::PaintWindow(HDC)
{
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (handle_ != nullptr)
        m.Result = DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::FontChanged()
{
    TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
    for (TControl* child : std::vector<TControl*>(controls_))
        child->WndProc(m);
    Invalidate();
}

void TWinControl::ColorChanged()
{
    TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
    for (TControl* child : std::vector<TControl*>(controls_))
        child->WndProc(m);
    Invalidate();
}

void TWinControl::EnabledChanged()
{
    if (binding_ != nullptr && binding_->Widget() != nullptr)
        binding_->Widget()->setEnabled(Enabled());
    Invalidate();
}

void TWinControl::VisibleChanged()
{
    if (binding_ != nullptr)
        binding_->SyncVisibility();
}

void TWinControl::TextChanged()
{
    Invalidate();
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        WMPaint(m);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(m);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        WMKeyDown(m);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        WMKeyUp(m);
        return;
    case WM_CHAR:
    case WM_SYSCHAR:
        WMChar(m);
        return;
    case WM_SETFOCUS:
        WMSetFocus(m);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(m);
        return;
    case WM_GETDLGCODE:
        m.Result = DialogCode();
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(m);
        return;
    case CM_MOUSELEAVE:
        UpdateMouseControl(nullptr);
        break;
    case CM_CURSORCHANGED:
        ApplyCursor();
        return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (RouteMouseToChild(m))
            return;
        break;
    case WM_CAPTURECHANGED:
        // Another window took the capture: the windowless child loses it too.
        if (captureControl_ != nullptr && GetCapture() != handle_)
            captureControl_ = nullptr;
        return;
    default:
        break;
    }
    TControl::WndProc(m);
}

bool TWinControl::RouteMouseToChild(TMessage& m)
{
    const TPoint point{LoSWord(static_cast<std::uintptr_t>(m.LParam)), HiSWord(static_cast<std::uintptr_t>(m.LParam))};
    TControl* target = captureControl_;
    if (target == nullptr) {
        TControl* hit = ControlAtPos(point);
        if (hit != nullptr && dynamic_cast<TWinControl*>(hit) == nullptr)
            target = hit;
    }
    if (m.Msg == WM_MOUSEMOVE)
        UpdateMouseControl(target);
    if (target == nullptr)
        return false;
    TMessage routed{m.Msg, m.WParam, MakeLParam(point.X - target->Left(), point.Y - target->Top()), 0};
    target->WndProc(routed);
    m.Result = routed.Result;
    return true;
}

void TWinControl::ApplyCursor()
{
    if (binding_ == nullptr || binding_->Widget() == nullptr || Screen == nullptr)
        return;
    QWidget* widget = ClientWidget();
    // A windowless child under the pointer shows its own cursor.
    const TCursor cursor = mouseControl_ != nullptr && mouseControl_->Cursor() != crDefault ? mouseControl_->Cursor()
                                                                                           : Cursor();
    if (cursor == crDefault)
        widget->unsetCursor();
    else
        widget->setCursor(Screen->Cursors(cursor));
}

void TWinControl::UpdateMouseControl(TControl* control)
{
    if (control == mouseControl_)
        return;
    TControl* previous = mouseControl_;
    mouseControl_ = control;
    ApplyCursor();
    if (previous != nullptr)
        previous->Perform(CM_MOUSELEAVE);
    if (control != nullptr)
        control->Perform(CM_MOUSEENTER);
}

void TWinControl::WMPaint(TMessage&)
{
    TSurface* surface = ClientSurface();
    if (surface == nullptr)
        return;
    // Only the invalid part is redrawn; the rest of the retained surface stays.
    const TRect paintRect = binding_->PaintRect();
    TOwnedDC ownedDC(CreateSurfaceDC(surface, {}, &paintRect));
    const HDC dc = ownedDC.get();
    if (!ControlStyle.Contains(csOpaque))
        SendMessage(handle_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    PaintWindow(dc);
    PaintControls(dc);
}

void TWinControl::WMEraseBkgnd(TMessage& m)
{
    const HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (dc == nullptr)
        return;
    const HBRUSH brush = CreateSolidBrush(Color());
    FillRect(dc, ClientRect(), brush);
    DeleteObject(brush);
    m.Result = 1;
}

namespace {

// Keys the dialog manager takes for itself unless the focused control wants them.
bool IsDialogKey(WORD key)
{
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}

WPARAM ShiftBits(TShiftState shift)
{
    return (shift.Contains(ssShift) ? MK_SHIFT : 0) | (shift.Contains(ssCtrl) ? MK_CONTROL : 0);
}

} // namespace

void TWinControl::WMKeyDown(TMessage& m)
{
    WORD key = static_cast<WORD>(m.WParam);
    const TShiftState shift = KeyboardShiftState();
    if (m.Msg == WM_KEYDOWN && IsDialogKey(key) && !shift.Contains(ssAlt)) {
        const LRESULT code = Perform(WM_GETDLGCODE);
        bool wanted = (code & DLGC_WANTALLKEYS) != 0;
        if (key == VK_TAB)
            wanted = wanted || (code & DLGC_WANTTAB) != 0 || shift.Contains(ssCtrl);
        else if (key >= VK_LEFT && key <= VK_DOWN)
            wanted = wanted || (code & DLGC_WANTARROWS) != 0;
        wanted = wanted || Perform(CM_WANTSPECIALKEY, key) != 0;
        if (!wanted) {
            TWinControl* form = ParentForm();
            if (form == nullptr)
                form = this;
            if (form->Perform(CM_DIALOGKEY, key, static_cast<LPARAM>(ShiftBits(shift))) != 0)
                return;
        }
    }
    KeyDown(key, shift);
    if (key == 0)
        return;
    m.WParam = key;
    DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m)
{
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyboardShiftState());
    if (key != 0)
        DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m)
{
    const char ch = static_cast<char>(m.WParam);
    const bool alt = m.Msg == WM_SYSCHAR;
    const bool wantsChars = (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) != 0;
    if (alt || !wantsChars) {
        TWinControl* form = ParentForm();
        if (form == nullptr)
            form = this;
        if (form->Perform(CM_DIALOGCHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), alt ? KF_ALTDOWN_LPARAM : 0) != 0)
            return;
    }
    if (!alt) {
        char key = ch;
        KeyPress(key);
        if (key == 0)
            return;
    }
    DefaultHandler(m);
}

void TWinControl::WMSetFocus(TMessage& m)
{
    if (TCustomForm* form = ParentForm(); form != nullptr && form != this)
        form->SetFocusedControl(this);
    NotifyAccessibleFocus();
    DoEnter();
    if (OnEnter)
        OnEnter(this);
    Invalidate();
    DefaultHandler(m);
}

void TWinControl::WMKillFocus(TMessage& m)
{
    DoExit();
    if (OnExit)
        OnExit(this);
    Invalidate();
    DefaultHandler(m);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
}

// ---------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner)
{
}

void TCustomControl::PaintWindow(HDC dc)
{
    TControlCanvas* canvas = Canvas();
    canvas->FreeHandle();
    TCanvasBinding bound(*canvas, dc);
    Paint();
}
