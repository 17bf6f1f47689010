#include "effects/FxDisplay.h"

#include "services/FxApplication.h"

#include "framework/graphics/DeviceContext.h"
#include "framework/windows/Windows.h"

namespace {

// The services object's initial PaintOptions, for painting without one.
constexpr std::uint8_t DefaultPaintOptions = 0x36;

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
    return ApplicationServices != nullptr ? ApplicationServices->PaintOptions : DefaultPaintOptions;
}

bool PaletteUseAllowed()
{
    return (PaintOptions() & poPaletteAboveEightBits) == 0 || DisplayColorDepth() >= 9;
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
