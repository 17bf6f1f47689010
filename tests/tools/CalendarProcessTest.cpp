// dates-convert with --calendar, --corrections and observances, run as a process.
#include "DatesConvertProcess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>

namespace {

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

struct CalendarDay {
    const char* Calendar;
    const char* Ramadan1447;
    const char* Ramadan1448;
};

// Ramadan by each calendar, in the registry's order: ICU's reckonings for the
// tables and tabular calendars, the engine's own for its rule; for the computed
// rules the first days their reasons explain (see the month report test).
const CalendarDay Ramadans[] = {
    {"astronomical", "2026-02-19", "2027-02-08"},
    {"umalqura", "2026-02-18", "2027-02-08"},
    {"umalqura-rule", "2026-02-18", "2027-02-08"},
    {"istanbul2016", "2026-02-19", "2027-02-08"},
    {"fcna", "2026-02-19", "2027-02-08"},
    {"civil", "2026-02-18", "2027-02-08"},
    {"tbla", "2026-02-17", "2027-02-07"},
    {"sighting", "2026-02-19", "2027-02-08"},
};
constexpr std::size_t CalendarCount = std::size(Ramadans);

TEST(CalendarOption, ConversionsFollowTheNamedCalendarBeforeOrAfterTheCommand)
{
    for (const CalendarDay& c : Ramadans) {
        const auto before = JsonOf({"--calendar", c.Calendar, "to-gregorian", "1447-09-01", "--json"});
        EXPECT_EQ(before["gregorian"], c.Ramadan1447) << c.Calendar;
        EXPECT_EQ(before["calendar"], c.Calendar);
        EXPECT_EQ(before["source"], std::string(c.Calendar) == "umalqura" ? "table" : "rule");
        const auto after = JsonOf({"to-hijri", c.Ramadan1448, "--json", "--calendar=" + std::string(c.Calendar)});
        EXPECT_EQ(after["hijri"], "1448-09-01") << c.Calendar;
        const ProcessResult text = RunDatesConvert({"to-hijri", c.Ramadan1447, "--calendar", c.Calendar});
        EXPECT_TRUE(Has(text.Output, "hijri: 1447-09-01\n")) << text.Output;
        EXPECT_TRUE(Has(text.Output, "calendar: " + std::string(c.Calendar) + "\nsource: ")) << text.Output;
    }
    // Without --calendar the text is as it always was; the JSON names the rule.
    EXPECT_FALSE(Has(RunDatesConvert({"to-hijri", "2026-02-19"}).Output, "calendar:"));
    const auto plain = JsonOf({"to-hijri", "2026-02-19", "--json"});
    EXPECT_EQ(plain["calendar"], "astronomical");
    EXPECT_EQ(plain["source"], "rule");

    const auto today = JsonOf({"today", "--calendar", "tbla", "--json"});
    EXPECT_EQ(today["calendar"], "tbla");
    EXPECT_EQ(JsonOf({"to-hijri", today["gregorian"], "--calendar", "tbla", "--json"})["hijri"],
              today["hijri"]);
}

TEST(CalendarOption, MonthShowsEveryCalendarSideBySideWithItsReason)
{
    const ProcessResult plain = RunDatesConvert({"month", "1447-09"});
    ASSERT_EQ(plain.ExitStatus, 0) << plain.Error;
    // The rule's own report first, unchanged, then every calendar.
    EXPECT_EQ(plain.Output.rfind("hijri month: 1447-09 (Ramadhan 1447)\nlunation: 1560\n", 0), 0u);
    const std::size_t table = plain.Output.find("\ncalendars:\n");
    ASSERT_NE(table, std::string::npos) << plain.Output;
    EXPECT_TRUE(Has(plain.Output, "umalqura difference: +1 day\ncalendars:\n"));
    const std::vector<std::string> rows = LinesOf(plain.Output.substr(table + 12));
    ASSERT_EQ(rows.size(), CalendarCount) << plain.Output;
    const std::size_t dayColumn = rows[0].find("2026-");
    for (std::size_t i = 0; i < CalendarCount; ++i) {
        EXPECT_EQ(rows[i].rfind("  " + std::string(Ramadans[i].Calendar) + " ", 0), 0u) << rows[i];
        EXPECT_EQ(rows[i].find(Ramadans[i].Ramadan1447), dayColumn) << rows[i];
    }
    EXPECT_TRUE(Has(rows[0], "new moon 2026-02-17 12:00 UT, outside 00:00 to 03:00 UT")) << rows[0];
    EXPECT_TRUE(Has(rows[1], "table  the Umm al-Qura table")) << rows[1];
    // The computed rules name the instants and angles they compared.
    EXPECT_TRUE(Has(rows[2], "rule   day 29 (2026-02-17): conjunction 12:01 UT before sunset 15:19 UT at "
                             "Mecca; moonset 15:23 UT after it: the month opens on the next day")) << rows[2];
    EXPECT_TRUE(Has(rows[3], "2026-02-17: geocentric elongation 6.1° at 24:00 UT: 8° nowhere before it; nor on "
                             "land in the Americas after it")) << rows[3];
    EXPECT_TRUE(Has(rows[3], "2026-02-18: at sunset at 24:00 UT altitude")) << rows[3];
    EXPECT_TRUE(Has(rows[4], "conjunction 2026-02-17 12:01 UT, at or after 12:00 UT: the month opens on the "
                             "day after next")) << rows[4];
    EXPECT_TRUE(Has(rows[5], "leap year of 355 days; Friday epoch")) << rows[5];
    EXPECT_TRUE(Has(rows[7], "day 29, 2026-02-18 at Mecca: sunset 15:20 UT")) << rows[7];
    EXPECT_TRUE(Has(rows[7], "Odeh (2004) A, V 8.65: seen: the month opens on the next day")) << rows[7];

    const auto named = JsonOf({"month", "1447-09", "--calendar", "umalqura", "--json"});
    EXPECT_EQ(named["calendar"], "umalqura");
    EXPECT_EQ(named["first_day"], "2026-02-18");
    EXPECT_EQ(named["length"], 30);
    EXPECT_EQ(named["source"], "table");
    ASSERT_EQ(named["calendars"].size(), CalendarCount);
    for (std::size_t i = 0; i < CalendarCount; ++i) {
        EXPECT_EQ(named["calendars"][i]["calendar"], Ramadans[i].Calendar);
        EXPECT_EQ(named["calendars"][i]["first_day"], Ramadans[i].Ramadan1447);
    }
    EXPECT_EQ(named["calendars"][0]["facts"]["new_moon"], "2026-02-17T12:00Z");
    EXPECT_EQ(named["calendars"][0]["facts"]["rule"], "day-after-next");
    EXPECT_EQ(named["calendars"][2]["facts"]["sunset"], "2026-02-17T15:19Z");
    EXPECT_EQ(named["calendars"][2]["facts"]["place"], "Mecca");
    // Outside the table Umm al-Qura's row is computed; outside the astronomy's
    // years the computed rules' rows say so instead of a day.
    const auto early = JsonOf({"month", "1299-12", "--json"});
    EXPECT_EQ(early["calendars"][1]["source"], "rule");
    EXPECT_TRUE(Has(early["calendars"][1]["reason"], "computed outside the table's years 1300 to 1600"));
    const auto ancient = JsonOf({"month", "-2701-12", "--json"});
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_TRUE(ancient["calendars"][i]["first_day"].is_null()) << i;
        EXPECT_TRUE(Has(ancient["calendars"][i]["reason"], "outside the astronomy's years")) << i;
        // In the middle of a report a reason reads on in lower case.
        EXPECT_EQ(ancient["calendars"][i]["reason"].get<std::string>().rfind("the Hijri date -2701-12-01 ", 0), 0u)
            << ancient["calendars"][i]["reason"];
    }
    EXPECT_EQ(ancient["calendars"][5]["source"], "rule");
}

