// The real converter window, offscreen: what it shows at creation and after
// "&Today's Date", its keyboard, the report of an error inside a handler, its
// layout at the design density and scaled, the centring, accessibility.
#include "tests/framework/controls/FrameworkTestSupport.h"

#include "calendar/conver2.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/Fonts.h"
#include "framework/controls/Screen.h"
#include "framework/controls/StdCtrls.h"
#include "calendar/CalendarNames.h"
#include "window/DayCount.h"
#include "window/Hagri1.h"
#include "window/Spin.h"

#include <QAccessible>
#include <QDate>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using TSixFields = std::array<std::string, 6>; // Hijri day, month, year, civil day, month, year

TSixFields Fields()
{
    return {Form1->Panel2->Caption(), Form1->Panel3->Caption(), Form1->Panel4->Caption(),
            Form1->Panel5->Caption(), Form1->Panel6->Caption(), Form1->Panel7->Caption()};
}

// What the window must show for a civil date, worked out from the engine here.
struct TExpectedDay {
    TSixFields Fields;
    std::string Line;
};
TExpectedDay ExpectedFor(int day, int month, int year)
{
    std::int32_t hDay = 0, hMonth = 0, hYear = 0, weekDay = 0;
    GregorianToHijri(day, month, year, hDay, hMonth, hYear, weekDay);
    const QDate civil(year, month, day);
    EXPECT_EQ(weekDay, civil.dayOfWeek() % 7) << "the engine's weekday is the calendar's";
    TExpectedDay expected;
    expected.Fields = {std::to_string(hDay), std::to_string(hMonth), std::to_string(hYear),
                       std::to_string(day),  std::to_string(month),  std::to_string(year)};
    expected.Line = std::string(DayName(weekDay)) + ", " + std::to_string(hDay) + " " +
                    std::string(HMonthName(hMonth)) + " " + std::to_string(hYear) + "  =  " + std::to_string(day) + " " +
                    std::string(GMonthName(month)) + " " + std::to_string(year);
    return expected;
}

class ConverterWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->CreateForm(&Form1);
        ASSERT_NE(Form1, nullptr);
    }
    void TearDown() override
    {
        Screen->SetSizeOverride({});
        Application->DestroyForms();
        EXPECT_EQ(Form1, nullptr);
    }
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : Form1->Widget();
        QTest::keyClick(target, key, modifiers);
    }
};

TEST_F(ConverterWindow, OpensOnTodayInBothCalendars)
{
    const QDate today = QDate::currentDate();
    const TExpectedDay expected = ExpectedFor(today.day(), today.month(), today.year());
    if (QDate::currentDate() != today)
        GTEST_SKIP() << "the date changed while the test ran";
    EXPECT_EQ(Fields(), expected.Fields);
    EXPECT_EQ(Form1->Label1->Caption(), expected.Line);
    EXPECT_EQ(Form1->State.WeekDay, today.dayOfWeek() % 7);
    EXPECT_FALSE(Form1->Visible()) << "created hidden; the message loop shows it";
}

TEST_F(ConverterWindow, TodaysDateRestoresTheStartAfterAnyClicks)
{
    const TSixFields start = Fields();
    const std::string line = Form1->Label1->Caption();
    ASSERT_TRUE(ShowActive(Form1));
    Form1->SpinButton6UpClick(nullptr);
    Form1->SpinButton2DownClick(nullptr);
    Form1->SpinButton1UpClick(nullptr);
    ASSERT_NE(Fields(), start);
    QTest::mouseClick(Form1->BitBtn1->Widget(), Qt::LeftButton, {}, QPoint(60, 17));
    EXPECT_EQ(Fields(), start);
    EXPECT_EQ(Form1->Label1->Caption(), line);
}

TEST_F(ConverterWindow, ALeapDayFromTheClock)
{
    Form1->Now = [] { return EncodeDayCount(2024, 2, 29) + 0.75; };
    Form1->BitBtn1Click(nullptr);
    const TExpectedDay expected = ExpectedFor(29, 2, 2024);
    EXPECT_EQ(Fields(), expected.Fields);
    EXPECT_EQ(Form1->Label1->Caption(), expected.Line);
    EXPECT_EQ(Form1->State.NowValue, EncodeDayCount(2024, 2, 29) + 0.75);
}

