// The corrections file's reader: any text is either refused with the one
// ECorrectionsError naming its line, or accepted; what it accepts, written back
// line for line, reads as the same corrections, and every month next to a
// corrected first day then has 29 or 30 days.
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Corrections.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The accepted lines at their own line numbers, blank lines between.
std::string WrittenBack(const Corrections& corrections)
{
    std::string text;
    std::int32_t line = 1;
    for (const CorrectionLine& c : corrections.Lines) {
        for (; line < c.Line; ++line)
            text += "\n";
        const std::string firstOfMonth = IsoDateText(c.Year, c.Month, 1);  // YYYY-MM-01
        text += c.Calendar + " " + firstOfMonth.substr(0, firstOfMonth.size() - 3) + " " +
                IsoDateText(c.CivilYear, c.CivilMonth, c.CivilDay) + "\n";
        ++line;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Corrections corrections;
    try {
        corrections = ParseCorrections(text, "fuzz");
    } catch (const ECorrectionsError& e) {
        Check(e.Message().rfind("fuzz:", 0) == 0);
        return 0;
    }
    const Corrections again = ParseCorrections(WrittenBack(corrections), "fuzz");
    Check(again.Lines == corrections.Lines);
    for (const CalendarEntry& entry : RegisteredCalendars()) {
        const auto calendar = MakeCorrectedCalendar(entry, corrections);
        CalendarConverter converter(*calendar);
        for (const CorrectionLine& c : corrections.Lines) {
            if (c.Calendar != entry.Name)
                continue;
            const auto month = static_cast<std::int32_t>(MonthIndexOf(c.Year, c.Month));
            Check(converter.StartOf(month).FirstDay == CivilDayNumber(c.CivilYear, c.CivilMonth, c.CivilDay));
            Check(converter.StartOf(month).Source == MonthSource::msCorrection);
            for (const std::int32_t m : {month - 1, month})
                if (converter.Covers(m)) {
                    const std::int32_t length = converter.MonthLength(m);
                    Check(length == 29 || length == 30);
                }
        }
    }
    return 0;
}
