// The twelve spin handlers on the real window: the day carry with its
// leap-year rule, the month wrap, years through 0, the Hijri day button that
// moves the civil date, Hijri month steps onto a 30th the engine does not
// have, and the calendar change of October 1582.
#include "calendar/conver2.h"
#include "framework/controls/Application.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "window/Hagri1.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using TTriple = std::array<int, 3>; // day, month, year

enum TSide { Hijri, Civil };

class SpinEditing : public ::testing::Test {
protected:
    void SetUp() override { Application->CreateForm(&Form1); }
    void TearDown() override { Application->DestroyForms(); }

    static void Write(TSide side, const TTriple& date)
    {
        const std::array<TPanel*, 3> fields = side == Hijri ? std::array{Form1->Panel2, Form1->Panel3, Form1->Panel4}
                                                            : std::array{Form1->Panel5, Form1->Panel6, Form1->Panel7};
        for (std::size_t i = 0; i < 3; ++i)
            fields[i]->SetCaption(std::to_string(date[i]));
    }
    static TTriple Read(TSide side)
    {
        const std::array<TPanel*, 3> fields = side == Hijri ? std::array{Form1->Panel2, Form1->Panel3, Form1->Panel4}
                                                            : std::array{Form1->Panel5, Form1->Panel6, Form1->Panel7};
        return {std::stoi(fields[0]->Caption()), std::stoi(fields[1]->Caption()), std::stoi(fields[2]->Caption())};
    }
    // The other calendar's date for a date, by the engine.
    static TTriple Convert(TSide from, const TTriple& date)
    {
        std::int32_t d = 0, m = 0, y = 0, weekDay = 0;
        if (from == Civil)
            GregorianToHijri(date[0], date[1], date[2], d, m, y, weekDay);
        else
            HijriToGregorian(date[0], date[1], date[2], d, m, y, weekDay);
        return {d, m, y};
    }
};

struct TStepCase {
    const char* What;
    TForm1::THandler Handler;
    TSide Edited;       // the side the handler reads and steps
    TTriple Before;     // written into the edited side's fields
    TTriple After;      // the edited side after the click; the other side is the engine's conversion
};

// clang-format off
const TStepCase StepCases[] = {
    {"1 March 1900, day down: 1900 is common",     &TForm1::SpinButton4DownClick, Civil, {1, 3, 1900},   {28, 2, 1900}},
    {"1 March 2000, day down: 2000 is leap",       &TForm1::SpinButton4DownClick, Civil, {1, 3, 2000},   {29, 2, 2000}},
    {"1 March 1500, day down: leap before 1582",   &TForm1::SpinButton4DownClick, Civil, {1, 3, 1500},   {29, 2, 1500}},
    {"28 February 1900, day up",                   &TForm1::SpinButton4UpClick,   Civil, {28, 2, 1900},  {1, 3, 1900}},
    {"28 February 2000, day up",                   &TForm1::SpinButton4UpClick,   Civil, {28, 2, 2000},  {29, 2, 2000}},
    {"31 December, day up",                        &TForm1::SpinButton4UpClick,   Civil, {31, 12, 1999}, {1, 1, 2000}},
    {"1 January, day down",                        &TForm1::SpinButton4DownClick, Civil, {1, 1, 2000},   {31, 12, 1999}},
    {"1 March -1, day down: the engine's leap year", &TForm1::SpinButton4DownClick, Civil, {1, 3, -1},   {29, 2, -1}},
    {"1 March -4, day down: -4 is common",         &TForm1::SpinButton4DownClick, Civil, {1, 3, -4},     {28, 2, -4}},
    {"1 March 0, day down: 0 is read as -1",       &TForm1::SpinButton4DownClick, Civil, {1, 3, 0},      {29, 2, 0}},
    {"31 January, month up keeps day 31",          &TForm1::SpinButton5UpClick,   Civil, {31, 1, 2001},  {31, 2, 2001}},
    {"31 February, day down",                      &TForm1::SpinButton4DownClick, Civil, {31, 2, 2001},  {30, 2, 2001}},
    {"31 February, day up",                        &TForm1::SpinButton4UpClick,   Civil, {31, 2, 2001},  {1, 3, 2001}},
    {"civil month 12 up",                          &TForm1::SpinButton5UpClick,   Civil, {15, 12, 2000}, {15, 1, 2001}},
    {"civil month 1 down",                         &TForm1::SpinButton5DownClick, Civil, {15, 1, 2000},  {15, 12, 1999}},
    {"civil year down from 1 gives 0",             &TForm1::SpinButton6DownClick, Civil, {10, 5, 1},     {10, 5, 0}},
    {"civil year down from 0 gives -1",            &TForm1::SpinButton6DownClick, Civil, {10, 5, 0},     {10, 5, -1}},
    {"civil year up from -1 gives 0",              &TForm1::SpinButton6UpClick,   Civil, {10, 5, -1},    {10, 5, 0}},
    {"Hijri day down moves the civil date",        &TForm1::SpinButton1DownClick, Civil, {1, 1, 2000},   {31, 12, 1999}},
    {"Hijri month 12 up",                          &TForm1::SpinButton2UpClick,   Hijri, {5, 12, 1420},  {5, 1, 1421}},
    {"Hijri month 1 down",                         &TForm1::SpinButton2DownClick, Hijri, {5, 1, 1420},   {5, 12, 1419}},
    {"Hijri year down from 1 gives 0",             &TForm1::SpinButton3DownClick, Hijri, {1, 1, 1},      {1, 1, 0}},
    {"Hijri year down from 0 gives -1",            &TForm1::SpinButton3DownClick, Hijri, {1, 1, 0},      {1, 1, -1}},
    {"Hijri year up",                              &TForm1::SpinButton3UpClick,   Hijri, {9, 9, 1444},   {9, 9, 1445}},
};
// clang-format on

