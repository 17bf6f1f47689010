// Names and the correspondence line: the line's exact spacing, the fields shown
// as they stand, and look-ups outside the tables.
#include "calendar/CalendarNames.h"
#include "framework/runtime/sysutils.h"

#include <gtest/gtest.h>

namespace {

TEST(ComposeCorrespondence, JoinsWeekdayHijriAndCivilDate)
{
    EXPECT_EQ(ComposeCorrespondence(4, {"1", "9", "1420", "9", "12", "1999"}),
              "Thursday, 1 Ramadhan 1420  =  9 December 1999");
    EXPECT_EQ(ComposeCorrespondence(0, {"30", "12", "-1", "15", "7", "622"}),
              "Sunday, 30 Thul-Hujja -1  =  15 July 622");
    // A day beyond the month's length is shown as the field holds it.
    EXPECT_EQ(ComposeCorrespondence(6, {"7", "12", "1421", "31", "2", "2001"}),
              "Saturday, 7 Thul-Hujja 1421  =  31 February 2001");
}

TEST(ComposeCorrespondence, NamesTheFirstAndLastEntries)
{
    EXPECT_EQ(ComposeCorrespondence(6, {"1", "1", "1", "1", "1", "1"}),
              "Saturday, 1 Muharram 1  =  1 January 1");
}

TEST(CalendarNames, RejectLookUpsOutsideTheTables)
{
    EXPECT_EQ(DayName(0), "Sunday");
    EXPECT_EQ(GMonthName(12), "December");
    EXPECT_EQ(HMonthName(1), "Muharram");
    EXPECT_THROW(DayName(7), ERangeError);
    EXPECT_THROW(DayName(-1), ERangeError);
    EXPECT_THROW(GMonthName(0), ERangeError);
    EXPECT_THROW(HMonthName(13), ERangeError);
    EXPECT_THROW(ComposeCorrespondence(1, {"1", "x", "1", "1", "1", "1"}), EConvertError);
    EXPECT_THROW(ComposeCorrespondence(1, {"1", "1", "1", "1", "13", "1"}), ERangeError);
}

} // namespace
