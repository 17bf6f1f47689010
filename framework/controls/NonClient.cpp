#include "framework/controls/NonClient.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/DcGuards.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/windows/Messages.h"
#include "framework/windows/SystemMetrics.h"

#include <algorithm>
#include <string>

namespace {

bool HasCaption(TFormBorderStyle style) { return style != bsNone; }
bool IsToolWindow(TFormBorderStyle style) { return style == bsToolWindow || style == bsSizeToolWin; }
bool IsSizeable(TFormBorderStyle style) { return style == bsSizeable || style == bsSizeToolWin; }

bool HasIcon(const TFrameStyle& style)
{
    return style.BorderIcons.Contains(biSystemMenu) &&
           (style.BorderStyle == bsSingle || style.BorderStyle == bsSizeable);
}

// Minimise and maximise boxes come as a pair: when a window has either, both
// are drawn and the missing one is disabled.
bool HasMinMaxPair(const TFrameStyle& style)
{
    return style.BorderIcons.Contains(biSystemMenu) && !IsToolWindow(style.BorderStyle) &&
           style.BorderStyle != bsDialog &&
           (style.BorderIcons.Contains(biMinimize) || style.BorderIcons.Contains(biMaximize));
}

} // namespace

int CaptionGap(int buttonCell)
{
    return std::max(1, buttonCell / 9);
}

int CaptionGlyphScale(int faceHeight)
{
    return std::max(1, faceHeight / 14);
}

int FrameWidthFor(TFormBorderStyle style)
{
    switch (style) {
    case bsNone:
        return 0;
    case bsSizeable:
    case bsSizeToolWin:
        return GetSystemMetrics(SM_CXFRAME);
    default:
        return GetSystemMetrics(SM_CXFIXEDFRAME);
    }
}

int CaptionHeightFor(TFormBorderStyle style)
{
    if (!HasCaption(style))
        return 0;
    return IsToolWindow(style) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
}

TRect ClientInsets(const TFrameStyle& style)
{
    const int frame = FrameWidthFor(style.BorderStyle);
    return Rect(frame, frame + CaptionHeightFor(style.BorderStyle), frame, frame);
}

TSize WindowSizeForClient(TSize clientSize, const TFrameStyle& style)
{
    const TRect insets = ClientInsets(style);
    return {clientSize.cx + insets.Left + insets.Right, clientSize.cy + insets.Top + insets.Bottom};
}

//  +-----------------------------------------------------------+  frame (F lines)
//  | [icon] Caption text ...............  [min][max]  [close] |  caption bar
//  |-----------------------------------------------------------|  one line under the caption
//  |                        client                             |
//  +-----------------------------------------------------------+
TFrameGeometry FrameGeometry(TSize windowSize, const TFrameStyle& style)
{
    TFrameGeometry g;
    const int frame = FrameWidthFor(style.BorderStyle);
    const int captionHeight = CaptionHeightFor(style.BorderStyle);
    g.FrameWidth = frame;
    g.Client = Rect(frame, frame + captionHeight, windowSize.cx - frame, windowSize.cy - frame);
    if (captionHeight == 0)
        return g;

    g.Caption = Rect(frame, frame, windowSize.cx - frame, frame + captionHeight - 1);

    const bool tool = IsToolWindow(style.BorderStyle);
    // The button face sits in a cell of the caption-button metrics, one gap
    // narrower and two lower than the cell. The gap follows the screen, the
    // same for the small buttons of tool windows.
    const int cell = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE);
    const int gap = CaptionGap(GetSystemMetrics(SM_CXSIZE));
    const int buttonWidth = cell - gap;
    const int buttonHeight = std::max(g.Caption.Height() - 2 * gap, 0);
    const int buttonTop = g.Caption.Top + gap;

    int textRight = g.Caption.Right - gap;
    if (style.BorderIcons.Contains(biSystemMenu)) {
        g.CloseButton = Bounds(g.Caption.Right - gap - buttonWidth, buttonTop, buttonWidth, buttonHeight);
        textRight = g.CloseButton.Left - gap;
        if (HasMinMaxPair(style)) {
            // A gap between close and maximise; minimise touches maximise.
            g.MaxButton = Bounds(g.CloseButton.Left - gap - buttonWidth, buttonTop, buttonWidth, buttonHeight);
            g.MinButton = Bounds(g.MaxButton.Left - buttonWidth, buttonTop, buttonWidth, buttonHeight);
            textRight = g.MinButton.Left - gap;
        }
    }

    int textLeft = g.Caption.Left + gap;
    if (HasIcon(style)) {
        const int iconSize = GetSystemMetrics(SM_CXSMICON);
        g.Icon = Bounds(g.Caption.Left + gap, g.Caption.Top + (g.Caption.Height() - iconSize) / 2, iconSize, iconSize);
        // The title starts a sizing frame and a border line after the icon's
        // width, where a caption styler starts its own: what it keeps of the
        // bar left of there (the icon) holds none of this title.
        textLeft = g.Caption.Left + iconSize + GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXBORDER);
    }
    g.Text = Rect(textLeft, g.Caption.Top, textRight > textLeft ? textRight : textLeft, g.Caption.Bottom);
    return g;
}

