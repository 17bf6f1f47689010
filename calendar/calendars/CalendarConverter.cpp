#include "calendar/calendars/CalendarConverter.h"

#include "calendar/calendars/CivilDays.h"
#include "framework/runtime/sysutils.h"

#include <algorithm>
#include <cmath>

namespace {

// The first guess of the month holding a day: mean lunations from Muharram 1405,
// which opens on 27 September 1984 (day 2445971). Every calendar here opens its
// months within a few days of the mean in the present era; far from it the search
// below leaps the rest of the way.
constexpr double MeanMonthDays = 29.530588853;
constexpr std::int64_t AnchorDay = 2445971;
constexpr std::int64_t AnchorMonth = 1048;

// Upper bound of a month's length in the era where months have 29 or 30 days: a
// leap of (distance / 30) months never passes the month sought there. Further out
// a leap may pass it by a little and the next leap comes back.
constexpr std::int64_t LongestMonth = 30;
constexpr int MaxLeaps = 64;
// A calendar whose first days did not grow with the month could keep the search
// going; it gives up instead.
constexpr int MaxSteps = MaxLeaps + 4096;

std::string EngineRangeText()
{
    return "the civil years " + IntToStr(MinYear) + " to " + IntToStr(MaxYear) +
           " that the calendar engine covers";
}

// The engine's way of naming a date in a range error.
std::string FieldsText(const char* calendar, std::int32_t year, std::int32_t month,
                       std::int32_t day)
{
    return std::string("The ") + calendar + " date year " + IntToStr(year) + ", month " +
           IntToStr(month) + ", day " + IntToStr(day);
}

} // namespace

CalendarConverter::CalendarConverter(const HijriCalendar& calendar)
    : Calendar_(calendar), Span_(calendar.Months()),
      Cache_(std::make_unique<std::array<Entry, CacheSize>>())
{
}

bool CalendarConverter::Covers(std::int64_t month) const
{
    return month >= Span_.First && month <= Span_.Last;
}

MonthStart CalendarConverter::StartOf(std::int32_t month)
{
    Entry& entry = (*Cache_)[static_cast<std::uint32_t>(month) & (CacheSize - 1)];
    if (!entry.Filled || entry.Month != month) {
        const MonthStart start = Calendar_.Start(month);  // may raise; nothing kept then
        entry = {start.FirstDay, month, start.Source, true};
    }
    return {entry.FirstDay, entry.Source};
}

std::int32_t CalendarConverter::MonthLength(std::int32_t month)
{
    return static_cast<std::int32_t>(StartOf(month + 1).FirstDay - StartOf(month).FirstDay);
}

bool CalendarConverter::Locate(std::int64_t dayNumber, std::int32_t& month, MonthStart& start)
{
    if (dayNumber < FirstCivilDay || dayNumber > LastCivilDay)
        return false;
    const double guess = AnchorMonth + std::floor((dayNumber - AnchorDay) / MeanMonthDays);
    std::int64_t k = static_cast<std::int64_t>(
        std::clamp(guess, static_cast<double>(Span_.First), static_cast<double>(Span_.Last)));
    for (int leap = 0; leap < MaxSteps; ++leap) {
        const auto index = static_cast<std::int32_t>(k);
        const MonthStart here = StartOf(index);
        // After MaxLeaps the search steps one month at a time, which ends soon
        // because first days grow with the month.
        const bool stepping = leap >= MaxLeaps;
        if (dayNumber < here.FirstDay) {
            if (index == Span_.First)
                return false;
            const std::int64_t back = (here.FirstDay - dayNumber + LongestMonth - 1) / LongestMonth;
            k = std::max<std::int64_t>(Span_.First, k - (stepping ? 1 : back));
            continue;
        }
        const std::int64_t next = StartOf(index + 1).FirstDay;
        if (dayNumber < next) {
            month = index;
            start = here;
            return true;
        }
        if (index == Span_.Last)
            return false;
        const std::int64_t ahead = 1 + (dayNumber - next) / LongestMonth;
        k = std::min<std::int64_t>(Span_.Last, k + (stepping ? 1 : ahead));
    }
    return false;
}

