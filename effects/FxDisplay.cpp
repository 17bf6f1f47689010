#include "effects/FxDisplay.h"

#include "framework/DeviceContext.h"
#include "framework/Windows.h"

namespace {

// The services object's initial PaintOptions: bits 1, 2, 4 and 5 set, bit 0 clear.
constexpr std::uint8_t DefaultPaintOptions = 0x36;
constexpr std::uint8_t PaletteOnlyAboveEightBits = 0x01;

} // namespace

int DisplayColorDepth()
{
    const HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return 0;
    const int depth = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(nullptr, dc);
    return depth;
}

std::uint8_t PaintOptions()
{
    // The services object does not carry its options yet; its initial value stands in.
    return DefaultPaintOptions;
}

bool PaletteUseAllowed()
{
    return (PaintOptions() & PaletteOnlyAboveEightBits) == 0 || DisplayColorDepth() >= 9;
}

TFxPaletteSelection::TFxPaletteSelection(HDC dc, HPALETTE palette)
{
    if (dc == nullptr || palette == nullptr)
        return;
    dc_ = dc;
    previous_ = SelectPalette(dc_, palette, false);
    RealizePalette(dc_);
}

TFxPaletteSelection::~TFxPaletteSelection()
{
    if (dc_ != nullptr)
        SelectPalette(dc_, previous_, false);
}
