#include "tools/Observances.h"

#include "calendar/CalendarNames.h"
#include "calendar/calendars/CivilDays.h"

#include <nlohmann/json.hpp>


std::vector<Observance> ObservancesOfYear(std::int32_t year, CalendarConverter& calendar)
{
    std::vector<Observance> observances;
    for (const ObservanceDay& day : ObservanceTable) {
        const DayReport report = ConvertHijri({year, day.Month, day.Day}, calendar);
        const std::int64_t number = CivilDayNumber(report.Gregorian.Year, report.Gregorian.Month,
                                                   report.Gregorian.Day);
        if (number - 1 < FirstCivilDay)
            throw EUsageError("The eve of " + std::string(day.Name) + " " + IntToStr(year) +
                              " lies before the first civil day the engine covers");
        observances.push_back({day.Name, report.Hijri, report.Gregorian, report.WeekDay,
                               CivilPartsOf(number - 1), WeekDayOf(number - 1)});
    }
    return observances;
}

std::string FormatObservances(std::int32_t year, std::string_view calendar,
                              const std::vector<Observance>& observances, OutputForm form,
                              const Presentation& presentation)
{
    const Presentation& p = presentation;
    if (form == OutputForm::ofJson) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const Observance& o : observances) {
            nlohmann::ordered_json object = {{"name", o.Name},
                                             {"hijri", FormatDate(o.Hijri)},
                                             {"gregorian", FormatDate(o.Gregorian)},
                                             {"weekday", DayName(o.WeekDay)},
                                             {"eve", FormatDate(o.Eve)}};
            if (p.Translated())
                object["weekday_local"] = p.Weekday(o.WeekDay);
            list.push_back(object);
        }
        nlohmann::ordered_json object = {{"year", year}, {"calendar", calendar}, {"observances", list}};
        if (p.Translated())
            object["lang"] = p.Language();
        return object.dump(2) + "\n";
    }
    std::vector<std::vector<std::string>> rows{{"observance", "hijri", "gregorian", "weekday", "eve"}};
    for (const Observance& o : observances)
        rows.push_back({std::string(o.Name), p.Date(o.Hijri), p.Date(o.Gregorian),
                        p.Isolated(p.Weekday(o.WeekDay)),
                        p.Date(o.Eve) + " (" + p.Isolated(p.Weekday(o.EveWeekDay)) + ")"});
    std::string text = "Observances of the Hijri year " + p.Number(year) + " (" +
                       std::string(calendar) + ")\n" + AlignedColumns(rows);
    return text + "Each begins at sunset on its eve: the Hijri day begins at sunset.\n";
}
