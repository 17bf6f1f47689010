// The corrections file: lines accepted and applied, lines refused with the file
// and line named, and a refused file applied not at all.
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Corrections.h"
#include "framework/runtime/ConfigFolders.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

std::string FirstDayText(CalendarConverter& converter, std::int32_t year, std::int32_t month)
{
    const CivilDate date = CivilDateOf(converter.ToCivilDay(year, month, 1));
    return IsoDateText(date.Year, date.Month, date.Day);
}

std::int32_t Length(CalendarConverter& converter, std::int32_t year, std::int32_t month)
{
    return converter.MonthLength(static_cast<std::int32_t>(MonthIndexOf(year, month)));
}

TEST(Corrections, AnAnnouncedDayOpensTheMonthAndTheLengthsFollow)
{
    const Corrections corrections = ParseCorrections(
        "# Ramadan and Shawwal 1447 as announced\n"
        "\n"
        "umalqura 1447-09 2026-02-19   # a day after the table\n"
        "  astronomical\t1447-10 2026-03-21\r\n"
        "umalqura 1447-10 2026-03-20",
        "corrections");
    ASSERT_EQ(corrections.Lines.size(), 3u);
    EXPECT_EQ(corrections.Lines[0], (CorrectionLine{"umalqura", 1447, 9, 2026, 2, 19, 3}));
    EXPECT_EQ(corrections.Lines[1].Line, 4);

    const auto umalqura = MakeCorrectedCalendar(*FindCalendar("umalqura"), corrections);
    CalendarConverter converter(*umalqura);
    EXPECT_EQ(FirstDayText(converter, 1447, 9), "2026-02-19");
    EXPECT_EQ(Length(converter, 1447, 8), 30);  // 29 by the table
    EXPECT_EQ(Length(converter, 1447, 9), 29);  // 30 by the table
    EXPECT_EQ(FirstDayText(converter, 1447, 10), "2026-03-20");
    const HijriDay first = converter.ToHijri(converter.ToCivilDay(1447, 9, 1));
    EXPECT_EQ(first.Source, MonthSource::msCorrection);
    EXPECT_EQ(converter.ToHijri(converter.ToCivilDay(1447, 8, 30)).Source, MonthSource::msTable);
    const MonthReason reason = umalqura->Reason(static_cast<std::int32_t>(MonthIndexOf(1447, 9)));
    EXPECT_EQ(reason.Source, MonthSource::msCorrection);
    EXPECT_EQ(reason.Text, "announced: line 3 of corrections (the table gives 2026-02-18)");

    // Years before 1 keep their minus: Dhu al-Hijja -1 a day before the civil
    // calendar's 17 June 622, the last month before its epoch.
    const auto early = MakeCorrectedCalendar(*FindCalendar("civil"), ParseCorrections("civil -0001-12 0622-06-16", "c"));
    CalendarConverter before(*early);
    EXPECT_EQ(FirstDayText(before, -1, 12), "0622-06-16");
    EXPECT_EQ(Length(before, -1, 12), 30);

    // Each calendar takes only its own lines.
    const auto astronomical = MakeCorrectedCalendar(*FindCalendar("astronomical"), corrections);
    CalendarConverter own(*astronomical);
    EXPECT_EQ(FirstDayText(own, 1447, 9), "2026-02-19");
    EXPECT_EQ(FirstDayText(own, 1447, 10), "2026-03-21");
    EXPECT_EQ(MakeCorrectedCalendar(*FindCalendar("civil"), corrections)->Start(
                  static_cast<std::int32_t>(MonthIndexOf(1447, 9))).Source, MonthSource::msRule);
}

TEST(Corrections, ALineRefusedAloneMayStandWithItsNeighbours)
{
    // Umm al-Qura: Rajab 1447 opens on 2025-12-21, Shaban on 2026-01-20 (29 days),
    // Ramadan on 2026-02-18 (30), Shawwal on 2026-03-20, Dhu al-Qada on 2026-04-18.
    // Ramadan a day early alone leaves Shaban 28 days ...
    EXPECT_THROW(ParseCorrections("umalqura 1447-09 2026-02-17\n", "c"), ECorrectionsError);
    // ... but with Shaban and Shawwal also a day early every month keeps 29 or 30.
    const Corrections together = ParseCorrections(
        "umalqura 1447-09 2026-02-17\numalqura 1447-08 2026-01-19\numalqura 1447-10 2026-03-19\n", "c");
    const auto calendar = MakeCorrectedCalendar(*FindCalendar("umalqura"), together);
    CalendarConverter converter(*calendar);
    const std::int32_t expected[][2] = {{7, 29}, {8, 29}, {9, 30}, {10, 30}};
    for (const auto& [month, length] : expected)
        EXPECT_EQ(Length(converter, 1447, month), length) << month;
}

struct RefusedText {
    const char* Text;
    const char* Message;  // the whole message
};

