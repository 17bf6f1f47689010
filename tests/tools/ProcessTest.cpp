// The real dates-convert binary run as a process: what it prints, its exit
// status, and the one line it writes to standard error when it refuses input.
#include "DatesConvertProcess.h"

#include "calendar/conver2.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {


TEST(DatesConvertProcess, ConvertsAndPrintsTheWindowsLine)
{
    const ProcessResult r = RunDatesConvert({"to-hijri", "1999-12-09"});
    EXPECT_EQ(r.ExitStatus, 0);
    EXPECT_EQ(r.Output,
              "gregorian: 1999-12-09\n"
              "hijri: 1420-09-01\n"
              "weekday: Thursday\n"
              "line: Thursday, 1 Ramadhan 1420  =  9 December 1999\n");
    EXPECT_EQ(r.Error, "");
}

TEST(DatesConvertProcess, PrintsOneJsonObject)
{
    const ProcessResult r = RunDatesConvert({"to-gregorian", "-0001-12-30", "--json"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    const auto object = nlohmann::json::parse(r.Output);
    EXPECT_EQ(object["hijri"], "-0001-12-30");
    EXPECT_EQ(object["gregorian"], "0622-07-15");
    EXPECT_EQ(object["weekday_number"], 4);

    const ProcessResult month = RunDatesConvert({"--json", "month", "1442-09"});
    ASSERT_EQ(month.ExitStatus, 0) << month.Error;
    const auto report = nlohmann::json::parse(month.Output);
    EXPECT_EQ(report["lunation"], 1500);
    EXPECT_EQ(report["new_moon_ut"], "2021-04-12T02:30Z");
    EXPECT_EQ(report["rule"], "next-day");
    EXPECT_EQ(report["first_day"], "2021-04-13");
    EXPECT_EQ(report["umalqura_first_day"], "2021-04-13");
}

TEST(DatesConvertProcess, TodayIsTheLocalDate)
{
    const std::time_t before = std::time(nullptr);
    const ProcessResult r = RunDatesConvert({"today", "--json"});
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    const auto object = nlohmann::json::parse(r.Output);
    char expected[2][16];
    for (int i = 0; i < 2; ++i) {
        std::tm local{};
        localtime_r(i == 0 ? &before : &after, &local);
        std::strftime(expected[i], sizeof expected[i], "%Y-%m-%d", &local);
    }
    const std::string shown = object["gregorian"];
    EXPECT_TRUE(shown == expected[0] || shown == expected[1]) << shown;
}

struct Refused {
    std::vector<std::string> Arguments;
    const char* Reason;
};

TEST(DatesConvertProcess, RefusesBadInputWithStatus2AndOneLine)
{
    const Refused cases[] = {
        {{}, "no command"},
        {{"--frobnicate", "today"}, "unknown option"},
        {{"to-hijri", "1582-10-10"}, "from 4 to 15 October 1582"},
        {{"to-gregorian", "1420-08-30"}, "Shabaan 1420, which has 29 days"},
        {{"to-hijri", "2000000-01-01"}, "-1000000 to 1000000"},
        {{"year", "14a6"}, "is not a year"},
        {{"year", "9999999999"}, "is not a year"},  // more than an integer holds
        {{"to-hijri", "9999999999-01-01"}, "is too large"},
        {{"to-hijri", "--hijri", "2024-01-01"}, "belongs to the command calendar"},
        {{"ics", "1446", "1447", "1448"}, "unexpected argument '1448'"},
        {{"calendar", "2024-13"}, "no month 13"},
        {{"calendar", "--hijri", "1445-13"}, "no Hijri month 13"},
        {{"crescent", "1447-09", "--at", "95,20"}, "latitude 95 is beyond -90 to 90"},
        {{"crescent", "1447-09", "--at", "Gotham"}, "unknown place 'Gotham'"},
        {{"crescent", "1447-13"}, "no Hijri month 13"},
        {{"crescent", "99999-01"}, "civil years -1999 to 3000"},
        {{"crescent", "-2800-01"}, "civil years -1999 to 3000"},
        {{"crescent", "1447-09", "--at"}, "--at needs a place"},
    };
    for (const Refused& c : cases) {
        const ProcessResult r = RunDatesConvert(c.Arguments);
        const std::string what = c.Arguments.empty() ? "(nothing)" : c.Arguments.back();
        EXPECT_EQ(r.ExitStatus, 2) << what;
        EXPECT_EQ(r.Output, "") << what;
        EXPECT_EQ(r.Error.rfind("dates-convert: ", 0), 0u) << r.Error;
        EXPECT_EQ(r.Error.find('\n'), r.Error.size() - 1) << "one line: " << r.Error;
        EXPECT_NE(r.Error.find(c.Reason), std::string::npos) << r.Error;
    }
}

TEST(DatesConvertProcess, HelpGoesToStandardOutput)
{
    const ProcessResult r = RunDatesConvert({"--help"});
    EXPECT_EQ(r.ExitStatus, 0);
    EXPECT_EQ(r.Output.rfind("Usage: dates-convert", 0), 0u);
    EXPECT_EQ(r.Error, "");
}

TEST(DatesConvertProcess, ReportsAFailedWriteWithStatus1)
{
    const ProcessResult r = RunDatesConvert({"today"}, [] { ProcessOptions o; o.StdoutPath = "/dev/full"; return o; }());
    EXPECT_EQ(r.ExitStatus, 1);
    EXPECT_EQ(r.Error, "dates-convert: cannot write to standard output\n");
}

// Runs dates-convert with standard output on a pseudo-terminal and returns what
// it wrote there.
std::string RunOnTerminal(const std::vector<std::string>& arguments, const char* extraEnvironment)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master, 0);
    EXPECT_EQ(grantpt(master), 0);
    EXPECT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, slave.c_str(), O_WRONLY | O_NOCTTY, 0);
    posix_spawn_file_actions_addclose(&actions, master);
    std::vector<char*> argv{const_cast<char*>(DATES_CONVERT_PATH)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    static char noConfiguration[] = "XDG_CONFIG_HOME=/nonexistent/dates-convert-test";
    std::vector<char*> environment{noConfiguration};
    for (char** entry = environ; *entry; ++entry)
        if (std::string_view(*entry).rfind("NO_COLOR=", 0) != 0 &&
            std::string_view(*entry).rfind("XDG_CONFIG_HOME=", 0) != 0)
            environment.push_back(*entry);
    if (extraEnvironment)
        environment.push_back(const_cast<char*>(extraEnvironment));
    environment.push_back(nullptr);
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, DATES_CONVERT_PATH, &actions, nullptr, argv.data(),
                          environment.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(child, &status, 0);
    // The child has gone; what it wrote waits on the master side.
    std::string output;
    pollfd fd{master, POLLIN, 0};
    char buffer[4096];
    while (poll(&fd, 1, 200) > 0) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(master);
    return output;
}