TEST(CalendarOption, YearGridsIcsAndBatchFollowTheNamedCalendar)
{
    const auto year = JsonOf({"year", "1447", "--calendar", "umalqura", "--json"});
    EXPECT_EQ(year["calendar"], "umalqura");
    ASSERT_EQ(year["months"].size(), 12u);
    EXPECT_EQ(year["months"][8], JsonOf({"month", "1447-09", "--calendar", "umalqura", "--json"}));
    const ProcessResult yearText = RunDatesConvert({"--calendar", "tbla", "year", "1447"});
    EXPECT_EQ(yearText.Output.rfind("Hijri year 1447 (tbla)\nmonth  name", 0), 0u) << yearText.Output;
    EXPECT_TRUE(Has(yearText.Output, "2026-02-17  Tuesday")) << yearText.Output;

    const ProcessResult grid = RunDatesConvert({"calendar", "2026-02", "--calendar", "umalqura"});
    EXPECT_TRUE(Has(grid.Output, "Shabaan to Ramadhan 1447 (umalqura)\n")) << grid.Output;
    EXPECT_TRUE(Has(grid.Output, "1 Ramadhan 1447 = Wednesday, 18 February 2026\n")) << grid.Output;
    const auto hijriGrid = JsonOf({"calendar", "--hijri", "1447-09", "--calendar", "tbla", "--json"});
    EXPECT_EQ(hijriGrid["hijri_calendar"], "tbla");
    EXPECT_EQ(hijriGrid["days"][0]["gregorian"], "2026-02-17");
    EXPECT_FALSE(JsonOf({"calendar", "2026-02", "--json"}).contains("hijri_calendar"));

    ProcessOptions fixed;
    fixed.Environment = {"SOURCE_DATE_EPOCH=0"};
    const ProcessResult ics = RunDatesConvert({"ics", "1447", "--calendar", "umalqura"}, fixed);
    ASSERT_EQ(ics.ExitStatus, 0) << ics.Error;
    EXPECT_TRUE(Has(ics.Output, "UID:hijri-month-1447-09-umalqura@dates-convert\r\nDTSTAMP:19700101T000000Z"
                                "\r\nDTSTART;VALUE=DATE:20260218\r\n")) << ics.Output.substr(0, 900);
    EXPECT_TRUE(Has(ics.Output, "X-WR-CALNAME:Hijri months 1447 (umalqura)\r\n"));

    const ProcessResult batch = RunDatesConvert({"--calendar", "umalqura", "to-hijri", "-"},
                                                Input("2026-02-17\n2026-02-18\n3001-01-01\n"));
    EXPECT_EQ(batch.ExitStatus, 2);
    EXPECT_EQ(batch.Output, "2026-02-17\t1447-08-29\tTuesday\n2026-02-18\t1447-09-01\tWednesday\n");
    EXPECT_EQ(batch.Error, "dates-convert: line 3: the civil date 3001-01-01 lies outside the astronomy's "
                           "years, which covers the Hijri years -2700 to 2451 (-1999-12-25 to 3000-07-24)\n");
    const ProcessResult back = RunDatesConvert({"to-gregorian", "-", "--json", "--calendar", "tbla"},
                                               Input("1447-09-01\n1447-08-30\n"));
    EXPECT_EQ(back.ExitStatus, 2);  // Shaban has 29 days by the tabular calendar
    EXPECT_EQ(back.Output, "{\"gregorian\":\"2026-02-17\",\"hijri\":\"1447-09-01\",\"weekday\":"
                           "\"Tuesday\",\"weekday_number\":2,\"calendar\":\"tbla\",\"source\":\"rule\"}\n");
    EXPECT_TRUE(Has(back.Error, "line 2: there is no day 30 in Shabaan 1447, which has 29 days"));
    // Each JSON line names where its month's first day came from.
    EXPECT_EQ(RunDatesConvert({"to-gregorian", "-", "--json", "--calendar", "umalqura"}, Input("1447-09-01\n")).Output,
              "{\"gregorian\":\"2026-02-18\",\"hijri\":\"1447-09-01\",\"weekday\":\"Wednesday\","
              "\"weekday_number\":3,\"calendar\":\"umalqura\",\"source\":\"table\"}\n");
}

