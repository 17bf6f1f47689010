// How often each calendar opens a month on the same civil day as the Umm
// al-Qura table, over the table's years and over the stretches where the table
// follows one computation or another (1423-1450 AH and 1451-1500 AH). Prints,
// per calendar and stretch, the months compared, how many agree, and how many
// open a day or more earlier or later than the table. Run by hand:
//   build/release/bench/calendar_agreement [--list]   (--list: every disagreement,
//   with the margins that decided it where the reason gives the instants)
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CalendarRegistry.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/UmmAlQuraCalendar.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <variant>
#include <string>

namespace {

// The instant a reason's facts name, if any.
std::optional<double> InstantOf(const MonthReason& reason, std::string_view name)
{
    for (const ReasonFact& fact : reason.Facts)
        if (fact.Name == name)
            if (const auto* instant = std::get_if<UtInstant>(&fact.Value))
                return instant->JulianDay;
    return std::nullopt;
}

// "sunset - conjunction +1.1 min, moonset - sunset +6.3 min": the margins of
// the instants a rule compared, where its reason names them.
std::string Margins(const MonthReason& reason)
{
    std::string text;
    const auto margin = [&](const char* later, const char* earlier) {
        const std::optional<double> a = InstantOf(reason, later), b = InstantOf(reason, earlier);
        if (!a || !b)
            return;
        char item[64];
        std::snprintf(item, sizeof item, "%s%s - %s %+.2f min", text.empty() ? "" : ", ", later, earlier,
                      (*a - *b) * 1440);
        text += item;
    };
    margin("sunset", "conjunction");
    margin("moonset", "sunset");
    return text.empty() ? text : "  [" + text + "]";
}

struct Stretch {
    std::int32_t FirstYear, LastYear;
};

constexpr Stretch Stretches[] = {{1300, 1600}, {1423, 1450}, {1451, 1500}};

} // namespace

int main(int argc, char** argv)
{
    const bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
    UmmAlQuraCalendar table;
    CalendarConverter tableDays(table);
    std::printf("%-13s  %-9s  %6s  %6s  %7s  %s\n", "calendar", "AH", "months", "agree", "share",
                "days later than the table: months");
    for (const CalendarEntry& entry : RegisteredCalendars()) {
        if (entry.Name == "umalqura")
            continue;
        const auto calendar = entry.Make();
        CalendarConverter days(*calendar);
        for (const Stretch& stretch : Stretches) {
            int months = 0, agree = 0;
            std::map<std::int64_t, int> differences;
            std::string disagreements;
            for (std::int32_t year = stretch.FirstYear; year <= stretch.LastYear; ++year)
                for (std::int32_t month = 1; month <= 12; ++month) {
                    const std::int64_t ours = days.ToCivilDay(year, month, 1);
                    const std::int64_t theirs = tableDays.ToCivilDay(year, month, 1);
                    ++months;
                    agree += ours == theirs;
                    if (ours == theirs)
                        continue;
                    ++differences[ours - theirs];
                    if (list) {
                        const CivilDate day = CivilDateOf(theirs);
                        const auto k = static_cast<std::int32_t>(MonthIndexOf(year, month));
                        char line[96];
                        std::snprintf(line, sizeof line, "    %d-%02d  table %s  %+lld  ", year, month,
                                      IsoDateText(day.Year, day.Month, day.Day).c_str(),
                                      static_cast<long long>(ours - theirs));
                        const MonthReason reason = calendar->Reason(k);
                        disagreements.append(line).append(reason.Text).append(Margins(reason)).append("\n");
                    }
                }
            std::string spread;
            for (const auto& [days, count] : differences) {
                char item[32];
                std::snprintf(item, sizeof item, "%+lld: %d  ", static_cast<long long>(days), count);
                spread.append(item);
            }
            std::printf("%-13s  %4d-%4d  %6d  %6d  %6.1f%%  %s\n", std::string(entry.Name).c_str(),
                        stretch.FirstYear, stretch.LastYear, months, agree, 100.0 * agree / months,
                        spread.c_str());
            std::fputs(disagreements.c_str(), stdout);
        }
    }
    return 0;
}
