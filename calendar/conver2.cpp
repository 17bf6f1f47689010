#include "calendar/conver2.h"

#include "calendar/LunationSearch.h"
#include "calendar/SineCosine.h"
#include "framework/runtime/sysutils.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

// Set at load time (constant initialisation), so no other module's start-up code
// can see it unset.
constinit const double DegToRad = std::bit_cast<double>(std::uint64_t{0x3F91DF46A2529D39});

constinit CalendarDate EngineResult{};

namespace {

using Extended = long double;

// Divisions of the date formulas, applied as multiplications by extended
// reciprocals. They truncate as the exact quotients do: the quotients never come
// within rounding distance of a whole number, except where the quotient is whole
// and the product then is exactly that number.
constexpr Extended InvGregorianCentury = 1.0L / 36524.25L;
constexpr Extended InvJulianYear = 1.0L / 365.25L;
constexpr Extended InvMonthFactor = 1.0L / 30.6001L;
constexpr Extended OneTwelfth = 1.0L / 12.0L;
constexpr Extended OneOver365 = 1.0L / 365.0L;
// Julian centuries of lunations: 1236.85 lunations make a Julian century.
constexpr Extended InvCenturyLunations = 1.0L / 1236.85L;
constexpr Extended InvMinutesPerDay = 1.0L / 1440.0L;

constexpr std::int32_t FirstGregorianDayNumber = 2299161;  // 15 October 1582
constexpr std::int32_t DaysPerJulianCycle = 1461;          // four Julian years
constexpr std::int32_t LunationOfMuharram1405 = 1048;
constexpr std::int32_t HijriEpochYear = 1405;
// lunation = 12 x year + month - HijriLunationOffset, the year counted astronomically.
constexpr std::int32_t HijriLunationOffset = 15813;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b)
{
    return a - FloorDiv(a, b) * b;
}

// No year zero outside, astronomical numbering (0 = the year before 1) inside.
std::int32_t AstronomicalYear(std::int32_t year)
{
    return year < 0 ? year + 1 : year;
}

std::int32_t NoZeroYear(std::int32_t year)
{
    return year <= 0 ? year - 1 : year;
}

std::string DateText(std::int32_t year, std::int32_t month, std::int32_t day)
{
    return "year " + IntToStr(year) + ", month " + IntToStr(month) + ", day " + IntToStr(day);
}

std::string YearRangeText()
{
    return "the civil years " + IntToStr(MinYear) + " to " + IntToStr(MaxYear) +
           " that the calendar engine covers";
}

// ---------------------------------------------------------------------------
// The lunar series

// Arguments of the periodic terms, from M (the Sun's mean anomaly), M1 (the
// Moon's mean anomaly) and F2 (twice the Moon's argument of latitude).
enum SeriesArgument {
    argM, arg2M, argM1, arg2M1, arg3M1, argF2, argMplusM1, argMminusM1, argF2plusM,
    argF2minusM, argF2plusM1, argF2minusM1, argMplus2M1, argMminus2M1, arg2MplusM1,
    SeriesArgumentCount
};

struct PeriodicTerm {
    SeriesArgument Argument;
    Extended NewOrFull;         // coefficient (days) for the new and the full moon
    Extended NewOrFullPerT;     // its change per Julian century
    Extended Quarter;           // coefficient for the first and the last quarter
    Extended QuarterPerT;
};

