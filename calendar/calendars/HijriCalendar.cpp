#include "calendar/calendars/HijriCalendar.h"

#include "calendar/calendars/FloorDivision.h"

namespace {

// Muharram 1405 opens lunation 1048; the year before 1 is -1.
constexpr std::int64_t MuharramIndex1405 = 1048;
constexpr std::int64_t Year1405 = 1405;

} // namespace

std::string_view SourceName(MonthSource source)
{
    switch (source) {
    case MonthSource::msRule:
        return "rule";
    case MonthSource::msTable:
        return "table";
    case MonthSource::msCorrection:
        return "correction";
    }
    return "rule";
}

HijriMonth MonthOfIndex(std::int64_t index)
{
    const std::int64_t offset = index - MuharramIndex1405;
    const std::int64_t astronomical = Year1405 + FloorDiv(offset, 12);
    const std::int64_t year = astronomical <= 0 ? astronomical - 1 : astronomical;
    return {static_cast<std::int32_t>(year), static_cast<std::int32_t>(FloorMod(offset, 12) + 1)};
}
