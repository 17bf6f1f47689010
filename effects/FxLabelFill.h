// The fill label: effect lettering whose letter faces show a fill (here a
// gradient) instead of the font colour.
#pragma once

#include "effects/FxCompose.h"
#include "effects/FxFill.h"
#include "effects/FxLabel.h"

#include <cstdint>
#include <memory>
#include <string>

class TFxCustomLabelFill : public TFxCustomLabel {
public:
    explicit TFxCustomLabelFill(TComponent* owner);
    ~TFxCustomLabelFill() override;

    TFxFillObject* FillObject() const { return fillObject_.get(); }
    void SetFillObject(const TFxFillObject* fill) { fillObject_->Assign(fill); }
    // The background a brush fill's hatch gaps show.
    TColor BrushBackColor() const { return brushBackColor_; }
    void SetBrushBackColor(TColor color);

    // The fill as last painted for the label's inner rectangle; empty until
    // the first paint and after every change that affects it.
    const TBitmap& FillCache() const { return *fillCache_; }

protected:
    using TFxCustomLabel::BoundsChanged;

    void BoundsChanged(TFxBoundsChange changes) override;
    void ContentChanged(TObject* source) override;
    void ImageListChanged() override;
    void Paint() override;

private:
    // Everything the composed lettering depends on: when any of it differs
    // from what the lettering was composed with, it is composed anew.
    struct TLetteringKey {
        std::string Caption;
        LOGFONT Font;
        TColor FaceColor = 0;
        TColor Background = 0;
        TColor LightColor = 0;
        TColor ShadowColor = 0;
        int Style = 0;
        int LightDepth = 0;
        int ShadowDepth = 0;
        int Tracing = 0;
        int Angle = 0;
        int PosX = 0;
        int PosY = 0;
        UINT Format = 0;
        TRect TextRect;
        TSize InnerSize;
        std::uint64_t FillGeneration = 0;
        friend bool operator==(const TLetteringKey&, const TLetteringKey&) = default;
    };

    void EmptyFillCache();
    void EnsureFillCache(TSize size, TColor background);
    TLetteringKey LetteringKey(const TRect& textRect, UINT format, TSize innerSize) const;
    void ComposeLettering(const TLetteringKey& key, const TRect& textRect, const TRect& composeRect);

    std::unique_ptr<TFxFillObject> fillObject_;
    TColor brushBackColor_ = clBtnFace;
    std::unique_ptr<TBitmap> fillCache_;
    TColor fillCacheBackground_ = clNone;
    std::uint64_t fillGeneration_ = 0;
    // The fill with the lettering composed into it, keyed on the background colour.
    TFxKeyedPicture lettering_;
    TLetteringKey letteringKey_;
};

// The gradient-filled banner label.
class TFxLabelFill : public TFxCustomLabelFill {
public:
    using TFxCustomLabelFill::TFxCustomLabelFill;
};
