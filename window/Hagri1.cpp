#include "window/Hagri1.h"

#include "calendar/conver2.h"
#include "effects/FxShapeHint.h"
#include "effects/FxFormShadow.h"
#include "effects/FxFormStyler.h"
#include "framework/controls/Buttons.h"
#include "services/FxForm.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Screen.h"
#include "framework/controls/StdCtrls.h"
#include "calendar/CalendarNames.h"
#include "window/DayCount.h"
#include "window/LayoutKinds.h"
#include "window/SpinRules.h"

TForm1* Form1 = nullptr;

namespace {

// The window font: "System" with a 16-pixel character height, at a design
// resolution of 120 pixels per inch where its text is 16 pixels high.
const TLayoutFont WindowFont{"System", -16, {}, clWindowText};
constexpr int DesignPixelsPerInch = 120;
constexpr int DesignTextHeight = 16;
constexpr TSize DesignClientSize{393, 392};
// Where the window stood when it was designed; the creation handler centres it.
constexpr TPoint DesignPosition{345, 181};

// Days of the civil months in a common year, January first.
constexpr std::array<std::int32_t, 12> CommonYearMonthDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner), Now(NowDayCount)
{
    BeginLoad();
    SetCaption("Hijri-Gregorian Converter");
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu, biMinimize, biMaximize});
    SetColor(clBtnFace);
    ApplyFont(*Font(), WindowFont);
    SetPixelsPerInch(DesignPixelsPerInch);
    SetTextHeight(DesignTextHeight);
    SetBounds(DesignPosition.X, DesignPosition.Y, Width(), Height());
    SetClientSize(DesignClientSize);
    CreateLayout();
    // The window's effect components are made here, after its widgets and in
    // this order: FxShapeHint1, FxFormShadow1, FxFormStyler1, FxForm1. Each
    // finishes loading (and hooks the window) in EndLoad, before FormCreate.
    FxShapeHint1 = new TFxShapeHint(this);
    FxShapeHint1->Font()->SetName("MS Sans Serif");
    FxShapeHint1->Font()->SetHeight(-11);
    FxShapeHint1->Font()->SetColor(clWindowText);
    FxShapeHint1->Font()->SetStyle({});
    FxFormShadow1 = new TFxFormShadow(this);
    FxFormStyler1 = new TFxFormStyler(this);
    FxFormStyler1->Font()->SetName("System");
    FxFormStyler1->Font()->SetHeight(-13);
    FxFormStyler1->Font()->SetColor(clWindowText);
    FxForm1 = new TFxForm(this);
    FxForm1->Effect = deExplodeExt;
    FxForm1->IniSaveOptions = {soSize, soState};
    FxForm1->IniKey = "Form1";
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    EndLoad();
}

TForm1::~TForm1()
{
    // The components go while the handlers' state is still here.
    BeforeDestruction();
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate(TObject*)
{
    // (screen - window) div 2 on the outer size, truncated toward zero.
    SetTop(CentredPosition(Screen->Height(), Height()));
    SetLeft(CentredPosition(Screen->Width(), Width()));

    for (int i = State.DayNames.Low(); i <= State.DayNames.High(); ++i)
        State.DayNames[i] = DayName(i);
    for (int month = 1; month <= 12; ++month)
        State.GMonthNames[month] = GMonthName(month);
    for (int month = 1; month <= 12; ++month)
        State.HMonthNames[month] = HMonthName(month);
    for (int month = 1; month <= 12; ++month)
        State.GMonthDays[month] = CommonYearMonthDays[static_cast<std::size_t>(month - 1)];

    ShowToday();
}

void TForm1::BitBtn1Click(TObject*)
{
    ShowToday();
}

void TForm1::BitBtn2Click(TObject*)
{
    Close();
}

// The Hijri day button moves the civil date by a day: the Hijri day, month
// and year that follow are the engine's, so a Hijri month never needs a
// length table of its own.
void TForm1::SpinButton1UpClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepDayUp);
}

void TForm1::SpinButton1DownClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepDayDown);
}

