// Long holds on the real window: each half of the six spin buttons clicked ten
// thousand times in a row from dates at the calendars' seams, and a few
// seconds of real holding through the repeat timer. After every single click
// the window must agree with itself: both dates name one day by the engine's
// reckoning, the weekday is that day's, and the summary line says exactly
// what the six fields say.
#include "tests/framework/controls/FrameworkTestSupport.h"

#include "calendar/conver2.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/runtime/sysutils.h"
#include "window/Hagri1.h"
#include "window/Spin.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using TTriple = std::array<std::int32_t, 3>; // day, month, year

// The names the line must show, spelled out here rather than taken from the program.
const char* const WeekdayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const CivilMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const HijriMonths[] = {"Muharram", "Safar",   "Rabi Awal", "Rabi Thani", "Jumad Awal", "Jumad Thani",
                                   "Rajab",    "Shabaan", "Ramadhan",  "Shawal",     "Thul-Quada", "Thul-Hujja"};

std::array<TPanel*, 3> HijriFields()
{
    return {Form1->Panel2, Form1->Panel3, Form1->Panel4};
}
std::array<TPanel*, 3> CivilFields()
{
    return {Form1->Panel5, Form1->Panel6, Form1->Panel7};
}

TTriple Read(const std::array<TPanel*, 3>& fields)
{
    return {StrToInt(fields[0]->Caption()), StrToInt(fields[1]->Caption()), StrToInt(fields[2]->Caption())};
}

void Write(const std::array<TPanel*, 3>& fields, const TTriple& date)
{
    for (std::size_t i = 0; i < 3; ++i)
        fields[i]->SetCaption(IntToStr(date[i]));
}

// The day number (the Julian day of its noon) of a civil date, and of a Hijri
// date counted from the start of its month; days past a month's end count on.
std::int64_t CivilDayNumber(const TTriple& date)
{
    return static_cast<std::int64_t>(std::floor(DateToJulianDay(date[2], date[1], date[0]) + 0.5));
}
std::int64_t HijriDayNumber(const TTriple& date)
{
    double newMoon = 0;
    const double start = MonthStartInstant(HijriMonthLunation(date[2], date[1]), newMoon);
    return static_cast<std::int64_t>(std::floor(start + date[0] + 0.5));
}
int WeekdayOf(std::int64_t dayNumber)
{
    return static_cast<int>(((dayNumber + 1) % 7 + 7) % 7); // day number 0 was a Monday
}

// Empty when the window agrees with itself, else what is wrong.
std::string Disagreement()
{
    const TTriple hijri = Read(HijriFields());
    const TTriple civil = Read(CivilFields());
    const std::int64_t day = CivilDayNumber(civil);
    const auto text = [&] {
        return " (Hijri " + IntToStr(hijri[0]) + "/" + IntToStr(hijri[1]) + "/" + IntToStr(hijri[2]) + ", civil " +
               IntToStr(civil[0]) + "/" + IntToStr(civil[1]) + "/" + IntToStr(civil[2]) + ")";
    };
    if (HijriDayNumber(hijri) != day)
        return "the two dates are different days" + text();
    const int weekDay = WeekdayOf(day);
    if (Form1->State.WeekDay != weekDay)
        return "weekday " + IntToStr(Form1->State.WeekDay) + " instead of " + IntToStr(weekDay) + text();
    if (hijri[1] < 1 || hijri[1] > 12 || civil[1] < 1 || civil[1] > 12)
        return "a month field left 1..12" + text();
    const std::string line = std::string(WeekdayNames[weekDay]) + ", " + Form1->Panel2->Caption() + " " +
                             HijriMonths[hijri[1] - 1] + " " + Form1->Panel4->Caption() + "  =  " +
                             Form1->Panel5->Caption() + " " + CivilMonths[civil[1] - 1] + " " +
                             Form1->Panel7->Caption();
    if (Form1->Label1->Caption() != line)
        return "the line reads \"" + Form1->Label1->Caption() + "\", the fields say \"" + line + "\"";
    return {};
}