bool CalendarConverter::TryToHijri(std::int64_t dayNumber, HijriDay& result)
{
    std::int32_t month = 0;
    MonthStart start;
    if (!Locate(dayNumber, month, start))
        return false;
    const HijriMonth named = MonthOfIndex(month);
    result = {named.Year, named.Month, static_cast<std::int32_t>(dayNumber - start.FirstDay + 1),
              month, start.Source};
    return true;
}

bool CalendarConverter::TryToCivilDay(std::int32_t year, std::int32_t month, std::int32_t day,
                                      std::int64_t& dayNumber, MonthSource& source)
{
    if (year == 0 || month < 1 || month > 12 || day < 1)
        return false;
    const std::int64_t index = MonthIndexOf(year, month);
    if (!Covers(index))
        return false;
    const auto k = static_cast<std::int32_t>(index);
    const MonthStart start = StartOf(k);
    if (day > StartOf(k + 1).FirstDay - start.FirstDay)
        return false;
    const std::int64_t found = start.FirstDay + day - 1;
    if (found < FirstCivilDay || found > LastCivilDay)
        return false;
    dayNumber = found;
    source = start.Source;
    return true;
}

std::string CalendarConverter::CoverageText()
{
    const HijriMonth first = MonthOfIndex(Span_.First);
    const HijriMonth last = MonthOfIndex(Span_.Last);
    std::string text;
    if (first.Month == 1 && last.Month == 12)
        text = "the Hijri years " + IntToStr(first.Year) + " to " + IntToStr(last.Year);
    else
        text = "the Hijri months " + IntToStr(first.Year) + "-" + IntToStr(first.Month) + " to " +
               IntToStr(last.Year) + "-" + IntToStr(last.Month);
    const std::int64_t from = std::max(StartOf(Span_.First).FirstDay, FirstCivilDay);
    const std::int64_t to = std::min(StartOf(Span_.Last + 1).FirstDay - 1, LastCivilDay);
    const CivilDate a = CivilDateOf(from), b = CivilDateOf(to);
    return text + " (" + IsoDateText(a.Year, a.Month, a.Day) + " to " +
           IsoDateText(b.Year, b.Month, b.Day) + ")";
}

HijriDay CalendarConverter::ToHijri(std::int64_t dayNumber)
{
    HijriDay result;
    if (TryToHijri(dayNumber, result))
        return result;
    if (dayNumber < FirstCivilDay || dayNumber > LastCivilDay || Span_.Bound.empty())
        throw ERangeError("The civil day " + IntToStr(dayNumber) + " lies outside " +
                          EngineRangeText());
    const CivilDate civil = CivilDateOf(dayNumber);
    throw ERangeError("The civil date " + IsoDateText(civil.Year, civil.Month, civil.Day) +
                      " lies outside " + std::string(Span_.Bound) + ", which covers " + CoverageText());
}

std::int64_t CalendarConverter::ToCivilDay(std::int32_t year, std::int32_t month, std::int32_t day)
{
    std::int64_t dayNumber = 0;
    MonthSource source;
    if (TryToCivilDay(year, month, day, dayNumber, source))
        return dayNumber;
    if (year == 0 || month < 1 || month > 12 || day < 1)
        throw ERangeError(FieldsText("Hijri", year, month, day) + " is not a Hijri date");
    const std::int64_t index = MonthIndexOf(year, month);
    if (Covers(index) && day > MonthLength(static_cast<std::int32_t>(index)))
        throw ERangeError(FieldsText("Hijri", year, month, day) + " lies past the end of its month, which has " +
                          IntToStr(MonthLength(static_cast<std::int32_t>(index))) + " days");
    if (Covers(index) || Span_.Bound.empty())
        throw ERangeError(FieldsText("Hijri", year, month, day) + " lies outside " + EngineRangeText());
    throw ERangeError("The Hijri date " + IsoDateText(year, month, day) + " lies outside " +
                      std::string(Span_.Bound) + ", which covers " + CoverageText());
}
