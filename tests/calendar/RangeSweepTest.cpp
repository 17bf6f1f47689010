// Properties over whole ranges, day by day: every civil date round-trips through
// its Julian day and through the Hijri calendar with its weekday, Hijri days run
// on without gaps in months of 29 or 30 days, and the lunation search keeps its
// promises. Beyond the swept years, random days check the same round trips.
#include "calendar/LunationSearch.h"
#include "calendar/conver2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>

namespace {

struct Date {
    int Year, Month, Day;
    bool operator==(const Date&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Date& d)
{
    return out << d.Year << "-" << d.Month << "-" << d.Day;
}

int Astronomical(int year)
{
    return year < 0 ? year + 1 : year;
}

int NextYear(int year)
{
    return year == -1 ? 1 : year + 1;
}

// The civil calendar written out independently of the Julian-day formulas:
// Julian leap years before the reform, Gregorian ones after, and 4 October 1582
// followed by 15 October.
Date NextCivilDay(const Date& d)
{
    if (d == Date{1582, 10, 4})
        return {1582, 10, 15};
    const int y = Astronomical(d.Year);
    const bool gregorian = d.Year > 1582;
    const bool leap = y % 4 == 0 && (!gregorian || y % 100 != 0 || y % 400 == 0);
    const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.Day < lengths[d.Month - 1])
        return {d.Year, d.Month, d.Day + 1};
    if (d.Month < 12)
        return {d.Year, d.Month + 1, 1};
    return {NextYear(d.Year), 1, 1};
}

int LunationOf(const CalendarDate& hijri)
{
    return 12 * Astronomical(hijri.Year) + hijri.Month - 15813;
}

int FloorMod7(double value)
{
    const long n = std::lround(std::floor(value));
    return static_cast<int>(((n % 7) + 7) % 7);
}

// Counts failures and keeps the first few, so one broken rule does not flood the log.
class Findings {
public:
    void Add(const std::string& what)
    {
        if (count_++ < 10)
            first_ << what << "\n";
    }
    long Count() const { return count_; }
    std::string First() const { return first_.str(); }

private:
    long count_ = 0;
    std::ostringstream first_;
};

struct YearRange {
    int First, Last;
    bool EstimateWithinTwoAbove;  // promised from years 1 to 3000
};

// Test listings show the range, not the struct's bytes.
void PrintTo(const YearRange& range, std::ostream* out)
{
    *out << range.First << ".." << range.Last;
}

class DayByDay : public testing::TestWithParam<YearRange> {};

TEST_P(DayByDay, EveryDateRoundTripsAndEveryMonthHas29Or30Days)
{
    const YearRange range = GetParam();
    Findings findings;
    Date civil{range.First, 1, 1};
    const Date last{range.Last, 12, 31};
    double jd = DateToJulianDay(civil.Year, civil.Month, civil.Day);
    CalendarDate previousHijri{};
    bool havePrevious = false;
    int lowestEstimate = 1 << 30, highestEstimate = -(1 << 30);

    for (;; jd += 1) {
        const auto at = [&civil] {
            std::ostringstream text;
            text << civil << ": ";
            return text;
        };

        if (DateToJulianDay(civil.Year, civil.Month, civil.Day) != jd)
            findings.Add(at().str() + "Julian day");
        CalendarDate fromJulianDay;
        JulianDayToDate(fromJulianDay, jd);
        if (Date{fromJulianDay.Year, fromJulianDay.Month, fromJulianDay.Day} != civil ||
            fromJulianDay.DayFraction != 0)
            findings.Add(at().str() + "date of the Julian day");
        const int weekDay = FloorMod7(jd + 1.5);
        if (fromJulianDay.WeekDay != weekDay)
            findings.Add(at().str() + "weekday of the Julian day");

        CalendarDate hijri;
        GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri);
        if (hijri.WeekDay != weekDay)
            findings.Add(at().str() + "weekday of the Hijri conversion");
        if (hijri.Day < 1 || hijri.Day > 30)
            findings.Add(at().str() + "Hijri day " + std::to_string(hijri.Day));
        if (havePrevious) {
            const bool sameMonth = hijri.Year == previousHijri.Year &&
                                   hijri.Month == previousHijri.Month &&
                                   hijri.Day == previousHijri.Day + 1;
            const bool nextMonth = hijri.Day == 1 && previousHijri.Day >= 29 &&
                                   LunationOf(hijri) == LunationOf(previousHijri) + 1;
            if (!sameMonth && !nextMonth)
                findings.Add(at().str() + "Hijri day does not follow the day before");
        }

        CalendarDate back;
        HijriToGregorianDate(hijri.Year, hijri.Month, hijri.Day, back);
        if (Date{back.Year, back.Month, back.Day} != civil || back.WeekDay != weekDay)
            findings.Add(at().str() + "Hijri round trip");

        const int above = LunationEstimate(civil.Year, civil.Month, civil.Day) - LunationOf(hijri);
        lowestEstimate = std::min(lowestEstimate, above);
        highestEstimate = std::max(highestEstimate, above);

        if (civil == last)
            break;
        previousHijri = hijri;
        havePrevious = true;
        civil = NextCivilDay(civil);
    }

