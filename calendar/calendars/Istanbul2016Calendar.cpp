#include "calendar/calendars/Istanbul2016Calendar.h"

#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"
#include "calendar/calendars/Istanbul2016Rule.h"
#include "framework/runtime/sysutils.h"

#include <cmath>
#include <cstdio>

namespace {

// The rule holds within a day or two of the conjunction; a month whose rule did
// not hold this many days after it opens on the day after the last.
constexpr std::int64_t DaysToTry = 4;

std::string Degrees1(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f°", value);
    return text;
}

std::string PlaceText(const astronomy::Place& place)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f°%c %.1f°%c", std::fabs(place.Latitude),
                  place.Latitude < 0 ? 'S' : 'N', std::fabs(place.Longitude), place.Longitude < 0 ? 'W' : 'E');
    return text;
}

// "altitude 5.3°, elongation 8.9° at 12.0°S 85.2°W"
std::string Found(const IstanbulPlace& place)
{
    return "altitude " + Degrees1(place.MoonAltitude) + ", elongation " + Degrees1(place.Elongation) +
           " at " + PlaceText(place.Where);
}

// What the rule found on one date, in words.
std::string DayClause(std::int32_t month, const IstanbulDay& day)
{
    std::string text = DayText(day.Day) + ": ";
    const double conjunction = ConjunctionOf(month);
    if (!day.ConjunctionBeforeMidnight)
        return text + "conjunction " + UtMinuteText(conjunction, true) + " UT, after 24:00 UT";
    if (day.MetBeforeMidnight())
        return text + "at sunset at 24:00 UT " + Found(*day.Best) + ", 5° and 8° met";
    if (day.TooYoung) {
        char age[32];
        std::snprintf(age, sizeof age, "%.1f", (static_cast<double>(day.Day) + 0.5 - conjunction) * 24);
        text += "conjunction " + UtMinuteText(conjunction) + " UT, " + age +
                " h before 24:00 UT: 8° from the Sun nowhere before it";
    } else if (!day.Searched)
        text += "geocentric elongation " + Degrees1(day.GeocentricElongation) +
                " at 24:00 UT: 8° nowhere before it";
    else if (day.Best)
        text += "not met before 24:00 UT (at best " + Found(*day.Best) + ")";
    else
        text += "not met before 24:00 UT";
    if (!day.ExceptionTried)
        return text;
    const double dawn = NewZealandDawn(day.Day + 1);
    if (!day.ConjunctionBeforeDawn)
        return text + "; conjunction after dawn " + UtMinuteText(dawn) + " UT in New Zealand";
    if (day.MetInAmericas())
        return text + "; on land in the Americas at sunset " + UtMinuteText(day.BestInAmericas->Sunset) +
               " UT " + Found(*day.BestInAmericas) + ", with the conjunction before dawn " +
               UtMinuteText(dawn) + " UT in New Zealand, met";
    if (day.BestInAmericas)
        return text + "; nor on land in the Americas after it (at best " + Found(*day.BestInAmericas) + ")";
    return text + "; nor on land in the Americas after it";
}

} // namespace

Istanbul2016Calendar::Istanbul2016Calendar() : Span_(AstronomySpan()) {}

MonthStart Istanbul2016Calendar::Start(std::int32_t month) const
{
    const std::int64_t first = ConjunctionDay(month, 0);
    for (std::int64_t day = first; day < first + DaysToTry; ++day)
        if (JudgeIstanbulDay(month, day).Opens())
            return {day + 1, MonthSource::msRule};
    return {first + DaysToTry, MonthSource::msRule};
}

MonthReason Istanbul2016Calendar::Reason(std::int32_t month) const
{
    const std::int64_t first = ConjunctionDay(month, 0);
    MonthReason reason;
    reason.Source = MonthSource::msRule;
    reason.Facts = {{"conjunction", UtInstant{ConjunctionOf(month)}}};
    for (std::int64_t day = first; day < first + DaysToTry; ++day) {
        const IstanbulDay judged = JudgeIstanbulDay(month, day);
        reason.Text += (reason.Text.empty() ? "" : "; ") + DayClause(month, judged);
        if (!judged.Opens())
            continue;
        const IstanbulPlace& place = judged.MetBeforeMidnight() ? *judged.Best : *judged.BestInAmericas;
        reason.Text += ": the month opens on the next day";
        reason.Facts.push_back({"evening", DayText(day)});
        reason.Facts.push_back({"by", std::string(judged.MetBeforeMidnight() ? "before-24h" : "americas")});
        reason.Facts.push_back({"sunset", UtInstant{place.Sunset}});
        reason.Facts.push_back({"latitude", Degrees{place.Where.Latitude}});
        reason.Facts.push_back({"longitude", Degrees{place.Where.Longitude}});
        reason.Facts.push_back({"moon_altitude", Degrees{place.MoonAltitude}});
        reason.Facts.push_back({"elongation", Degrees{place.Elongation}});
        return reason;
    }
    reason.Text += ": not met within " + IntToStr(DaysToTry) + " days; the month opens on the day after";
    return reason;
}
