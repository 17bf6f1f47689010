#include "framework/controls/ExtCtrls.h"

#include "framework/graphics/DcGuards.h"
#include "framework/controls/StdCtrls.h"

#include <array>

// ---------------------------------------------------------------------------
// TPanel

TPanel::TPanel(TComponent* owner) : TCustomControl(owner)
{
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                    csReplicatable};
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TPanelBevel bevel)
{
    bevelOuter_ = bevel;
    Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel bevel)
{
    bevelInner_ = bevel;
    Invalidate();
}

void TPanel::SetBevelWidth(int width)
{
    bevelWidth_ = std::max(width, 1);
    Invalidate();
}

void TPanel::SetBorderWidth(int width)
{
    borderWidth_ = std::max(width, 0);
    Invalidate();
}

void TPanel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    Invalidate();
}

namespace {

// Top-left and bottom-right colours of a raised or lowered bevel.
void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom)
{
    top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}

} // namespace

//  outer bevel | border in Color | inner bevel | face in Color, caption centred
void TPanel::Paint()
{
    TCanvas* canvas = ControlCanvas();
    TRect rect = ClientRect();
    TColor top = clBtnHighlight;
    TColor bottom = clBtnShadow;
    if (bevelOuter_ != bvNone) {
        BevelColors(bevelOuter_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, rect, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) {
        BevelColors(bevelInner_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(rect);

    if (Caption().empty())
        return;
    // One line, centred vertically by hand (the caption may hold '&').
    const HDC dc = canvas->Handle();
    TSize w;
    {
        TSavedDCState saved(dc);
        SelectObject(dc, Font()->Handle());
        GetTextExtentPoint32(dc, "W", &w);
    }
    TRect text = rect;
    text.Top = (rect.Bottom + rect.Top - w.cy) / 2;
    text.Bottom = text.Top + w.cy;
    constexpr std::array<UINT, 3> alignments{DT_LEFT, DT_RIGHT, DT_CENTER};
    DrawCaption(dc, Caption(), text, DT_EXPANDTABS | alignments[alignment_], Font(), Enabled());
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape shape)
{
    shape_ = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style)
{
    style_ = style;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* canvas = ControlCanvas();
    TColor color1 = style_ == bsLowered ? clBtnShadow : clBtnHighlight; // top and left
    TColor color2 = style_ == bsLowered ? clBtnHighlight : clBtnShadow; // bottom and right
    const int w = Width();
    const int h = Height();
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);

    // A frame: the top-left corner and sides in the first colour, the rest in the second.
    const auto bevelRect = [&](const TRect& r, TColor first, TColor second) {
        canvas->Pen()->SetColor(first);
        const TPoint topLeft[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        canvas->Polyline(topLeft);
        canvas->Pen()->SetColor(second);
        const TPoint bottomRight[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
        canvas->Polyline(bottomRight);
    };
    const auto bevelLine = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };

    switch (shape_) {
    case bsBox:
        bevelRect(Rect(0, 0, w - 1, h - 1), color1, color2);
        break;
    case bsFrame:
        // an etched frame: the second colour one pixel inside, the first outside
        bevelRect(Rect(1, 1, w - 1, h - 1), color2, color2);
        bevelRect(Rect(0, 0, w - 2, h - 2), color1, color1);
        break;
    case bsTopLine:
        bevelLine(color1, 0, 0, w, 0);
        bevelLine(color2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        bevelLine(color1, 0, h - 2, w, h - 2);
        bevelLine(color2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        bevelLine(color1, 0, 0, 0, h);
        bevelLine(color2, 1, 0, 1, h);
        break;
    case bsRightLine:
        bevelLine(color1, w - 2, 0, w - 2, h);
        bevelLine(color2, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}

// ---------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* owner)
    : TGraphicControl(owner), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>())
{
    ControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 65, 65);
    brush_->OnChange = [this](TObject*) { Invalidate(); };
    pen_->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape()
{
    brush_->OnChange = nullptr;
    pen_->OnChange = nullptr;
}

void TShape::SetShape(TShapeType shape)
{
    shape_ = shape;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* canvas = ControlCanvas();
    canvas->SetPen(pen_.get());
    canvas->SetBrush(brush_.get());
    const int penWidth = pen_->Width();
    int x = penWidth / 2;
    int y = x;
    int w = Width() - penWidth + 1;
    int h = Height() - penWidth + 1;
    if (penWidth == 0) {
        --w;
        --h;
    }
    const int s = std::min(w, h);
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = s;
        h = s;
    }
    switch (shape_) {
    case stRectangle:
    case stSquare:
        canvas->Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        canvas->RoundRect(x, y, x + w, y + h, s / 4, s / 4);
        break;
    case stEllipse:
    case stCircle:
        canvas->Ellipse(x, y, x + w, y + h);
        break;
    }
}
