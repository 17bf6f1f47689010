#include "tools/ConvertCommands.h"

#include "calendar/CalendarNames.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/UmmAlQuraCalendar.h"
#include "calendar/conver2.h"

#include <cctype>
#include <cmath>
#include <ctime>

namespace {

DayReport MakeDayReport(const DateParts& gregorian, const DateParts& hijri, std::int32_t weekDay,
                        const CalendarConverter& calendar, MonthSource source)
{
    DayReport report{gregorian, hijri, weekDay, {}, std::string(calendar.Calendar().Name()), source};
    const std::string texts[] = {IntToStr(hijri.Day),     IntToStr(hijri.Month),
                                 IntToStr(hijri.Year),    IntToStr(gregorian.Day),
                                 IntToStr(gregorian.Month), IntToStr(gregorian.Year)};
    report.Line = ComposeCorrespondence(
        weekDay, {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]});
    return report;
}

// The engine's and the calendars' range errors name the date; to the tool they
// are bad input.
template <typename Conversion>
auto Converting(Conversion&& conversion)
{
    try {
        return conversion();
    } catch (const ERangeError& e) {
        throw EUsageError(e.Message());
    }
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

DateParts CivilPartsOf(std::int64_t dayNumber)
{
    const CivilDate date = CivilDateOf(dayNumber);
    return {date.Year, date.Month, date.Day};
}

std::int32_t HijriMonthLength(std::int32_t year, std::int32_t month, CalendarConverter& calendar)
{
    return Converting([&] {
        const std::int64_t index = MonthIndexOf(year, month);
        if (!calendar.Covers(index))
            calendar.ToCivilDay(year, month, 1);  // raises, naming what the calendar covers
        return calendar.MonthLength(static_cast<std::int32_t>(index));
    });
}

void RequireHijriDate(const DateParts& date, CalendarConverter& calendar)
{
    if (date.Year == 0)
        throw EUsageError("There is no Hijri year 0: the year before 1 is -1");
    if (date.Month < 1 || date.Month > 12)
        throw EUsageError("There is no Hijri month " + IntToStr(date.Month));
    const std::int32_t length = HijriMonthLength(date.Year, date.Month, calendar);
    if (date.Day < 1 || date.Day > length)
        throw EUsageError("There is no day " + IntToStr(date.Day) + " in " +
                          std::string(HMonthName(date.Month)) + " " + IntToStr(date.Year) +
                          ", which has " + IntToStr(length) + " days");
}

DayReport ConvertGregorian(const DateParts& civil, CalendarConverter& calendar)
{
    RequireCivilDate(civil);
    const std::int64_t day = Converting([&] { return CivilDayNumber(civil.Year, civil.Month, civil.Day); });
    const HijriDay hijri = Converting([&] { return calendar.ToHijri(day); });
    return MakeDayReport(civil, {hijri.Year, hijri.Month, hijri.Day}, WeekDayOf(day), calendar,
                         hijri.Source);
}

DayReport ConvertHijri(const DateParts& hijri, CalendarConverter& calendar)
{
    RequireHijriDate(hijri, calendar);
    const std::int64_t day = Converting([&] { return calendar.ToCivilDay(hijri.Year, hijri.Month, hijri.Day); });
    const MonthSource source = calendar.StartOf(static_cast<std::int32_t>(MonthIndexOf(hijri.Year, hijri.Month))).Source;
    return MakeDayReport(CivilPartsOf(day), hijri, WeekDayOf(day), calendar, source);
}

DayReport ConvertToday(CalendarConverter& calendar)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr)
        throw Exception("The system clock gives no local date");
    return ConvertGregorian({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, calendar);
}

CalendarMonth DescribeCalendarMonth(std::int32_t year, std::int32_t month, CalendarConverter& calendar)
{
    CalendarMonth described;
    described.Calendar = std::string(calendar.Calendar().Name());
    try {
        const std::int64_t index = MonthIndexOf(year, month);
        if (!calendar.Covers(index))
            calendar.ToCivilDay(year, month, 1);  // raises, naming what the calendar covers
        const auto k = static_cast<std::int32_t>(index);
        const std::int64_t first = calendar.ToCivilDay(year, month, 1);
        described.FirstDay = CivilPartsOf(first);
        described.FirstWeekDay = WeekDayOf(first);
        described.Length = calendar.MonthLength(k);
        described.Reason = calendar.Calendar().Reason(k);
        described.Covered = true;
    } catch (const ERangeError& e) {
        described.Reason.Text = e.Message();
        if (!described.Reason.Text.empty())
            described.Reason.Text[0] = static_cast<char>(
                std::tolower(static_cast<unsigned char>(described.Reason.Text[0])));
    }
    return described;
}

MonthReport DescribeHijriMonth(std::int32_t year, std::int32_t month, CalendarChoice& calendars)
{
    CalendarConverter& chosen = calendars.Chosen();
    RequireHijriDate({year, month, 1}, chosen);
    MonthReport report;
    report.Year = year;
    report.Month = month;
    if (!calendars.Named()) {
        Converting([&] {
            report.Lunation = HijriMonthLunation(year, month);
            const double start = MonthStartInstant(report.Lunation, report.NewMoon);
            report.OpensNextDay = start == report.NewMoon;
        });
        report.Borderline = NearRuleCutOff(report.NewMoon);
    }
    report.Chosen = DescribeCalendarMonth(year, month, chosen);
    if (!report.Chosen.Covered)  // day 1 lies beyond the engine's last civil day
        throw EUsageError(report.Chosen.Reason.Text);
    report.FirstDay = report.Chosen.FirstDay;
    report.FirstWeekDay = report.Chosen.FirstWeekDay;
    report.Length = report.Chosen.Length;
    for (CalendarConverter* calendar : calendars.Every())
        report.Calendars.push_back(&calendar->Calendar() == &chosen.Calendar()
                                       ? report.Chosen
                                       : DescribeCalendarMonth(year, month, *calendar));
    for (const CalendarMonth& other : report.Calendars)
        if (other.Calendar == "umalqura" && other.Covered && year >= FirstUmmAlQuraYear &&
            year <= LastUmmAlQuraYear) {
            report.UmmAlQuraFirstDay = other.FirstDay;
            report.UmmAlQuraDifference = static_cast<std::int32_t>(
                CivilDayNumber(report.FirstDay.Year, report.FirstDay.Month, report.FirstDay.Day) -
                CivilDayNumber(other.FirstDay.Year, other.FirstDay.Month, other.FirstDay.Day));
        }
    return report;
}

std::vector<MonthReport> DescribeHijriYear(std::int32_t year, CalendarChoice& calendars)
{
    std::vector<MonthReport> months;
    for (std::int32_t month = 1; month <= 12; ++month)
        months.push_back(DescribeHijriMonth(year, month, calendars));
    return months;
}
