#include "window/LayoutKinds.h"

#include "effects/FxLabelFill.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "window/Spin.h"

void ApplyFont(TFont& font, const TLayoutFont& layout)
{
    font.SetName(layout.Name);
    font.SetHeight(layout.Height);
    font.SetStyle(layout.Style);
    font.SetColor(layout.Color);
}

namespace {

TControl* MakeBox(TComponent* owner, TBevelStyle style)
{
    auto* bevel = MakeOwned<TBevel>(owner);
    bevel->SetShape(bsBox);
    bevel->SetStyle(style);
    return bevel;
}

TControl* MakePanel(TComponent* owner, TPanelBevel outer, TPanelBevel inner)
{
    auto* panel = MakeOwned<TPanel>(owner);
    panel->SetBevelOuter(outer);
    panel->SetBevelInner(inner);
    panel->SetAlignment(taCenter);
    return panel;
}

TControl* MakeBitButton(TComponent* owner, TBitBtnKind kind)
{
    auto* button = MakeOwned<TBitBtn>(owner);
    button->SetKind(kind);
    return button;
}

} // namespace

TControl* MakeRaisedBox(TComponent* owner)
{
    return MakeBox(owner, bsRaised);
}

TControl* MakeLoweredBox(TComponent* owner)
{
    return MakeBox(owner, bsLowered);
}

TControl* MakeFixedCentredLabel(TComponent* owner)
{
    auto* label = MakeOwned<TLabel>(owner);
    label->SetAutoSize(false);
    label->SetAlignment(taCenter);
    return label;
}

TControl* MakeRaisedPanel(TComponent* owner)
{
    return MakePanel(owner, bvRaised, bvNone);
}

TControl* MakeNumberField(TComponent* owner)
{
    TControl* field = MakePanel(owner, bvRaised, bvLowered);
    field->SetAccessibleNumeric(true); // a screen reader reads the number as the field's value
    return field;
}

TControl* MakeLoweredPanel(TComponent* owner)
{
    return MakePanel(owner, bvLowered, bvNone);
}

TControl* MakeGroupBox(TComponent* owner)
{
    return MakeOwned<TGroupBox>(owner);
}

TControl* MakeSpinButton(TComponent* owner)
{
    return MakeOwned<TSpinButton>(owner);
}

TControl* MakeHelpButton(TComponent* owner)
{
    return MakeBitButton(owner, bkHelp);
}

TControl* MakeOkButton(TComponent* owner)
{
    return MakeBitButton(owner, bkOK);
}

TControl* MakeAutoSizeLabel(TComponent* owner)
{
    return MakeOwned<TLabel>(owner);
}

TControl* MakeGradientLabel(TComponent* owner)
{
    auto* label = MakeOwned<TFxLabelFill>(owner);
    label->SetAutoSize(false);
    label->SetAlignment(agCenter);
    label->FillObject()->SetStyle(sfGradient);
    label->FontFx()->SetStyle(tdRaisedShadow);
    return label;
}

TControl* MakeHyphenShape(TComponent* owner)
{
    auto* shape = MakeOwned<TShape>(owner);
    shape->SetShape(stRectangle);
    shape->Brush()->SetColor(clActiveCaption);
    shape->Pen()->SetColor(clBlack);
    shape->Pen()->SetWidth(1);
    return shape;
}