TEST_F(ConverterWindow, KeyboardReachesOnlyTheTwoButtons)
{
    ASSERT_TRUE(ShowActive(Form1));
    const TSixFields today = Fields();
    EXPECT_EQ(Form1->ActiveControl(), Form1->BitBtn1) << "the first tab stop holds the focus";

    Form1->SpinButton4UpClick(nullptr);
    PressKey(Qt::Key_Return);
    EXPECT_EQ(Fields(), today) << "Enter right after start presses \"&Today's Date\"";

    PressKey(Qt::Key_Tab);
    EXPECT_EQ(Form1->ActiveControl(), Form1->BitBtn2);
    PressKey(Qt::Key_Tab);
    EXPECT_EQ(Form1->ActiveControl(), Form1->BitBtn1) << "Tab moves between the two buttons only";
    PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Form1->ActiveControl(), Form1->BitBtn2);
    PressKey(Qt::Key_Escape);
    EXPECT_TRUE(Form1->Visible()) << "no cancel button: Escape does nothing";

    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers{}, Qt::KeyboardModifiers{Qt::AltModifier}}) {
        Form1->SpinButton6DownClick(nullptr);
        PressKey(Qt::Key_T, modifiers);
        EXPECT_EQ(Fields(), today) << "T presses \"&Today's Date\"";
        PressKey(Qt::Key_C, modifiers);
        EXPECT_FALSE(Form1->Visible()) << "C presses \"&Close\"";
        ASSERT_TRUE(ShowActive(Form1));
    }
    Form1->SetActiveControl(Form1->BitBtn2);
    PressKey(Qt::Key_Return);
    EXPECT_FALSE(Form1->Visible()) << "Enter presses the focused button";
}

TEST_F(ConverterWindow, AnErrorInAHandlerIsReportedAndTheFieldsKeepWhatWasWritten)
{
    ASSERT_TRUE(ShowActive(Form1));
    TExceptionCatcher catcher;
    // The engine's last civil year; one more is outside its range.
    Form1->Panel5->SetCaption("1");
    Form1->Panel6->SetCaption("1");
    Form1->Panel7->SetCaption(std::to_string(MaxYear));
    const TSixFields before = Fields();
    const std::string line = Form1->Label1->Caption();
    QWidget* yearSpin = Form1->SpinButton6->Widget();
    QTest::mouseClick(yearSpin, Qt::LeftButton, {}, QPoint(8, 5));
    ASSERT_EQ(catcher.texts.size(), 1u);
    EXPECT_NE(catcher.texts[0].find(std::to_string(MaxYear + 1)), std::string::npos) << catcher.texts[0];
    TSixFields stepped = before;
    stepped[5] = std::to_string(MaxYear + 1);
    EXPECT_EQ(Fields(), stepped) << "the stepped civil year stays; the Hijri fields are the old ones";
    EXPECT_EQ(Form1->Label1->Caption(), line);
    EXPECT_TRUE(Form1->Visible());

    // The window carries on.
    QTest::mouseClick(yearSpin, Qt::LeftButton, {}, QPoint(8, 28));
    EXPECT_EQ(catcher.texts.size(), 1u);
    EXPECT_EQ(Form1->Panel7->Caption(), std::to_string(MaxYear));
    EXPECT_NE(Fields()[2], before[2]) << "converted again";
}