TEST(CalendarOption, ListsTheCalendarsOneALine)
{
    const ProcessResult list = RunDatesConvert({"--calendar", "list"});
    ASSERT_EQ(list.ExitStatus, 0) << list.Error;
    const std::vector<std::string> lines = LinesOf(list.Output);
    ASSERT_EQ(lines.size(), CalendarCount) << list.Output;
    for (std::size_t i = 0; i < CalendarCount; ++i)
        EXPECT_EQ(lines[i].rfind(std::string(Ramadans[i].Calendar) + " ", 0), 0u) << lines[i];
    EXPECT_TRUE(Has(lines[0], "(the default)"));
    const auto json = JsonOf({"--calendar", "list", "--json"});
    EXPECT_EQ(json["calendars"][1]["name"], "umalqura");
    EXPECT_EQ(json["calendars"][0]["default"], true);
}

TEST(CalendarOption, SightingTakesItsPlaceAndCriterionEverywhere)
{
    // Named: the reason reads the evening at the place by the criterion.
    const auto london = JsonOf({"month", "1447-10", "--calendar", "sighting", "--at", "London", "--criterion",
                                "yallop", "--json"});
    EXPECT_EQ(london["calendar"], "sighting");
    EXPECT_EQ(london["first_day"], "2026-03-21");
    EXPECT_EQ(london["facts"]["place"], "London");
    EXPECT_EQ(london["facts"]["criterion"], "yallop");
    EXPECT_TRUE(Has(london["reason"], "day 29, 2026-03-19 at London: ")) << london["reason"];
    // Side by side with the others, and in coordinates.
    const auto here = JsonOf({"month", "1447-10", "--calendar=sighting", "--at=-6.2,106.8", "--json"});
    EXPECT_EQ(here["calendars"][7]["facts"]["place"], "6.2000°S 106.8000°E");
    EXPECT_EQ(here["calendars"][7]["facts"]["criterion"], "odeh");
    // The default: Mecca by Odeh's criterion.
    const auto plain = JsonOf({"month", "1447-10", "--json"});
    EXPECT_EQ(plain["calendars"][7]["facts"]["place"], "Mecca");
    EXPECT_EQ(plain["calendars"][7]["facts"]["criterion"], "odeh");
    // Both batch forms and the one-date commands take them.
    const ProcessResult batch = RunDatesConvert({"to-hijri", "-", "--calendar", "sighting", "--at", "London",
                                                 "--criterion", "yallop"}, Input("2026-03-21\n"));
    EXPECT_EQ(batch.Output, "2026-03-21\t1447-10-01\tSaturday\n") << batch.Error;
    EXPECT_EQ(JsonOf({"to-gregorian", "1447-10-01", "--calendar", "sighting", "--at", "London", "--criterion",
                      "yallop", "--json"})["gregorian"], "2026-03-21");
    // As far as 65° either side of the equator, and not beyond (see the refusals).
    for (const char* place : {"65,20", "-65,20"})
        EXPECT_EQ(RunDatesConvert({"to-hijri", "2026-03-21", "--calendar", "sighting", "--at", place}).ExitStatus, 0)
            << place;
}

