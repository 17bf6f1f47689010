// The converter window's widgets as one table, in creation order: graphic
// widgets created later paint over earlier ones; panels, group boxes, spin
// buttons and push buttons are windows of their own and lie above the
// graphic widgets of their parent. Positions and sizes are pixels at the
// design resolution (120 pixels per inch); the form scales them to the screen
// after the table is built.
#include "window/Hagri1.h"

#include "effects/FxLabelFill.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "window/LayoutKinds.h"
#include "window/Spin.h"

#include <string>
#include <type_traits>

namespace {

const TLayoutFont SummaryFont{"Times New Roman", -13, {fsBold}, clBlue};
const TLayoutFont CreditFont{"Times New Roman", -13, {}, clBlue};
const TLayoutFont SymbolFont{"Symbol", -27, {fsBold}, clBlue};
const TLayoutFont GregorianBannerFont{"Times New Roman", -27, {fsBold}, clBlue};
const TLayoutFont HijriBannerFont{"Times New Roman", -27, {fsBold}, clBlack};

// Stores a made widget in the form's member of that name, as its own type.
template <auto Member>
void BindTo(TForm1& form, TControl* control)
{
    using TWidget = std::remove_pointer_t<std::remove_reference_t<decltype(form.*Member)>>;
    auto* widget = dynamic_cast<TWidget*>(control);
    if (widget == nullptr)
        throw EInvalidOperation("The layout made a " + control->ClassName() + " for " + control->Name());
    form.*Member = widget;
}

struct TLayoutRow {
    const char* Name;
    TWidgetMaker Make;
    const char* Parent; // nullptr: the window
    int Left;
    int Top;
    int Width;
    int Height;
    const char* Caption;        // nullptr: none
    const TLayoutFont* Font;      // nullptr: the parent's
    const char* Hint;           // shown on its own; also the accessible description
    int TabOrder;               // among the parent's windows; -1 for graphic widgets
    const char* AccessibleName; // nullptr: the caption serves
    TForm1::THandler Click;     // a push button's OnClick, a spin button's OnUpClick
    TForm1::THandler DownClick; // a spin button's OnDownClick
    void (*Bind)(TForm1& form, TControl* control);
};

// clang-format off
const TLayoutRow Form1Layout[] = {
//   Name           Make                   Parent       Left Top  W    H    Caption           Font          Hint                      Tab AccessibleName     Click                         DownClick                       Bind
    {"Bevel2",      MakeRaisedBox,         nullptr,     8,   8,   377, 65,  nullptr,          nullptr,      nullptr,                  -1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::Bevel2>},
    // The banner inside Bevel2; the hyphen overlaps the left edge of "Gregorian Converter".
    {"Label2",      MakeAutoSizeLabel,     nullptr,     86,  24,  8,   34,  nullptr,          &SymbolFont,  nullptr,                  -1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::Label2>},
    {"FxLabelFill1", MakeGradientLabel,    nullptr,     106, 16,  264, 49,  "Gregorian Converter", &GregorianBannerFont, nullptr,      -1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::FxLabelFill1>},
    {"FxLabelFill2", MakeGradientLabel,    nullptr,     22,  16,  73,  49,  "Hijri",          &HijriBannerFont, nullptr,              -1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::FxLabelFill2>},
    {"Shape1",      MakeHyphenShape,       nullptr,     94,  38,  16,  8,   nullptr,          nullptr,      nullptr,                  -1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::Shape1>},
    {"Panel1",      MakeRaisedPanel,       nullptr,     8,   112, 378, 273, nullptr,          nullptr,      nullptr,                   0, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::Panel1>},
    {"Bevel1",      MakeLoweredBox,        "Panel1",    24,  104, 322, 34,  nullptr,          nullptr,      nullptr,                  -1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::Bevel1>},
    {"Label1",      MakeFixedCentredLabel, "Panel1",    32,  112, 305, 15,  nullptr,          &SummaryFont, "corresponding two dates", -1, "Corresponding dates", nullptr,                  nullptr,                        BindTo<&TForm1::Label1>},
    {"GroupBox1",   MakeGroupBox,          "Panel1",    24,  8,   322, 82,  "Hijri Date",     nullptr,      nullptr,                   0, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::GroupBox1>},
    {"Panel2",      MakeNumberField,       "GroupBox1", 16,  32,  50,  34,  nullptr,          nullptr,      "Hijri day",               0, "Hijri day",       nullptr,                      nullptr,                        BindTo<&TForm1::Panel2>},
    {"Panel3",      MakeNumberField,       "GroupBox1", 120, 32,  50,  34,  nullptr,          nullptr,      "Hijri month",             1, "Hijri month",     nullptr,                      nullptr,                        BindTo<&TForm1::Panel3>},
    {"Panel4",      MakeNumberField,       "GroupBox1", 216, 32,  58,  34,  nullptr,          nullptr,      "Hijri year",              2, "Hijri year",      nullptr,                      nullptr,                        BindTo<&TForm1::Panel4>},
    {"SpinButton1", MakeSpinButton,        "GroupBox1", 64,  32,  30,  34,  nullptr,          nullptr,      "Change Hijri day",        3, "Change Hijri day", &TForm1::SpinButton1UpClick, &TForm1::SpinButton1DownClick, BindTo<&TForm1::SpinButton1>},
    {"SpinButton2", MakeSpinButton,        "GroupBox1", 168, 32,  30,  34,  nullptr,          nullptr,      "Change Hijri month",      4, "Change Hijri month", &TForm1::SpinButton2UpClick, &TForm1::SpinButton2DownClick, BindTo<&TForm1::SpinButton2>},
    {"SpinButton3", MakeSpinButton,        "GroupBox1", 272, 32,  30,  34,  nullptr,          nullptr,      "Change Hijri year",       5, "Change Hijri year", &TForm1::SpinButton3UpClick, &TForm1::SpinButton3DownClick, BindTo<&TForm1::SpinButton3>},
    {"GroupBox2",   MakeGroupBox,          "Panel1",    24,  144, 322, 74,  "Gregorian Date", nullptr,      nullptr,                   1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::GroupBox2>},
    {"Panel5",      MakeNumberField,       "GroupBox2", 16,  24,  50,  34,  nullptr,          nullptr,      "Gregorian day",           0, "Gregorian day",   nullptr,                      nullptr,                        BindTo<&TForm1::Panel5>},
    {"Panel6",      MakeNumberField,       "GroupBox2", 120, 24,  50,  34,  nullptr,          nullptr,      "Gregorian month",         1, "Gregorian month", nullptr,                      nullptr,                        BindTo<&TForm1::Panel6>},
    {"Panel7",      MakeNumberField,       "GroupBox2", 216, 24,  58,  34,  nullptr,          nullptr,      "Gregorian year",          2, "Gregorian year",  nullptr,                      nullptr,                        BindTo<&TForm1::Panel7>},
    {"SpinButton4", MakeSpinButton,        "GroupBox2", 64,  24,  30,  34,  nullptr,          nullptr,      "Change Gregorian day",    3, "Change Gregorian day", &TForm1::SpinButton4UpClick, &TForm1::SpinButton4DownClick, BindTo<&TForm1::SpinButton4>},
    {"SpinButton5", MakeSpinButton,        "GroupBox2", 168, 24,  30,  34,  nullptr,          nullptr,      "Change Gregorian month",  4, "Change Gregorian month", &TForm1::SpinButton5UpClick, &TForm1::SpinButton5DownClick, BindTo<&TForm1::SpinButton5>},
    {"SpinButton6", MakeSpinButton,        "GroupBox2", 272, 24,  30,  34,  nullptr,          nullptr,      "Change Gregorian year",   5, "Change Gregorian year", &TForm1::SpinButton6UpClick, &TForm1::SpinButton6DownClick, BindTo<&TForm1::SpinButton6>},
    {"BitBtn1",     MakeHelpButton,        "Panel1",    48,  232, 121, 34,  "&Today's Date",  nullptr,      "Restore today's date",    2, "Today's Date",    &TForm1::BitBtn1Click,        nullptr,                        BindTo<&TForm1::BitBtn1>},
    {"BitBtn2",     MakeOkButton,          "Panel1",    192, 232, 121, 34,  "&Close",         nullptr,      "Close and exit",          3, "Close",           &TForm1::BitBtn2Click,        nullptr,                        BindTo<&TForm1::BitBtn2>},
    {"Panel8",      MakeLoweredPanel,      nullptr,     8,   80,  377, 25,  "Dates Converter \u2014 astronomical Hijri reckoning", &CreditFont,
                                                                                                          "Report problems and suggestions through the project's issue tracker",
                                                                                                                                     1, nullptr,           nullptr,                      nullptr,                        BindTo<&TForm1::Panel8>},
};
// clang-format on

TWinControl* FindParent(TForm1& form, const char* name)
{
    if (name == nullptr)
        return &form;
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (form.Components(i)->Name() == name)
            if (auto* parent = dynamic_cast<TWinControl*>(form.Components(i)))
                return parent;
    throw EInvalidOperation(std::string("The layout names no window ") + name);
}

TNotifyEvent Bound(TForm1& form, TForm1::THandler handler)
{
    return [&form, handler](TObject* sender) { (form.*handler)(sender); };
}

} // namespace

