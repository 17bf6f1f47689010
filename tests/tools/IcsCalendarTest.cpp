// The calendar file's pieces: folding, escaping, and dates in the Gregorian
// calendar that iCalendar requires, also where the engine's civil dates are Julian.
#include "tools/ConvertCommands.h"
#include "tools/IcsCalendar.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Undoes the folding and checks every physical line on the way.
std::string Unfolded(const std::string& folded, std::size_t& longest)
{
    std::string text;
    longest = 0;
    std::size_t begin = 0;
    for (std::size_t end; (end = folded.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        const std::string line = folded.substr(begin, end - begin);
        longest = std::max(longest, line.size());
        text += begin == 0 ? line : line.substr(1);
        EXPECT_TRUE(begin == 0 || line[0] == ' ');
    }
    EXPECT_EQ(begin, folded.size()) << "ends in CRLF";
    return text;
}

TEST(FoldedIcsLine, KeepsLinesTo75OctetsAndNeverSplitsACharacter)
{
    std::size_t longest = 0;
    EXPECT_EQ(FoldedIcsLine("SUMMARY:1 Ramadhan 1446"), "SUMMARY:1 Ramadhan 1446\r\n");
    const std::string exact(75, 'a');
    EXPECT_EQ(FoldedIcsLine(exact), exact + "\r\n");

    const std::string ascii = "DESCRIPTION:" + std::string(300, 'x');
    EXPECT_EQ(Unfolded(FoldedIcsLine(ascii), longest), ascii);
    EXPECT_EQ(longest, 75u);

    // Two-octet characters, starting at odd and at even octets, so that one or
    // the other straddles the cuts.
    for (const char* start : {"DESCRIPTION:a", "DESCRIPTION:"}) {
        std::string accented = start;
        for (int i = 0; i < 100; ++i)
            accented += "\xC3\xA9";
        const std::string folded = FoldedIcsLine(accented);
        EXPECT_EQ(Unfolded(folded, longest), accented);
        EXPECT_LE(longest, 75u);
        for (std::size_t at = folded.find("\r\n "); at != std::string::npos; at = folded.find("\r\n ", at + 1))
            EXPECT_NE(static_cast<unsigned char>(folded[at + 3]) & 0xC0, 0x80) << start << ": split at " << at;
    }
}

TEST(IcsText, EscapesWhatTextValuesMust)
{
    EXPECT_EQ(IcsText("a,b;c\\d\ne"), "a\\,b\\;c\\\\d\\ne");
    EXPECT_EQ(IcsText("1 Ramadhan 1446"), "1 Ramadhan 1446");
}

TEST(IcsCalendar, DatesBeforeTheReformAreGregorian)
{
    CalendarChoice calendars("", "/dev/null");
    // 1 Muharram 1 is a Julian date in July 622; the Gregorian calendar counts
    // three days more then.
    const MonthReport first = DescribeHijriMonth(1, 1, calendars);
    ASSERT_EQ(first.FirstDay.Year, 622);
    ASSERT_EQ(first.FirstDay.Month, 7);
    const std::string file = IcsCalendar(1, 1, 0, calendars);
    char expected[64];
    std::snprintf(expected, sizeof expected, "DTSTART;VALUE=DATE:0622%02d%02d\r\n", 7,
                  first.FirstDay.Day + 3);
    EXPECT_NE(file.find(expected), std::string::npos) << file.substr(0, 600);
    // After the reform the dates are the engine's own.
    EXPECT_NE(IcsCalendar(1446, 1446, 0, calendars).find("DTSTART;VALUE=DATE:20250301\r\n"), std::string::npos);
    EXPECT_NE(IcsCalendar(1446, 1446, 0, calendars).find("DTSTAMP:19700101T000000Z\r\n"), std::string::npos);
}

TEST(IcsCalendar, RefusesYearsACalendarFileCannotHold)
{
    CalendarChoice calendars("", "/dev/null");
    EXPECT_THROW(IcsCalendar(10000, 10000, 0, calendars), EUsageError);  // past civil 9999
    EXPECT_THROW(IcsCalendar(-700, -700, 0, calendars), EUsageError);    // before civil year 1
    EXPECT_THROW(IcsCalendar(1, MaxIcsYears + 1, 0, calendars), EUsageError);
    EXPECT_NO_THROW(IcsCalendar(1, MaxIcsYears, 0, calendars));
}

} // namespace
