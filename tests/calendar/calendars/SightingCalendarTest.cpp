// `sighting`: the first evening the criterion counts the crescent as seen at the
// place, with the month before held to 29 or 30 days; reckoned alike in any
// order, and only where the Sun keeps setting.
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"
#include "calendar/calendars/SightingCalendar.h"
#include "astronomy/Crescent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

CalendarOptions At(double latitude, double longitude, astronomy::CriterionId criterion, const char* name)
{
    CalendarOptions options;
    options.Place = {latitude, longitude, 0};
    options.PlaceName = name;
    options.Criterion = criterion;
    return options;
}

// The day after the first evening, from the conjunction's local day, on which
// the criterion sees the crescent after the conjunction: on the full series.
std::int64_t NaturalFirstDay(const CalendarOptions& options, std::int32_t month)
{
    const astronomy::FullSky sky;
    const double conjunction = ConjunctionOf(month);
    const auto from = static_cast<std::int64_t>(std::floor(conjunction + 0.5 + options.Place.Longitude / 360));
    for (std::int64_t day = from; day < from + 12; ++day) {
        const astronomy::EveningReport evening =
            astronomy::ReportEvening(sky, options.Place, static_cast<double>(day) - 0.5, conjunction);
        if (evening.Sunset.Happens() && evening.Sunset.Instant > conjunction &&
            evening.Verdicts[static_cast<std::size_t>(options.Criterion)].Seen)
            return day + 1;
    }
    return from + 13;
}

struct ClampedStretch {
    CalendarOptions Options;
    std::int32_t FromYear, ToYear;
};

TEST(SightingCalendar, TheFirstEveningSeenHeldTo29Or30DaysEitherWay)
{
    // At 55°N by MABIMS the crescent is often first seen on day 28 (the month is
    // moved to a 29th day) or after day 30 (held at 30); at London by Yallop now
    // and then after day 30.
    const ClampedStretch stretches[] = {
        {At(55, 10, astronomy::CriterionId::ciMabims2021, "55°N 10°E"), 1313, 1316},
        {At(51.5074, -0.1278, astronomy::CriterionId::ciYallop, "London"), 1427, 1428},
    };
    int movedLater = 0, heldAt30 = 0;
    for (const ClampedStretch& stretch : stretches) {
        SightingCalendar calendar(stretch.Options);
        for (auto k = static_cast<std::int32_t>(MonthIndexOf(stretch.FromYear, 1));
             k <= MonthIndexOf(stretch.ToYear, 12); ++k) {
            const std::int64_t previous = calendar.Start(k - 1).FirstDay;
            const std::int64_t natural = NaturalFirstDay(stretch.Options, k);
            const std::int64_t first = calendar.Start(k).FirstDay;
            ASSERT_EQ(first, std::clamp(natural, previous + 29, previous + 30))
                << stretch.Options.PlaceName << " month " << k;
            movedLater += natural < first;
            heldAt30 += natural > first;
            const std::string reason = calendar.Reason(k).Text;
            if (natural < first) {
                EXPECT_NE(reason.find("so that the month before has 29 days"), std::string::npos) << reason;
            }
            if (natural > first) {
                EXPECT_NE(reason.find("nor on day 30: the month before is held at 30 days"), std::string::npos)
                    << reason;
            }
        }
    }
    EXPECT_GE(movedLater, 3);
    EXPECT_GE(heldAt30, 6);
}

TEST(SightingCalendar, ReckonedAlikeInAnyOrderAsFarAs65Degrees)
{
    // Where the crescent goes unseen longest (65°N, 65°S by the Istanbul
    // criterion) the months lie furthest from their conjunctions.
    for (const double latitude : {65.0, -65.0}) {
        const CalendarOptions options = At(latitude, 20, astronomy::CriterionId::ciIstanbul2016, "far");
        const auto first = static_cast<std::int32_t>(MonthIndexOf(1400, 1));
        const auto last = static_cast<std::int32_t>(MonthIndexOf(1440, 12));
        SightingCalendar forwards(options);
        std::vector<std::int64_t> days;
        for (std::int32_t k = first; k <= last; ++k)
            days.push_back(forwards.Start(k).FirstDay);
        SightingCalendar backwards(options);
        for (std::int32_t k = last; k >= first; --k)
            ASSERT_EQ(backwards.Start(k).FirstDay, days[static_cast<std::size_t>(k - first)]) << latitude << " " << k;
        for (std::int32_t k = first; k <= last; k += 41) {
            SightingCalendar alone(options);
            EXPECT_EQ(alone.Start(k).FirstDay, days[static_cast<std::size_t>(k - first)]) << latitude << " " << k;
        }
        for (std::size_t i = 1; i < days.size(); ++i)
            ASSERT_TRUE(days[i] - days[i - 1] == 29 || days[i] - days[i - 1] == 30) << latitude << " " << i;
    }
}