    EXPECT_EQ(findings.Count(), 0) << findings.First();
    RecordProperty("estimate_above", std::to_string(lowestEstimate) + ".." +
                                         std::to_string(highestEstimate));
    if (range.EstimateWithinTwoAbove) {
        EXPECT_GE(lowestEstimate, 0);
        EXPECT_LE(highestEstimate, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Years, DayByDay,
                         testing::Values(YearRange{1, 3000, true}, YearRange{-9999, -1, false},
                                         YearRange{3001, 9999, false}),
                         [](const testing::TestParamInfo<YearRange>& info) {
                             const auto name = [](int y) {
                                 return (y < 0 ? "minus" : "") + std::to_string(std::abs(y));
                             };
                             return name(info.param.First) + "_to_" + name(info.param.Last);
                         });

double CountingMonthStart(std::int32_t k, int& evaluations)
{
    ++evaluations;
    double newMoon;
    return MonthStartInstant(k, newMoon);
}

TEST(LunationSearch, NeedsAtMostThreeMonthStartsFromYear1To3000)
{
    int most = 0;
    long total = 0, days = 0;
    for (double d = DateToJulianDay(1, 1, 1); d <= DateToJulianDay(3000, 12, 31); d += 1) {
        CalendarDate civil;
        JulianDayToDate(civil, d);
        int evaluations = 0;
        FindLunation(
            d, LunationEstimate(civil.Year, civil.Month, civil.Day),
            [&](std::int32_t k) { return CountingMonthStart(k, evaluations); },
            EarliestMonthStart);
        most = std::max(most, evaluations);
        total += evaluations;
        ++days;
    }
    EXPECT_LE(most, 3);
    RecordProperty("mean_evaluations", std::to_string(static_cast<double>(total) / days));
}

TEST(LunationSearch, FindsTheMonthFromEstimatesFarOff)
{
    const double d = DateToJulianDay(2000, 1, 1);
    const int wanted = 12 * 1420 + 9 - 15813;
    for (int offset : {-5000, -40, -3, -1, 0, 1, 3, 40, 5000}) {
        const LunationMatch match = FindLunation(
            d, wanted + offset, [](std::int32_t k) { double n; return MonthStartInstant(k, n); },
            EarliestMonthStart);
        EXPECT_EQ(match.Lunation, wanted) << offset;
    }
}

// The search passes over lunations by the bound and walks month starts in order;
// both premises are checked on every lunation of the swept years and on random
// ones across the whole range.
TEST(LunationSearch, BoundStaysBelowAndMonthStartsGrow)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> anyLunation(MinLunation - 2, MaxLunation + 2);
    const int first = LunationEstimate(-9999, 1, 1) - 2, last = LunationEstimate(9999, 12, 31);
    Findings findings;
    const auto check = [&](std::int32_t k) {
        double newMoon;
        const double start = MonthStartInstant(k, newMoon);
        if (!(EarliestMonthStart(k) <= start))
            findings.Add("bound above the start of lunation " + std::to_string(k));
        if (!(MonthStartInstant(k + 1, newMoon) > start))
            findings.Add("lunation " + std::to_string(k + 1) + " starts no later");
    };
    for (int k = first; k <= last; ++k)
        check(k);
    for (int i = 0; i < 100000; ++i)
        check(anyLunation(random));
    EXPECT_EQ(findings.Count(), 0) << findings.First();
}

TEST(HijriConversion, RoundTripsOnRandomDaysAcrossTheWholeRange)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> anyDay(MinJulianDay, MaxJulianDay);
    Findings findings;
    for (int i = 0; i < 50000; ++i) {
        const double jd = std::floor(anyDay(random)) + 0.5;
        CalendarDate civil, hijri, back, again;
        JulianDayToDate(civil, jd);
        if (DateToJulianDay(civil.Year, civil.Month, civil.Day) != jd)
            findings.Add("Julian day " + std::to_string(jd));
        GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri);
        HijriToGregorianDate(hijri.Year, hijri.Month, hijri.Day, back);
        GregorianToHijriDate(back.Year, back.Month, back.Day, again);
        std::ostringstream at;
        at << Date{civil.Year, civil.Month, civil.Day} << " / "
           << Date{hijri.Year, hijri.Month, hijri.Day};
        if (back.Year != civil.Year || back.Month != civil.Month || back.Day != civil.Day ||
            back.WeekDay != civil.WeekDay || hijri.Day < 1)
            findings.Add(at.str() + ": civil round trip");
        if (again.Year != hijri.Year || again.Month != hijri.Month || again.Day != hijri.Day)
            findings.Add(at.str() + ": Hijri round trip");
    }
    EXPECT_EQ(findings.Count(), 0) << findings.First();
}

} // namespace
