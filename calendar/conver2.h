// The calendar engine: Julian day numbers, new-moon instants and the conversion
// between civil and Hijri dates. Plain C++; depends on framework/sysutils only.
//
// Civil dates follow the Julian calendar before 15 October 1582 and the Gregorian
// calendar from that day on (4 October 1582 is followed by 15 October 1582). Both
// calendars count years without a year zero: -1 is the year before 1, and a year 0
// passed in is taken as -1. A Hijri month is one lunation; lunation 1048 is
// Muharram 1405 and twelve lunations make a Hijri year.
//
// The arithmetic runs in 80-bit extended precision (long double on x86-64) and
// rounds the named intermediates to double, so results are reproducible to the bit.
//
// Range
// - Accepted: the civil years MinYear to MaxYear (about a million years either
//   way) and the Hijri dates that fall within them. An input outside that, a civil
//   month outside 1..12, a day below 1, or a day count that runs past the last
//   year raises ERangeError naming the date. Nothing is undefined and nothing
//   loops unbounded.
// - Exact: for every civil date from 1 January -9999 to 31 December 9999, civil ->
//   Julian day -> civil and civil -> Hijri -> civil return the same date and
//   weekday, every Hijri day lies in 1..30 and every Hijri month has 29 or 30 days
//   (checked day by day by the tests). Further out the new-moon series is an
//   extrapolation far beyond its fitted era: round trips still hold (sampled by the
//   tests up to MinYear and MaxYear), but month lengths drift outside 29..30.
#pragma once

#include <array>
#include <cstdint>

// A date of either calendar with its weekday, as the engine returns it.
struct CalendarDate {
    std::int32_t Day = 0;
    std::int32_t Month = 0;    // 1..12
    std::int32_t Year = 0;     // no year zero, negative before year 1
    std::int32_t WeekDay = 0;  // 0 Sunday .. 6 Saturday
    double DayFraction = 0;    // of the day since midnight; a Hijri result carries 0.5
    double NewMoon = 0;        // the new moon opening the Hijri month; set by HijriToGregorianDate
};

// pi/180 as the double nearest to it; constant from load time on.
extern const double DegToRad;

// The one result record behind GregorianToHijri and HijriToGregorian; the last call
// overwrites it (NewMoon keeps the value of the last Hijri-to-civil conversion).
extern CalendarDate EngineResult;

// Civil years the engine accepts.
inline constexpr std::int32_t MinYear = -1'000'000;
inline constexpr std::int32_t MaxYear = 1'000'000;
// Julian days of the midnight starting 1 January MinYear and of the midnight
// ending 31 December MaxYear.
inline constexpr double MinJulianDay = -363'528'576.5;
inline constexpr double MaxJulianDay = 366'963'925.5;
// Lunations of the Hijri months holding those two days (Thul-Hujja -1031728 and
// Muharram 1030550); a Hijri date is accepted when its month lies between them.
inline constexpr std::int32_t MinLunation = -12'396'525;
inline constexpr std::int32_t MaxLunation = 12'350'788;

// The Julian day of an instant of a civil date. Month 1..12; a day beyond the
// month's length counts on into the next month (31 February 2001 is 3 March), and
// 5..14 October 1582 are read as Julian-calendar dates. dayFraction is the part of
// the day since midnight, 0 <= dayFraction < 1.
double DateToJulianDay(std::int32_t year, std::int32_t month, std::int32_t day,
                       double dayFraction = 0);

// Fills Day, Month, Year, WeekDay and DayFraction of result for the instant jd,
// MinJulianDay <= jd < MaxJulianDay (before -0.5 the Julian calendar runs on
// backwards). NewMoon is left as it was.
void JulianDayToDate(CalendarDate& result, double jd);

// The instant (Julian day, UT) of a principal phase of lunation k: phase 0 new
// moon, 1 first quarter, 2 full moon, 3 last quarter. Lunation 0 is the new moon
// of 6 January 1900. Another phase number writes "tmoonphase: illegal phase number"
// to standard output (EInOutError when that write fails) and returns NaN.
double tmoonphase(std::int32_t k, std::int32_t phase);

// The month-start rule alone: the instant from which the days of the Hijri month
// that opens with a new moon at newMoon are counted (newMoon itself or a day later).
double MonthStartFromNewMoon(double newMoon);

// Stores the new moon of lunation k in newMoon and returns the instant from which
// the days of the Hijri month it opens are counted: day 1 is the first civil day
// whose starting midnight (UT) is at or after it. A new moon from 00:00 to 03:00 UT
// opens the month on the next civil day, one at any other hour on the day after.
double MonthStartInstant(std::int32_t k, double& newMoon);

// The first guess of the lunation holding a civil date, from the mean length of
// the year in lunations. From years 1 to 3000 it is never below the lunation
// sought and at most two above it.
std::int32_t LunationEstimate(std::int32_t year, std::int32_t month, std::int32_t day);

// The lunation of a Hijri month: twelve per year, lunation 1048 being Muharram
// 1405. A month outside 1..12 runs into the neighbouring years. ERangeError
// outside MinLunation..MaxLunation.
std::int32_t HijriMonthLunation(std::int32_t year, std::int32_t month);

// Civil (year, month, day) to Hijri, with the civil date's weekday and
// DayFraction 0.5; NewMoon is left as it was.
void GregorianToHijriDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result);

// Hijri (year, month, day) to civil, with the weekday and the month's new moon in
// NewMoon. A month outside 1..12 runs into the neighbouring years (month 13 of
// 1420 is Muharram 1421); a day beyond the month's length counts on into the next.
void HijriToGregorianDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result);

// The month-start instants (and new moons) of the lunations asked for lately, for
// a caller that converts many dates: a direct-mapped table, so a run of dates
// from a few centuries evaluates each month's new moon about once. Allocates
// nothing after construction; one per thread.
class MonthStartCache {
public:
    // MonthStartInstant(k, newMoon), remembered.
    double StartOf(std::int32_t k, double& newMoon);

private:
    struct Entry {
        std::int32_t Lunation = 0;
        bool Filled = false;
        double Start = 0;
        double NewMoon = 0;
    };
    static constexpr std::uint32_t Size = 4096;  // a power of two
    std::array<Entry, Size> Entries_{};
};

// GregorianToHijriDate and HijriToGregorianDate with the month starts taken from
// `cache`: the same search and arithmetic, so the same results and errors.
void GregorianToHijriDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result, MonthStartCache& cache);
void HijriToGregorianDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result, MonthStartCache& cache);

// The window's entry points: day, month, year in; day, month, year and weekday of
// the other calendar out, through EngineResult. Not reentrant. On an error the
// outputs and EngineResult are left untouched.
void GregorianToHijri(std::int32_t day, std::int32_t month, std::int32_t year,
                      std::int32_t& outDay, std::int32_t& outMonth, std::int32_t& outYear,
                      std::int32_t& outWeekDay);
void HijriToGregorian(std::int32_t day, std::int32_t month, std::int32_t year,
                      std::int32_t& outDay, std::int32_t& outMonth, std::int32_t& outYear,
                      std::int32_t& outWeekDay);
