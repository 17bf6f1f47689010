// The kinds of widget a form's layout table names, each a function that makes
// the widget with the settings that kind always has (a bevel's shape and
// style, a panel's bevels, a button's stock glyph). The table adds what
// differs from row to row: name, parent, bounds, caption, font, hint, tab
// order, accessible name and handlers.
#pragma once

#include "framework/graphics/Colors.h"
#include "framework/controls/Controls.h"
#include "framework/graphics/Fonts.h"

// A font a row carries of its own; rows without one take their parent's.
struct TLayoutFont {
    const char* Name;
    int Height; // negative: character height in pixels
    TFontStyles Style;
    TColor Color;
};
void ApplyFont(TFont& font, const TLayoutFont& layout);

// Makes a widget owned by owner (which frees it); the caller sets its parent.
using TWidgetMaker = TControl* (*)(TComponent* owner);

TControl* MakeRaisedBox(TComponent* owner);       // bevel: box, raised
TControl* MakeLoweredBox(TComponent* owner);      // bevel: box, lowered
TControl* MakeFixedCentredLabel(TComponent* owner); // label: fixed size, text centred
TControl* MakeRaisedPanel(TComponent* owner);     // panel: raised outer bevel, no inner, no caption
TControl* MakeNumberField(TComponent* owner);     // panel: raised outer, lowered inner, text centred
TControl* MakeLoweredPanel(TComponent* owner);    // panel: lowered outer bevel, no inner, text centred
TControl* MakeGroupBox(TComponent* owner);
TControl* MakeSpinButton(TComponent* owner);      // up and down arrows, no tab stop
TControl* MakeHelpButton(TComponent* owner);      // push button with the stock question-mark glyph
TControl* MakeOkButton(TComponent* owner);        // push button with the stock tick; the default button
TControl* MakeAutoSizeLabel(TComponent* owner);   // label: sized to its text
TControl* MakeGradientLabel(TComponent* owner);   // banner label: gradient faces, raised and shadowed, centred, fixed size
TControl* MakeHyphenShape(TComponent* owner);     // rectangle in the active-caption colour, black outline
