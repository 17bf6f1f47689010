// The place of dates-convert crescent: ParseCrescentPlace returns a place within
// the ranges it promises or raises EUsageError, and an evening at any place it
// accepts, poles included, gives finite instants or says there are none.
#include "astronomy/Crescent.h"
#include "tools/CrescentCommand.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// 2026 February 18, 00:00 UT, the evening after a conjunction.
constexpr double Evening = 2461089.5;
constexpr double Conjunction = 2461089.0008;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CrescentPlace place;
    try {
        place = ParseCrescentPlace(text);
    } catch (const EUsageError&) {
        return 0;
    }
    const astronomy::Place& p = place.Where;
    Check(p.Latitude >= -90 && p.Latitude <= 90);
    Check(p.Longitude >= -180 && p.Longitude <= 180);
    Check(p.Elevation >= -500 && p.Elevation <= 9000);
    const astronomy::EveningReport r = astronomy::ReportEvening(astronomy::FullSky(), p, Evening, Conjunction);
    Check(std::isfinite(r.Sunset.Instant));
    if (r.Sunset.Happens()) {
        Check(std::fabs(r.Sunset.Instant - (Evening + 0.75 - p.Longitude / 360)) < 0.6);
        Check(r.Inputs.has_value() && std::isfinite(r.Inputs->Width) && std::isfinite(r.Inputs->ArcvGeocentric));
        Check(!r.Moonset || std::fabs(*r.Moonset - r.Sunset.Instant) < 0.6);
    }
    return 0;
}