// In the order of summation; a zero coefficient marks a term the phase lacks.
constexpr std::array<PeriodicTerm, 15> PeriodicTerms{{
    {argM, 0.1734L, -0.000393L, 0.1721L, -0.0004L},
    {arg2M, 0.0021L, 0, 0.0021L, 0},
    {argM1, -0.4068L, 0, -0.6280L, 0},
    {arg2M1, 0.0161L, 0, 0.0089L, 0},
    {arg3M1, -0.0004L, 0, -0.0004L, 0},
    {argF2, 0.0104L, 0, 0.0079L, 0},
    {argMplusM1, -0.0051L, 0, -0.0119L, 0},
    {argMminusM1, -0.0074L, 0, -0.0047L, 0},
    {argF2plusM, 0.0004L, 0, 0.0003L, 0},
    {argF2minusM, -0.0004L, 0, -0.0004L, 0},
    {argF2plusM1, -0.0006L, 0, -0.0006L, 0},
    {argF2minusM1, 0.0010L, 0, 0.0021L, 0},
    {argMplus2M1, 0.0005L, 0, 0.0003L, 0},
    {argMminus2M1, 0, 0, 0.0004L, 0},
    {arg2MplusM1, 0, 0, -0.0003L, 0},
}};

// Largest absolute sum of the new-moon terms other than the first, whose
// coefficient changes with time.
constexpr Extended NewMoonTermsBound = [] {
    Extended sum = 0;
    for (std::size_t i = 1; i < PeriodicTerms.size(); ++i)
        sum += PeriodicTerms[i].NewOrFull < 0 ? -PeriodicTerms[i].NewOrFull
                                              : PeriodicTerms[i].NewOrFull;
    return sum;
}();

// Time of a (possibly fractional) lunation, in the powers the series use.
struct LunationTime {
    double T;   // Julian centuries from 1900 January 0.5
    double T2;
    double T3;
};

LunationTime TimeOfLunation(double kk)
{
    const double T = static_cast<double>(kk * InvCenturyLunations);
    const double T2 = static_cast<double>(static_cast<Extended>(T) * T);
    const double T3 = static_cast<double>(static_cast<Extended>(T2) * T);
    return {T, T2, T3};
}

// The mean phase without its small periodic term.
Extended MeanPhasePolynomial(double kk, const LunationTime& t)
{
    return 2415020.75933L + 29.53058868L * kk + 0.0001178L * t.T2 - 0.000000155L * t.T3;
}

// Ephemeris Time minus Universal Time, in days.
Extended DeltaTDays(const LunationTime& t)
{
    return (0.41L + 1.2053L * t.T + 0.4992L * t.T2) * InvMinutesPerDay;
}

// The sines of every series argument, from one sine/cosine pair of each base
// angle by the angle-sum identities. The arguments are exact sums of the doubles
// M, M1 and F2 in extended precision, so the identities give the sines of the very
// arguments a direct evaluation would take.
struct SeriesSines {
    std::array<Extended, SeriesArgumentCount> Sin;
    Extended CosM;
    Extended CosM1;
};

SeriesSines SinesOf(double M, double M1, double F2)
{
    const SineCosine m = SinCos(M);
    const SineCosine m1 = SinCos(M1);
    const SineCosine f = SinCos(F2);
    const Extended sin2M = 2 * m.Sin * m.Cos;
    const Extended cos2M = (m.Cos - m.Sin) * (m.Cos + m.Sin);
    const Extended sin2M1 = 2 * m1.Sin * m1.Cos;
    const Extended cos2M1 = (m1.Cos - m1.Sin) * (m1.Cos + m1.Sin);

    SeriesSines s{};
    s.Sin[argM] = m.Sin;
    s.Sin[arg2M] = sin2M;
    s.Sin[argM1] = m1.Sin;
    s.Sin[arg2M1] = sin2M1;
    s.Sin[arg3M1] = sin2M1 * m1.Cos + cos2M1 * m1.Sin;
    s.Sin[argF2] = f.Sin;
    s.Sin[argMplusM1] = m.Sin * m1.Cos + m.Cos * m1.Sin;
    s.Sin[argMminusM1] = m.Sin * m1.Cos - m.Cos * m1.Sin;
    s.Sin[argF2plusM] = f.Sin * m.Cos + f.Cos * m.Sin;
    s.Sin[argF2minusM] = f.Sin * m.Cos - f.Cos * m.Sin;
    s.Sin[argF2plusM1] = f.Sin * m1.Cos + f.Cos * m1.Sin;
    s.Sin[argF2minusM1] = f.Sin * m1.Cos - f.Cos * m1.Sin;
    s.Sin[argMplus2M1] = m.Sin * cos2M1 + m.Cos * sin2M1;
    s.Sin[argMminus2M1] = m.Sin * cos2M1 - m.Cos * sin2M1;
    s.Sin[arg2MplusM1] = sin2M * m1.Cos + cos2M * m1.Sin;
    s.CosM = m.Cos;
    s.CosM1 = m1.Cos;
    return s;
}