TEST(SightingCalendar, TheSpansFirstMonthOpensAfterItsFirstEveningSeen)
{
    // At 110°W the first month's conjunction comes in the small hours and the
    // Danjon limit is passed that very evening; at Mecca a day later.
    const CalendarOptions places[] = {At(0, -110, astronomy::CriterionId::ciDanjon, "110°W"),
                                      At(21.4225, 39.8262, astronomy::CriterionId::ciOdeh, "Mecca")};
    for (const CalendarOptions& options : places) {
        SightingCalendar calendar(options);
        const std::int32_t first = calendar.Months().First;
        EXPECT_EQ(calendar.Start(first).FirstDay, NaturalFirstDay(options, first)) << options.PlaceName;
    }
}

TEST(SightingCalendar, AReasonTellsAConjunctionJustAfterSunsetFromOneJustBefore)
{
    struct Row {
        CalendarOptions Options;
        std::int32_t Year, Month;
        const char* Reason;
    };
    const Row rows[] = {
        // At Jakarta by MABIMS the conjunction 43 minutes after sunset, before
        // the local day ends.
        {At(-6.2088, 106.8456, astronomy::CriterionId::ciMabims2021, "Jakarta"), 1445, 7,
         "day 29, 2024-01-11 at Jakarta: sunset 11:14 UT before the conjunction 2024-01-11 11:57 UT: the month "
         "before has 30 days"},
        // At New York three hours before sunset, in the local afternoon.
        {At(40.7128, -74.006, astronomy::CriterionId::ciYallop, "New York"), 1378, 8,
         "day 29, 1959-02-07 at New York: sunset 22:20 UT, 3.0 h after the conjunction; altitude 1.3°, elongation "
         "3.8°; Yallop (NAO TN 69, 1997) F, q -0.84: not seen: the month before has 30 days"},
        // At 65°N the Moon stood 7.5° from the Sun at the sunset of day 28, before
        // the conjunction: past the Danjon limit, but that evening sees nothing.
        {At(65, 20, astronomy::CriterionId::ciDanjon, "65°N 20°E"), 1444, 7,
         "day 29, 2023-01-22 at 65°N 20°E: sunset 13:44 UT, 16.8 h after the conjunction; altitude -1.2°, "
         "elongation 11.2°; Danjon limit met, margin 4.22: seen: the month opens on the next day"},
    };
    for (const Row& row : rows) {
        SightingCalendar calendar(row.Options);
        EXPECT_EQ(calendar.Reason(static_cast<std::int32_t>(MonthIndexOf(row.Year, row.Month))).Text, row.Reason);
    }
}

TEST(SightingCalendar, MeccaByOdehAndPlacesBeyond65DegreesRefused)
{
    SightingCalendar calendar{CalendarOptions{}};
    CalendarConverter converter(calendar);
    const auto ramadan = static_cast<std::int32_t>(MonthIndexOf(1447, 9));
    EXPECT_EQ(DayText(converter.StartOf(ramadan).FirstDay), "2026-02-19");
    const MonthReason reason = calendar.Reason(ramadan);
    EXPECT_EQ(reason.Text, "day 29, 2026-02-18 at Mecca: sunset 15:20 UT, 27.3 h after the conjunction; "
                           "altitude 12.2°, elongation 13.1°; Odeh (2004) A, V 8.65: seen: the month opens "
                           "on the next day");
    for (std::int32_t k = static_cast<std::int32_t>(MonthIndexOf(1300, 1)); k <= MonthIndexOf(1600, 12); k += 5) {
        const std::int32_t length = converter.MonthLength(k);
        ASSERT_TRUE(length == 29 || length == 30) << k;
    }
    EXPECT_THROW(SightingCalendar(At(65.1, 0, astronomy::CriterionId::ciOdeh, "north")), ERangeError);
    EXPECT_THROW(SightingCalendar(At(-70, 0, astronomy::CriterionId::ciOdeh, "south")), ERangeError);
}

} // namespace
