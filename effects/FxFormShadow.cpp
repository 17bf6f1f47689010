#include "effects/FxFormShadow.h"

#include "services/FxApplication.h"
#include "services/OneInstance.h"

#include "framework/controls/Forms.h"
#include "framework/graphics/DcGuards.h"
#include "framework/graphics/RasterOps.h"

TShadowStrips ShadowStripRects(const TRect& window, int depth)
{
    const int d = depth;
    return {Bounds(window.Right, window.Top + d, d, window.Height() - d),
            Bounds(window.Left + d, window.Bottom, window.Width(), d)};
}

namespace {

constexpr UINT CS_PARENTDC = 0x0080;

// Fills the strip with its colour.
void EraseSolid(HDC dc, const TRect& client, TColor color)
{
    const HBRUSH brush = CreateSolidBrush(color);
    struct TDeleteBrush {
        HBRUSH brush;
        ~TDeleteBrush() { DeleteObject(brush); }
    } deleteBrush{brush};
    FillRect(dc, client, brush);
}

// Darkens the pixels the strip holds (what lay under it) through the colour's
// checkerboard: destination AND pattern.
void EraseTracing(HDC dc, const TRect& client, TColor color)
{
    TSavedDCState saved(dc);
    TSelectedObject pen(dc, GetStockObject(NULL_PEN), false);
    TSelectedObject hollow(dc, GetStockObject(HOLLOW_BRUSH), false);
    LOGBRUSH pattern;
    pattern.lbStyle = BS_PATTERN;
    pattern.lbPattern = ApplicationServices->GetPatternBitmap(color)->Image();
    TSelectedObject brush(dc, CreateBrushIndirect(pattern), true);
    PatBlt(dc, client.Left, client.Top, client.Width(), client.Height(), ROP_DPa);
}

} // namespace

LRESULT ShadowWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETFOCUS)
        return 0;
    if (msg == WM_ERASEBKGND) {
        const auto style = static_cast<TFxShadowStyle>(GetWindowLong(window, ShadowStyleOffset));
        const auto color = static_cast<TColor>(GetWindowLong(window, ShadowColorOffset));
        const HDC dc = reinterpret_cast<HDC>(wParam);
        TRect client;
        GetClientRect(window, client);
        if (style == hssSolid) {
            EraseSolid(dc, client, color);
            return 1;
        }
        if (style == hssTracing && ApplicationServices != nullptr) {
            EraseTracing(dc, client, color);
            return 1;
        }
    }
    return DefWindowProc(window, msg, wParam, lParam);
}

TFxFormShadow::TFxFormShadow(TComponent* owner) : TFxWndProcComponent(owner)
{
    // Reading the style makes the form's window exist.
    const TCustomForm* form = OwnerForm();
    const bool childWindow =
        form != nullptr && (GetWindowLong(const_cast<TCustomForm*>(form)->Handle(), GWL_STYLE) & WS_CHILD) != 0;
    if (form == nullptr || childWindow || OwnerMDIKind == mkMDIChild ||
        OneInstanceCheck(owner, IsOfClass<TFxFormShadow>, false))
        RaiseOneInstError(this);
    shadow_ = std::make_unique<TFxShadow>();
    WireSubObject(*this, *shadow_);
    HookFrameWindow = true;
}

TFxFormShadow::~TFxFormShadow()
{
    // The strips go with the component, not only with the form's window, so
    // none is left behind with no one to place it.
    DestroyShadows();
    if (shadow_)
        UnwireSubObject(*shadow_);
}

HWND TFxFormShadow::FormWindow() const
{
    const TCustomForm* form = OwnerForm();
    return form != nullptr && form->HandleAllocated() ? const_cast<TCustomForm*>(form)->Handle() : nullptr;
}

bool TFxFormShadow::Showable() const
{
    const TCustomForm* form = OwnerForm();
    const HWND window = FormWindow();
    return window != nullptr && !IsIconic(window) && !IsZoomed(window) && IsWindowVisible(window) && form->Active();
}

void TFxFormShadow::Activate()
{
    TFxWndProcComponent::Activate();
    if (!Enabled() || IsDesigning() || rightShadow_ != nullptr)
        return;
    const HWND window = FormWindow();
    if (window == nullptr)
        return;
    TWndClass windowClass;
    windowClass.ClassName = ShadowClassName;
    windowClass.WndProc = MakeWindowProc(ShadowWindowProc);
    windowClass.WndExtra = ShadowWndExtra;
    windowClass.Style = CS_PARENTDC;
    windowClass.Cursor = crArrow;
    // Another form's shadow may have registered it already.
    classRegistered_ = RegisterClass(windowClass) || classRegistered_;
    TRect rect;
    GetWindowRect(window, rect);
    const TShadowStrips strips = ShadowStripRects(rect, shadow_->Depth());
    rightShadow_ = CreateWindowEx(0, ShadowClassName, "", WS_POPUP, strips.Right.Left, strips.Right.Top,
                                  strips.Right.Width(), strips.Right.Height(), window);
    bottomShadow_ = CreateWindowEx(0, ShadowClassName, "", WS_POPUP, strips.Bottom.Left, strips.Bottom.Top,
                                   strips.Bottom.Width(), strips.Bottom.Height(), window);
    StoreShadowLook(rightShadow_);
    StoreShadowLook(bottomShadow_);
}

