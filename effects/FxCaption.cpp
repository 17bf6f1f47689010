#include "effects/FxCaption.h"

#include <algorithm>

void TFx3DCaption::CopyFrom(const TFx3DCaption& other)
{
    disabledStyle_ = other.disabledStyle_;
    lightDepth_ = other.lightDepth_;
    shadowDepth_ = other.shadowDepth_;
    lightColor_ = other.lightColor_;
    shadowColor_ = other.shadowColor_;
    style_ = other.style_;
    tracing_ = other.tracing_;
}

void TFx3DCaption::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFx3DCaption*>(source);
    if (other == nullptr) {
        TFxObject::Assign(source);
        return;
    }
    CopyFrom(*other);
    Change();
}

void TFxCaption::SetPositionSilently(std::uint16_t x, std::uint16_t y)
{
    BeginUpdate();
    SetPosX(x);
    SetPosY(y);
    EndUpdate(false);
}

void TFxCaption::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFxCaption*>(source);
    if (other == nullptr) {
        TFx3DCaption::Assign(source);
        return;
    }
    CopyFrom(*other);
    angle_ = other->angle_;
    posX_ = other->posX_;
    posY_ = other->posY_;
    Change();
}

void TFxShadow::SetDepth(std::uint8_t depth)
{
    SetAndChange(depth_, std::min(depth, MaxShadowDepth));
}

void TFxShadow::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFxShadow*>(source);
    if (other == nullptr) {
        TFxObject::Assign(source);
        return;
    }
    color_ = other->color_;
    depth_ = other->depth_;
    style_ = other->style_;
    Change();
}
