#include "calendar/CalendarNames.h"

#include "framework/runtime/sysutils.h"

namespace {

template <std::size_t Size>
std::string_view NameAt(const std::array<std::string_view, Size>& table, std::int32_t index,
                        std::int32_t first, const char* what)
{
    if (index < first || index - first >= static_cast<std::int32_t>(Size))
        throw ERangeError(std::string("There is no ") + what + " " + IntToStr(index));
    return table[static_cast<std::size_t>(index - first)];
}

} // namespace

std::string_view DayName(std::int32_t weekDay)
{
    return NameAt(DayNameTable, weekDay, 0, "weekday");
}

std::string_view GMonthName(std::int32_t month)
{
    return NameAt(GMonthNameTable, month, 1, "Gregorian month");
}

std::string_view HMonthName(std::int32_t month)
{
    return NameAt(HMonthNameTable, month, 1, "Hijri month");
}

std::string ComposeCorrespondence(const CorrespondenceNames& names, std::int32_t weekDay,
                                  const CorrespondenceFields& fields)
{
    std::string line;
    line.append(names.Day(weekDay)).append(", ");
    line.append(fields.HijriDay).append(" ");
    line.append(names.HMonth(StrToInt(fields.HijriMonth))).append(" ");
    line.append(fields.HijriYear).append("  =  ");
    line.append(fields.GregorianDay).append(" ");
    line.append(names.GMonth(StrToInt(fields.GregorianMonth))).append(" ");
    line.append(fields.GregorianYear);
    return line;
}

std::string ComposeCorrespondence(std::int32_t weekDay, const CorrespondenceFields& fields)
{
    return ComposeCorrespondence({DayName, HMonthName, GMonthName}, weekDay, fields);
}