TEST(CalendarOption, AtTheEnginesLastYearOneDateAndTheBatchAgree)
{
    // Muharram 1030550 holds 31 December 1000000; the month after it lies past
    // the engine's last civil day, which must not refuse the days before.
    const auto one = JsonOf({"to-gregorian", "1030550-01-29", "--json"});
    EXPECT_EQ(one["gregorian"], "1000000-12-29");
    const ProcessResult batch = RunDatesConvert({"to-gregorian", "-"}, Input("1030550-01-29\n"));
    EXPECT_EQ(batch.Output, "1030550-01-29\t1000000-12-29\tFriday\n");
    EXPECT_EQ(RunDatesConvert({"month", "1030550-01"}).ExitStatus, 0);
    // A day past that is refused by both, in the engine's words.
    const ProcessResult past = RunDatesConvert({"to-gregorian", "1030550-02-01"});
    EXPECT_EQ(past.ExitStatus, 2);
    EXPECT_TRUE(Has(past.Error, "lies outside the civil years -1000000 to 1000000")) << past.Error;
}

struct Refused {
    std::vector<std::string> Arguments;
    const char* Reason;
};

TEST(CalendarOption, RefusesWhatItCannotUseWithStatus2AndOneLine)
{
    const Refused cases[] = {
        {{"to-hijri", "2026-02-18", "--calendar", "umalqora"}, "unknown calendar 'umalqora' (try --calendar list)"},
        {{"to-hijri", "2026-02-18", "--calendar"}, "the option --calendar needs a value"},
        {{"--calendar=", "today"}, "the option --calendar needs a value"},
        {{"--calendar", "today"}, "needs a calendar's name before the command today"},
        {{"to-hijri", "3001-01-01", "--calendar", "umalqura"}, "lies outside the astronomy's years"},
        {{"to-gregorian", "2452-01-01", "--calendar", "istanbul2016"}, "lies outside the astronomy's years"},
        {{"month", "-2701-12", "--calendar", "fcna"}, "lies outside the astronomy's years"},
        {{"observances", "2452", "--calendar", "umalqura-rule"}, "lies outside the astronomy's years"},
        {{"ics", "-2701", "--calendar", "sighting"}, "lies outside the astronomy's years"},
        {{"to-hijri", "2026-02-18", "--at", "Cairo"},
         "the option --at belongs to the command crescent and to --calendar sighting"},
        {{"month", "1447-09", "--criterion", "yallop"}, "the option --criterion belongs to the command crescent-map and to --calendar sighting"},
        {{"month", "1447-09", "--calendar", "umalqura", "--criterion=yallop"},
         "the option --criterion belongs to the command crescent-map and to --calendar sighting"},
        {{"crescent", "1447-09", "--criterion", "yallop"}, "the option --criterion belongs to the command crescent-map and to --calendar sighting"},
        {{"month", "1447-09", "--calendar", "sighting", "--criterion", "bruin"},
         "unknown criterion 'bruin' (yallop, odeh, mabims, istanbul2016, danjon)"},
        {{"month", "1447-09", "--calendar", "sighting", "--criterion"}, "the option --criterion needs a value"},
        {{"month", "1447-09", "--calendar", "sighting", "--at", "Atlantis"}, "unknown place 'Atlantis'"},
        {{"month", "1447-09", "--calendar", "sighting", "--at", "70,20"},
         "the calendar sighting is reckoned at places from 65°S to 65°N; 70.0000°N 20.0000°E lies beyond"},
        {{"month", "1447-09", "--observances"}, "the option --observances belongs to the command ics"},
        {{"observances", "0"}, "no Hijri year 0"},
        {{"crescent", "1447-09", "--calendar", "umalqura"}, "the command crescent takes no calendar"},
        {{"today", "--corrections", "/nonexistent/corrections"}, "/nonexistent/corrections: cannot open"},
    };
    for (const Refused& c : cases) {
        const ProcessResult r = RunDatesConvert(c.Arguments);
        EXPECT_EQ(r.ExitStatus, 2) << c.Arguments[0];
        EXPECT_EQ(r.Output, "") << c.Arguments[0];
        EXPECT_EQ(r.Error.find('\n'), r.Error.size() - 1) << "one line: " << r.Error;
        EXPECT_TRUE(Has(r.Error, c.Reason)) << r.Error;
    }
}

