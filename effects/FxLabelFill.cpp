#include "effects/FxLabelFill.h"

#include "effects/FxText.h"

TFxCustomLabelFill::TFxCustomLabelFill(TComponent* owner)
    : TFxCustomLabel(owner), fillObject_(std::make_unique<TFxFillObject>()), fillCache_(std::make_unique<TBitmap>())
{
    SetTransparent(false);
    fillObject_->OnChange = [this](TObject* sender) { ContentChanged(sender); };
    const TFxFlagScope quiet(painting_);
    Font()->SetName("Arial");
    Font()->SetSize(28);
}

TFxCustomLabelFill::~TFxCustomLabelFill()
{
    fillObject_->OnChange = nullptr;
}

void TFxCustomLabelFill::SetBrushBackColor(TColor color)
{
    if (color == brushBackColor_)
        return;
    brushBackColor_ = color;
    ContentChanged(this);
}

void TFxCustomLabelFill::EmptyFillCache()
{
    fillCache_->SetSize(0, 0);
    ++fillGeneration_;
    lettering_.Clear();
}

void TFxCustomLabelFill::BoundsChanged(TFxBoundsChange changes)
{
    if (changes.Contains(bcSize))
        EmptyFillCache();
    TFxCustomLabel::BoundsChanged(changes);
}

void TFxCustomLabelFill::ContentChanged(TObject* source)
{
    if (!IsLoading())
        EmptyFillCache();
    TFxCustomLabel::ContentChanged(source);
}

void TFxCustomLabelFill::ImageListChanged()
{
    TBitmap* picture = fillObject_->ListBitmap();
    if (ImageList() == nullptr || !ImageList()->GetPicture(ListIndex(), ImageIndex(), *picture))
        picture->Assign(nullptr);
    if (!IsLoading())
        TFxCustomLabel::ImageListChanged();
}

void TFxCustomLabelFill::EnsureFillCache(TSize size, TColor background)
{
    const TColor rgb = ColorToRGB(background);
    // The background shows where a picture leaves the fill uncovered, so the
    // cache also follows it (a change of the system colour behind it included).
    if (!fillCache_->Empty() && fillCache_->Width() == size.cx && fillCache_->Height() == size.cy &&
        fillCacheBackground_ == rgb)
        return;
    fillCache_->SetSize(size.cx, size.cy);
    fillObject_->PaintFill(fillCache_->Canvas(), Rect(0, 0, size.cx, size.cy), background);
    fillCacheBackground_ = rgb;
    ++fillGeneration_;
}

TFxCustomLabelFill::TLetteringKey TFxCustomLabelFill::LetteringKey(const TRect& textRect, UINT format,
                                                                   TSize innerSize) const
{
    const TFxCaption& fx = *FontFx();
    TLetteringKey key;
    key.Caption = Caption();
    key.Font = Font()->Description();
    key.FaceColor = ColorToRGB(Font()->Color());
    key.Background = ColorToRGB(Color());
    key.LightColor = ColorToRGB(fx.LightColor());
    key.ShadowColor = ColorToRGB(fx.ShadowColor());
    key.Style = fx.Style();
    key.LightDepth = fx.LightDepth();
    key.ShadowDepth = fx.ShadowDepth();
    key.Tracing = fx.Tracing();
    key.Angle = fx.Angle();
    key.PosX = fx.PosX();
    key.PosY = fx.PosY();
    key.Format = format;
    key.TextRect = textRect;
    key.InnerSize = innerSize;
    key.FillGeneration = fillGeneration_;
    return key;
}

// The lettering is drawn on the label's colour, then composed with a copy of
// the fill, never with the cache itself: a later caption or colour must not
// find old letters in it.
void TFxCustomLabelFill::ComposeLettering(const TLetteringKey& key, const TRect& textRect, const TRect& composeRect)
{
    TBitmap text(key.InnerSize.cx, key.InnerSize.cy);
    TCanvas* canvas = text.Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(0, 0, key.InnerSize.cx, key.InnerSize.cy));
    canvas->SetFont(Font());
    DrawEffectText(canvas, Caption(), FontFx(), textRect, key.Format, {tsEnabled});

    TBitmap composed;
    ComposeTextFill(text, *fillCache_, composeRect, Font()->Color(), composed);
    lettering_.Prepare(composed, Rect(0, 0, composed.Width(), composed.Height()), Color());
    letteringKey_ = key;
}

void TFxCustomLabelFill::Paint()
{
    if (painting_ || IsLoading())
        return;
    if (fillObject_->IsEmptyFill() || !Enabled()) {
        TFxCustomLabel::Paint();
        return;
    }
    const TFxFlagScope painting(painting_);
    TCanvas* canvas = ControlCanvas();
    const TRect client = ClientRect();
    PaintBackground(canvas, client, true);
    // The fill, the lettering and their composition work in the inner
    // rectangle's own coordinates; only the final transfer goes back to the control's.
    const TRect inner = Bevel()->PaintBevel(canvas, client, SkipBevelBorder());
    if (inner.IsEmpty())
        return;
    const TSize size{inner.Width(), inner.Height()};
    // Laid out before the cache is used: measuring a turned caption may
    // place it anew, which empties the cache.
    UINT format = 0;
    const TRect textRect = OffsetRect(TextLayout(inner, format), -inner.Left, -inner.Top);
    EnsureFillCache(size, fillObject_->Style() == sfBrush ? brushBackColor_ : Color());
    const TRect composeRect = IntersectRect(textRect, Rect(0, 0, size.cx, size.cy));
    if (composeRect.IsEmpty())
        return;
    const TLetteringKey key = LetteringKey(textRect, format, size);
    if (lettering_.Empty() || !(key == letteringKey_))
        ComposeLettering(key, textRect, composeRect);
    lettering_.Draw(canvas, OffsetRect(composeRect, inner.Left, inner.Top));
}