void TFxFormShadow::Deactivate()
{
    TFxWndProcComponent::Deactivate();
    if (IsDesigning())
        return;
    DestroyShadows();
    UnregisterClass(ShadowClassName);
    classRegistered_ = false;
}

void TFxFormShadow::SubObjectChanged(TObject* sender)
{
    if (sender != shadow_.get()) {
        TFxWndProcComponent::SubObjectChanged(sender);
        return;
    }
    if (IsDesigning())
        return;
    StoreShadowLook(rightShadow_);
    StoreShadowLook(bottomShadow_);
    PlaceShadows();
    for (const HWND strip : {rightShadow_, bottomShadow_})
        if (strip != nullptr)
            RedrawWindow(strip, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void TFxFormShadow::StoreShadowLook(HWND strip)
{
    if (strip == nullptr)
        return;
    SetWindowLong(strip, ShadowStyleOffset, shadow_->Style());
    SetWindowLong(strip, ShadowColorOffset, static_cast<std::int32_t>(shadow_->Color()));
}

void TFxFormShadow::PlaceShadows()
{
    const HWND window = FormWindow();
    if (window == nullptr || rightShadow_ == nullptr)
        return;
    InvalidateRect(rightShadow_, nullptr, true);
    InvalidateRect(bottomShadow_, nullptr, true);
    TRect rect;
    GetWindowRect(window, rect);
    const TShadowStrips strips = ShadowStripRects(rect, shadow_->Depth());
    MoveWindow(rightShadow_, strips.Right.Left, strips.Right.Top, strips.Right.Width(), strips.Right.Height(), true);
    MoveWindow(bottomShadow_, strips.Bottom.Left, strips.Bottom.Top, strips.Bottom.Width(), strips.Bottom.Height(),
               true);
    if (Showable())
        ShowShadows();
}

void TFxFormShadow::ShowShadows()
{
    for (const HWND strip : {rightShadow_, bottomShadow_})
        if (strip != nullptr)
            ShowWindow(strip, SW_SHOWNOACTIVATE);
}

void TFxFormShadow::HideShadows()
{
    for (const HWND strip : {rightShadow_, bottomShadow_})
        if (strip != nullptr)
            ShowWindow(strip, SW_HIDE);
}

void TFxFormShadow::DestroyShadows()
{
    for (HWND* strip : {&rightShadow_, &bottomShadow_}) {
        if (*strip != nullptr)
            DestroyWindow(*strip);
        *strip = nullptr;
    }
}

void TFxFormShadow::SetStyleSilently(TFxShadowStyle style)
{
    UnwireSubObject(*shadow_);
    shadow_->SetStyle(style);
    WireSubObject(*this, *shadow_);
}

void TFxFormShadow::WndProc(TMessage& message)
{
    if (!Enabled()) {
        TFxWndProcComponent::WndProc(message);
        return;
    }
    BeforeFormProcedure(message);
    TFxWndProcComponent::WndProc(message);
    AfterFormProcedure(message);
}

void TFxFormShadow::BeforeFormProcedure(const TMessage& message)
{
    switch (message.Msg) {
    case WM_NCLBUTTONDOWN:
        // The system's move or size loop runs inside this message; the look is
        // hssNone meanwhile and comes back with the next pointer message.
        HideShadows();
        if (!dragging_)
            styleBeforeDrag_ = shadow_->Style();
        SetStyleSilently(hssNone);
        dragging_ = true;
        break;
    default:
        break;
    }
}

void TFxFormShadow::AfterFormProcedure(const TMessage& message)
{
    switch (message.Msg) {
    case WM_NCHITTEST:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            SetStyleSilently(styleBeforeDrag_);
            // A strip erased while the drag's empty look was set shows
            // nothing of its own; it is erased again with the look it has now.
            for (const HWND strip : {rightShadow_, bottomShadow_})
                if (strip != nullptr)
                    InvalidateRect(strip, nullptr, true);
            if (Showable())
                ShowShadows();
        }
        break;
    case WM_DESTROY:
        DestroyShadows();
        break;
    case WM_SIZE:
        if (message.WParam == SIZE_RESTORED) {
            // Restored: placed, and shown beside the form when it can be seen
            // at all (never beside a hidden form).
            PlaceShadows();
            if (IsWindowVisible(FormWindow()))
                ShowShadows();
        } else if (message.WParam <= SIZE_MAXHIDE) {
            HideShadows();
        } else {
            HideShadows();
            PlaceShadows();
        }
        break;
    case WM_MOVE:
        HideShadows();
        PlaceShadows();
        break;
    case WM_ACTIVATE:
        if (HiWord(message.WParam) != 0)
            HideShadows();
        else if (LoWord(message.WParam) != WA_INACTIVE) {
            if (Showable())
                ShowShadows();
            else
                HideShadows();
        } else if (!showInActive_)
            HideShadows();
        break;
    case WM_CLOSE:
        HideShadows();
        break;
    case WM_SHOWWINDOW:
        if (message.WParam != 0 && Showable())
            ShowShadows();
        else
            HideShadows();
        break;
    case WM_WINDOWPOSCHANGED:
        if (!Showable())
            HideShadows();
        break;
    default:
        break;
    }
}