struct TStart {
    const char* What;
    bool Hijri;   // the date is a Hijri date
    TTriple Date; // unused for today
    bool Today;
};

const TStart Starts[] = {
    {"today", false, {}, true},
    {"1 January 1", false, {1, 1, 1}, false},
    {"4 October 1582", false, {4, 10, 1582}, false},
    {"15 October 1582", false, {15, 10, 1582}, false},
    {"1 Muharram 1", true, {1, 1, 1}, false},
    {"1 March -45", false, {1, 3, -45}, false},
};

// Shows a start date as the window would after a click on it.
void ShowStart(const TStart& start)
{
    if (start.Today) {
        Form1->BitBtn1Click(nullptr);
        return;
    }
    TTriple other{};
    std::int32_t& weekDay = Form1->State.WeekDay;
    if (start.Hijri)
        HijriToGregorian(start.Date[0], start.Date[1], start.Date[2], other[0], other[1], other[2], weekDay);
    else
        GregorianToHijri(start.Date[0], start.Date[1], start.Date[2], other[0], other[1], other[2], weekDay);
    Write(start.Hijri ? HijriFields() : CivilFields(), start.Date);
    Write(start.Hijri ? CivilFields() : HijriFields(), other);
    Form1->ShowCorrespondence();
}

enum TStep { sDay, sMonth, sYear };

struct THalf {
    const char* What;
    TSpinButton* TForm1::*Spin;
    bool Up;
    TStep Step;
    bool HijriSide; // the fields the step edits (the Hijri day button moves the civil date)
};

// clang-format off
const THalf Halves[] = {
    {"Hijri day up",         &TForm1::SpinButton1, true,  sDay,   false},
    {"Hijri day down",       &TForm1::SpinButton1, false, sDay,   false},
    {"Hijri month up",       &TForm1::SpinButton2, true,  sMonth, true},
    {"Hijri month down",     &TForm1::SpinButton2, false, sMonth, true},
    {"Hijri year up",        &TForm1::SpinButton3, true,  sYear,  true},
    {"Hijri year down",      &TForm1::SpinButton3, false, sYear,  true},
    {"Gregorian day up",     &TForm1::SpinButton4, true,  sDay,   false},
    {"Gregorian day down",   &TForm1::SpinButton4, false, sDay,   false},
    {"Gregorian month up",   &TForm1::SpinButton5, true,  sMonth, false},
    {"Gregorian month down", &TForm1::SpinButton5, false, sMonth, false},
    {"Gregorian year up",    &TForm1::SpinButton6, true,  sYear,  false},
    {"Gregorian year down",  &TForm1::SpinButton6, false, sYear,  false},
};
// clang-format on

// Empty when one click of half took the edited date from before to after.
std::string WrongStep(const THalf& half, const TTriple& before, const TTriple& after)
{
    const int delta = half.Up ? 1 : -1;
    if (half.Step == sDay) {
        // Two clicks do not move one day, both as the engine reads the fields:
        // between 1 January 0 and 31 December -1 (a field at 0 is the year
        // -1), and between 14 and 15 October 1582 (the days 5 to 14 are
        // walked as Julian-calendar days).
        const bool throughYearZero = (before[2] == 0 && after[2] == -1) || (before[2] == -1 && after[2] == 0);
        if (throughYearZero && before[1] == (half.Up ? 12 : 1) && after[1] == (half.Up ? 1 : 12))
            return {};
        const TTriple seam14{14, 10, 1582}, seam15{15, 10, 1582};
        if ((before == seam14 && after == seam15) || (before == seam15 && after == seam14))
            return {};
        if (CivilDayNumber(after) - CivilDayNumber(before) != delta)
            return "a day step did not move the date by one day";
        return {};
    }
    TTriple expected = before;
    if (half.Step == sYear) {
        expected[2] += delta;
    } else {
        expected[1] += delta;
        if (expected[1] > 12 || expected[1] < 1) {
            expected[1] = half.Up ? 1 : 12;
            expected[2] += delta;
        }
    }
    if (after != expected)
        return "the step gave " + IntToStr(after[0]) + "/" + IntToStr(after[1]) + "/" + IntToStr(after[2]);
    return {};
}