// A configuration folder of the test's own with a corrections file in it.
class CorrectionsProcess : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dates-convert-config-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Home_ = pattern;
        ASSERT_EQ(mkdir((Home_ + "/dates-converter").c_str(), 0700), 0);
        Options_.Environment = {"XDG_CONFIG_HOME=" + Home_};
    }
    void TearDown() override
    {
        std::remove(File().c_str());
        std::remove((Home_ + "/other").c_str());
        rmdir((Home_ + "/dates-converter").c_str());
        rmdir(Home_.c_str());
    }
    std::string File() const { return Home_ + "/dates-converter/corrections"; }
    void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

    std::string Home_;
    ProcessOptions Options_;
};

TEST_F(CorrectionsProcess, TheUsersFileSetsAnnouncedFirstDays)
{
    Write(File(), "# announced\numalqura 1447-09 2026-02-19\n");
    const auto converted = JsonOf({"to-hijri", "2026-02-19", "--calendar", "umalqura", "--json"}, Options_);
    EXPECT_EQ(converted["hijri"], "1447-09-01");
    EXPECT_EQ(converted["source"], "correction");
    // The day before now ends Shaban, which gains a 30th day.
    EXPECT_EQ(JsonOf({"to-hijri", "2026-02-18", "--calendar", "umalqura", "--json"}, Options_)["hijri"],
              "1447-08-30");
    const auto month = JsonOf({"month", "1447-09", "--json"}, Options_);
    EXPECT_EQ(month["umalqura_first_day"], "2026-02-19");
    EXPECT_EQ(month["calendars"][1]["source"], "correction");
    EXPECT_EQ(month["calendars"][1]["reason"],
              "announced: line 2 of " + File() + " (the table gives 2026-02-18)");
    EXPECT_EQ(month["calendars"][1]["length"], 29);
    // Other calendars and the default are untouched, and --corrections replaces the file.
    EXPECT_EQ(JsonOf({"to-hijri", "2026-02-19", "--json"}, Options_)["source"], "rule");
    EXPECT_EQ(JsonOf({"to-hijri", "2026-02-19", "--calendar", "umalqura", "--corrections", "/dev/null",
                      "--json"}, Options_)["hijri"], "1447-09-02");
    Write(Home_ + "/other", "umalqura 1447-09 2026-02-17\numalqura 1447-08 2026-01-19\numalqura 1447-10 2026-03-19\n");
    EXPECT_EQ(JsonOf({"to-gregorian", "1447-09-01", "--calendar", "umalqura", "--corrections",
                      Home_ + "/other", "--json"}, Options_)["gregorian"], "2026-02-17");
    // A corrected day says so even when no calendar was named.
    Write(Home_ + "/other", "astronomical 1447-09 2026-02-18\n");
    const ProcessResult corrected = RunDatesConvert({"to-hijri", "2026-02-18", "--corrections", Home_ + "/other"});
    EXPECT_TRUE(Has(corrected.Output, "hijri: 1447-09-01\n")) << corrected.Output;
    EXPECT_TRUE(Has(corrected.Output, "\ncalendar: astronomical\nsource: correction\n")) << corrected.Output;
}

