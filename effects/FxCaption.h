// Lettering and shadow descriptions: how a text looks raised, sunken or
// shadowed, at what angle and spacing, and how deep a shadow is.
#pragma once

#include "services/FxObjects.h"

#include "framework/graphics/Colors.h"

#include <cstdint>

enum TFxDisabledStyle { dsAuto, dsStandard, ds3d, dsNone };
enum TFxThreeDStyle { tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken, tdPColorRaised, tdShadow };

// A lettering effect: highlight and shadow passes around the face.
class TFx3DCaption : public TFxObject {
public:
    TFxDisabledStyle DisabledStyle() const { return disabledStyle_; }
    void SetDisabledStyle(TFxDisabledStyle style) { SetAndChange(disabledStyle_, style); }
    // Offsets of the highlight and shadow passes, in pixels.
    std::uint8_t LightDepth() const { return lightDepth_; }
    void SetLightDepth(std::uint8_t depth) { SetAndChange(lightDepth_, depth); }
    std::uint8_t ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(std::uint8_t depth) { SetAndChange(shadowDepth_, depth); }
    TColor LightColor() const { return lightColor_; }
    void SetLightColor(TColor color) { SetAndChange(lightColor_, color); }
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor color) { SetAndChange(shadowColor_, color); }
    TFxThreeDStyle Style() const { return style_; }
    void SetStyle(TFxThreeDStyle style) { SetAndChange(style_, style); }
    // Extra pixels after every character.
    std::int32_t Tracing() const { return tracing_; }
    void SetTracing(std::int32_t tracing) { SetAndChange(tracing_, tracing); }

    void Assign(const TPersistent* source) override;

protected:
    // Copies this class's values without a notice (Assign announces once).
    void CopyFrom(const TFx3DCaption& other);

private:
    TFxDisabledStyle disabledStyle_ = dsAuto;
    std::uint8_t lightDepth_ = 1;
    std::uint8_t shadowDepth_ = 1;
    TColor lightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
    TFxThreeDStyle style_ = tdNone;
    std::int32_t tracing_ = 0;
};

// Degrees, counter-clockwise, 0..359 (360 is stored as 0).
using TFxAngle = std::uint16_t;

// A lettering effect that can also be rotated and placed.
class TFxCaption : public TFx3DCaption {
public:
    TFxAngle Angle() const { return angle_; }
    void SetAngle(TFxAngle angle) { SetAndChange(angle_, static_cast<TFxAngle>(angle % 360)); }
    // Offset of the text from its rectangle's top-left; measuring sets it.
    std::uint16_t PosX() const { return posX_; }
    void SetPosX(std::uint16_t x) { SetAndChange(posX_, x); }
    std::uint16_t PosY() const { return posY_; }
    void SetPosY(std::uint16_t y) { SetAndChange(posY_, y); }
    // Sets both offsets without a change notice.
    void SetPositionSilently(std::uint16_t x, std::uint16_t y);

    void Assign(const TPersistent* source) override;

private:
    TFxAngle angle_ = 0;
    std::uint16_t posX_ = 0;
    std::uint16_t posY_ = 0;
};

enum TFxShadowStyle { hssNone, hssSolid, hssTracing };
constexpr std::uint8_t MaxShadowDepth = 40;

// A drop shadow: its colour, width and style. Its users paint it.
class TFxShadow : public TFxObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndChange(color_, color); }
    // 0..40 pixels; larger values are cut to 40.
    std::uint8_t Depth() const { return depth_; }
    void SetDepth(std::uint8_t depth);
    TFxShadowStyle Style() const { return style_; }
    void SetStyle(TFxShadowStyle style) { SetAndChange(style_, style); }

    void Assign(const TPersistent* source) override;

private:
    TColor color_ = clBtnShadow;
    std::uint8_t depth_ = 6;
    TFxShadowStyle style_ = hssSolid;
};
