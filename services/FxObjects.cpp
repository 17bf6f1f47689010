#include "services/FxObjects.h"

void TFxObject::EndUpdate(bool notify)
{
    updating_ = false;
    if (notify)
        Change();
}

void TFxObject::Change()
{
    if (!updating_ && OnChange)
        OnChange(this);
}

void TFxObject::SubObjectChanged(TObject*)
{
    Change();
}

void TFxComponent::EndUpdate(bool notify)
{
    updating_ = false;
    if (notify)
        Change();
}

void TFxComponent::Change()
{
    if (!updating_ && OnChange)
        OnChange(this);
}

void TFxComponent::SubObjectChanged(TObject*)
{
    Change();
}
