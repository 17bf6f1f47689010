#include "window/DayCount.h"

#include "framework/runtime/sysutils.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <string>

namespace {

// Day 0 of the count.
QDate Epoch()
{
    return QDate(1899, 12, 30);
}

constexpr double MillisecondsPerDay = 86'400'000.0;

} // namespace

double NowDayCount()
{
    const QDateTime now = QDateTime::currentDateTime();
    return static_cast<double>(Epoch().daysTo(now.date())) + now.time().msecsSinceStartOfDay() / MillisecondsPerDay;
}

void DecodeDayCount(double dayCount, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day)
{
    // The whole part names the day and the fraction is the time either side of
    // the epoch, so -0.25 is 30 December 1899 at six in the morning.
    const QDate date = Epoch().addDays(Trunc(dayCount));
    if (date.year() < 1 || date.year() > 9999)
        throw ERangeError("The day count " + std::to_string(dayCount) + " is outside the years 1 to 9999");
    year = static_cast<std::uint16_t>(date.year());
    month = static_cast<std::uint16_t>(date.month());
    day = static_cast<std::uint16_t>(date.day());
}

double EncodeDayCount(int year, int month, int day)
{
    return static_cast<double>(Epoch().daysTo(QDate(year, month, day)));
}