TTimerSpeedButton* HalfOf(const THalf& half)
{
    TSpinButton* spin = Form1->*half.Spin;
    return half.Up ? spin->UpButton() : spin->DownButton();
}

class SpinHold : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->CreateForm(&Form1);
        ASSERT_TRUE(ShowActive(Form1));
    }
    void TearDown() override { Application->DestroyForms(); }
};

TEST_F(SpinHold, TenThousandClicksOfEachHalfFromEachStartKeepTheWindowRight)
{
    constexpr int Clicks = 10'000;
    TExceptionCatcher catcher;
    QElapsedTimer clock;
    clock.start();
    long long total = 0;
    for (const TStart& start : Starts)
        for (const THalf& half : Halves) {
            SCOPED_TRACE(std::string(half.What) + " from " + start.What);
            ShowStart(start);
            ASSERT_EQ(Disagreement(), "") << "before the first click";
            TTimerSpeedButton* button = HalfOf(half);
            const std::array<TPanel*, 3> edited = half.HijriSide ? HijriFields() : CivilFields();
            TTriple before = Read(edited);
            for (int click = 1; click <= Clicks; ++click) {
                button->Click();
                const TTriple after = Read(edited);
                ASSERT_EQ(WrongStep(half, before, after), "") << "click " << click;
                ASSERT_EQ(Disagreement(), "") << "after click " << click;
                before = after;
                if (click % 1000 == 0)
                    QApplication::processEvents(); // let the window repaint now and then, as a real hold does
            }
            ASSERT_TRUE(catcher.texts.empty()) << catcher.texts.front();
            total += Clicks;
        }
    std::printf("[ soak     ] %lld clicks, each checked, in %lld ms\n", total, static_cast<long long>(clock.elapsed()));
}

// Holding the mouse button down on a half: the repeat timer clicks on and on,
// and each of its clicks leaves the window as right as a single click does.
TEST_F(SpinHold, ARealHoldRepeatsAndEveryRepeatKeepsTheWindowRight)
{
    constexpr int Repeats = 25; // about three seconds at the repeat rate
    const struct {
        const THalf& Half;
        TStart Start;
    } holds[] = {
        {Halves[6], {"25 February 2000", false, {25, 2, 2000}, false}}, // over the leap day into March
        {Halves[3], {"1 Muharram 1", true, {1, 1, 1}, false}},          // back over the year's start
        {Halves[11], {"15 October 1582", false, {15, 10, 1582}, false}},
    };
    TExceptionCatcher catcher;
    for (const auto& hold : holds) {
        SCOPED_TRACE(std::string(hold.Half.What) + " from " + hold.Start.What);
        ShowStart(hold.Start);
        TSpinButton* spin = Form1->*hold.Half.Spin;
        TNotifyEvent& event = hold.Half.Up ? spin->OnUpClick : spin->OnDownClick;
        const TNotifyEvent handler = event;
        int clicks = 0;
        std::string wrong;
        event = [&](TObject* sender) {
            handler(sender);
            ++clicks;
            if (wrong.empty())
                wrong = Disagreement();
        };
        const QPoint at(spin->Width() / 2, hold.Half.Up ? spin->Height() / 4 : spin->Height() * 3 / 4);
        QElapsedTimer clock;
        clock.start();
        QTest::mousePress(spin->Widget(), Qt::LeftButton, {}, at);
        // A busy machine runs the timer late: hold on until the repeats have come.
        WaitUntil([&] { return clicks >= Repeats; }, 60'000);
        const qint64 held = clock.elapsed();
        QTest::mouseRelease(spin->Widget(), Qt::LeftButton, {}, at);
        event = handler;
        EXPECT_GE(clicks, Repeats);
        EXPECT_EQ(wrong, "");
        EXPECT_EQ(Disagreement(), "") << "after the release";
        std::printf("[ hold     ] %s: %d clicks in %lld ms\n", hold.Half.What, clicks, static_cast<long long>(held));
    }
    EXPECT_TRUE(catcher.texts.empty());
}

} // namespace
