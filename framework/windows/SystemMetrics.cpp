#include "framework/windows/SystemMetrics.h"

#include "framework/graphics/Fonts.h"
#include "framework/runtime/sysutils.h"
#include "framework/windows/Display.h"

#include <algorithm>

int ScaledPixels(int pixelsAt96, int pixelsPerInch)
{
    const int ppi = pixelsPerInch < 1 ? 96 : std::min(pixelsPerInch, MaxMetricPixelsPerInch);
    return MulDiv(pixelsAt96, ppi, 96);
}

int ScaledMetric(int metric, int pixelsPerInch)
{
    for (const TSystemMetricValue& entry : ClassicMetrics) {
        if (entry.metric != metric)
            continue;
        switch (entry.scaling) {
        case msFixed:
            return entry.value;
        case msScaled:
            return ScaledPixels(entry.value, pixelsPerInch);
        case msScaledAboveLine:
            return ScaledPixels(entry.value - 1, pixelsPerInch) + 1;
        }
    }
    return 0;
}

int GetSystemMetrics(int metric)
{
    const TDisplay* display = CurrentDisplay();
    switch (metric) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
        return display != nullptr ? display->Width() : 0;
    case SM_CYSCREEN:
        return display != nullptr ? display->Height() : 0;
    case SM_CYFULLSCREEN:
        return display != nullptr ? display->Height() - GetSystemMetrics(SM_CYCAPTION) : 0;
    default:
        break;
    }
    return ScaledMetric(metric, SystemMetricsPixelsPerInch());
}

int SystemMetricsPixelsPerInch()
{
    const TDisplay* display = CurrentDisplay();
    return display != nullptr ? display->PixelsPerInch() : DisplayPixelsPerInch();
}

int GetShellVersion()
{
    return 4;
}
