#include "framework/controls/Hints.h"

#include "framework/controls/Application.h"
#include "framework/graphics/DeviceContext.h"

#include <QWidget>

THintWindowClass DefaultHintWindowClass()
{
    return HintWindowClassOf<THintWindow>("THintWindow");
}

THintWindowClass AppHintWindowType = DefaultHintWindowClass();

namespace {
// Text inset inside the border: one pixel of border, then the margins.
constexpr int HintMarginX = 2;
constexpr int HintMarginY = 2;
} // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    SetVisible(false);
    SetColor(Application != nullptr ? Application->HintColor : clInfoBk);
    Font()->SetColor(clInfoText);
    ControlStyle.Include(csOpaque);
}

void THintWindow::CreateParams(TCreateParams& params)
{
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint)
{
    TRect r = Rect(0, 0, maxWidth, 0);
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, Font()->Handle());
    DrawText(dc, hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    DeleteDC(dc);
    r.Right += 2 * (HintMarginX + 1);
    r.Bottom += 2 * (HintMarginY + 1);
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint)
{
    SetCaption(hint);
    SetColor(Application != nullptr ? Application->HintColor : clInfoBk);
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    active_ = true;
    Invalidate();
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void THintWindow::ReleaseHint()
{
    active_ = false;
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
}

void THintWindow::Paint()
{
    TCanvas* canvas = ControlCanvas();
    const TRect client = ClientRect();
    // border
    canvas->Brush()->SetColor(clBlack);
    canvas->FrameRect(client);
    // face
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(InflateRect(client, -1, -1));
    // text
    const HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    SelectObject(dc, Font()->Handle());
    SetTextColor(dc, Font()->Color());
    SetBkMode(dc, TRANSPARENT);
    TRect text = InflateRect(client, -(1 + HintMarginX), -(1 + HintMarginY));
    DrawText(dc, Caption(), text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    RestoreDC(dc, saved);
}