int FrameHitTest(const TFrameGeometry& g, const TFrameStyle& style, TSize windowSize, TPoint p)
{
    if (!Rect(0, 0, windowSize.cx, windowSize.cy).Contains(p))
        return HTNOWHERE;
    if (g.Client.Contains(p))
        return HTCLIENT;
    if (g.CloseButton.Contains(p))
        return HTCLOSE;
    if (g.MaxButton.Contains(p))
        return HTMAXBUTTON;
    if (g.MinButton.Contains(p))
        return HTMINBUTTON;
    if (g.Icon.Contains(p))
        return HTSYSMENU;
    // The caption bar and the line under it move the window.
    if (!g.Caption.IsEmpty() && Rect(g.Caption.Left, g.Caption.Top, g.Caption.Right, g.Client.Top).Contains(p))
        return HTCAPTION;
    if (!IsSizeable(style.BorderStyle) || style.Maximized)
        return HTBORDER;

    // Sizeable frames: the corners reach along each edge as far as a caption button cell.
    const int corner = GetSystemMetrics(SM_CXSIZE);
    const bool left = p.X < g.FrameWidth;
    const bool right = p.X >= windowSize.cx - g.FrameWidth;
    const bool top = p.Y < g.FrameWidth;
    const bool bottom = p.Y >= windowSize.cy - g.FrameWidth;
    const bool nearLeft = p.X < corner;
    const bool nearRight = p.X >= windowSize.cx - corner;
    const bool nearTop = p.Y < corner;
    const bool nearBottom = p.Y >= windowSize.cy - corner;
    if ((top && nearLeft) || (left && nearTop))
        return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop))
        return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom))
        return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom))
        return HTBOTTOMRIGHT;
    if (left)
        return HTLEFT;
    if (right)
        return HTRIGHT;
    if (top)
        return HTTOP;
    if (bottom)
        return HTBOTTOM;
    return HTBORDER;
}

TCaptionButton CaptionButtonFromHit(int hitTest)
{
    switch (hitTest) {
    case HTCLOSE:
        return cbClose;
    case HTMAXBUTTON:
        return cbMaximize;
    case HTMINBUTTON:
        return cbMinimize;
    default:
        return cbNone;
    }
}

const TSystemMenuEntry SystemMenuEntries[6] = {
    {smRestore, "&Restore", "", SC_RESTORE, false},
    {smMove, "&Move", "", SC_MOVE, false},
    {smSize, "&Size", "", SC_SIZE, false},
    {smMinimize, "Mi&nimize", "", SC_MINIMIZE, false},
    {smMaximize, "Ma&ximize", "", SC_MAXIMIZE, false},
    {smClose, "&Close", "Alt+F4", SC_CLOSE, true},
};

bool SystemMenuItemEnabled(TSystemMenuItem item, const TFrameStyle& style, bool minimized)
{
    const bool restored = !minimized && !style.Maximized;
    switch (item) {
    case smRestore:
        return !restored;
    case smMove:
        return !style.Maximized;
    case smSize:
        return IsSizeable(style.BorderStyle) && restored;
    case smMinimize:
        return style.BorderIcons.Contains(biMinimize) && !minimized;
    case smMaximize:
        return style.BorderIcons.Contains(biMaximize) && !style.Maximized;
    case smClose:
        return true;
    }
    return false;
}