TEST(DatesConvertCrescent, MeccaByDefaultAsTextAndJson)
{
    const ProcessResult r = RunDatesConvert({"crescent", "1447-09"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    EXPECT_EQ(r.Output.rfind("Ramadhan 1447 (1447-09) at Mecca (21.4225\u00b0N 39.8262\u00b0E, 277 m)\n", 0), 0u)
        << r.Output;
    EXPECT_NE(r.Output.find("conjunction: 2026-02-17T12:01"), std::string::npos);
    EXPECT_EQ(r.Output.find('\x1b'), std::string::npos);
    // Three evenings in each of the two tables.
    for (const char* date : {"\n2026-02-17  ", "\n2026-02-18  ", "\n2026-02-19  "}) {
        const std::size_t first = r.Output.find(date);
        ASSERT_NE(first, std::string::npos) << date;
        EXPECT_NE(r.Output.find(date, first + 1), std::string::npos) << date;
    }

    const auto object = JsonOf({"crescent", "1447-09", "--json", "--at", "Istanbul"});
    EXPECT_EQ(object["month"], "1447-09");
    EXPECT_EQ(object["place"]["name"], "Istanbul");
    EXPECT_EQ(object["place"]["latitude"], 41.0082);
    EXPECT_EQ(object["conjunction"].get<std::string>().substr(0, 16), "2026-02-17T12:01");
    ASSERT_EQ(object["evenings"].size(), 3u);
    const char* keys[] = {"date", "sunset", "moonset", "lag_minutes", "moon_age_hours", "moon_altitude",
                          "elongation", "best_time", "arcl", "arcv", "daz", "width_arcmin", "yallop_q",
                          "yallop", "odeh_v", "odeh", "mabims", "istanbul2016", "danjon"};
    for (const auto& evening : object["evenings"])
        for (const char* key : keys)
            EXPECT_TRUE(evening.contains(key)) << key;
    const auto& first = object["evenings"][0];
    const auto& second = object["evenings"][1];
    EXPECT_EQ(first["date"], "2026-02-17");
    EXPECT_EQ(first["yallop"], "F");
    EXPECT_EQ(first["danjon"], false);
    EXPECT_EQ(second["yallop"], "A");
    EXPECT_EQ(second["istanbul2016"], true);
    EXPECT_LT(first["lag_minutes"].get<double>(), second["lag_minutes"].get<double>());
    EXPECT_EQ(first["sunset"].get<std::string>().size(), std::string("2026-02-17T15:40:38Z").size());
}

TEST(DatesConvertCrescentMap, WritesThePictureQuietlyOrSaysInOneLineWhyNot)
{
    const std::string folder = "/tmp/dates-convert-map-" + std::to_string(getpid());
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string png = folder + "/ramadhan.png";
    const ProcessResult made = RunDatesConvert({"crescent-map", "2026-02-17", "--png", png, "--grid", "2"});
    EXPECT_EQ(made.ExitStatus, 0) << made.Error;
    EXPECT_EQ(made.Output, "");
    EXPECT_EQ(made.Error, "");
    std::FILE* file = std::fopen(png.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, file), 8u);
    std::fclose(file);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(signature), 8), "\x89PNG\r\n\x1a\n");

    const ProcessResult unwritable = RunDatesConvert({"crescent-map", "2026-02-17", "--png", folder + "/no/map.png"});
    EXPECT_EQ(unwritable.ExitStatus, 1);
    EXPECT_EQ(unwritable.Error, "dates-convert: cannot write " + folder + "/no/map.png: No such file or directory\n");
    const ProcessResult badGrid = RunDatesConvert({"crescent-map", "2026-02-17", "--png", png, "--grid", "7"});
    EXPECT_EQ(badGrid.ExitStatus, 2);
    EXPECT_EQ(std::count(badGrid.Error.begin(), badGrid.Error.end(), '\n'), 1) << badGrid.Error;
    std::remove(png.c_str());
    EXPECT_EQ(rmdir(folder.c_str()), 0) << "something was left in the folder";
}

