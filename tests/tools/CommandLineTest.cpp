// dates-convert's units: reading dates and command lines, refusing dates that
// do not exist, the month report, and the two output forms.
#include "calendar/conver2.h"
#include "tools/BatchConvert.h"
#include "tools/CommandLine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <poll.h>
#include <unistd.h>

#include <thread>

namespace {

// The converter's own rule, reading no corrections file of the machine's.
struct OwnRule {
    CalendarChoice Calendars{"", "/dev/null"};
    CalendarConverter& Converter = Calendars.Chosen();
};

TEST(ParseDate, ReadsYearsWithAndWithoutMinus)
{
    EXPECT_EQ(ParseDate("1999-12-09"), (DateParts{1999, 12, 9}));
    EXPECT_EQ(ParseDate("-0622-07-16"), (DateParts{-622, 7, 16}));
    EXPECT_EQ(ParseDate("622-07-16"), (DateParts{622, 7, 16}));
    EXPECT_EQ(ParseDate("0000-01-01"), (DateParts{0, 1, 1}));  // syntax only
    EXPECT_EQ(ParseMonth("1442-09"), (DateParts{1442, 9, 0}));
}

TEST(ParseDate, RejectsOtherForms)
{
    for (const char* text : {"", "1999", "1999-12", "1999-12-9", "1999-1-09", "1999/12/09",
                             "1999-12-09x", " 1999-12-09", "+1999-12-09", "--1999-12-09",
                             "1999-12-09-01", "1999--12-09", "12345678901-01-01"})
        EXPECT_THROW(ParseDate(text), EUsageError) << "'" << text << "'";
    for (const char* text : {"1442", "1442-9", "1442-09-01"})
        EXPECT_THROW(ParseMonth(text), EUsageError) << "'" << text << "'";
}

TEST(ParseDate, TheBatchReadsWhatTheOneDateCommandsRead)
{
    // The batch has a reader of its own that allocates nothing; it takes a line
    // exactly when ParseDate does, and reads the same date.
    for (const char* text : {"1999-12-09", "-0622-07-16", "622-07-16", "123456789-01-01", "0000-01-01", "",
                             "1999", "1999-12", "1999-12-9", "1999-1-09", "1999/12/09", "1999-12-09x",
                             "1999-12-091", "1999-12/09", "1999/12-09", "1999-12-09-01", "1999--12-09",
                             "--1999-12-09", "+1999-12-09", "-", "1234567890-01-01", "\u0661\u0669\u0669\u0669-"
                             "\u0661\u0662-\u0660\u0669", "\u06f1\u06f9\u06f9\u06f9-\u06f1\u06f2-\u06f0\u06f9x"}) {
        bool refused = false;
        DateParts read{};
        try {
            read = ParseDate(text);
        } catch (const EUsageError&) {
            refused = true;
        }
        DateParts quiet{};
        EXPECT_EQ(ParseDateQuietly(text, quiet), !refused) << "'" << text << "'";
        if (!refused) {
            EXPECT_EQ(quiet, read) << "'" << text << "'";
        }
    }
}

TEST(FormatDate, PadsToFourYearDigits)
{
    EXPECT_EQ(FormatDate({-622, 7, 16}), "-0622-07-16");
    EXPECT_EQ(FormatDate({1, 1, 1}), "0001-01-01");
    EXPECT_EQ(FormatDate({12345, 12, 31}), "12345-12-31");
}

struct Refusal {
    const char* Text;
    const char* Reason;  // part of the message
};

TEST(RequireDate, RefusesDatesThatDoNotExistNamingWhy)
{
    const Refusal civil[] = {
        {"2001-02-29", "February 2001, which has 28 days"},
        {"1900-02-29", "February 1900, which has 28 days"},
        {"2000-02-31", "February 2000, which has 29 days"},
        {"1500-02-30", "February 1500, which has 29 days"},  // Julian leap year
        {"-0001-02-30", "February -1, which has 29 days"},   // astronomical year 0
        {"1582-10-05", "from 4 to 15 October 1582"},
        {"1582-10-14", "from 4 to 15 October 1582"},
        {"2000-13-01", "no month 13"},
        {"2000-00-10", "no month 0"},
        {"2000-04-31", "April 2000, which has 30 days"},
        {"2000-01-00", "no day 0"},
        {"0000-06-01", "no year 0"},
    };
    for (const Refusal& r : civil) {
        try {
            RequireCivilDate(ParseDate(r.Text));
            ADD_FAILURE() << "accepted " << r.Text;
        } catch (const EUsageError& e) {
            EXPECT_NE(e.Message().find(r.Reason), std::string::npos) << e.Message();
        }
    }
    for (const char* text : {"1582-10-04", "1582-10-15", "2000-02-29", "1500-02-29", "-0001-02-29"})
        EXPECT_NO_THROW(RequireCivilDate(ParseDate(text))) << text;

    const Refusal hijri[] = {
        {"1420-08-30", "Shabaan 1420, which has 29 days"},
        {"1420-13-01", "no Hijri month 13"},
        {"0000-01-01", "no Hijri year 0"},
        {"1420-09-31", "Ramadhan 1420, which has 30 days"},
    };
    for (const Refusal& r : hijri) {
        try {
            RequireHijriDate(ParseDate(r.Text), OwnRule().Converter);
            ADD_FAILURE() << "accepted " << r.Text;
        } catch (const EUsageError& e) {
            EXPECT_NE(e.Message().find(r.Reason), std::string::npos) << e.Message();
        }
    }
}

TEST(ConvertCommands, ConvertBothWaysWithTheWindowsLine)
{
    OwnRule own;
    const DayReport toHijri = ConvertGregorian({1999, 12, 9}, own.Converter);
    EXPECT_EQ(toHijri.Hijri, (DateParts{1420, 9, 1}));
    EXPECT_EQ(toHijri.WeekDay, 4);
    EXPECT_EQ(toHijri.Line, "Thursday, 1 Ramadhan 1420  =  9 December 1999");
    const DayReport toCivil = ConvertHijri({1, 1, 1}, own.Converter);
    EXPECT_EQ(toCivil.Gregorian, (DateParts{622, 7, 16}));
    EXPECT_EQ(toCivil.Line, "Friday, 1 Muharram 1  =  16 July 622");
    EXPECT_THROW(ConvertGregorian({2'000'000, 1, 1}, own.Converter), EUsageError);
}

TEST(DescribeHijriMonth, ExplainsHowTheMonthBegins)
{
    OwnRule own;
    const MonthReport muharram1405 = DescribeHijriMonth(1405, 1, own.Calendars);
    EXPECT_EQ(muharram1405.Lunation, 1048);
    EXPECT_FALSE(muharram1405.OpensNextDay);  // 03:10 UT, past the cut-off
    EXPECT_EQ(muharram1405.FirstDay, (DateParts{1984, 9, 27}));
    EXPECT_EQ(muharram1405.Length, HijriMonthLength(1405, 1, own.Converter));
    ASSERT_TRUE(muharram1405.UmmAlQuraFirstDay);
    EXPECT_EQ(*muharram1405.UmmAlQuraFirstDay, (DateParts{1984, 9, 26}));
    EXPECT_EQ(muharram1405.UmmAlQuraDifference, 1);
    EXPECT_FALSE(muharram1405.Borderline);  // 10 minutes past 03:00 is outside the margin

    const MonthReport ramadhan1442 = DescribeHijriMonth(1442, 9, own.Calendars);
    EXPECT_EQ(ramadhan1442.Lunation, 1500);
    EXPECT_TRUE(ramadhan1442.OpensNextDay);
    EXPECT_EQ(ramadhan1442.FirstDay, (DateParts{2021, 4, 13}));
    EXPECT_EQ(ramadhan1442.Length, 30);
    EXPECT_EQ(ramadhan1442.UmmAlQuraDifference, 0);

    EXPECT_FALSE(DescribeHijriMonth(1299, 12, own.Calendars).UmmAlQuraFirstDay);
    EXPECT_TRUE(DescribeHijriMonth(1300, 1, own.Calendars).UmmAlQuraFirstDay);
    EXPECT_TRUE(DescribeHijriMonth(1600, 12, own.Calendars).UmmAlQuraFirstDay);
    EXPECT_FALSE(DescribeHijriMonth(1601, 1, own.Calendars).UmmAlQuraFirstDay);
}

TEST(DescribeHijriMonth, FlagsNewMoonsWithin10MinutesOfACutOff)
{
    OwnRule own;
    struct Case {
        int Year, Month;
        bool Borderline;
        const char* NewMoon;  // UT, for orientation
    };
    const Case cases[] = {
        {1403, 1, true, "00:02"},    {1405, 11, true, "23:55"},  {1437, 9, true, "02:59"},
        {1450, 3, true, "03:00"},    {1405, 1, false, "03:10"},  {1438, 1, false, "00:11"},
        {1442, 9, false, "02:30"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeHijriMonth(c.Year, c.Month, own.Calendars).Borderline, c.Borderline)
            << c.Year << "-" << c.Month << " new moon " << c.NewMoon;
}

TEST(FormatInstant, RoundsToTheMinuteAcrossMidnight)
{
    const double midnight = DateToJulianDay(2000, 1, 1);
    EXPECT_EQ(FormatInstant(midnight), "2000-01-01T00:00Z");
    EXPECT_EQ(FormatInstant(midnight - 20.0 / 86400), "2000-01-01T00:00Z");  // 23:59:40
    EXPECT_EQ(FormatInstant(midnight - 40.0 / 86400), "1999-12-31T23:59Z");
    EXPECT_EQ(FormatInstant(midnight - 2.0 / 24, 3), "2000-01-01T01:00+03:00");
    EXPECT_EQ(FormatInstant(DateToJulianDay(-622, 7, 16) + 0.25), "-0622-07-16T06:00Z");
}

TEST(FormatReports, JsonCarriesStableKeys)
{
    OwnRule own;
    const auto day = nlohmann::json::parse(FormatDayReport(ConvertGregorian({1999, 12, 9}, own.Converter),
                                                           OutputForm::ofJson));
    EXPECT_EQ(day["gregorian"], "1999-12-09");
    EXPECT_EQ(day["hijri"], "1420-09-01");
    EXPECT_EQ(day["weekday"], "Thursday");
    EXPECT_EQ(day["weekday_number"], 4);
    EXPECT_EQ(day["line"], "Thursday, 1 Ramadhan 1420  =  9 December 1999");

    const auto month =
        nlohmann::json::parse(FormatMonthReport(DescribeHijriMonth(1405, 1, own.Calendars), OutputForm::ofJson));
    EXPECT_EQ(month["lunation"], 1048);
    EXPECT_EQ(month["new_moon_ut"], "1984-09-25T03:10Z");
    EXPECT_EQ(month["new_moon_ut3"], "1984-09-25T06:10+03:00");
    EXPECT_EQ(month["rule"], "day-after-next");
    EXPECT_EQ(month["first_day"], "1984-09-27");
    EXPECT_EQ(month["borderline"], false);
    EXPECT_EQ(month["umalqura_difference"], 1);
    const auto early =
        nlohmann::json::parse(FormatMonthReport(DescribeHijriMonth(1, 1, own.Calendars), OutputForm::ofJson));
    EXPECT_TRUE(early["umalqura_first_day"].is_null());
}

TEST(FormatReports, MonthTextHasOneKeyValueLinePerField)
{
    OwnRule own;
    const std::string month = FormatMonthReport(DescribeHijriMonth(1442, 9, own.Calendars), OutputForm::ofText);
    EXPECT_NE(month.find("new moon: 2021-04-12T02:30Z\n"), std::string::npos) << month;
    EXPECT_NE(month.find("hour at UT+3: 05:30\n"), std::string::npos) << month;
    EXPECT_NE(month.find("rule: next-day"), std::string::npos) << month;
    EXPECT_NE(month.find("borderline: no\n"), std::string::npos) << month;
    EXPECT_NE(month.find("umalqura difference: 0 days\n"), std::string::npos) << month;

    MonthReport report = DescribeHijriMonth(1442, 9, own.Calendars);
    const std::pair<std::int32_t, const char*> differences[] = {
        {1, "+1 day"}, {-1, "-1 day"}, {2, "+2 days"}, {-2, "-2 days"}};
    for (const auto& [days, words] : differences) {
        report.UmmAlQuraDifference = days;
        EXPECT_NE(FormatMonthReport(report, OutputForm::ofText).find("umalqura difference: " + std::string(words) +
                                                                     "\n"),
                  std::string::npos)
            << days;
    }
}

TEST(FormatReports, ColumnsLineUpWithoutTrailingBlanks)
{
    struct Table {
        std::vector<std::vector<std::string>> Rows;
        const char* Text;
    };
    const Table tables[] = {
        {{{"a", "bb", "c"}, {"dddd", "e", "f"}}, "a     bb  c\ndddd  e   f\n"},
        {{{"a", ""}, {"bbb", "c"}}, "a\nbbb  c\n"},              // an empty last cell
        {{{"x", "", ""}, {"yy"}}, "x\nyy\n"},                    // a short row
        {{{"\u00b0", "a"}, {"ab", "b"}}, "\u00b0   a\nab  b\n"},   // widths as a terminal shows them
    };
    for (const Table& table : tables)
        EXPECT_EQ(AlignedColumns(table.Rows), table.Text);
}

TEST(DatesConvertBatch, AnswersEachLineBeforeTheInputEnds)
{
    // Someone typing dates into the batch sees each answer at once.
    int input[2], output[2];
    ASSERT_EQ(pipe(input), 0);
    ASSERT_EQ(pipe(output), 0);
    OwnRule own;
    int status = -1;
    std::thread batch([&] {
        status = RunBatch(BatchDirection::bdToHijri, OutputForm::ofText, own.Converter, input[0], output[1],
                          STDERR_FILENO);
    });
    const std::string typed = "2024-03-12\n";
    const bool sent = write(input[1], typed.data(), typed.size()) == static_cast<ssize_t>(typed.size());
    pollfd answer{output[0], POLLIN, 0};
    const int ready = poll(&answer, 1, 10000);
    char line[64] = {};
    const ssize_t got = ready == 1 ? read(output[0], line, sizeof line - 1) : -1;
    close(input[1]);
    batch.join();
    for (const int fd : {input[0], output[0], output[1]})
        close(fd);
    EXPECT_TRUE(sent);
    ASSERT_EQ(ready, 1) << "no answer while the input stays open";
    EXPECT_EQ(std::string(line, got > 0 ? static_cast<std::size_t>(got) : 0), "2024-03-12\t1445-09-01\tTuesday\n");
    EXPECT_EQ(status, 0);
}

struct CommandLineCase {
    std::vector<std::string> Arguments;
    CommandKind Command;
    std::string Argument;
    OutputForm Form;
};

TEST(ParseCommandLine, ReadsCommandArgumentAndOptionsAnywhere)
{
    const CommandLineCase cases[] = {
        {{"to-hijri", "2000-01-01"}, CommandKind::ckToHijri, "2000-01-01", OutputForm::ofText},
        {{"--json", "to-gregorian", "-0001-01-01"},
         CommandKind::ckToGregorian, "-0001-01-01", OutputForm::ofJson},
        {{"month", "1442-09", "--json"}, CommandKind::ckMonth, "1442-09", OutputForm::ofJson},
        {{"today"}, CommandKind::ckToday, "", OutputForm::ofText},
        {{"today", "--help"}, CommandKind::ckHelp, "", OutputForm::ofText},
        {{"-h"}, CommandKind::ckHelp, "", OutputForm::ofText},
    };
    for (const CommandLineCase& c : cases) {
        const Request request = ParseCommandLine(c.Arguments);
        EXPECT_EQ(request.Command, c.Command) << c.Arguments[0];
        EXPECT_EQ(request.Argument, c.Argument) << c.Arguments[0];
        EXPECT_EQ(request.Form, c.Form) << c.Arguments[0];
    }
}

TEST(ParseCommandLine, RefusesWhatItCannotUse)
{
    const std::vector<std::string> refused[] = {
        {}, {"--json"}, {"convert"}, {"to-hijri"}, {"to-hijri", "2000-01-01", "2000-01-02"},
        {"today", "2000-01-01"}, {"--verbose", "today"}, {"-x", "today"},
    };
    for (const auto& arguments : refused)
        EXPECT_THROW(ParseCommandLine(arguments), EUsageError)
            << (arguments.empty() ? "(nothing)" : arguments[0]);
}

} // namespace

namespace {

TEST(FormatReports, AReasonsFactsKeepTheirKindsInJson)
{
    // As a computed rule will give them: instants, angles, counts and words.
    MonthReport report;
    report.Year = 1447;
    report.Month = 9;
    report.Chosen.Calendar = "example";
    report.Chosen.Covered = true;
    report.Chosen.FirstDay = {2026, 2, 18};
    report.Chosen.FirstWeekDay = 3;
    report.Chosen.Length = 30;
    report.Chosen.Reason.Text =
        "conjunction 12:01 UT before sunset 15:37 UT at Mecca; moonset 15:52 UT after it";
    const double midnight = DateToJulianDay(2026, 2, 17);
    report.Chosen.Reason.Facts = {{"conjunction", UtInstant{midnight + 0.5 + 1.0 / 1440}},
                                  {"moon_altitude", Degrees{4.25}},
                                  {"evening", std::int64_t{29}},
                                  {"place", std::string("Mecca")}};
    report.Calendars = {report.Chosen};
    const auto json = nlohmann::json::parse(FormatMonthReport(report, OutputForm::ofJson, true));
    EXPECT_EQ(json["calendar"], "example");
    EXPECT_EQ(json["facts"]["conjunction"], "2026-02-17T12:01Z");
    EXPECT_EQ(json["facts"]["moon_altitude"], 4.25);
    EXPECT_EQ(json["facts"]["evening"], 29);
    EXPECT_EQ(json["facts"]["place"], "Mecca");
    EXPECT_EQ(json["calendars"][0], [&] {
        nlohmann::json own = json;
        for (const char* key : {"hijri_month", "name", "calendars"})
            own.erase(key);
        return own;
    }());
    const std::string text = FormatMonthReport(report, OutputForm::ofText, true);
    EXPECT_NE(text.find("reason: conjunction 12:01 UT before sunset 15:37 UT at Mecca; moonset 15:52 UT "
                        "after it\n"), std::string::npos) << text;
}

} // namespace