TNonClientMetrics NonClientMetrics()
{
    // Every non-client text is the 8-point sans serif (11 pixels at 96 pixels
    // per inch, more on a denser screen); the caption's is bold.
    LOGFONT plain;
    plain.lfHeight = ScaledPixels(-11, SystemMetricsPixelsPerInch());
    plain.lfWeight = FW_NORMAL;
    plain.lfFaceName = "MS Sans Serif";
    LOGFONT bold = plain;
    bold.lfWeight = FW_BOLD;

    TNonClientMetrics metrics;
    metrics.BorderWidth = GetSystemMetrics(SM_CXBORDER);
    metrics.ScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    metrics.ScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    metrics.CaptionWidth = GetSystemMetrics(SM_CXSIZE);
    metrics.CaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
    metrics.CaptionFont = bold;
    metrics.SmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
    metrics.SmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
    metrics.SmCaptionFont = bold;
    metrics.MenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
    metrics.MenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
    metrics.MenuFont = plain;
    metrics.StatusFont = plain;
    metrics.MessageFont = plain;
    return metrics;
}

// ---------------------------------------------------------------------------
// Painting

namespace {

// Caption glyphs, 'X' for a pixel in the glyph colour.
constexpr const char* CloseGlyph[] = {
    "XX....XX",
    ".XX..XX.",
    "..XXXX..",
    "...XX...",
    "..XXXX..",
    ".XX..XX.",
    "XX....XX",
};
constexpr const char* MinimizeGlyph[] = {
    "XXXXXX",
    "XXXXXX",
};
constexpr const char* MaximizeGlyph[] = {
    "XXXXXXXXX",
    "XXXXXXXXX",
    "X.......X",
    "X.......X",
    "X.......X",
    "X.......X",
    "X.......X",
    "X.......X",
    "XXXXXXXXX",
};
constexpr const char* RestoreGlyph[] = {
    "..XXXXXX",
    "..XXXXXX",
    "..X....X",
    "XXXXXX.X",
    "XXXXXX.X",
    "X....XXX",
    "X....X..",
    "X....X..",
    "XXXXXX..",
};

// Each glyph pixel becomes a scale x scale block, so the strokes stay even.
template <std::size_t Rows>
void DrawGlyph(HDC dc, const char* const (&glyph)[Rows], int x, int y, int scale, TColor color)
{
    for (std::size_t row = 0; row < Rows; ++row)
        for (int col = 0; glyph[row][col] != '\0'; ++col)
            if (glyph[row][col] == 'X')
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        SetPixel(dc, x + col * scale + dx, y + static_cast<int>(row) * scale + dy, color);
}

template <std::size_t Rows>
TSize GlyphSize(const char* const (&glyph)[Rows], int scale)
{
    return {static_cast<int>(std::char_traits<char>::length(glyph[0])) * scale, static_cast<int>(Rows) * scale};
}

void FillSolid(HDC dc, const TRect& rect, TColor color)
{
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

} // namespace

void PaintCaptionButton(HDC dc, const TRect& rect, TCaptionButton button, bool maximized, bool pressed, bool enabled)
{
    if (rect.IsEmpty() || button == cbNone)
        return;
    TRect face = rect;
    {
        TCanvas canvas;
        TCanvasBinding bound(canvas, dc);
        if (pressed) {
            Frame3D(&canvas, face, cl3DDkShadow, clBtnHighlight, 1); // outer: dark top-left, light bottom-right
            Frame3D(&canvas, face, clBtnShadow, cl3DLight, 1);       // inner
        } else {
            Frame3D(&canvas, face, clBtnHighlight, cl3DDkShadow, 1); // outer: light top-left, dark bottom-right
            Frame3D(&canvas, face, cl3DLight, clBtnShadow, 1);       // inner
        }
    }
    FillSolid(dc, face, clBtnFace);

    const int shift = pressed ? 1 : 0;
    const int scale = CaptionGlyphScale(rect.Height());
    const auto place = [&](TSize size, bool bottom) {
        const int x = rect.Left + (rect.Width() - size.cx) / 2 + shift;
        // The minimise bar rests four glyph pixels above the face's bottom.
        const int y = bottom ? rect.Bottom - 4 * scale - size.cy + shift : rect.Top + (rect.Height() - size.cy) / 2 + shift;
        return TPoint{x, y};
    };
    const auto draw = [&](const auto& glyph, bool bottom) {
        const TPoint at = place(GlyphSize(glyph, scale), bottom);
        if (enabled) {
            DrawGlyph(dc, glyph, at.X, at.Y, scale, clBtnText);
        } else {
            DrawGlyph(dc, glyph, at.X + scale, at.Y + scale, scale, clBtnHighlight); // engraved: light shadow first
            DrawGlyph(dc, glyph, at.X, at.Y, scale, clBtnShadow);
        }
    };
    switch (button) {
    case cbClose:
        draw(CloseGlyph, false);
        break;
    case cbMinimize:
        draw(MinimizeGlyph, true);
        break;
    case cbMaximize:
        if (maximized)
            draw(RestoreGlyph, false);
        else
            draw(MaximizeGlyph, false);
        break;
    case cbNone:
        break;
    }
}

//  outer line  3DLight / 3DDkShadow
//  inner line  BtnHighlight / BtnShadow
//  then face-coloured lines up to the frame width, and one under the caption
void PaintFrame(HDC dc, TSize windowSize, const TFrameStyle& style, const TFramePaintState& state)
{
    const TFrameGeometry g = FrameGeometry(windowSize, style);
    const TRect window = Rect(0, 0, windowSize.cx, windowSize.cy);
    if (g.FrameWidth == 0 && g.Caption.IsEmpty())
        return;

    // Everything outside the client area starts as button face.
    {
        TSavedDCState saved(dc);
        ExcludeClipRect(dc, g.Client.Left, g.Client.Top, g.Client.Right, g.Client.Bottom);
        FillSolid(dc, window, clBtnFace);
    }
    {
        TCanvas canvas;
        TCanvasBinding bound(canvas, dc);
        TRect edge = window;
        if (g.FrameWidth >= 2) {
            Frame3D(&canvas, edge, cl3DLight, cl3DDkShadow, 1);     // outer edge
            Frame3D(&canvas, edge, clBtnHighlight, clBtnShadow, 1); // inner edge
        } else if (g.FrameWidth == 1) {
            Frame3D(&canvas, edge, clWindowFrame, clWindowFrame, 1);
        }
    }

    if (g.Caption.IsEmpty())
        return;

    // caption bar
    FillSolid(dc, g.Caption, state.Active ? clActiveCaption : clInactiveCaption);

    // icon
    if (state.Icon != nullptr && !g.Icon.IsEmpty() && !state.Icon->Empty()) {
        TCanvas iconCanvas;
        TCanvasBinding bound(iconCanvas, dc);
        state.Icon->Draw(&iconCanvas, g.Icon);
    }

    // caption text: bold, left, one line, cut with an ellipsis
    if (!state.Caption.empty() && !g.Text.IsEmpty()) {
        const TNonClientMetrics metrics = NonClientMetrics();
        TSavedDCState saved(dc);
        TSelectedObject captionFont(
            dc, CreateFontIndirect(IsToolWindow(style.BorderStyle) ? metrics.SmCaptionFont : metrics.CaptionFont),
            true);
        SetTextColor(dc, state.Active ? clCaptionText : clInactiveCaptionText);
        SetBkMode(dc, TRANSPARENT);
        TRect text = g.Text;
        DrawText(dc, state.Caption, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }

    // caption buttons
    PaintCaptionButton(dc, g.CloseButton, cbClose, false, state.PressedButton == cbClose, true);
    PaintCaptionButton(dc, g.MaxButton, cbMaximize, style.Maximized, state.PressedButton == cbMaximize,
                       style.BorderIcons.Contains(biMaximize));
    PaintCaptionButton(dc, g.MinButton, cbMinimize, false, state.PressedButton == cbMinimize,
                       style.BorderIcons.Contains(biMinimize));
}
