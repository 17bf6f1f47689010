// A small form with one of each control, for looking at the framework on a
// real display: framework_demo [seconds] [focus|sizeable] closes itself
// after the seconds (default 5); with "focus" it draws a focus rectangle
// around the window on the screen one second after start; "sizeable" gives
// it a sizeable border.
#include "framework/controls/Application.h"
#include "framework/controls/Buttons.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/Timers.h"

#include <QApplication>

#include <cstdlib>
#include <string>

namespace {

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        BeginLoad();
        SetBorderStyle(bsSingle);
        SetCaption("Framework Demo");
        SetClientSize({393, 300});

        auto* bevel = new TBevel(this);
        bevel->SetParent(this);
        bevel->SetBounds(8, 8, 377, 65);
        bevel->SetShape(bsBox);
        bevel->SetStyle(bsRaised);

        auto* title = new TLabel(this);
        title->SetParent(this);
        title->SetAutoSize(false);
        title->SetAlignment(taCenter);
        title->SetBounds(16, 20, 361, 40);
        title->Font()->SetName("Times New Roman");
        title->Font()->SetHeight(-27);
        title->Font()->SetStyle({fsBold});
        title->Font()->SetColor(clBlue);
        title->SetCaption("Framework Demo");

        auto* shape = new TShape(this);
        shape->SetParent(this);
        shape->SetBounds(24, 38, 16, 8);
        shape->Brush()->SetColor(clActiveCaption);

        auto* panel = new TPanel(this);
        panel->SetParent(this);
        panel->SetBounds(8, 80, 377, 212);

        auto* group = new TGroupBox(this);
        group->SetParent(panel);
        group->SetBounds(16, 8, 345, 80);
        group->SetCaption("Group Box");

        auto* field = new TPanel(this);
        field->SetParent(group);
        field->SetBounds(16, 28, 58, 34);
        field->SetBevelInner(bvLowered);
        field->SetCaption("1447");

        auto* speed = new TSpeedButton(this);
        speed->SetParent(group);
        speed->SetBounds(72, 28, 30, 34);
        speed->SetCaption("+");

        auto* lowered = new TBevel(this);
        lowered->SetParent(panel);
        lowered->SetBounds(16, 96, 345, 30);

        auto* line = new TLabel(this);
        line->SetParent(panel);
        line->SetAutoSize(false);
        line->SetAlignment(taCenter);
        line->SetBounds(24, 104, 329, 15);
        line->Font()->SetName("Times New Roman");
        line->Font()->SetHeight(-13);
        line->Font()->SetStyle({fsBold});
        line->Font()->SetColor(clBlue);
        line->SetCaption("A centred line that is cut at both ends when it is wider than its label");
        line->SetHint("corresponding two dates");
        line->SetShowHint(true);

        auto* help = new TBitBtn(this);
        help->SetParent(panel);
        help->SetBounds(40, 150, 121, 34);
        help->SetKind(bkHelp);
        help->SetCaption("&Today's Date");
        help->SetTabOrder(0);

        auto* ok = new TBitBtn(this);
        ok->SetParent(panel);
        ok->SetBounds(200, 150, 121, 34);
        ok->SetKind(bkOK);
        ok->SetCaption("&Close");
        ok->OnClick = [this](TObject*) { Close(); };
        EndLoad();
        SetBounds(CentredPosition(Screen->Width(), Width()), CentredPosition(Screen->Height(), Height()), Width(),
                  Height());
    }
};

TDemoForm* DemoForm = nullptr;

} // namespace

int main(int argc, char** argv)
{
    TApplication::PrepareEnvironment();
    QApplication qt(argc, argv);
    TApplication application;
    Application->SetTitle("Framework Demo");
    Application->CreateForm(&DemoForm);
    if (argc > 2 && std::string(argv[2]) == "sizeable")
        DemoForm->SetBorderStyle(bsSizeable);
    TTimer closer(nullptr);
    closer.SetInterval(static_cast<unsigned>((argc > 1 ? std::atoi(argv[1]) : 5) * 1000));
    closer.SetOnTimer([](TObject*) { DemoForm->Close(); });
    TTimer focus(nullptr);
    focus.SetInterval(1000);
    if (argc > 2 && std::string(argv[2]) == "focus")
        focus.SetOnTimer([&focus](TObject*) {
            focus.SetEnabled(false);
            const HDC dc = GetDC(nullptr);
            DrawFocusRect(dc, InflateRect(DemoForm->BoundsRect(), 8, 8));
            ReleaseDC(nullptr, dc);
        });
    const int code = Application->Run();
    Application->DestroyForms();
    return code;
}
