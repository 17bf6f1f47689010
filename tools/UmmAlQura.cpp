#include "tools/UmmAlQura.h"

#include "framework/runtime/sysutils.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>

namespace {

constexpr double UnixEpochJulianDay = 2440587.5;
constexpr double MillisecondsPerDay = 86400000.0;

} // namespace

std::optional<double> UmmAlQuraMonthStart(std::int32_t year, std::int32_t month)
{
    if (year < FirstUmmAlQuraYear || year > LastUmmAlQuraYear || month < 1 || month > 12)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    // Universal time, so the month's first instant is its midnight UT.
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("@calendar=islamic-umalqura"), status));
    if (U_FAILURE(status))
        throw Exception(std::string("ICU cannot open the Umm al-Qura calendar: ") +
                        u_errorName(status));
    calendar->clear();
    calendar->set(year, month - 1, 1);
    const UDate start = calendar->getTime(status);
    if (U_FAILURE(status))
        throw Exception(std::string("ICU cannot place the Hijri month: ") + u_errorName(status));
    return start / MillisecondsPerDay + UnixEpochJulianDay;
}