TEST_F(SpinEditing, EachHandlerStepsItsDateAndConvertsIt)
{
    for (const TStepCase& c : StepCases) {
        SCOPED_TRACE(c.What);
        const TSide other = c.Edited == Civil ? Hijri : Civil;
        Write(other, {0, 0, 0}); // whatever the other side held is replaced
        Write(c.Edited, c.Before);
        (Form1->*c.Handler)(nullptr);
        EXPECT_EQ(Read(c.Edited), c.After);
        EXPECT_EQ(Read(other), Convert(c.Edited, c.After));
    }
}

TEST_F(SpinEditing, TheSummaryShowsTheFieldsAsTheyStandEvenPastTheMonthsEnd)
{
    Write(Civil, {31, 1, 2001});
    Form1->SpinButton5UpClick(nullptr);
    const std::string line = Form1->Label1->Caption();
    EXPECT_NE(line.find("  =  31 February 2001"), std::string::npos) << line;
    // The Hijri side and the weekday are those of 3 March 2001, the day the engine counts on to.
    const TTriple hijri = Convert(Civil, {3, 3, 2001});
    EXPECT_EQ(Read(Hijri), hijri);
    EXPECT_EQ(line.rfind("Saturday, ", 0), 0u) << line;
}

TEST_F(SpinEditing, TheSummaryTakesItsNamesFromTheTablesTheWindowFilled)
{
    EXPECT_EQ(Form1->State.DayNames[4], "Thursday");
    EXPECT_EQ(Form1->State.HMonthNames[9], "Ramadhan");
    EXPECT_EQ(Form1->State.GMonthNames[12], "December");
    Form1->State.DayNames[4] = "Thu";
    Form1->State.HMonthNames[9] = "Ram.";
    Form1->State.GMonthNames[12] = "Dec.";
    Write(Hijri, {29, 8, 1420});
    Write(Civil, {8, 12, 1999});
    Form1->SpinButton1UpClick(nullptr);
    EXPECT_EQ(Form1->Label1->Caption(), "Thu, 1 Ram. 1420  =  9 Dec. 1999");
}

