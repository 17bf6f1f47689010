#include "effects/FxCaptionRects.h"

#include "framework/windows/Messages.h"
#include "framework/windows/SystemMetrics.h"

TFxCaptionMetrics CurrentCaptionMetrics()
{
    TFxCaptionMetrics m;
    m.BorderWidth = GetSystemMetrics(SM_CXBORDER);
    m.BorderHeight = GetSystemMetrics(SM_CYBORDER);
    m.FrameWidth = GetSystemMetrics(SM_CXFRAME);
    m.FrameHeight = GetSystemMetrics(SM_CYFRAME);
    m.DlgFrameWidth = GetSystemMetrics(SM_CXDLGFRAME);
    m.DlgFrameHeight = GetSystemMetrics(SM_CYDLGFRAME);
    m.CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.SmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    m.ButtonWidth = GetSystemMetrics(SM_CXSIZE);
    m.SmButtonWidth = GetSystemMetrics(SM_CXSMSIZE);
    m.SmIconWidth = GetSystemMetrics(SM_CXSMICON);
    return m;
}

namespace {

bool Has(std::uint32_t bits, std::uint32_t bit) { return (bits & bit) != 0; }

// Moves rect inside the frame: by the frame's own width and height at the
// left, top and right, and the bottom down by the frame height less one border
// line (one more line less on the old shell, whose caption has no gap below).
void InsetByFrame(TRect& rect, int width, int height, const TFxCaptionMetrics& m, bool newShell)
{
    rect.Left += width;
    rect.Top += height;
    rect.Right -= width;
    rect.Bottom += height - m.BorderHeight;
    if (!newShell)
        rect.Bottom -= m.BorderHeight;
}

} // namespace

TFxCaptionLayout CaptionRects(const TFxCaptionWindow& w, const TFxCaptionMetrics& m, int flags)
{
    const int B = m.BorderWidth;
    const bool newShell = w.NewShell;
    const bool tool = Has(w.ExStyle, WS_EX_TOOLWINDOW);
    const bool sizeable = Has(w.Style, WS_THICKFRAME);
    const bool iconic = w.Iconic || Has(w.Style, WS_MINIMIZE);
    const bool single = (flags & cfSingleBorder) != 0;
    const bool smallCaption = tool && newShell;
    const int C = smallCaption ? m.SmButtonWidth : m.ButtonWidth;

    TFxCaptionLayout out;
    out.Flags = flags | cfAlways;

    // The bar across the whole window, as high as the caption.
    out.Caption = Rect(0, 0, w.Size.cx, smallCaption ? m.SmCaptionHeight : m.CaptionHeight);
    if (smallCaption)
        out.Flags |= cfSmallCaption;
    const TRect unmoved = out.Caption;

    // Inside the frame.
    if (!newShell && (single || tool)) {
        // The old shell draws these with a fixed frame and a caption that
        // ends on the frame's inner line.
        out.Caption.Left += m.DlgFrameWidth;
        out.Caption.Top += m.DlgFrameHeight;
        out.Caption.Right -= m.DlgFrameWidth;
        out.Caption.Bottom += m.DlgFrameHeight - 2 * m.BorderHeight;
    } else if (sizeable) {
        InsetByFrame(out.Caption, m.FrameWidth, m.FrameHeight, m, newShell);
    } else if (Has(w.ExStyle, WS_EX_DLGMODALFRAME)) {
        InsetByFrame(out.Caption, m.DlgFrameWidth, m.DlgFrameHeight, m, newShell);
    } else {
        // A fixed frame: three border lines at 96 ppi, and as wide as the
        // fixed frame the window draws on a denser screen, where the lines
        // stay one pixel but the frame grows.
        out.Caption.Left += m.DlgFrameWidth;
        out.Caption.Top += m.DlgFrameHeight;
        out.Caption.Right -= m.DlgFrameWidth;
        out.Caption.Bottom += m.DlgFrameHeight - m.BorderHeight;
    }

    out.Text = smallCaption ? unmoved : out.Caption;
    bool icon = false;
    if (Has(w.Style, WS_SYSMENU)) {
        // The close box.
        if (newShell) {
            if (!iconic)
                out.Text.Right -= C + 3 * B;
        } else {
            out.Text.Right -= 2 * B;
        }
        // The icon (on the old shell, the system-menu box every popup and
        // tool window with a system menu shows at the left).
        icon = newShell ? (sizeable && !smallCaption) || single
                        : Has(w.Style, WS_POPUP) || tool || sizeable || single;
        if (icon) {
            out.Flags |= cfIcon;
            if (newShell) {
                out.Text.Left += m.SmIconWidth + m.FrameWidth;
                if (iconic)
                    out.Flags |= cfIconicIcon;
                else
                    out.Text.Left += B;
            } else {
                out.Text.Left += 2 * B + m.SmIconWidth;
            }
        }
        const bool minBox = Has(w.Style, WS_MINIMIZEBOX);
        const bool maxBox = Has(w.Style, WS_MAXIMIZEBOX);
        if (minBox || maxBox) {
            out.Text.Right -= newShell ? 2 * C : (int{minBox} + int{maxBox}) * C;
        } else if (Has(w.ExStyle, WS_EX_CONTEXTHELP)) {
            out.Text.Right -= C + (newShell ? B : 0);
        }
        if (smallCaption) {
            out.Text.Left += 4 * B;
            out.Text.Top += 3 * B;
            out.Text.Right -= 2 * B;
        }
    } else {
        out.Text.Left += 2 * B;
        if (!newShell) {
            const int boxes = int{Has(w.Style, WS_MINIMIZEBOX)} + int{Has(w.Style, WS_MAXIMIZEBOX)};
            out.Text.Right -= B + boxes * C;
        }
    }
    if (out.Text.Left == out.Caption.Left)
        out.Text.Left += 2 * B;

    out.Text.Bottom = out.Caption.Bottom;
    if ((out.Flags & cfIconicIcon) != 0)
        out.Text.Bottom -= m.BorderHeight;
    // The gradient stops where the text must stop: before the caption buttons.
    out.Caption.Right = out.Text.Right;
    if (icon && ((out.Flags & cfAdjustRect) != 0 || !newShell)) {
        out.Caption.Left = out.Text.Left;
        out.Text.Left += 2 * B;
    }
    return out;
}