// The summary line stands centred on its label, as it was made.
TEST_F(ConverterWindow, TheSummaryLineIsCentred)
{
    ASSERT_TRUE(ShowActive(Form1));
    QTest::mouseClick(Form1->SpinButton4->Widget(), Qt::LeftButton, {}, QPoint(8, 5));
    Form1->Panel1->Repaint();
    const QImage image = Form1->Panel1->ClientSurface()->Image().copy();
    const TLabel* line = Form1->Label1;
    const QRgb background = image.pixel(line->Left(), line->Top()) & 0xFFFFFF;
    int left = line->Left() + line->Width();
    int right = line->Left() - 1;
    for (int y = line->Top(); y < line->Top() + line->Height(); ++y)
        for (int x = line->Left(); x < line->Left() + line->Width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_LT(left, right) << "the line is drawn";
    const int before = left - line->Left();
    const int after = line->Left() + line->Width() - 1 - right;
    EXPECT_LE(std::abs(before - after), 2) << before << " before, " << after << " after";
}

// A field at the largest integer cannot be stepped further: the step is
// refused with its own message and the field keeps its value.
TEST_F(ConverterWindow, AFieldAtTheLargestIntegerIsNotSteppedPastIt)
{
    ASSERT_TRUE(ShowActive(Form1));
    TExceptionCatcher catcher;
    Form1->Panel7->SetCaption("2147483647");
    QTest::mouseClick(Form1->SpinButton6->Widget(), Qt::LeftButton, {}, QPoint(8, 5));
    ASSERT_EQ(catcher.texts.size(), 1u);
    EXPECT_EQ(catcher.texts[0], "The value 2147483647 cannot be stepped further");
    EXPECT_EQ(Form1->Panel7->Caption(), "2147483647");
}

// The day count the window keeps: whole days since 30 December 1899, the
// fraction the time of day either side of it.
TEST(DayCount, DaysSinceTheEndOf1899)
{
    EXPECT_EQ(EncodeDayCount(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDayCount(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDayCount(2000, 1, 1), 36526.0);
    std::uint16_t year = 0, month = 0, day = 0;
    DecodeDayCount(36526.75, year, month, day);
    EXPECT_EQ((std::array<int, 3>{year, month, day}), (std::array<int, 3>{2000, 1, 1}));
    DecodeDayCount(-0.25, year, month, day);
    EXPECT_EQ((std::array<int, 3>{year, month, day}), (std::array<int, 3>{1899, 12, 30}));
    DecodeDayCount(-1.5, year, month, day);
    EXPECT_EQ((std::array<int, 3>{year, month, day}), (std::array<int, 3>{1899, 12, 29}));
}

// ---------------------------------------------------------------------------
// Layout

TEST_F(ConverterWindow, AtTheDesignDensityTheLayoutIsAsDesigned)
{
    EXPECT_EQ(Form1->GetTextHeight(), 16) << "the window font's text height at 120 pixels per inch";
    EXPECT_EQ(Form1->ClientWidth(), 393);
    EXPECT_EQ(Form1->ClientHeight(), 392);
    EXPECT_EQ(Form1->Font()->Height(), -16);
    EXPECT_EQ(Form1->Label1->Font()->Height(), -13);
    EXPECT_EQ(Form1->Panel8->Font()->Height(), -13);
    EXPECT_EQ(Form1->Panel1->BoundsRect(), Bounds(8, 112, 378, 273));
    EXPECT_EQ(Form1->Label1->BoundsRect(), Bounds(32, 112, 305, 15));
    EXPECT_EQ(Form1->Panel8->BoundsRect(), Bounds(8, 80, 377, 25));
    EXPECT_EQ(Form1->BitBtn2->BoundsRect(), Bounds(192, 232, 121, 34));

    // Each spin button overlaps the right edge of its field by 2 pixels and
    // splits into halves of 17 and 18 rows sharing row 16.
    const std::pair<TPanel*, TSpinButton*> pairs[] = {
        {Form1->Panel2, Form1->SpinButton1}, {Form1->Panel3, Form1->SpinButton2}, {Form1->Panel4, Form1->SpinButton3},
        {Form1->Panel5, Form1->SpinButton4}, {Form1->Panel6, Form1->SpinButton5}, {Form1->Panel7, Form1->SpinButton6},
    };
    for (const auto& [field, spin] : pairs) {
        EXPECT_EQ(spin->Parent(), field->Parent());
        EXPECT_EQ(spin->Left(), field->Left() + field->Width() - 2) << spin->Name();
        EXPECT_EQ(spin->Top(), field->Top());
        EXPECT_EQ(spin->UpButton()->Height(), 17);
        EXPECT_EQ(spin->DownButton()->BoundsRect(), Bounds(0, 16, 30, 18));
        EXPECT_FALSE(spin->TabStop());
    }
    EXPECT_EQ(Form1->Label1->Parent(), Form1->Bevel1->Parent());
    EXPECT_TRUE(Form1->Bevel1->BoundsRect().Contains(Form1->Label1->BoundsRect().TopLeft()));
    EXPECT_TRUE(Form1->BitBtn2->Default());
}

// The window font's height follows the screen's pixels per inch; the layout
// then scales by the text height that font really has over the design's 16.
// "System" is a bitmap face with few cells, so an ordinary 96-pixel screen
// keeps the design size and only a display with a larger face grows it.
TEST(ConverterWindowScaling, LayoutScalesByTheTextHeightTheScreensFontHas)
{
    const struct {
        int PixelsPerInch;
        int TextHeight;
    } screens[] = {{96, 16}, {120, 16}, {192, 24}};
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.PixelsPerInch);
        SetDisplayPixelsPerInchOverride(screen.PixelsPerInch);
        Application->CreateForm(&Form1);
        EXPECT_EQ(Form1->Font()->Height(), MulDiv(-16, screen.PixelsPerInch, 120));
        const int m = Form1->GetTextHeight();
        EXPECT_EQ(m, screen.TextHeight);
        const auto scaled = [m](int v) { return MulDiv(v, m, 16); };
        EXPECT_EQ(Form1->ClientWidth(), scaled(393));
        EXPECT_EQ(Form1->ClientHeight(), scaled(392));
        EXPECT_EQ(Form1->Panel1->BoundsRect(), Rect(scaled(8), scaled(112), scaled(8 + 378), scaled(112 + 273)));
        EXPECT_EQ(Form1->Label1->Font()->Height(), MulDiv(-13, m, 16));
        EXPECT_EQ(Form1->SpinButton4->BoundsRect(), Rect(scaled(64), scaled(24), scaled(64 + 30), scaled(24 + 34)));
        const int height = Form1->SpinButton4->Height();
        EXPECT_EQ(Form1->SpinButton4->DownButton()->BoundsRect(),
                  Bounds(0, height / 2 - 1, Form1->SpinButton4->Width(), height - height / 2 + 1));
        Application->DestroyForms();
    }
    SetDisplayPixelsPerInchOverride(120);
}

TEST_F(ConverterWindow, CentresOnTheOuterSizeTruncatingTowardZero)
{
    const int width = Form1->Width();
    const int height = Form1->Height();
    EXPECT_GT(width, Form1->ClientWidth()) << "the outer size includes the frame";
    EXPECT_EQ(Form1->Left(), (Screen->Width() - width) / 2);
    EXPECT_EQ(Form1->Top(), (Screen->Height() - height) / 2);

    // Three pixels larger than the screen each way: -1, not -2.
    Screen->SetSizeOverride({width - 3, height - 3});
    Form1->FormCreate(Form1);
    EXPECT_EQ(Form1->Left(), -1);
    EXPECT_EQ(Form1->Top(), -1);
    Screen->SetSizeOverride({1001, 700});
    Form1->FormCreate(Form1);
    EXPECT_EQ(Form1->Left(), (1001 - width) / 2);
    EXPECT_EQ(Form1->Top(), (700 - height) / 2);
}

// ---------------------------------------------------------------------------
// Accessibility

void CollectNamed(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& all, int depth = 0)
{
    if (node == nullptr || depth > 12)
        return;
    all.push_back(node);
    for (int i = 0; i < node->childCount(); ++i)
        CollectNamed(node->child(i), all, depth + 1);
}

TEST_F(ConverterWindow, FieldsLineAndButtonsHaveNamesAndHintsAreDescriptions)
{
    ASSERT_TRUE(ShowActive(Form1));
    const struct {
        TControl* Control;
        const char* Name;
    } named[] = {
        {Form1->Panel2, "Hijri day"},     {Form1->Panel3, "Hijri month"},     {Form1->Panel4, "Hijri year"},
        {Form1->Panel5, "Gregorian day"}, {Form1->Panel6, "Gregorian month"}, {Form1->Panel7, "Gregorian year"},
        {Form1->Label1, "Corresponding dates"}, {Form1->BitBtn1, "Today's Date"}, {Form1->BitBtn2, "Close"},
    };
    std::vector<QAccessibleInterface*> all;
    CollectNamed(QAccessible::queryAccessibleInterface(Form1->Widget()), all);
    for (const auto& row : named) {
        bool found = false;
        for (QAccessibleInterface* node : all)
            if (node->text(QAccessible::Name).toStdString() == row.Name) {
                found = true;
                EXPECT_EQ(node->text(QAccessible::Description).toStdString(), row.Control->Hint()) << row.Name;
            }
        EXPECT_TRUE(found) << row.Name;
    }
    // Whatever can be pressed, focused or read out has a name; frames and
    // bevels say nothing and need none.
    for (QAccessibleInterface* node : all) {
        const QAccessible::Role role = node->role();
        const bool informative = role == QAccessible::Button || node->state().focusable ||
                                 !node->text(QAccessible::Value).isEmpty();
        if (informative && !node->state().invisible) {
            EXPECT_FALSE(node->text(QAccessible::Name).isEmpty())
                << "role " << role << " at " << node->rect().x() << "," << node->rect().y();
        }
    }
}

} // namespace