// The sum of the periodic terms in the table's order, unrolled at compile time
// for one column of the table.
template <bool Quarter, std::size_t... Row>
Extended PeriodicSumOfRows(const SeriesSines& sines, double T, std::index_sequence<Row...>)
{
    Extended sum = 0;
    const auto addRow = [&]<std::size_t I>(std::integral_constant<std::size_t, I>) {
        constexpr PeriodicTerm term = PeriodicTerms[I];
        constexpr Extended coefficient = Quarter ? term.Quarter : term.NewOrFull;
        constexpr Extended perT = Quarter ? term.QuarterPerT : term.NewOrFullPerT;
        if constexpr (coefficient != 0) {
            if constexpr (perT != 0)
                sum += (coefficient + perT * T) * sines.Sin[term.Argument];
            else
                sum += coefficient * sines.Sin[term.Argument];
        }
    };
    (addRow(std::integral_constant<std::size_t, Row>{}), ...);
    return sum;
}

template <bool Quarter>
Extended PeriodicSum(const SeriesSines& sines, double T)
{
    return PeriodicSumOfRows<Quarter>(sines, T, std::make_index_sequence<PeriodicTerms.size()>{});
}

void ReportIllegalPhase()
{
    if (std::fputs("tmoonphase: illegal phase number\n", stdout) == EOF ||
        std::fflush(stdout) == EOF) {
        const int error = errno;
        std::clearerr(stdout);
        throw EInOutError("tmoonphase: cannot write to standard output: " +
                          std::string(std::strerror(error)));
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Julian days

double DateToJulianDay(std::int32_t year, std::int32_t month, std::int32_t day, double dayFraction)
{
    if (year < MinYear || year > MaxYear || month < 1 || month > 12 || day < 1 ||
        !(dayFraction >= 0 && dayFraction < 1))
        throw ERangeError("The civil date " + DateText(year, month, day) + " lies outside " +
                          YearRangeText());
    const std::int32_t astronomicalYear = AstronomicalYear(year);
    // January and February count as months 13 and 14 of the year before.
    const std::int32_t y = month > 2 ? astronomicalYear : astronomicalYear - 1;
    const std::int32_t m = month > 2 ? month : month + 12;
    Extended a = 365.25L * y;
    if (y < 1)
        a -= 0.75L;  // Trunc then gives floor(365.25 y) for y <= 0 as well
    const std::int32_t A = Trunc(a);
    // 30.6001, not 30.6: the product must stay clear of the whole number it truncates to.
    const std::int32_t B = Trunc(30.6001L * (m + 1));
    Extended jd = (dayFraction + static_cast<Extended>(std::int64_t{A} + B + day)) + 1720994.5L;
    // Dates from 15 October 1582 on are Gregorian: drop the century leap days.
    const Extended switchValue =
        static_cast<Extended>(std::int64_t{astronomicalYear} * 10000 + std::int64_t{month} * 100 + day) +
        dayFraction;
    if (switchValue >= 15821015.0L) {
        const std::int32_t C = y / 100;
        const std::int32_t D = C / 4;
        jd = D + ((jd + 2) - C);
    }
    const double result = static_cast<double>(jd);
    if (!(result < MaxJulianDay))
        throw ERangeError("The civil date " + DateText(year, month, day) + " lies outside " +
                          YearRangeText());
    return result;
}

void JulianDayToDate(CalendarDate& result, double jd)
{
    if (!(jd >= MinJulianDay && jd < MaxJulianDay))
        throw ERangeError("The Julian day " + std::to_string(jd) + " lies outside " +
                          YearRangeText());
    const double z = jd + 0.5;
    // The formulas hold from the epoch (z = 0) on; an earlier day is moved forward
    // by whole four-year Julian cycles and the years are taken off again.
    const std::int32_t cycles = z < 0 ? Trunc(std::ceil(-z / DaysPerJulianCycle)) : 0;
    const double shifted = z + static_cast<double>(cycles) * DaysPerJulianCycle;
    const std::int32_t Z = Trunc(shifted);
    const double F = shifted - Z;
    std::int32_t A = Z;
    if (Z >= FirstGregorianDayNumber) {
        const std::int32_t alpha = Trunc((Z - 1867216.25L) * InvGregorianCentury);
        A = alpha + Z + 1 - alpha / 4;
    }
    const std::int32_t B = A + 1524;
    const std::int32_t C = Trunc((B - 122.1L) * InvJulianYear);
    const std::int32_t D = Trunc(365.25L * C);
    const std::int32_t E = Trunc(static_cast<Extended>(B - D) * InvMonthFactor);
    const double t = static_cast<double>(((B + static_cast<Extended>(F)) - D) - Trunc(30.6001L * E));
    result.Day = Trunc(t);
    result.DayFraction = t - result.Day;
    result.Month = E <= 13 ? E - 1 : E - 13;
    const std::int32_t year = (result.Month > 2 ? C - 4716 : C - 4715) - 4 * cycles;
    result.Year = NoZeroYear(year);
    // (day number + 1) mod 7, never negative: day number 0 was a Monday.
    const std::int64_t dayNumber = std::int64_t{Z} - std::int64_t{cycles} * DaysPerJulianCycle;
    result.WeekDay = static_cast<std::int32_t>(FloorMod(dayNumber + 1, 7));
}

// ---------------------------------------------------------------------------
// New moons

double tmoonphase(std::int32_t k, std::int32_t phase)
{
    if (phase < 0 || phase > 3) {
        ReportIllegalPhase();
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double kk = k + 0.25 * phase;
    const LunationTime t = TimeOfLunation(kk);
    const double T = t.T;
    const double T2 = t.T2;
    const double T3 = t.T3;

    // Mean phase.
    const Extended meanPeriodicAngle = (166.56L + 132.87L * T - 0.009173L * T2) * DegToRad;
    const double JD0 = static_cast<double>(MeanPhasePolynomial(kk, t) +
                                           0.00033L * SinCos(meanPeriodicAngle).Sin);
    // Mean anomalies of the Sun and the Moon and twice the Moon's argument of
    // latitude, in radians, not reduced to a turn.
    const double M =
        static_cast<double>((359.2242L + 29.10535608L * kk - 0.0000333L * T2 - 0.00000347L * T3) *
                            DegToRad);
    const double M1 = static_cast<double>(
        (306.0253L + 385.81691806L * kk + 0.0107306L * T2 + 0.00001236L * T3) * DegToRad);
    const double F2 = static_cast<double>(
        (21.2964L + 390.67050646L * kk - 0.0016528L * T2 - 0.00000239L * T3) *
        (static_cast<Extended>(DegToRad) * 2));

    const SeriesSines sines = SinesOf(M, M1, F2);
    const bool quarter = phase == 1 || phase == 3;
    const Extended sum = quarter ? PeriodicSum<true>(sines, T) : PeriodicSum<false>(sines, T);
    double C = static_cast<double>(sum);
    if (phase == 1)
        C = static_cast<double>(C + 0.0028L - 0.0004L * sines.CosM + 0.0003L * sines.CosM1);
    else if (phase == 3)
        C = static_cast<double>(C - 0.0028L + 0.0004L * sines.CosM - 0.0003L * sines.CosM1);

    return static_cast<double>((JD0 + static_cast<Extended>(C)) - DeltaTDays(t));
}

double EarliestMonthStart(std::int32_t k)
{
    // Plain double arithmetic suffices: the day of margin dwarfs its rounding.
    const double T = k / 1236.85;
    const double T2 = T * T;
    const double meanPhase = 2415020.75933 + 29.53058868 * k + 0.0001178 * T2 - 0.000000155 * T2 * T;
    const double deltaT = (0.41 + 1.2053 * T + 0.4992 * T2) / 1440;
    const double spread = 0.00033 + std::fabs(0.1734 - 0.000393 * T) +
                          static_cast<double>(NewMoonTermsBound) + 1;
    return meanPhase - deltaT - spread;
}

double MonthStartFromNewMoon(double N)
{
    // The fraction of the Julian day, which starts at noon: above 0.5 the new moon
    // falls between midnight and noon UT. Taken by floor, not by truncation: before
    // Julian day 0 (4713 BC) truncation gives a negative fraction, the early-hours
    // branch never fires and every month of those years would open a day late.
    const double f = N - std::floor(N);
    if (f > 0.5) {
        // Clock hour of the new moon at three hours ahead of UT.
        const double h = static_cast<double>((static_cast<Extended>(f) - 0.5L) * 24 + 3);
        if (h <= 6)
            return N;
    }
    return static_cast<double>(static_cast<Extended>(N) + 1);
}

double MonthStartInstant(std::int32_t k, double& newMoon)
{
    const double N = tmoonphase(k, 0);
    constexpr double IntRange = 2147483647.0;
    if (!(N > -IntRange && N < IntRange))
        throw ERangeError("The new moon of lunation " + IntToStr(k) +
                          " lies outside the range of Julian days the engine can count");
    newMoon = N;
    return MonthStartFromNewMoon(N);
}

// ---------------------------------------------------------------------------
// Hijri conversion

std::int32_t LunationEstimate(std::int32_t year, std::int32_t month, std::int32_t day)
{
    const Extended monthsElapsed = Trunc(month - 0.5L);
    const Extended years =
        ((monthsElapsed * OneTwelfth + AstronomicalYear(year)) + day * OneOver365) - 1900;
    return Trunc(years * 12.3685L + 0.6L);
}

double MonthStartCache::StartOf(std::int32_t k, double& newMoon)
{
    Entry& entry = Entries_[static_cast<std::uint32_t>(k) & (Size - 1)];
    if (!entry.Filled || entry.Lunation != k) {
        const double start = MonthStartInstant(k, newMoon);  // may raise; nothing stored then
        entry = {k, true, start, newMoon};
    }
    newMoon = entry.NewMoon;
    return entry.Start;
}

namespace {

// The two conversions over a month-start source: startOf(k, newMoon) returns
// MonthStartInstant(k, newMoon) or a remembered copy of it.
template <typename StartOf>
void GregorianToHijriFrom(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result, StartOf&& startOf)
{
    const double d = DateToJulianDay(year, month, day, 0);
    const auto monthStart = [&startOf](std::int32_t k) {
        double newMoon;
        return startOf(k, newMoon);
    };
    const LunationMatch match =
        FindLunation(d, LunationEstimate(year, month, day), monthStart, EarliestMonthStart);
    const std::int64_t offset = std::int64_t{match.Lunation} - LunationOfMuharram1405;
    result.Year = NoZeroYear(static_cast<std::int32_t>(HijriEpochYear + FloorDiv(offset, 12)));
    result.Month = static_cast<std::int32_t>(FloorMod(offset, 12) + 1);
    result.Day = Trunc((d - static_cast<Extended>(match.Start)) + 1);
    result.DayFraction = 0.5;
    // d + 1.5 is the Julian day number plus one; day number 0 is a Monday.
    result.WeekDay = static_cast<std::int32_t>(FloorMod(Trunc(d + 1.5L), 7));
}

// In 64 bits, so that no year or month can overflow it before the range check.
std::int64_t LunationOfHijriMonth(std::int32_t year, std::int32_t month)
{
    return std::int64_t{12} * AstronomicalYear(year) + month - HijriLunationOffset;
}

bool LunationInRange(std::int64_t lunation)
{
    return lunation >= MinLunation && lunation <= MaxLunation;
}

} // namespace

std::int32_t HijriMonthLunation(std::int32_t year, std::int32_t month)
{
    const std::int64_t lunation = LunationOfHijriMonth(year, month);
    if (!LunationInRange(lunation))
        throw ERangeError("The Hijri month " + IntToStr(month) + " of the year " + IntToStr(year) +
                          " lies outside " + YearRangeText());
    return static_cast<std::int32_t>(lunation);
}

namespace {

template <typename StartOf>
void HijriToGregorianFrom(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result, StartOf&& startOf)
{
    const auto outOfRange = [&] {
        return ERangeError("The Hijri date " + DateText(year, month, day) + " lies outside " +
                           YearRangeText());
    };
    const std::int64_t lunation = LunationOfHijriMonth(year, month);
    if (day < 1 || !LunationInRange(lunation))
        throw outOfRange();
    double newMoon;
    const double start = startOf(static_cast<std::int32_t>(lunation), newMoon);
    const double jd = static_cast<double>(static_cast<Extended>(start) + day);
    if (!(jd >= MinJulianDay && jd < MaxJulianDay))
        throw outOfRange();
    JulianDayToDate(result, jd);
    result.NewMoon = newMoon;
}

} // namespace

void GregorianToHijriDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result)
{
    GregorianToHijriFrom(year, month, day, result, MonthStartInstant);
}

void GregorianToHijriDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result, MonthStartCache& cache)
{
    GregorianToHijriFrom(year, month, day, result,
                         [&cache](std::int32_t k, double& newMoon) { return cache.StartOf(k, newMoon); });
}

void HijriToGregorianDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result)
{
    HijriToGregorianFrom(year, month, day, result, MonthStartInstant);
}

void HijriToGregorianDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          CalendarDate& result, MonthStartCache& cache)
{
    HijriToGregorianFrom(year, month, day, result,
                         [&cache](std::int32_t k, double& newMoon) { return cache.StartOf(k, newMoon); });
}

namespace {

// The entry points convert into a copy of EngineResult and store it only when
// the conversion succeeded, so an error leaves the record and the outputs as they were.
void ConvertThroughEngineResult(void (*convert)(std::int32_t, std::int32_t, std::int32_t, CalendarDate&),
                                std::int32_t day, std::int32_t month, std::int32_t year, std::int32_t& outDay,
                                std::int32_t& outMonth, std::int32_t& outYear, std::int32_t& outWeekDay)
{
    CalendarDate result = EngineResult;
    convert(year, month, day, result);
    EngineResult = result;
    outDay = result.Day;
    outMonth = result.Month;
    outYear = result.Year;
    outWeekDay = result.WeekDay;
}

}  // namespace

void GregorianToHijri(std::int32_t day, std::int32_t month, std::int32_t year,
                      std::int32_t& outDay, std::int32_t& outMonth, std::int32_t& outYear,
                      std::int32_t& outWeekDay)
{
    ConvertThroughEngineResult(GregorianToHijriDate, day, month, year, outDay, outMonth, outYear, outWeekDay);
}

void HijriToGregorian(std::int32_t day, std::int32_t month, std::int32_t year,
                      std::int32_t& outDay, std::int32_t& outMonth, std::int32_t& outYear,
                      std::int32_t& outWeekDay)
{
    ConvertThroughEngineResult(HijriToGregorianDate, day, month, year, outDay, outMonth, outYear, outWeekDay);
}
