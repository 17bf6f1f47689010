#include "effects/FxShapeHint.h"

#include "effects/FxText.h"
#include "services/FxApplication.h"
#include "services/OneInstance.h"

#include "framework/controls/Screen.h"
#include "framework/graphics/DcGuards.h"
#include "framework/windows/WindowDC.h"

TFxShapeHint* ActiveShapeHint = nullptr;

namespace {

// Word-break plus no-prefix: hints show '&' as it stands.
constexpr UINT HintTextFormat = DT_WORDBREAK | DT_NOPREFIX;
// The corners around the balloon start in this colour, so a screen that
// cannot be read leaves the face of the window the hint belongs to.
constexpr TColor UnreadScreenColor = clBtnFace;
// Corner ellipse of the rounded boxes.
constexpr int RoundCorner = 16;

TSize ScreenSize()
{
    if (Screen == nullptr)
        return {640, 480};
    return {Screen->Width(), Screen->Height()};
}

} // namespace

// ---------------------------------------------------------------------------
// TFxCustomShapeHint

TFxCustomShapeHint::TFxCustomShapeHint(TComponent* owner)
    : TFxCustomHint(owner), font_(std::make_unique<TFont>()), font3D_(std::make_unique<TFx3DCaption>()),
      shadow_(std::make_unique<TFxShadow>())
{
    font_->SetName("MS Sans Serif");
    font_->SetSize(8);
    font_->SetColor(clInfoText);
}

TFxCustomShapeHint::~TFxCustomShapeHint() = default;

// ---------------------------------------------------------------------------
// TFxShapeHint

TFxShapeHint::TFxShapeHint(TComponent* owner) : TFxCustomShapeHint(owner)
{
    if (IsDesigning() && OneInstanceCheck(owner, IsOfClass<TFxShapeHint>, true))
        RaiseOneInstError(this);
    SetWindowType(HintWindowClassOf<TFxShapeHintWindow>("TFxShapeHintWindow"));
}

TFxShapeHint::~TFxShapeHint()
{
    if (ActiveShapeHint == this)
        ActiveShapeHint = nullptr;
}

void TFxShapeHint::SetEnabled(bool enabled)
{
    TFxCustomHint::SetEnabled(enabled);
    if (IsDesigning())
        return;
    if (Enabled())
        ActiveShapeHint = this;
    else if (ActiveShapeHint == this)
        ActiveShapeHint = nullptr;
}

// ---------------------------------------------------------------------------
// TFxShapeHintWindow

TFxShapeHintWindow::TFxShapeHintWindow(TComponent* owner) : THintWindow(owner)
{
    ControlCanvas()->Brush()->SetStyle(bsClear);
}

void TFxShapeHintWindow::CreateParams(TCreateParams& params)
{
    THintWindow::CreateParams(params);
    params.Style = WS_POPUP | WS_DISABLED; // no border
}

void TFxShapeHintWindow::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        // The balloon and the copied screen cover every pixel.
        message.Result = 1;
        return;
    }
    THintWindow::WndProc(message);
}

void TFxShapeHintWindow::Paint()
{
    // A balloon is drawn once, when it appears; the surface keeps it.
    if (ActiveShapeHint == nullptr)
        PaintPlainWithoutBorder();
}

void TFxShapeHintWindow::PaintPlainWithoutBorder()
{
    TCanvas* canvas = ControlCanvas();
    const TRect client = ClientRect();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    const HDC dc = canvas->Handle();
    const TSavedDCState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    TRect text = InflateRect(client, -HintTextInsetX, -HintTextInsetY);
    DrawText(dc, Caption(), text, DT_LEFT | HintTextFormat);
}

void TFxShapeHintWindow::ActivateHint(TRect rect, const std::string& hint)
{
    PresentHint(rect, hint);
}

void TFxShapeHintWindow::ReleaseHint()
{
    hint_ = nullptr;
    THintWindow::ReleaseHint();
}