TEST(DatesConvertYear, EachRowIsTheMonthCommandsReport)
{
    const auto year = JsonOf({"year", "1446", "--json"});
    EXPECT_EQ(year["hijri_year"], 1446);
    ASSERT_EQ(year["months"].size(), 12u);
    for (int month = 1; month <= 12; ++month) {
        char text[16];
        std::snprintf(text, sizeof text, "1446-%02d", month);
        EXPECT_EQ(year["months"][month - 1], JsonOf({"month", text, "--json"})) << text;
    }
    // As text: a title, a heading and twelve rows whose columns line up.
    const ProcessResult r = RunDatesConvert({"year", "1446"});
    const std::vector<std::string> lines = LinesOf(r.Output);
    ASSERT_EQ(lines.size(), 14u) << r.Output;
    const std::size_t firstDayColumn = lines[1].find("first day");
    EXPECT_EQ(lines[2].find("2024-07-07"), firstDayColumn);
    EXPECT_EQ(lines[13].find("2025-05-29"), firstDayColumn);
    EXPECT_NE(lines[10].find("Ramadhan"), std::string::npos);
}

TEST(DatesConvertCalendar, CivilMonthShowsWhereRamadhanBegins)
{
    const ProcessResult r = RunDatesConvert({"calendar", "2024-03"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    EXPECT_NE(r.Output.find("March 2024\n"), std::string::npos);
    EXPECT_NE(r.Output.find("Shabaan to Ramadhan 1445\n"), std::string::npos);
    // The week of 10 March: Sunday first, 12 March the first of Ramadhan.
    EXPECT_NE(r.Output.find("\n10/29 11/30 12/1  13/2  14/3  15/4  16/5\n"), std::string::npos)
        << r.Output;
    EXPECT_NE(r.Output.find("1 Ramadhan 1445 = Tuesday, 12 March 2024\n"), std::string::npos);
    EXPECT_EQ(r.Output.find('\x1b'), std::string::npos) << "no marking in a pipe";

    const auto grid = JsonOf({"calendar", "2024-03", "--json"});
    ASSERT_EQ(grid["days"].size(), 31u);
    EXPECT_EQ(grid["hijri_months"], nlohmann::json({"Shabaan 1445", "Ramadhan 1445"}));
    EXPECT_EQ(grid["days"][11]["gregorian"], "2024-03-12");
    EXPECT_EQ(grid["days"][11]["hijri"], "1445-09-01");
    EXPECT_EQ(grid["days"][11]["weekday"], "Tuesday");
}

TEST(DatesConvertCalendar, October1582LacksItsTenDaysAndEarlierMonthsAreJulian)
{
    const ProcessResult r = RunDatesConvert({"calendar", "1582-10"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    EXPECT_NE(r.Output.find(" 4/17 15/18 16/19\n"), std::string::npos) << r.Output;
    EXPECT_NE(r.Output.find("5 to 14 October 1582 do not exist"), std::string::npos);
    const auto october = JsonOf({"calendar", "1582-10", "--json"});
    ASSERT_EQ(october["days"].size(), 21u);
    EXPECT_EQ(october["days"][3]["weekday"], "Thursday");
    EXPECT_EQ(october["days"][4]["gregorian"], "1582-10-15");
    EXPECT_EQ(october["days"][4]["weekday"], "Friday");
    ASSERT_EQ(october["missing_days"].size(), 10u);
    EXPECT_EQ(october["missing_days"][0], "1582-10-05");
    // The month of the reform is a Gregorian month; the one before is Julian.
    EXPECT_EQ(october["julian"], false);
    EXPECT_EQ(r.Output.find("(Julian calendar)"), std::string::npos);
    EXPECT_EQ(JsonOf({"calendar", "1582-09", "--json"})["julian"], true);

    // 1500 is a leap year of the Julian calendar, not of the Gregorian.
    const auto february = JsonOf({"calendar", "1500-02", "--json"});
    EXPECT_EQ(february["julian"], true);
    EXPECT_EQ(february["days"].size(), 29u);
    EXPECT_NE(RunDatesConvert({"calendar", "1500-02"}).Output.find("(Julian calendar)"),
              std::string::npos);
}

TEST(DatesConvertCalendar, HijriMonthGrid)
{
    const ProcessResult r = RunDatesConvert({"calendar", "--hijri", "1445-09"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    EXPECT_NE(r.Output.find("Ramadhan 1445\n"), std::string::npos);
    EXPECT_NE(r.Output.find("March to April 2024\n"), std::string::npos);
    EXPECT_NE(r.Output.find("\nSu    Mo    Tu    We    Th    Fr    Sa\n             1/12  2/13"),
              std::string::npos) << r.Output;
    const auto grid = JsonOf({"calendar", "--hijri", "1445-09", "--json"});
    const auto month = JsonOf({"month", "1445-09", "--json"});
    EXPECT_EQ(grid["days"].size(), month["length"]);
    EXPECT_EQ(grid["days"][0]["gregorian"], month["first_day"]);
    EXPECT_EQ(grid["calendar"], "hijri");
    // Without a month: the Hijri month of today.
    const std::string today = JsonOf({"today", "--json"})["hijri"];
    EXPECT_EQ(JsonOf({"calendar", "--hijri", "--json"})["month"], today.substr(0, today.size() - 3));
}

TEST(DatesConvertCalendar, MarksTodayOnlyOnATerminalWithoutNoColor)
{
    EXPECT_NE(RunOnTerminal({"calendar"}, nullptr).find("\x1b[7m"), std::string::npos);
    EXPECT_EQ(RunOnTerminal({"calendar"}, "NO_COLOR=1").find('\x1b'), std::string::npos);
    // An empty NO_COLOR asks for nothing.
    EXPECT_NE(RunOnTerminal({"calendar"}, "NO_COLOR=").find("\x1b[7m"), std::string::npos);
    // Another month shows no mark even on a terminal.
    EXPECT_EQ(RunOnTerminal({"calendar", "1999-12"}, nullptr).find('\x1b'), std::string::npos);
}

TEST(DatesConvertBatch, GoodBadBlankAndUnterminatedLines)
{
    const ProcessResult r = RunDatesConvert(
        {"to-hijri", "-"},
        Input("2024-03-11\nbad\n\n  1999-12-09 \r\n2024-02-30\n1582-10-10\n\n-0622-07-16"));
    EXPECT_EQ(r.ExitStatus, 2);
    EXPECT_EQ(r.Output,
              "2024-03-11\t1445-08-30\tMonday\n"
              "1999-12-09\t1420-09-01\tThursday\n"
              "-0622-07-16\t-1282-10-29\tFriday\n");
    const std::vector<std::string> errors = LinesOf(r.Error);
    ASSERT_EQ(errors.size(), 3u) << r.Error;
    EXPECT_EQ(errors[0], "dates-convert: line 2: 'bad' is not a date of the form YYYY-MM-DD");
    EXPECT_EQ(errors[1].rfind("dates-convert: line 5: there is no day 30 in February 2024", 0), 0u);
    EXPECT_EQ(errors[2].rfind("dates-convert: line 6: there is no 10 October 1582", 0), 0u);

    const ProcessResult clean = RunDatesConvert({"to-gregorian", "-", "--json"},
                                                Input("1445-09-01\n\n1420-09-01\n"));
    EXPECT_EQ(clean.ExitStatus, 0) << clean.Error;
    const std::vector<std::string> lines = LinesOf(clean.Output);
    ASSERT_EQ(lines.size(), 2u);
    const auto first = nlohmann::json::parse(lines[0]);
    EXPECT_EQ(first["gregorian"], "2024-03-12");
    EXPECT_EQ(first["hijri"], "1445-09-01");
    EXPECT_EQ(first["weekday_number"], 2);
    EXPECT_EQ(nlohmann::json::parse(lines[1])["gregorian"], "1999-12-09");

    const ProcessResult empty = RunDatesConvert({"to-hijri", "-"});
    EXPECT_EQ(empty.ExitStatus, 0);
    EXPECT_EQ(empty.Output, "");
    // A Hijri day the month does not have, and a year beyond the engine's range.
    const ProcessResult refused =
        RunDatesConvert({"to-gregorian", "-"}, Input("1420-08-30\n2000000-01-01\n"));
    EXPECT_EQ(refused.ExitStatus, 2);
    EXPECT_NE(refused.Error.find("line 1: there is no day 30 in Shabaan 1420"), std::string::npos);
    EXPECT_NE(refused.Error.find("line 2: "), std::string::npos) << refused.Error;
}

TEST(DatesConvertBatch, AgreesWithTheEngineBothWays)
{
    // Dates every 997 days from -3000 to 5000, through the batch and back.
    std::string civilLines, expected;
    std::vector<std::string> hijriDates;
    CalendarDate civil, hijri;
    for (double jd = DateToJulianDay(-3000, 1, 1); jd < DateToJulianDay(5000, 1, 1); jd += 997) {
        JulianDayToDate(civil, jd);
        GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri);
        char line[96];
        std::snprintf(line, sizeof line, "%s%04d-%02d-%02d", civil.Year < 0 ? "-" : "",
                      std::abs(civil.Year), civil.Month, civil.Day);
        civilLines += std::string(line) + "\n";
        char result[48];
        std::snprintf(result, sizeof result, "%s%04d-%02d-%02d", hijri.Year < 0 ? "-" : "",
                      std::abs(hijri.Year), hijri.Month, hijri.Day);
        hijriDates.push_back(result);
        static const char* const names[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
        expected += std::string(line) + "\t" + result + "\t" + names[hijri.WeekDay] + "\n";
    }
    const ProcessResult there = RunDatesConvert({"to-hijri", "-"}, Input(civilLines));
    EXPECT_EQ(there.ExitStatus, 0) << there.Error;
    EXPECT_EQ(there.Output, expected);

    std::string hijriLines;
    for (const std::string& date : hijriDates)
        hijriLines += date + "\n";
    const ProcessResult back = RunDatesConvert({"to-gregorian", "-"}, Input(hijriLines));
    EXPECT_EQ(back.ExitStatus, 0) << back.Error;
    const std::vector<std::string> backLines = LinesOf(back.Output);
    const std::vector<std::string> civilList = LinesOf(civilLines);
    ASSERT_EQ(backLines.size(), civilList.size());
    for (std::size_t i = 0; i < backLines.size(); ++i)
        EXPECT_EQ(backLines[i].substr(0, backLines[i].find('\t')), hijriDates[i]);
    for (std::size_t i = 0; i < backLines.size(); ++i) {
        const std::size_t tab = backLines[i].find('\t') + 1;
        EXPECT_EQ(backLines[i].substr(tab, backLines[i].find('\t', tab) - tab), civilList[i]);
    }
}

TEST(DatesConvertBatch, AHugeLineIsSkippedWithoutHoldingIt)
{
    constexpr std::size_t HugeBytes = 64u << 20;
    // Fed in pieces, so that this process never holds the line either.
    ProcessOptions options =
        Input("\n2024-03-12\n" + std::string(300, '-') + "\n" + std::string(1000, ' ') + "x");
    options.FillBytes = HugeBytes;  // and a last long line without newline
    const ProcessResult r = RunDatesConvert({"to-hijri", "-"}, options);
    EXPECT_EQ(r.ExitStatus, 2);
    EXPECT_EQ(r.Output, "2024-03-12\t1445-09-01\tTuesday\n");
    EXPECT_NE(r.Error.find("line 1: not a date (a line of 67108864 bytes)"), std::string::npos)
        << r.Error;
    EXPECT_NE(r.Error.find("line 3: not a date (a line of 300 bytes)"), std::string::npos);
    EXPECT_NE(r.Error.find("line 4: not a date (a line of 1001 bytes)"), std::string::npos);
    EXPECT_LT(r.PeakKilobytes, 48 * 1024) << "the line must not be kept";

    // A date with blanks around it up to the longest line still converts; a
    // byte more and the line is too long.
    const std::string longest = std::string(123, ' ') + "2024-03-12" + std::string(123, ' ');
    ASSERT_EQ(longest.size(), 256u);
    const ProcessResult edge = RunDatesConvert({"to-hijri", "-"}, Input(longest + "\n" + longest + " \n"));
    EXPECT_EQ(edge.Output, "2024-03-12\t1445-09-01\tTuesday\n");
    EXPECT_EQ(edge.Error, "dates-convert: line 2: not a date (a line of 257 bytes)\n");
}

TEST(DatesConvertIcs, RefusesMoreThan200Years)
{
    const ProcessResult r = RunDatesConvert({"ics", "1300", "1500"});
    EXPECT_EQ(r.ExitStatus, 2);
    EXPECT_EQ(r.Output, "");
    EXPECT_NE(r.Error.find("at most 200 Hijri years"), std::string::npos) << r.Error;
    EXPECT_EQ(RunDatesConvert({"ics", "1447", "1446"}).ExitStatus, 2);
    EXPECT_EQ(RunDatesConvert({"ics", "0"}).ExitStatus, 2);
    // Without a year zero, -100 to 100 is 200 years.
    EXPECT_EQ(RunDatesConvert({"ics", "-100", "100"}).ExitStatus, 0);
    EXPECT_EQ(RunDatesConvert({"ics", "-100", "101"}).ExitStatus, 2);
}

TEST(DatesConvertIcs, StableApartFromTheStampAndHonoursSourceDateEpoch)
{
    ProcessOptions fixed;
    fixed.Environment = {"SOURCE_DATE_EPOCH=1700000000"};
    const ProcessResult a = RunDatesConvert({"ics", "1446"}, fixed);
    const ProcessResult b = RunDatesConvert({"ics", "1446"}, fixed);
    ASSERT_EQ(a.ExitStatus, 0) << a.Error;
    EXPECT_EQ(a.Output, b.Output);
    EXPECT_NE(a.Output.find("DTSTAMP:20231114T221320Z\r\n"), std::string::npos);
    EXPECT_NE(a.Output.find("UID:hijri-month-1446-09@dates-convert\r\n"), std::string::npos);
}

} // namespace
