// What the standard controls paint, read back from their parents' surfaces,
// and the notifications controls receive.
#include "FrameworkTestSupport.h"

#include "framework/controls/Buttons.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

class ControlPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(20, 20, 400, 300);
        form->SetColor(clWhite);
    }
    void TearDown() override { form->BeforeDestruction(); }

    template <typename T>
    T* Make(TWinControl* parent, TRect bounds)
    {
        auto* control = new T(form.get());
        control->SetParent(parent);
        control->SetBoundsRect(bounds);
        return control;
    }
    // A pixel of a window's client surface after everything is painted.
    TColor Pixel(TWinControl* window, int x, int y)
    {
        if (!form->Visible()) {
            EXPECT_TRUE(ShowActive(form.get()));
        }
        form->Repaint();
        window->Repaint();
        const HDC dc = GetDC(window->Handle());
        const TColor color = GetPixel(dc, x, y);
        ReleaseDC(window->Handle(), dc);
        return color;
    }

    std::unique_ptr<TForm> form;
};

const TColor Highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
const TColor Shadow = GetSysColor(COLOR_BTNSHADOW);
const TColor Face = GetSysColor(COLOR_BTNFACE);

TEST_F(ControlPixels, PanelBevels)
{
    // A number field: raised outer bevel, lowered inner bevel.
    auto* field = Make<TPanel>(form.get(), Bounds(10, 10, 50, 34));
    field->SetBevelInner(bvLowered);
    auto* credit = Make<TPanel>(form.get(), Bounds(100, 10, 80, 25));
    credit->SetBevelOuter(bvLowered);
    struct Row {
        const char* stroke;
        TPanel* panel;
        TPoint at;
        TColor expected;
    } rows[] = {
        {"outer raised, left: highlight", field, {0, 10}, Highlight},
        {"inner lowered, left: shadow", field, {1, 10}, Shadow},
        {"outer raised, right: shadow", field, {49, 10}, Shadow},
        {"inner lowered, right: highlight", field, {48, 10}, Highlight},
        {"face", field, {25, 3}, Face},
        {"outer lowered, top: shadow", credit, {40, 0}, Shadow},
        {"outer lowered, bottom: highlight", credit, {40, 24}, Highlight},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Pixel(row.panel, row.at.X, row.at.Y), row.expected) << row.stroke;
}

TEST_F(ControlPixels, BevelShapeAndGroupBox)
{
    auto* raised = Make<TBevel>(form.get(), Bounds(10, 10, 40, 20));
    raised->SetStyle(bsRaised);
    Make<TBevel>(form.get(), Bounds(60, 10, 40, 20)); // lowered box, the default
    auto* shape = Make<TShape>(form.get(), Bounds(110, 10, 16, 8));
    shape->Brush()->SetColor(clActiveCaption);
    auto* group = Make<TGroupBox>(form.get(), Bounds(10, 60, 120, 60));
    struct Row {
        const char* stroke;
        TWinControl* window;
        TPoint at;
        TColor expected;
    } rows[] = {
        {"raised box, left: highlight", form.get(), {10, 20}, Highlight},
        {"raised box, right: shadow", form.get(), {49, 20}, Shadow},
        {"raised box, bottom-left corner: the left line's", form.get(), {10, 29}, Highlight},
        {"raised box, top-right corner: the right line's", form.get(), {49, 10}, Shadow},
        {"lowered box, top: shadow", form.get(), {80, 10}, Shadow},
        {"lowered box, bottom: highlight", form.get(), {80, 29}, Highlight},
        {"bevel inside: parent's colour", form.get(), {80, 20}, clWhite},
        {"shape outline", form.get(), {110, 10}, clBlack},
        {"shape fill", form.get(), {115, 13}, GetSysColor(COLOR_ACTIVECAPTION)},
        {"shape bottom-right outline", form.get(), {125, 17}, clBlack},
        {"group box line: shadow", group, {0, 40}, Shadow},
        {"group box line: highlight inside", group, {1, 40}, Highlight},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Pixel(row.window, row.at.X, row.at.Y), row.expected) << row.stroke;
}

