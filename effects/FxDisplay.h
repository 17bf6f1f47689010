// What the painters need to know about the display: its colour depth, and
// whether a palette may be selected and realised for it.
#pragma once

#include "framework/graphics/DeviceContext.h"

#include <cstdint>

// Colour planes times bits per pixel of the screen's device context; 0 when
// no screen context can be opened.
int DisplayColorDepth();

// The painting option bits of the services object (bit 0: realise palettes
// only on displays deeper than 8 bits per pixel).
std::uint8_t PaintOptions();

// Whether a painter asked to use a palette may do so on this display.
bool PaletteUseAllowed();

// Selects a palette (in the foreground) into a context and realises it; the
// context gets its previous palette back when the object goes, so the
// palette can be deleted afterwards. A null palette does nothing.
class TFxPaletteSelection {
public:
    TFxPaletteSelection(HDC dc, HPALETTE palette);
    ~TFxPaletteSelection();
    TFxPaletteSelection(const TFxPaletteSelection&) = delete;
    TFxPaletteSelection& operator=(const TFxPaletteSelection&) = delete;

private:
    HDC dc_ = nullptr;
    HPALETTE previous_ = nullptr;
};