TEST_F(SpinEditing, HijriDayUpOn29Shabaan1420GoesToTheFirstOfRamadhan)
{
    Write(Hijri, {29, 8, 1420});
    Write(Civil, {8, 12, 1999});
    Form1->SpinButton1UpClick(nullptr);
    EXPECT_EQ(Read(Civil), (TTriple{9, 12, 1999}));
    EXPECT_EQ(Read(Hijri), (TTriple{1, 9, 1420}));
    EXPECT_EQ(Form1->State.WeekDay, 4);
    EXPECT_EQ(Form1->Label1->Caption(), "Thursday, 1 Ramadhan 1420  =  9 December 1999");
}

TEST_F(SpinEditing, AHijriStepOntoA30thTheMonthLacksKeepsTheDay)
{
    // Shabaan 1420 has 29 days: its 30th is the civil day of 1 Ramadhan.
    const struct {
        TForm1::THandler Handler;
        TTriple Before;
    } steps[] = {
        {&TForm1::SpinButton2UpClick, {30, 7, 1420}},
        {&TForm1::SpinButton2DownClick, {30, 9, 1420}},
        {&TForm1::SpinButton3DownClick, {30, 8, 1421}},
        {&TForm1::SpinButton3UpClick, {30, 8, 1419}},
    };
    for (const auto& step : steps) {
        Write(Hijri, step.Before);
        (Form1->*step.Handler)(nullptr);
        EXPECT_EQ(Read(Hijri), (TTriple{30, 8, 1420}));
        EXPECT_EQ(Read(Civil), (TTriple{9, 12, 1999}));
    }
    // A following Hijri day step works on the civil date: the engine names the Hijri day.
    Form1->SpinButton1UpClick(nullptr);
    EXPECT_EQ(Read(Civil), (TTriple{10, 12, 1999}));
    EXPECT_EQ(Read(Hijri), (TTriple{2, 9, 1420}));
}

TEST_F(SpinEditing, TheHijriDayButtonMatchesTheCivilDayButton)
{
    const TTriple dates[] = {{28, 2, 2000}, {31, 12, 1999}, {1, 3, 1500}, {17, 7, 1445}, {4, 10, 1582}};
    for (const TTriple& date : dates)
        for (const auto& [hijriButton, civilButton] :
             {std::pair{&TForm1::SpinButton1UpClick, &TForm1::SpinButton4UpClick},
              std::pair{&TForm1::SpinButton1DownClick, &TForm1::SpinButton4DownClick}}) {
            Write(Civil, date);
            (Form1->*hijriButton)(nullptr);
            const TTriple civil = Read(Civil), hijri = Read(Hijri);
            const std::string line = Form1->Label1->Caption();
            Write(Civil, date);
            (Form1->*civilButton)(nullptr);
            EXPECT_EQ(Read(Civil), civil);
            EXPECT_EQ(Read(Hijri), hijri);
            EXPECT_EQ(Form1->Label1->Caption(), line);
        }
}

// Day steps before year 1 follow the engine's own calendar, which has no
// year zero: every click moves the date by exactly one day, across the
// leap days of -1, -5 and -9 as well.
TEST_F(SpinEditing, DayStepsInNegativeYearsMoveOneDayAtATime)
{
    Write(Civil, {1, 1, -9});
    double previous = DateToJulianDay(-9, 1, 1);
    while (Read(Civil) != TTriple{31, 12, -1}) {
        Form1->SpinButton4UpClick(nullptr);
        const TTriple date = Read(Civil);
        const double jd = DateToJulianDay(date[2], date[1], date[0]);
        ASSERT_EQ(jd, previous + 1) << date[0] << "-" << date[1] << "-" << date[2];
        previous = jd;
    }
}

TEST_F(SpinEditing, DaySteps4To15October1582WalkEveryDayAndConvertEach)
{
    Write(Civil, {4, 10, 1582});
    for (int day = 5; day <= 15; ++day) {
        Form1->SpinButton4UpClick(nullptr);
        ASSERT_EQ(Read(Civil), (TTriple{day, 10, 1582}));
        EXPECT_EQ(Read(Hijri), Convert(Civil, {day, 10, 1582})) << day;
    }
    for (int day = 14; day >= 4; --day) {
        Form1->SpinButton4DownClick(nullptr);
        ASSERT_EQ(Read(Civil), (TTriple{day, 10, 1582}));
    }
}

} // namespace
