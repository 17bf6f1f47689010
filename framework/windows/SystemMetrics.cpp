#include "framework/windows/SystemMetrics.h"

#include "framework/windows/Display.h"

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
    for (const TSystemMetricValue& entry : ClassicMetrics)
        if (entry.metric == metric)
            return entry.value;
    return 0;
}

int GetShellVersion()
{
    return 4;
}