void TForm1::CreateLayout()
{
    for (const TLayoutRow& row : Form1Layout) {
        TWinControl* parent = FindParent(*this, row.Parent);
        TControl* control = row.Make(this);
        control->SetName(row.Name);
        control->SetParent(parent);
        control->SetBounds(row.Left, row.Top, row.Width, row.Height);
        if (row.Caption != nullptr)
            control->SetCaption(row.Caption);
        if (row.Font != nullptr)
            ApplyFont(*control->Font(), *row.Font);
        if (row.Hint != nullptr) {
            control->SetHint(row.Hint);
            control->SetShowHint(true);
        }
        if (row.AccessibleName != nullptr)
            control->SetAccessibleName(row.AccessibleName);
        if (auto* window = dynamic_cast<TWinControl*>(control); window != nullptr && row.TabOrder >= 0)
            window->SetTabOrder(row.TabOrder);
        if (auto* spin = dynamic_cast<TSpinButton*>(control)) {
            if (row.Click != nullptr)
                spin->OnUpClick = Bound(*this, row.Click);
            if (row.DownClick != nullptr)
                spin->OnDownClick = Bound(*this, row.DownClick);
        } else if (row.Click != nullptr) {
            control->OnClick = Bound(*this, row.Click);
        }
        row.Bind(*this, control);
    }
}
