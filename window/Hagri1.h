// The converter window: the Hijri and the civil date side by side as six
// number fields with spin buttons, the summary line below them, and the
// "&Today's Date" and "&Close" buttons.
//
// The six fields are the authoritative store of the two dates. Every handler
// reads its date back from the fields' text, steps it, writes it back,
// converts it into the other calendar with the engine, writes that into the
// other three fields and rebuilds the summary line. An error on the way is
// reported by the application's guard; the fields keep what was written
// before it.
#pragma once

#include "framework/controls/Forms.h"
#include "window/ConverterState.h"

#include <array>
#include <functional>

class TBevel;
class TBitBtn;
class TFxForm;
class TFxFormShadow;
class TFxFormStyler;
class TFxLabelFill;
class TFxShapeHint;
class TGroupBox;
class TLabel;
class TPanel;
class TShape;
class TSpinButton;

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    // The widgets, made from the layout table (the form owns them).
    TBevel* Bevel2 = nullptr;
    TLabel* Label2 = nullptr;             // empty; paints only its background
    TFxLabelFill* FxLabelFill1 = nullptr; // banner: "Gregorian Converter"
    TFxLabelFill* FxLabelFill2 = nullptr; // banner: "Hijri"
    // The effect components, in creation order.
    TFxShapeHint* FxShapeHint1 = nullptr;   // every hint as a balloon
    TFxFormShadow* FxFormShadow1 = nullptr; // the drop shadow, all defaults
    TFxFormStyler* FxFormStyler1 = nullptr; // the gradient caption bar
    TFxForm* FxForm1 = nullptr;             // the opening trail; hooks last
    TShape* Shape1 = nullptr;             // the hyphen between the two
    TPanel* Panel1 = nullptr;
    TBevel* Bevel1 = nullptr;
    TLabel* Label1 = nullptr;     // the summary line
    TGroupBox* GroupBox1 = nullptr;
    TPanel* Panel2 = nullptr;     // Hijri day
    TPanel* Panel3 = nullptr;     // Hijri month
    TPanel* Panel4 = nullptr;     // Hijri year
    TSpinButton* SpinButton1 = nullptr;
    TSpinButton* SpinButton2 = nullptr;
    TSpinButton* SpinButton3 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TPanel* Panel5 = nullptr;     // Gregorian day
    TPanel* Panel6 = nullptr;     // Gregorian month
    TPanel* Panel7 = nullptr;     // Gregorian year
    TSpinButton* SpinButton4 = nullptr;
    TSpinButton* SpinButton5 = nullptr;
    TSpinButton* SpinButton6 = nullptr;
    TBitBtn* BitBtn1 = nullptr;   // "&Today's Date"
    TBitBtn* BitBtn2 = nullptr;   // "&Close"
    TPanel* Panel8 = nullptr;     // the credit line

    ConverterState State;

    // The clock "today" is read from (a day count, see DayCount.h); tests set their own.
    std::function<double()> Now;

    // Handlers.
    void FormCreate(TObject* sender);
    void BitBtn1Click(TObject* sender);
    void BitBtn2Click(TObject* sender);
    void SpinButton1UpClick(TObject* sender);
    void SpinButton1DownClick(TObject* sender);
    void SpinButton2UpClick(TObject* sender);
    void SpinButton2DownClick(TObject* sender);
    void SpinButton3UpClick(TObject* sender);
    void SpinButton3DownClick(TObject* sender);
    void SpinButton4UpClick(TObject* sender);
    void SpinButton4DownClick(TObject* sender);
    void SpinButton5UpClick(TObject* sender);
    void SpinButton5DownClick(TObject* sender);
    void SpinButton6UpClick(TObject* sender);
    void SpinButton6DownClick(TObject* sender);

    // Rebuilds the summary line from WeekDay and the six fields.
    void ShowCorrespondence();

    // A handler of the form, as the layout table names it.
    using THandler = void (TForm1::*)(TObject* sender);

private:
    enum class TDateSide { Hijri, Gregorian };
    using TStepRule = void (*)(ConverterState& state);

    // Makes the widgets of the layout table, in its order.
    void CreateLayout();
    void ShowToday();
    // One spin click: read side's fields, step, write back, convert, write the other side.
    void EditDate(TDateSide side, TStepRule step);
    std::array<TPanel*, 3> DateFields(TDateSide side) const;
    void ReadDate(TDateSide side);
    void WriteDate(TDateSide side, std::int32_t day, std::int32_t month, std::int32_t year);
};

// The converter window; set before its construction runs.
extern TForm1* Form1;
