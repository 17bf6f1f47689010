#include "calendar/calendars/CalendarRegistry.h"

#include "calendar/calendars/AstronomicalCalendar.h"
#include "calendar/calendars/FcnaCalendar.h"
#include "calendar/calendars/Istanbul2016Calendar.h"
#include "calendar/calendars/SightingCalendar.h"
#include "calendar/calendars/TabularCalendar.h"
#include "calendar/calendars/UmmAlQuraCalendar.h"
#include "calendar/calendars/UmmAlQuraRuleCalendar.h"

#include <array>

namespace {

template <typename Calendar>
std::unique_ptr<HijriCalendar> MakePlain(const CalendarOptions&)
{
    return std::make_unique<Calendar>();
}

std::unique_ptr<HijriCalendar> MakeCivil(const CalendarOptions&)
{
    return std::make_unique<TabularCalendar>("civil", FridayEpoch);
}

std::unique_ptr<HijriCalendar> MakeTabularAstronomical(const CalendarOptions&)
{
    return std::make_unique<TabularCalendar>("tbla", ThursdayEpoch);
}

std::unique_ptr<HijriCalendar> MakeSighting(const CalendarOptions& options)
{
    return std::make_unique<SightingCalendar>(options);
}

constexpr std::array<CalendarEntry, 8> Calendars{{
    {"astronomical",
     "the converter's own rule: a new moon from 00:00 to 03:00 UT opens the month on the next "
     "day, one at any other hour on the day after (the default)",
     MakePlain<AstronomicalCalendar>},
    {"umalqura",
     "Saudi Arabia's Umm al-Qura calendar: the published table for 1300 to 1600 AH, the rule "
     "of umalqura-rule outside it",
     MakePlain<UmmAlQuraCalendar>},
    {"umalqura-rule",
     "the Umm al-Qura rule in force since 1423 AH: on day 29, a conjunction before sunset at "
     "Mecca and a moonset after it open the month on the next day, else it has 30 days",
     MakePlain<UmmAlQuraRuleCalendar>},
    {"istanbul2016",
     "the unified calendar of the Istanbul congress of 2016: the Moon 5 degrees high and 8 from "
     "the Sun at a sunset before 24:00 UT anywhere, or later on land in the Americas",
     MakePlain<Istanbul2016Calendar>},
    {"fcna",
     "the geocentric conjunction before 12:00 UT opens the month on the next day, one at or "
     "after 12:00 UT on the day after",
     MakePlain<FcnaCalendar>},
    {"civil", "the 30-year tabular calendar from the Friday epoch, 16 July 622", MakeCivil},
    {"tbla", "the 30-year tabular calendar from the Thursday epoch, 15 July 622",
     MakeTabularAstronomical},
    {"sighting",
     "the crescent seen at a place (--at PLACE, default Mecca) by a criterion (--criterion, "
     "default odeh), months held to 29 or 30 days",
     MakeSighting, true},
}};

} // namespace

std::span<const CalendarEntry> RegisteredCalendars()
{
    return Calendars;
}

const CalendarEntry* FindCalendar(std::string_view name)
{
    for (const CalendarEntry& entry : Calendars)
        if (entry.Name == name)
            return &entry;
    return nullptr;
}