TEST(Corrections, RefusesTheFirstBadLineNamingFileAndLine)
{
    const RefusedText refused[] = {
        {"umalqora 1447-09 2026-02-19", "c:1: unknown calendar 'umalqora' (try --calendar list)"},
        {"\n\numalqura 1447-9 2026-02-19", "c:3: '1447-9' is not a Hijri month of the form YYYY-MM"},
        {"umalqura 1447-09x 2026-02-19", "c:1: '1447-09x' is not a Hijri month of the form YYYY-MM"},
        {"umalqura 1447-09 2026-02-19x", "c:1: '2026-02-19x' is not a civil date of the form YYYY-MM-DD"},
        {"umalqura 0000-09 2026-02-19", "c:1: there is no Hijri year 0: the year before 1 is -1"},
        {"umalqura 1447-13 2026-02-19", "c:1: there is no Hijri month 13"},
        {"umalqura 1447-09 2026-02-30", "c:1: there is no civil date 2026-02-30"},
        {"civil 1000-09 1582-10-10", "c:1: there is no civil date 1582-10-10"},
        {"umalqura 1447-09 19.02.2026", "c:1: '19.02.2026' is not a civil date of the form YYYY-MM-DD"},
        {"umalqura 1447-09", "c:1: expected CALENDAR YYYY-MM YYYY-MM-DD, as in 'umalqura 1447-09 2026-02-19'"},
        {"umalqura 1447-09 2026-02-19 2026-02-20",
         "c:1: expected CALENDAR YYYY-MM YYYY-MM-DD, as in 'umalqura 1447-09 2026-02-19'"},
        {"umalqura -3000-09 -3600-05-27", "c:1: umalqura does not cover -3000-09: it lies outside the astronomy's years"},
        {"fcna 2460-01 3008-06-01", "c:1: fcna does not cover 2460-01: it lies outside the astronomy's years"},
        // Outside its table Umm al-Qura follows the rule, which opens Shaban 1200 on 1786-05-28.
        {"umalqura 1200-09 1786-05-27", "c:1: this gives Shabaan 1200 of umalqura -1 days; a month has 29 or 30"},
        {"umalqura 1447-09 2026-02-19\n# again\numalqura 1447-09 2026-02-18",
         "c:3: umalqura 1447-09 is already set on line 1"},
        // Two days late: Shaban would have 31 days.
        {"umalqura 1447-09 2026-02-20", "c:1: this gives Shabaan 1447 of umalqura 31 days; a month has 29 or 30"},
        // Each line alone is fine; together Shaban has 31 days. The later line is named.
        {"umalqura 1447-09 2026-02-19\n\numalqura 1447-08 2026-01-19",
         "c:3: this gives Shabaan 1447 of umalqura 31 days; a month has 29 or 30"},
        {"umalqura 1447-08 2026-01-21", "c:1: this gives Rajab 1447 of umalqura 31 days; a month has 29 or 30"},
        {"tbla 1447-09 2026-02-15", "c:1: this gives Shabaan 1447 of tbla 27 days; a month has 29 or 30"},
    };
    for (const RefusedText& r : refused) {
        try {
            ParseCorrections(r.Text, "c");
            ADD_FAILURE() << "accepted: " << r.Text;
        } catch (const ECorrectionsError& e) {
            EXPECT_EQ(e.Message(), r.Message) << r.Text;
        }
    }
}

class CorrectionsFile : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/corrections-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Folder_ = pattern;
    }
    void TearDown() override
    {
        std::remove((Folder_ + "/corrections").c_str());
        rmdir((Folder_ + "/folder").c_str());
        rmdir(Folder_.c_str());
    }
    std::string Write(const std::string& text)
    {
        const std::string path = Folder_ + "/corrections";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Folder_;
};

TEST_F(CorrectionsFile, MissingIsNothingUnlessNamedAndAFolderOrAHugeFileIsRefused)
{
    EXPECT_TRUE(ReadCorrectionsFile(Folder_ + "/none", false).Lines.empty());
    EXPECT_THROW(ReadCorrectionsFile(Folder_ + "/none", true), ECorrectionsError);
    ASSERT_EQ(mkdir((Folder_ + "/folder").c_str(), 0700), 0);
    try {
        ReadCorrectionsFile(Folder_ + "/folder", false);
        ADD_FAILURE();
    } catch (const ECorrectionsError& e) {
        EXPECT_EQ(e.Message(), Folder_ + "/folder: is a folder, not a corrections file");
    }
    const std::string path = Write(std::string(MaxCorrectionsBytes + 1, '#'));
    try {
        ReadCorrectionsFile(path, true);
        ADD_FAILURE();
    } catch (const ECorrectionsError& e) {
        EXPECT_EQ(e.Message(), path + ": larger than 1024 KiB; not a corrections file");
    }
    Write("umalqura 1447-09 2026-02-19\n");
    const Corrections read = ReadCorrectionsFile(path, true);
    ASSERT_EQ(read.Lines.size(), 1u);
    EXPECT_EQ(read.File, path);
}

TEST_F(CorrectionsFile, ARefusedFileGivesNothingAndIsLeftAsItWas)
{
    const std::string text = "umalqura 1447-09 2026-02-19\numalqura 1447-10 2026-03-25\n";
    const std::string path = Write(text);
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    try {
        ReadCorrectionsFile(path, true);
        ADD_FAILURE();
    } catch (const ECorrectionsError& e) {
        EXPECT_EQ(e.Message().rfind(path + ":2: ", 0), 0u) << e.Message();
    }
    std::ifstream again(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), text);
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
}

TEST(Corrections, TheDefaultFileLiesInTheUsersConfigurationFolder)
{
    OverrideConfigFolder(cfWindows, "/somewhere/dates-converter");
    EXPECT_EQ(DefaultCorrectionsFile(), "/somewhere/dates-converter/corrections");
    OverrideConfigFolder(cfWindows, "");
}

} // namespace