void TForm1::SpinButton2UpClick(TObject*)
{
    EditDate(TDateSide::Hijri, StepMonthUp);
}

void TForm1::SpinButton2DownClick(TObject*)
{
    EditDate(TDateSide::Hijri, StepMonthDown);
}

void TForm1::SpinButton3UpClick(TObject*)
{
    EditDate(TDateSide::Hijri, StepYearUp);
}

void TForm1::SpinButton3DownClick(TObject*)
{
    EditDate(TDateSide::Hijri, StepYearDown);
}

void TForm1::SpinButton4UpClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepDayUp);
}

void TForm1::SpinButton4DownClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepDayDown);
}

void TForm1::SpinButton5UpClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepMonthUp);
}

void TForm1::SpinButton5DownClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepMonthDown);
}

void TForm1::SpinButton6UpClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepYearUp);
}

void TForm1::SpinButton6DownClick(TObject*)
{
    EditDate(TDateSide::Gregorian, StepYearDown);
}

void TForm1::ShowToday()
{
    State.NowValue = Now();
    DecodeDayCount(State.NowValue, State.NowYear, State.NowMonth, State.NowDay);
    State.InDay = State.NowDay;
    State.InMonth = State.NowMonth;
    State.InYear = State.NowYear;
    WriteDate(TDateSide::Gregorian, State.InDay, State.InMonth, State.InYear);
    GregorianToHijri(State.InDay, State.InMonth, State.InYear, State.OutDay, State.OutMonth, State.OutYear,
                     State.WeekDay);
    WriteDate(TDateSide::Hijri, State.OutDay, State.OutMonth, State.OutYear);
    ShowCorrespondence();
}

void TForm1::EditDate(TDateSide side, TStepRule step)
{
    ReadDate(side);
    step(State);
    WriteDate(side, State.InDay, State.InMonth, State.InYear);
    if (side == TDateSide::Gregorian) {
        GregorianToHijri(State.InDay, State.InMonth, State.InYear, State.OutDay, State.OutMonth, State.OutYear,
                         State.WeekDay);
        WriteDate(TDateSide::Hijri, State.OutDay, State.OutMonth, State.OutYear);
    } else {
        HijriToGregorian(State.InDay, State.InMonth, State.InYear, State.OutDay, State.OutMonth, State.OutYear,
                         State.WeekDay);
        WriteDate(TDateSide::Gregorian, State.OutDay, State.OutMonth, State.OutYear);
    }
    ShowCorrespondence();
}

std::array<TPanel*, 3> TForm1::DateFields(TDateSide side) const
{
    if (side == TDateSide::Hijri)
        return {Panel2, Panel3, Panel4};
    return {Panel5, Panel6, Panel7};
}

void TForm1::ReadDate(TDateSide side)
{
    const auto [day, month, year] = DateFields(side);
    State.InDay = StrToInt(day->Caption());
    State.InMonth = StrToInt(month->Caption());
    State.InYear = StrToInt(year->Caption());
}

void TForm1::WriteDate(TDateSide side, std::int32_t day, std::int32_t month, std::int32_t year)
{
    const auto [dayField, monthField, yearField] = DateFields(side);
    dayField->SetCaption(IntToStr(day));
    monthField->SetCaption(IntToStr(month));
    yearField->SetCaption(IntToStr(year));
}

void TForm1::ShowCorrespondence()
{
    // The names are the state's tables, as FormCreate filled them.
    const CorrespondenceNames names{
        [this](std::int32_t weekDay) -> std::string_view { return State.DayNames[weekDay]; },
        [this](std::int32_t month) -> std::string_view { return State.HMonthNames[month]; },
        [this](std::int32_t month) -> std::string_view { return State.GMonthNames[month]; },
    };
    Label1->SetAlignment(taCenter);
    Label1->SetCaption(ComposeCorrespondence(names, State.WeekDay,
                                             {Panel2->Caption(), Panel3->Caption(), Panel4->Caption(),
                                              Panel5->Caption(), Panel6->Caption(), Panel7->Caption()}));
}
