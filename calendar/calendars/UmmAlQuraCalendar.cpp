#include "calendar/calendars/UmmAlQuraCalendar.h"

#include "framework/runtime/sysutils.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/uversion.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

constexpr double UnixEpochDayNumber = 2440588;  // 1 January 1970
constexpr double MillisecondsPerDay = 86400000.0;
constexpr std::int64_t FirstTableMonth = MonthIndexOf(FirstUmmAlQuraYear, 1);
constexpr std::int64_t LastTableMonth = MonthIndexOf(LastUmmAlQuraYear, 12);

void Check(UErrorCode status, const char* what)
{
    if (U_FAILURE(status))
        throw Exception(std::string("ICU cannot ") + what + ": " + u_errorName(status));
}

} // namespace

UmmAlQuraCalendar::UmmAlQuraCalendar()
{
    UErrorCode status = U_ZERO_ERROR;
    // Universal time, so that a month's first instant is the midnight (UT) of its first day.
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("@calendar=islamic-umalqura"), status));
    Check(status, "open the Umm al-Qura calendar");
    const auto dayNumber = [&](UDate instant) {
        return static_cast<std::int64_t>(std::floor(instant / MillisecondsPerDay) + UnixEpochDayNumber);
    };
    for (std::int32_t year = FirstUmmAlQuraYear; year <= LastUmmAlQuraYear; ++year)
        for (std::int32_t month = 0; month < 12; ++month) {
            calendar->clear();
            calendar->set(year, month, 1);
            FirstDays_.push_back(dayNumber(calendar->getTime(status)));
            Check(status, "place a month of the Umm al-Qura table");
        }
    // The table's last month ends after the length the table gives it; the month
    // after it is no longer the table's.
    const std::int32_t lastLength = calendar->getActualMaximum(UCAL_DAY_OF_MONTH, status);
    Check(status, "give the length of the table's last month");
    FirstDays_.push_back(FirstDays_.back() + lastLength);
}

MonthSpan UmmAlQuraCalendar::Months() const
{
    return {static_cast<std::int32_t>(FirstTableMonth), static_cast<std::int32_t>(LastTableMonth),
            "the Umm al-Qura table"};
}

MonthStart UmmAlQuraCalendar::Start(std::int32_t month) const
{
    return {FirstDays_.at(static_cast<std::size_t>(month - FirstTableMonth)), MonthSource::msTable};
}

MonthReason UmmAlQuraCalendar::Reason(std::int32_t) const
{
    MonthReason reason;
    reason.Source = MonthSource::msTable;
    reason.Text = "the Umm al-Qura table (ICU " U_ICU_VERSION " islamic-umalqura)";
    reason.Facts = {{"table", std::string("ICU " U_ICU_VERSION " islamic-umalqura")}};
    return reason;
}
