#include "calendar/calendars/CalendarRegistry.h"

#include "calendar/calendars/AstronomicalCalendar.h"
#include "calendar/calendars/TabularCalendar.h"
#include "calendar/calendars/UmmAlQuraCalendar.h"

#include <array>

namespace {

std::unique_ptr<HijriCalendar> MakeAstronomical()
{
    return std::make_unique<AstronomicalCalendar>();
}

std::unique_ptr<HijriCalendar> MakeUmmAlQura()
{
    return std::make_unique<UmmAlQuraCalendar>();
}

std::unique_ptr<HijriCalendar> MakeCivil()
{
    return std::make_unique<TabularCalendar>("civil", FridayEpoch);
}

std::unique_ptr<HijriCalendar> MakeTabularAstronomical()
{
    return std::make_unique<TabularCalendar>("tbla", ThursdayEpoch);
}

constexpr std::array<CalendarEntry, 4> Calendars{{
    {"astronomical",
     "the converter's own rule: a new moon from 00:00 to 03:00 UT opens the month on the next "
     "day, one at any other hour on the day after (the default)",
     MakeAstronomical},
    {"umalqura", "Saudi Arabia's Umm al-Qura calendar: the published table, 1300 to 1600 AH",
     MakeUmmAlQura},
    {"civil", "the 30-year tabular calendar from the Friday epoch, 16 July 622", MakeCivil},
    {"tbla", "the 30-year tabular calendar from the Thursday epoch, 15 July 622",
     MakeTabularAstronomical},
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
