// Frame descriptions: classic 3D bevels around a rectangle, in three modes
// (custom inner and outer frames, a standard border style, a window-system
// edge), and the painter that draws them.
#pragma once

#include "services/FxObjects.h"

#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"

#include <cstdint>

// Scoped: the framework's panels name their bevels bvNone, bvLowered and bvRaised too.
enum class TFxBevelStyle { bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow };
enum TFxEdgeStyle { etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched, etRaised, etSunken };
enum TFxBevelMode { bmCustom, bmStandard, bmEdge };
enum TFxBorderStyle {
    lsNone,
    lsSingle,
    lsLowered,
    lsRaised,
    lsRaisedspb,
    lsLoweredspb,
    lsRaisedExt,
    lsLoweredExt,
    lsFrameInset,
    lsFrameOffset,
    lsWindowBorder,
    lsSingleRaised,
    lsSingleLowered,
    lsDoubleRaised,
    lsDoubleLowered
};
enum TFxBorderSide { fsBottom, fsLeft, fsRight, fsTop };
using TFxBorderSides = Set<TFxBorderSide>;

constexpr std::uint8_t MaxBevelWidth = 50;

class TFxBevel : public TFxObject {
public:
    TFxBevel();

    // Setting either style to bvShadow sets both; leaving bvShadow resets the other to bvNone.
    TFxBevelStyle StyleInner() const { return styleInner_; }
    void SetStyleInner(TFxBevelStyle style) { SetCoupledStyle(styleInner_, styleOuter_, style); }
    TFxBevelStyle StyleOuter() const { return styleOuter_; }
    void SetStyleOuter(TFxBevelStyle style) { SetCoupledStyle(styleOuter_, styleInner_, style); }
    // 0..50; larger values are cut to 50.
    std::uint8_t WidthInner() const { return widthInner_; }
    void SetWidthInner(std::uint8_t width);
    std::uint8_t WidthOuter() const { return widthOuter_; }
    void SetWidthOuter(std::uint8_t width);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color) { SetAndChange(borderColor_, color); }
    TFxBorderSides BorderSides() const { return borderSides_; }
    void SetBorderSides(TFxBorderSides sides) { SetAndChange(borderSides_, sides); }
    std::uint8_t BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(std::uint8_t width) { SetAndChange(borderWidth_, width); }
    std::uint8_t BorderInnerWidth() const { return borderInnerWidth_; }
    void SetBorderInnerWidth(std::uint8_t width) { SetAndChange(borderInnerWidth_, width); }
    TFxEdgeStyle EdgeStyle() const { return edgeStyle_; }
    void SetEdgeStyle(TFxEdgeStyle style) { SetAndChange(edgeStyle_, style); }
    TColor LightColor() const { return lightColor_; }
    void SetLightColor(TColor color) { SetAndChange(lightColor_, color); }
    TFxBevelMode Mode() const { return mode_; }
    void SetMode(TFxBevelMode mode) { SetAndChange(mode_, mode); }
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor color) { SetAndChange(shadowColor_, color); }
    // Announced only in bmStandard mode, the one where it shows.
    TFxBorderStyle StandardStyle() const { return standardStyle_; }
    void SetStandardStyle(TFxBorderStyle style);

    // How far the frame reaches in from each side; recomputed on every change.
    int TotalWidth() const { return totalWidth_; }

    // Draws the frame on rect and returns the rectangle inside it. With
    // skipBorder the border bands are left unpainted. A bevel of TotalWidth 0
    // draws nothing and returns rect.
    TRect PaintBevel(TCanvas* canvas, const TRect& rect, bool skipBorder) const;

    void Assign(const TPersistent* source) override;
    void Change() override;

private:
    void SetCoupledStyle(TFxBevelStyle& field, TFxBevelStyle& other, TFxBevelStyle style);
    int ComputeTotalWidth() const;
    TRect PaintCustom(TCanvas* canvas, TRect rect, bool skipBorder) const;
    TRect PaintStandard(TCanvas* canvas, TRect rect) const;
    TRect PaintEdge(TCanvas* canvas, TRect rect) const;
    TRect PaintFrame(TCanvas* canvas, TRect rect, TFxBevelStyle style, int width) const;
    TRect PaintBorderBand(TCanvas* canvas, TRect rect, int width, bool skip) const;

    TFxBevelStyle styleInner_ = TFxBevelStyle::bvNone;
    TFxBevelStyle styleOuter_ = TFxBevelStyle::bvNone;
    std::uint8_t widthInner_ = 1;
    std::uint8_t widthOuter_ = 1;
    TColor borderColor_ = clBtnFace;
    TFxBorderSides borderSides_{fsBottom, fsLeft, fsRight, fsTop};
    std::uint8_t borderWidth_ = 0;
    std::uint8_t borderInnerWidth_ = 0;
    TFxEdgeStyle edgeStyle_ = etEtched;
    TColor lightColor_ = clBtnHighlight;
    TFxBevelMode mode_ = bmCustom;
    TColor shadowColor_ = clBtnShadow;
    TFxBorderStyle standardStyle_ = lsSingleLowered;
    int totalWidth_ = 0;
};