void TFxShapeHintWindow::PresentHint(TRect rect, const std::string& hint)
{
    if (ActiveShapeHint == nullptr) {
        hint_ = nullptr;
        THintWindow::ActivateHint(rect, hint);
        return;
    }
    TPoint cursor;
    GetCursorPos(cursor);
    TFxCustomShapeHint* h = ActiveShapeHint;
    hint_ = h;
    SetCaption(hint);
    const TSize screen = ScreenSize();

    // Measure the wrapped text with room for the lettering and a margin.
    TRect r = Rect(0, 0, HintWrapWidth(h->MaxWidth(), screen.cx), 0);
    MeasureEffectText(Caption(), h->Font3D(), r, h->Font(), true, false, 2);
    TRect textRect = r;
    GrowForShape(r);
    const THintPlacement placement = PlaceHint({r.Width(), r.Height()}, cursor, screen, h->Position());
    const TRect bounds = placement.Bounds;
    SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());

    TBitmap bitmap;
    bitmap.SetSize(bounds.Width(), bounds.Height());
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetColor(UnreadScreenColor);
    canvas.FillRect(Rect(0, 0, bounds.Width(), bounds.Height()));
    {
        // What lies under the hint, taken before the hint appears over it.
        const TWindowDC screenDC = TWindowDC::Client(nullptr);
        if (screenDC)
            BitBlt(canvas.Handle(), 0, 0, bounds.Width(), bounds.Height(), screenDC.get(), bounds.Left, bounds.Top,
                   SRCCOPY);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, bounds.Left, bounds.Top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetActive(true);

    PaintShape(bitmap, placement.Position, textRect);
    canvas.Brush()->SetColor(h->Color());
    canvas.SetFont(h->Font());
    DrawEffectText(&canvas, Caption(), h->Font3D(), textRect, HintTextFormat, TFxTextState{tsEnabled});

    const TWindowDC window = TWindowDC::Client(Handle());
    if (window)
        BitBlt(window.get(), 0, 0, bounds.Width(), bounds.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

void TFxShapeHintWindow::GrowForShape(TRect& rect)
{
    if (hint_ != nullptr)
        rect = ::GrowForShape(hint_->Style(), hint_->Shadow()->Depth(), rect);
}

void TFxShapeHintWindow::PaintShape(TBitmap& bitmap, TFxHintPosition position, TRect& textRect)
{
    if (hint_ == nullptr)
        return;
    const TFxCustomShapeHint& h = *hint_;
    TCanvas& canvas = *bitmap.Canvas();
    const TFxShadow& shadow = *h.Shadow();
    const THintShape shape = HintShapeFor(h.Style(), position, {Width(), Height()}, shadow.Depth(), textRect);

    const auto drawPart = [&](const THintShapePart& part) {
        switch (h.Style()) {
        case hsRect:
            canvas.Rectangle(part.Box);
            break;
        case hsRoundRect:
            canvas.RoundRect(part.Box.Left, part.Box.Top, part.Box.Right, part.Box.Bottom, RoundCorner, RoundCorner);
            break;
        case hsEllipse:
            canvas.Ellipse(part.Box);
            break;
        case hsNoseRect:
        case hsNoseRoundRect:
            DrawNoseRect(canvas, part, h.Style() == hsNoseRoundRect);
            break;
        case hsNoseEllipse:
            DrawNoseEllipse(canvas, part);
            break;
        }
    };

    // shadow: solid, or the checkerboard pattern ANDed with the copied screen
    if (shadow.Style() != hssNone) {
        canvas.Pen()->SetStyle(psClear);
        // Without the services object there is no pattern: the shadow is drawn solid.
        if (shadow.Style() == hssTracing && ApplicationServices != nullptr) {
            canvas.Brush()->SetBitmap(ApplicationServices->GetPatternBitmap(shadow.Color()));
            canvas.Pen()->SetMode(pmMask);
        } else {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Brush()->SetColor(shadow.Color());
        }
        drawPart(shape.Shadow);
    }
    // body over it
    canvas.Brush()->SetBitmap(nullptr);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetMode(pmCopy);
    canvas.Pen()->SetColor(h.BorderColor());
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(h.Color());
    drawPart(shape.Body);

    textRect = OffsetRect(textRect, shape.TextOffset.X, shape.TextOffset.Y);
}

void TFxShapeHintWindow::DrawNoseRect(TCanvas& canvas, const THintShapePart& part, bool rounded)
{
    const TRect& box = part.Box;
    if (rounded)
        canvas.RoundRect(box.Left, box.Top, box.Right, box.Bottom, RoundCorner, RoundCorner);
    else
        canvas.Rectangle(box);
    if (part.Mode == 0)
        return;
    TPoint nose[3];
    NoseTriangle(part, nose);
    canvas.Polygon(nose);
    if (part.Mode == 2 && hint_ != nullptr) {
        // The seam between box and nose, in the fill colour: one outline.
        canvas.Pen()->SetColor(hint_->Color());
        canvas.MoveTo(nose[0].X, nose[0].Y);
        canvas.LineTo(nose[2].X, nose[2].Y);
    }
}

void TFxShapeHintWindow::DrawNoseEllipse(TCanvas& canvas, const THintShapePart& part)
{
    const TRect& box = part.Box;
    canvas.Pen()->SetStyle(psClear);
    canvas.Ellipse(box.Left, box.Top, box.Right + 1, box.Bottom + 1);
    if (part.Mode == 0)
        return;
    const TPoint a = EllipsePoint(box, static_cast<std::uint16_t>(part.Angle));
    const TPoint b = EllipsePoint(box, static_cast<std::uint16_t>(part.Angle + 25));
    const TPoint nose[3] = {a, part.Tip, b};
    canvas.Polygon(nose);
    if (part.Mode == 2 && hint_ != nullptr) {
        // The outline: all of the ellipse but the 25 degrees the nose joins, then the nose's two sides.
        canvas.Pen()->SetStyle(psSolid);
        canvas.Pen()->SetWidth(1);
        canvas.Pen()->SetColor(hint_->BorderColor());
        canvas.Arc(box.Left, box.Top, box.Right, box.Bottom, a.X, a.Y, b.X, b.Y);
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(part.Tip.X, part.Tip.Y);
        canvas.LineTo(b.X, b.Y);
    }
}
