#include "tools/ConvertCommands.h"

#include "calendar/conver2.h"
#include "tools/UmmAlQura.h"
#include "calendar/CalendarNames.h"

#include <cmath>
#include <ctime>

namespace {

DateParts PartsOf(const CalendarDate& date)
{
    return {date.Year, date.Month, date.Day};
}

DayReport MakeDayReport(const DateParts& gregorian, const DateParts& hijri, std::int32_t weekDay)
{
    DayReport report{gregorian, hijri, weekDay, {}};
    const std::string texts[] = {IntToStr(hijri.Day),     IntToStr(hijri.Month),
                                 IntToStr(hijri.Year),    IntToStr(gregorian.Day),
                                 IntToStr(gregorian.Month), IntToStr(gregorian.Year)};
    report.Line = ComposeCorrespondence(
        weekDay, {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]});
    return report;
}

// The engine's range errors name the date; to the tool they are bad input.
template <typename Conversion>
void Converting(Conversion&& conversion)
{
    try {
        conversion();
    } catch (const ERangeError& e) {
        throw EUsageError(e.Message());
    }
}

double JulianDayOf(const DateParts& civil)
{
    return DateToJulianDay(civil.Year, civil.Month, civil.Day);
}

DateParts FirstCivilDayOfHijriMonth(std::int32_t year, std::int32_t month)
{
    CalendarDate civil;
    HijriToGregorianDate(year, month, 1, civil);
    return PartsOf(civil);
}

// Minutes from the last UT midnight to the instant jd.
double MinuteOfDay(double jd)
{
    const double sinceMidnight = jd + 0.5;
    return (sinceMidnight - std::floor(sinceMidnight)) * 1440;
}

bool NearRuleCutOff(double newMoon)
{
    const double minute = MinuteOfDay(newMoon);
    const double toMidnight = std::fmin(minute, 1440 - minute);
    const double toThree = std::fabs(minute - 180);
    return std::fmin(toMidnight, toThree) <= BorderlineMinutes;
}

} // namespace

std::int32_t HijriMonthLength(std::int32_t year, std::int32_t month)
{
    std::int32_t length = 0;
    Converting([&] {
        const double first = JulianDayOf(FirstCivilDayOfHijriMonth(year, month));
        const double next = JulianDayOf(FirstCivilDayOfHijriMonth(year, month + 1));
        length = static_cast<std::int32_t>(next - first);
    });
    return length;
}

void RequireHijriDate(const DateParts& date)
{
    if (date.Year == 0)
        throw EUsageError("There is no Hijri year 0: the year before 1 is -1");
    if (date.Month < 1 || date.Month > 12)
        throw EUsageError("There is no Hijri month " + IntToStr(date.Month));
    const std::int32_t length = HijriMonthLength(date.Year, date.Month);
    if (date.Day < 1 || date.Day > length)
        throw EUsageError("There is no day " + IntToStr(date.Day) + " in " +
                          std::string(HMonthName(date.Month)) + " " + IntToStr(date.Year) +
                          ", which has " + IntToStr(length) + " days");
}

DayReport ConvertGregorian(const DateParts& civil)
{
    RequireCivilDate(civil);
    CalendarDate hijri;
    Converting([&] { GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri); });
    return MakeDayReport(civil, PartsOf(hijri), hijri.WeekDay);
}

DayReport ConvertHijri(const DateParts& hijri)
{
    RequireHijriDate(hijri);
    CalendarDate civil;
    Converting([&] { HijriToGregorianDate(hijri.Year, hijri.Month, hijri.Day, civil); });
    return MakeDayReport(PartsOf(civil), hijri, civil.WeekDay);
}

DayReport ConvertToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr)
        throw Exception("The system clock gives no local date");
    return ConvertGregorian({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
}

MonthReport DescribeHijriMonth(std::int32_t year, std::int32_t month)
{
    RequireHijriDate({year, month, 1});
    MonthReport report;
    report.Year = year;
    report.Month = month;
    Converting([&] {
        report.Lunation = HijriMonthLunation(year, month);
        const double start = MonthStartInstant(report.Lunation, report.NewMoon);
        report.OpensNextDay = start == report.NewMoon;
        CalendarDate first;
        HijriToGregorianDate(year, month, 1, first);
        report.FirstDay = PartsOf(first);
        report.FirstWeekDay = first.WeekDay;
    });
    report.Length = HijriMonthLength(year, month);
    report.Borderline = NearRuleCutOff(report.NewMoon);
    if (const std::optional<double> tableStart = UmmAlQuraMonthStart(year, month)) {
        CalendarDate theirs;
        JulianDayToDate(theirs, *tableStart);
        report.UmmAlQuraFirstDay = PartsOf(theirs);
        report.UmmAlQuraDifference =
            static_cast<std::int32_t>(std::lround(JulianDayOf(report.FirstDay) - *tableStart));
    }
    return report;
}

std::vector<MonthReport> DescribeHijriYear(std::int32_t year)
{
    std::vector<MonthReport> months;
    for (std::int32_t month = 1; month <= 12; ++month)
        months.push_back(DescribeHijriMonth(year, month));
    return months;
}
