// GregorianToHijri and HijriToGregorian over any (day, month, year): each call
// returns a date in range or raises ERangeError with the outputs untouched.
// Anything else (another exception, a sanitizer report, a hang) is a fault.
#include "calendar/conver2.h"
#include "framework/runtime/sysutils.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using EntryPoint = void (*)(std::int32_t, std::int32_t, std::int32_t, std::int32_t&,
                            std::int32_t&, std::int32_t&, std::int32_t&);

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The result is a civil date in the accepted years, or a Hijri date whose month
// lies within the accepted lunations.
void CheckYear(bool hijriResult, std::int32_t year, std::int32_t month)
{
    Check(year != 0);
    if (!hijriResult) {
        Check(year >= MinYear && year <= MaxYear);
        return;
    }
    const std::int32_t lunation = HijriMonthLunation(year, month);
    Check(lunation >= MinLunation && lunation <= MaxLunation);
}

void RunEntry(EntryPoint entry, bool hijriResult, std::int32_t day, std::int32_t month,
              std::int32_t year)
{
    constexpr std::int32_t untouched = 0x5A5A5A5A;
    std::int32_t outDay = untouched, outMonth = untouched, outYear = untouched,
                 outWeekDay = untouched;
    try {
        entry(day, month, year, outDay, outMonth, outYear, outWeekDay);
    } catch (const ERangeError&) {
        Check(outDay == untouched && outMonth == untouched && outYear == untouched &&
              outWeekDay == untouched);
        return;
    }
    Check(outMonth >= 1 && outMonth <= 12);
    Check(outWeekDay >= 0 && outWeekDay <= 6);
    CheckYear(hijriResult, outYear, outMonth);
    Check(outDay >= 1);
    Check(outDay == EngineResult.Day && outMonth == EngineResult.Month &&
          outYear == EngineResult.Year && outWeekDay == EngineResult.WeekDay);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 12)
        return -1;  // not a triple: keep it out of the corpus
    std::int32_t numbers[3];
    std::memcpy(numbers, data, sizeof numbers);
    RunEntry(&GregorianToHijri, true, numbers[0], numbers[1], numbers[2]);
    RunEntry(&HijriToGregorian, false, numbers[0], numbers[1], numbers[2]);
    return 0;
}