TEST_F(ControlPixels, BitBtnGlyphDefaultFrameAndDisabledLook)
{
    auto* panel = Make<TPanel>(form.get(), Bounds(0, 0, 300, 100));
    auto* button = Make<TBitBtn>(panel, Bounds(10, 10, 121, 34));
    button->SetKind(bkOK);
    button->SetCaption("&Close");
    const auto countOf = [&](TColor color) {
        int count = 0;
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x)
                count += Pixel(button, x, y) == color ? 1 : 0;
        return count;
    };
    const TColor green = RGB(0x00, 0xC0, 0x00);
    EXPECT_GT(countOf(green), 10) << "the tick";
    EXPECT_EQ(Pixel(button, 0, 0), GetSysColor(COLOR_WINDOWFRAME)) << "the default button's black frame";
    button->SetEnabled(false);
    EXPECT_EQ(countOf(green), 0) << "the greyed image";
    EXPECT_GT(countOf(Shadow), 10);
}

// ---------------------------------------------------------------------------
// Notifications

class TNotedLabel : public TLabel {
public:
    using TLabel::TLabel;
    std::vector<UINT> notes;
    void WndProc(TMessage& m) override
    {
        if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100)
            notes.push_back(m.Msg);
        TLabel::WndProc(m);
    }
};

TEST(Notifications, PropertyChangesAndThePointer)
{
    TForm form(nullptr);
    form.SetBounds(30, 30, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 200, 100);
    auto* label = new TNotedLabel(&form);
    label->SetParent(panel);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 50, 20);
    label->SetParentColor(true);
    label->notes.clear();

    struct Row {
        const char* change;
        std::function<void()> apply;
        UINT expected;
    } rows[] = {
        {"caption", [&] { label->SetCaption("Hello"); }, CM_TEXTCHANGED},
        {"enabled", [&] { label->SetEnabled(false); }, CM_ENABLEDCHANGED},
        {"colour", [&] { label->SetColor(clRed); }, CM_COLORCHANGED},
        {"visible", [&] { label->SetVisible(false); }, CM_VISIBLECHANGED},
        {"parent font", [&] { panel->Font()->SetHeight(-20); }, CM_PARENTFONTCHANGED},
        {"parent colour", [&] { panel->SetColor(clYellow); }, CM_PARENTCOLORCHANGED},
        {"own font", [&] { label->Font()->SetHeight(-9); }, CM_FONTCHANGED},
    };
    for (const Row& row : rows) {
        label->notes.clear();
        row.apply();
        EXPECT_NE(std::find(label->notes.begin(), label->notes.end(), row.expected), label->notes.end()) << row.change;
    }
    EXPECT_EQ(label->Font()->Height(), -9);
    EXPECT_EQ(label->Color(), clRed) << "an own colour is not overwritten by the parent's";

    // The pointer entering and leaving a windowless control.
    label->SetVisible(true);
    label->SetEnabled(true);
    ASSERT_TRUE(ShowActive(&form));
    label->notes.clear();
    QTest::mouseMove(panel->Widget(), QPoint(20, 20));
    QTest::mouseMove(panel->Widget(), QPoint(150, 80));
    std::vector<UINT> crossings;
    for (UINT note : label->notes)
        if (note == CM_MOUSEENTER || note == CM_MOUSELEAVE)
            crossings.push_back(note);
    EXPECT_EQ(crossings, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
    form.BeforeDestruction();
}

TEST(TabOrder, SettingAnOrderMovesTheOthersAndHiddenControlsAreSkipped)
{
    TForm form(nullptr);
    std::vector<TButton*> buttons;
    for (int i = 0; i < 3; ++i) {
        buttons.push_back(new TButton(&form));
        buttons.back()->SetParent(&form);
    }
    buttons[2]->SetTabOrder(0);
    EXPECT_EQ(buttons[2]->TabOrder(), 0);
    EXPECT_EQ(buttons[0]->TabOrder(), 1);
    EXPECT_EQ(buttons[1]->TabOrder(), 2);
    EXPECT_EQ(form.FindNextControl(buttons[1], true, true, false), buttons[2]) << "wraps around";
    buttons[0]->SetVisible(false);
    EXPECT_EQ(form.FindNextControl(buttons[2], true, true, false), buttons[1]);
    buttons[1]->SetTabStop(false);
    EXPECT_EQ(form.FindNextControl(buttons[2], true, true, false), buttons[2]);
    form.BeforeDestruction();
}

} // namespace
