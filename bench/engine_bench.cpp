// The calendar engine against ICU's Islamic calendars, conversions per call.
//
// Every benchmark walks the same spread of 4096 days, evenly spaced over the
// civil years 1900 to 2150 (1317 to 1575 AH, inside the Umm al-Qura table, so
// each ICU calendar runs its own rules). ICU gets its native input, an instant,
// and one reused calendar, warmed by a first pass over the spread; the engine
// caches nothing. Run by hand, e.g.
//   build/release/bench/engine_bench --benchmark_repetitions=3
#include "calendar/conver2.h"

#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double UnixEpochJulianDay = 2440587.5;
constexpr double MillisecondsPerDay = 86400000.0;

struct Day {
    CalendarDate Civil;
    CalendarDate Hijri;
    UDate Instant;  // its midnight UT, for ICU
};

const std::vector<Day>& Spread()
{
    static const std::vector<Day> days = [] {
        std::vector<Day> result;
        const double first = DateToJulianDay(1900, 1, 1);
        const double last = DateToJulianDay(2150, 12, 31);
        constexpr int Count = 4096;
        for (int i = 0; i < Count; ++i) {
            const double jd = first + std::floor((last - first) * i / Count);
            Day day;
            JulianDayToDate(day.Civil, jd);
            GregorianToHijriDate(day.Civil.Year, day.Civil.Month, day.Civil.Day, day.Hijri);
            day.Instant = (jd - UnixEpochJulianDay) * MillisecondsPerDay;
            result.push_back(day);
        }
        return result;
    }();
    return days;
}

std::unique_ptr<icu::Calendar> OpenCalendar(const char* locale)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), icu::Locale(locale), status));
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("ICU calendar ") + locale + ": " + u_errorName(status));
    return calendar;
}

void BM_GregorianToHijri(benchmark::State& state)
{
    const std::vector<Day>& days = Spread();
    std::size_t i = 0;
    for (auto _ : state) {
        const CalendarDate& civil = days[i++ & 4095].Civil;
        std::int32_t day, month, year, weekDay;
        GregorianToHijri(civil.Day, civil.Month, civil.Year, day, month, year, weekDay);
        benchmark::DoNotOptimize(day + month + year + weekDay);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GregorianToHijri);

void BM_HijriToGregorian(benchmark::State& state)
{
    const std::vector<Day>& days = Spread();
    std::size_t i = 0;
    for (auto _ : state) {
        const CalendarDate& hijri = days[i++ & 4095].Hijri;
        std::int32_t day, month, year, weekDay;
        HijriToGregorian(hijri.Day, hijri.Month, hijri.Year, day, month, year, weekDay);
        benchmark::DoNotOptimize(day + month + year + weekDay);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HijriToGregorian);

// Civil instant to Hijri day, month, year and weekday.
void BM_IcuCivilToHijri(benchmark::State& state, const char* locale)
{
    const std::vector<Day>& days = Spread();
    const std::unique_ptr<icu::Calendar> calendar = OpenCalendar(locale);
    UErrorCode status = U_ZERO_ERROR;
    const auto convert = [&](const Day& d) {
        calendar->setTime(d.Instant, status);
        return calendar->get(UCAL_DATE, status) + calendar->get(UCAL_MONTH, status) +
               calendar->get(UCAL_EXTENDED_YEAR, status) + calendar->get(UCAL_DAY_OF_WEEK, status);
    };
    for (const Day& d : days)  // warm ICU's caches of month starts
        benchmark::DoNotOptimize(convert(d));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(convert(days[i++ & 4095]));
    if (U_FAILURE(status))
        state.SkipWithError(u_errorName(status));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_IcuCivilToHijri, islamic, "@calendar=islamic");
BENCHMARK_CAPTURE(BM_IcuCivilToHijri, islamic_umalqura, "@calendar=islamic-umalqura");
BENCHMARK_CAPTURE(BM_IcuCivilToHijri, islamic_civil, "@calendar=islamic-civil");

// Hijri day, month, year to the civil day, month, year and weekday (read from a
// reused Gregorian calendar, as the engine returns them).
void BM_IcuHijriToCivil(benchmark::State& state, const char* locale)
{
    const std::vector<Day>& days = Spread();
    const std::unique_ptr<icu::Calendar> calendar = OpenCalendar(locale);
    const std::unique_ptr<icu::Calendar> gregorian = OpenCalendar("@calendar=gregorian");
    UErrorCode status = U_ZERO_ERROR;
    const auto convert = [&](const Day& d) {
        calendar->clear();
        calendar->set(d.Hijri.Year, d.Hijri.Month - 1, d.Hijri.Day);
        gregorian->setTime(calendar->getTime(status), status);
        return gregorian->get(UCAL_DATE, status) + gregorian->get(UCAL_MONTH, status) +
               gregorian->get(UCAL_EXTENDED_YEAR, status) +
               gregorian->get(UCAL_DAY_OF_WEEK, status);
    };
    for (const Day& d : days)
        benchmark::DoNotOptimize(convert(d));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(convert(days[i++ & 4095]));
    if (U_FAILURE(status))
        state.SkipWithError(u_errorName(status));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_IcuHijriToCivil, islamic, "@calendar=islamic");
BENCHMARK_CAPTURE(BM_IcuHijriToCivil, islamic_umalqura, "@calendar=islamic-umalqura");
BENCHMARK_CAPTURE(BM_IcuHijriToCivil, islamic_civil, "@calendar=islamic-civil");

// Every day of the years 1 to 3000: civil to Hijri and back.
void BM_RoundTripSweep(benchmark::State& state)
{
    const double first = DateToJulianDay(1, 1, 1);
    const double last = DateToJulianDay(3000, 12, 31);
    std::int64_t mismatches = 0;
    for (auto _ : state) {
        for (double jd = first; jd <= last; jd += 1) {
            CalendarDate civil, hijri, back;
            JulianDayToDate(civil, jd);
            GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri);
            HijriToGregorianDate(hijri.Year, hijri.Month, hijri.Day, back);
            mismatches += back.Day != civil.Day || back.Month != civil.Month ||
                          back.Year != civil.Year;
        }
    }
    if (mismatches != 0)
        state.SkipWithError("a date did not round-trip");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(last - first + 1));
}
BENCHMARK(BM_RoundTripSweep)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

BENCHMARK_MAIN();
