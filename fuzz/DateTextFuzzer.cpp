// The date texts of dates-convert's command line: ParseDate and ParseMonth either
// return numbers or raise EUsageError; what they accept formats back to a text
// they read as the same numbers, also written in the Arabic digits; the batch
// mode's allocation-free reader accepts exactly what ParseDate accepts (in any
// digits, marks among them); RequireCivilDate raises exactly when IsCivilDate
// says no, and only EUsageError.
#include "tools/BatchConvert.h"
#include "tools/DateText.h"
#include "tools/Digits.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void DateRoundTrip(std::string_view text)
{
    DateParts date, quick;
    const bool quickAccepts = ParseDateQuietly(text, quick);
    try {
        date = ParseDate(text);
    } catch (const EUsageError&) {
        Check(!quickAccepts);
        return;
    }
    Check(quickAccepts && quick == date);
    Check(ParseDate(FormatDate(date)) == date);
    for (const DigitSet set : {DigitSet::dsArabic, DigitSet::dsEasternArabic})
        Check(ParseDate(InDigits(FormatDate(date), set)) == date);
    bool exists = true;
    try {
        RequireCivilDate(date);
    } catch (const EUsageError&) {
        exists = false;
    }
    Check(exists == IsCivilDate(date));
}

void MonthRoundTrip(std::string_view text)
{
    DateParts month;
    try {
        month = ParseMonth(text);
    } catch (const EUsageError&) {
        return;
    }
    Check(month.Day == 0);
    Check(ParseMonth(FormatMonth(month.Year, month.Month)) == month);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DateRoundTrip(text);
    MonthRoundTrip(text);
    return 0;
}