TEST_F(CorrectionsProcess, ARefusedFileStopsEveryCommandAndNothingOfItIsApplied)
{
    // The first line alone would be accepted; the second leaves Ramadan 34 days.
    const std::string text = "umalqura 1447-09 2026-02-19\numalqura 1447-10 2026-03-25\n";
    Write(File(), text);
    struct stat before {};
    ASSERT_EQ(stat(File().c_str(), &before), 0);
    const std::string reason = "dates-convert: " + File() +
                               ":2: this gives Ramadhan 1447 of umalqura 34 days; a month has 29 or 30\n";
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"to-hijri", "2026-02-19"}, {"month", "1447-09"},
          {"observances", "1447", "--calendar", "civil"}}) {
        const ProcessResult r = RunDatesConvert(arguments, Options_);
        EXPECT_EQ(r.ExitStatus, 2) << arguments[0];
        EXPECT_EQ(r.Output, "");
        EXPECT_EQ(r.Error, reason);
    }
    ProcessOptions batch = Options_;
    batch.Input = "2026-02-19\n";
    const ProcessResult r = RunDatesConvert({"to-hijri", "-", "--calendar", "umalqura"}, batch);
    EXPECT_EQ(r.ExitStatus, 2);
    EXPECT_EQ(r.Output, "");
    EXPECT_EQ(r.Error, reason);
    // Help and the list read no corrections.
    EXPECT_EQ(RunDatesConvert({"--calendar", "list"}, Options_).ExitStatus, 0);
    EXPECT_EQ(RunDatesConvert({"--help"}, Options_).ExitStatus, 0);
    // Without the file the table holds again; the file was only read.
    EXPECT_EQ(JsonOf({"to-hijri", "2026-02-19", "--calendar", "umalqura", "--corrections", "/dev/null",
                      "--json"}, Options_)["hijri"], "1447-09-02");
    std::ifstream again(File());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), text);
    struct stat after {};
    ASSERT_EQ(stat(File().c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

// The civil day before a date of these years, by the C library's calendar.
std::string DayBefore(const std::string& iso)
{
    std::tm day{};
    day.tm_year = std::stoi(iso.substr(0, 4)) - 1900;
    day.tm_mon = std::stoi(iso.substr(5, 2)) - 1;
    day.tm_mday = std::stoi(iso.substr(8, 2)) - 1;
    const std::time_t normalised = timegm(&day);
    gmtime_r(&normalised, &day);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &day);
    return text;
}

struct ObservedDay {
    const char* Name;
    const char* Hijri;
    const char* Gregorian[4];  // by ObservingCalendars
    const char* Weekday[4];
};
const char* const ObservingCalendars[] = {"astronomical", "umalqura", "civil", "tbla"};

TEST(Observances, OfOneYearUnderEachCalendar)
{
    const ObservedDay days[] = {
        {"Islamic New Year", "1447-01-01", {"2025-06-27", "2025-06-26", "2025-06-27", "2025-06-26"},
         {"Friday", "Thursday", "Friday", "Thursday"}},
        {"Ashura", "1447-01-10", {"2025-07-06", "2025-07-05", "2025-07-06", "2025-07-05"},
         {"Sunday", "Saturday", "Sunday", "Saturday"}},
        {"First day of Ramadan", "1447-09-01", {"2026-02-19", "2026-02-18", "2026-02-18", "2026-02-17"},
         {"Thursday", "Wednesday", "Wednesday", "Tuesday"}},
        {"Eid al-Fitr", "1447-10-01", {"2026-03-20", "2026-03-20", "2026-03-20", "2026-03-19"},
         {"Friday", "Friday", "Friday", "Thursday"}},
        {"Eid al-Adha", "1447-12-10", {"2026-05-27", "2026-05-27", "2026-05-27", "2026-05-26"},
         {"Wednesday", "Wednesday", "Wednesday", "Tuesday"}},
    };
    const char* const names[] = {"Islamic New Year", "Ashura", "Mawlid", "Isra and Mi'raj",
                                 "Mid-Sha'ban", "First day of Ramadan", "Laylat al-Qadr",
                                 "Eid al-Fitr", "Day of Arafah", "Eid al-Adha"};
    for (int c = 0; c < 4; ++c) {
        const auto json = JsonOf({"observances", "1447", "--json", "--calendar", ObservingCalendars[c]});
        EXPECT_EQ(json["year"], 1447);
        EXPECT_EQ(json["calendar"], ObservingCalendars[c]);
        ASSERT_EQ(json["observances"].size(), 10u);
        for (std::size_t i = 0; i < 10; ++i) {
            EXPECT_EQ(json["observances"][i]["name"], names[i]);
            EXPECT_EQ(json["observances"][i].size(), 5u);  // name, hijri, gregorian, weekday, eve
        }
        for (const ObservedDay& day : days) {
            const auto found = std::find_if(json["observances"].begin(), json["observances"].end(),
                                            [&](const auto& o) { return o["name"] == day.Name; });
            ASSERT_NE(found, json["observances"].end()) << day.Name;
            EXPECT_EQ((*found)["hijri"], day.Hijri);
            EXPECT_EQ((*found)["gregorian"], day.Gregorian[c]) << day.Name << " " << ObservingCalendars[c];
            EXPECT_EQ((*found)["weekday"], day.Weekday[c]) << day.Name << " " << ObservingCalendars[c];
            EXPECT_EQ((*found)["eve"], DayBefore((*found)["gregorian"]));
        }
    }
    const ProcessResult text = RunDatesConvert({"observances", "1447"});
    EXPECT_EQ(text.Output.rfind("Observances of the Hijri year 1447 (astronomical)\n", 0), 0u);
    EXPECT_TRUE(Has(text.Output, "\nLaylat al-Qadr        1447-09-27  2026-03-17  Tuesday    2026-03-16 (Monday)\n"))
        << text.Output;
}

TEST(Observances, IcsAddsThemAsEvents)
{
    ProcessOptions fixed;
    fixed.Environment = {"SOURCE_DATE_EPOCH=0"};
    const ProcessResult plain = RunDatesConvert({"ics", "1447"}, fixed);
    const ProcessResult with = RunDatesConvert({"ics", "1447", "--observances"}, fixed);
    ASSERT_EQ(with.ExitStatus, 0) << with.Error;
    const auto count = [](const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(plain.Output, "BEGIN:VEVENT"), 12u);
    EXPECT_EQ(count(with.Output, "BEGIN:VEVENT"), 22u);
    EXPECT_TRUE(Has(with.Output, "UID:observance-1447-12-10@dates-convert\r\nDTSTAMP:19700101T000000Z\r\n"
                                 "DTSTART;VALUE=DATE:20260527\r\nDTEND;VALUE=DATE:20260528\r\n"
                                 "SUMMARY:Eid al-Adha 1447\r\n")) << with.Output;
    const ProcessResult tbla = RunDatesConvert({"ics", "1447", "--observances", "--calendar", "tbla"}, fixed);
    EXPECT_TRUE(Has(tbla.Output, "UID:observance-1447-12-10-tbla@dates-convert\r\nDTSTAMP:19700101T000000Z\r\n"
                                 "DTSTART;VALUE=DATE:20260526\r\n")) << tbla.Output;
}

} // namespace
