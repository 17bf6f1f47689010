// Controls: the dialog keyboard, the speed button's capture, label text
// clipping, notifications, and hint timing with a replaceable hint window.
#include "FrameworkTestSupport.h"

#include "framework/controls/Buttons.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Hints.h"
#include "framework/controls/StdCtrls.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

void Press(TForm* form, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : form->Widget();
    QTest::keyClick(target, key, modifiers);
}

class KeyboardForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 300, 200);
        auto* panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 280, 150);
        today = new TBitBtn(form.get());
        today->SetParent(panel);
        today->SetBounds(10, 100, 120, 34);
        today->SetKind(bkHelp);
        today->SetCaption("&Today's Date");
        today->OnClick = [this](TObject*) { log += 'T'; };
        close = new TBitBtn(form.get());
        close->SetParent(panel);
        close->SetBounds(150, 100, 120, 34);
        close->SetKind(bkOK);
        close->SetCaption("&Close");
        close->OnClick = [this](TObject*) { log += 'C'; };
        ASSERT_TRUE(ShowActive(form.get()));
    }
    void TearDown() override { form->BeforeDestruction(); }

    std::unique_ptr<TForm> form;
    TBitBtn* today = nullptr;
    TBitBtn* close = nullptr;
    std::string log;
};

TEST_F(KeyboardForm, TabEnterAcceleratorsAndEscape)
{
    EXPECT_EQ(form->ActiveControl(), today) << "the first tab stop holds the focus";
    EXPECT_TRUE(close->Default());
    Press(form.get(), Qt::Key_Return);
    EXPECT_EQ(log, "T") << "Enter presses the focused button";
    Press(form.get(), Qt::Key_Tab);
    EXPECT_EQ(form->ActiveControl(), close);
    Press(form.get(), Qt::Key_Return);
    Press(form.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(form->ActiveControl(), today);
    Press(form.get(), Qt::Key_Escape);
    EXPECT_EQ(log, "TC") << "no cancel button: Escape does nothing";

    log.clear();
    Press(form.get(), Qt::Key_C);
    Press(form.get(), Qt::Key_T, Qt::AltModifier);
    Press(form.get(), Qt::Key_C, Qt::AltModifier);
    Press(form.get(), Qt::Key_X);
    EXPECT_EQ(log, "CTC") << "accelerators with and without Alt";

    // With no button focused, Enter presses the default button.
    log.clear();
    form->SetActiveControl(nullptr);
    EXPECT_TRUE(close->IsActive());
    EXPECT_FALSE(today->IsActive());
    QTest::keyClick(form->Widget(), Qt::Key_Return);
    EXPECT_EQ(log, "C");
}

TEST_F(KeyboardForm, AControlThatWantsArrowsKeepsThem)
{
    class TArrowButton : public TButton {
    public:
        using TButton::TButton;
        int arrows = 0;

    protected:
        void KeyDown(WORD& key, TShiftState shift) override
        {
            if (key == VK_DOWN || key == VK_UP)
                ++arrows;
            TButton::KeyDown(key, shift);
        }
        void WndProc(TMessage& m) override
        {
            if (m.Msg == CM_WANTSPECIALKEY && (m.WParam == VK_UP || m.WParam == VK_DOWN)) {
                m.Result = 1;
                return;
            }
            TButton::WndProc(m);
        }
    };
    auto* arrow = new TArrowButton(form.get());
    arrow->SetParent(today->Parent());
    arrow->SetBounds(10, 10, 60, 25);
    arrow->SetFocus();
    Press(form.get(), Qt::Key_Down);
    EXPECT_EQ(arrow->arrows, 1);
    EXPECT_EQ(form->ActiveControl(), arrow);
    Press(form.get(), Qt::Key_Right); // not wanted: the dialog manager moves on
    EXPECT_NE(form->ActiveControl(), arrow);
}

// ---------------------------------------------------------------------------
// Speed button: capture, look while dragged, click only on release inside

class SpeedButtonForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 300, 200);
        panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, 200, 120);
        button = new TSpeedButton(form.get());
        button->SetParent(panel);
        button->SetBounds(20, 20, 30, 17);
        button->OnClick = [this](TObject*) { ++clicks; };
        ASSERT_TRUE(ShowActive(form.get()));
    }
    void TearDown() override { form->BeforeDestruction(); }

    // The button's top-left pixel: highlight when up, dark shadow when down.
    TColor Corner()
    {
        panel->Update();
        const HDC dc = GetDC(panel->Handle());
        const TColor c = GetPixel(dc, button->Left(), button->Top());
        ReleaseDC(panel->Handle(), dc);
        return c;
    }

    std::unique_ptr<TForm> form;
    TPanel* panel = nullptr;
    TSpeedButton* button = nullptr;
    int clicks = 0;
};

TEST_F(SpeedButtonForm, PressLeaveReenterAndReleaseOutside)
{
    QWidget* surface = panel->Widget();
    const QPoint inside(25, 25);
    const QPoint outside(150, 100);
    EXPECT_EQ(Corner(), GetSysColor(COLOR_BTNHIGHLIGHT));

    QTest::mousePress(surface, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(button->MouseCapture());
    EXPECT_EQ(button->State(), bsDown);
    EXPECT_EQ(Corner(), GetSysColor(COLOR_3DDKSHADOW));

    QTest::mouseMove(surface, outside);
    EXPECT_EQ(button->State(), bsUp) << "drawn up while the pointer is outside";
    EXPECT_EQ(Corner(), GetSysColor(COLOR_BTNHIGHLIGHT));
    QTest::mouseMove(surface, inside);
    EXPECT_EQ(button->State(), bsDown) << "drawn down again on re-entry";
    QTest::mouseMove(surface, outside);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, outside);
    EXPECT_EQ(clicks, 0) << "a release outside does not click";
    EXPECT_FALSE(button->MouseCapture());

    QTest::mouseClick(surface, Qt::LeftButton, {}, inside);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(surface, Qt::RightButton, {}, inside);
    EXPECT_EQ(clicks, 1) << "the right button never clicks";
}

// ---------------------------------------------------------------------------
// Labels

TEST(Labels, ACentredLineWiderThanTheLabelIsCutAtBothEnds)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetAutoSize(false);
    label->SetAlignment(taCenter);
    label->SetBounds(20, 10, 60, 15);
    label->Font()->SetColor(clBlue);
    label->Font()->SetHeight(-13);
    label->SetCaption("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM");
    ASSERT_TRUE(ShowActive(&form));
    form.Repaint();

    const HDC dc = GetDC(form.Handle());
    const auto columnHasText = [&](int x) {
        for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
            if (GetPixel(dc, x, y) == clBlue)
                return true;
        return false;
    };
    const auto anyText = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            if (columnHasText(x))
                return true;
        return false;
    };
    EXPECT_TRUE(anyText(label->Left(), label->Left() + 3)) << "cut at the left end";
    EXPECT_TRUE(anyText(label->Left() + label->Width() - 3, label->Left() + label->Width())) << "cut at the right end";
    EXPECT_FALSE(anyText(label->Left() - 5, label->Left())) << "nothing outside the label";
    EXPECT_FALSE(anyText(label->Left() + label->Width(), label->Left() + label->Width() + 5));
    ReleaseDC(form.Handle(), dc);
    form.BeforeDestruction();
}

TEST(Labels, AutoSizeFollowsTextAndNotifications)
{
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("x");
    label->SetCaption("");
    const TSize empty{label->Width(), label->Height()};
    EXPECT_GT(empty.cx, 0) << "an empty label still measures a space";
    label->SetCaption("A longer text");
    EXPECT_GT(label->Width(), empty.cx);
    EXPECT_EQ(label->Height(), empty.cy);

    // A parent font change reaches a child that uses the parent's font.
    EXPECT_TRUE(label->ParentFont());
    form.Font()->SetHeight(-20);
    EXPECT_EQ(label->Font()->Height(), -20);
    EXPECT_GT(label->Height(), empty.cy);
    label->Font()->SetHeight(-9);
    EXPECT_FALSE(label->ParentFont());
    form.Font()->SetHeight(-30);
    EXPECT_EQ(label->Font()->Height(), -9);
    form.BeforeDestruction();
}

TEST(Accessibility, WindowlessChildrenAppearUnderTheirWindowWithNameAndHint)
{
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 200, 100);
    auto* button = new TButton(&form);
    button->SetParent(panel);
    button->SetCaption("&Close");
    button->SetHint("Close and exit");
    auto* label = new TLabel(&form);
    label->SetParent(panel);
    label->SetAccessibleName("Summary line");
    label->SetHint("corresponding two dates");

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(panel->Widget());
    ASSERT_NE(iface, nullptr);
    ASSERT_EQ(iface->childCount(), 2);
    QAccessibleInterface* buttonIface = iface->child(0);
    EXPECT_EQ(buttonIface->role(), QAccessible::Button);
    EXPECT_EQ(buttonIface->text(QAccessible::Description), "Close and exit");
    QAccessibleInterface* labelIface = iface->child(1);
    EXPECT_EQ(labelIface->role(), QAccessible::StaticText);
    EXPECT_EQ(labelIface->text(QAccessible::Name), "Summary line");
    EXPECT_EQ(labelIface->text(QAccessible::Description), "corresponding two dates");
    EXPECT_EQ(iface->indexOfChild(labelIface), 1);
    EXPECT_EQ(labelIface->parent(), iface);
    delete label; // its accessible object goes with it
    EXPECT_EQ(iface->childCount(), 1);
    form.BeforeDestruction();
}

// ---------------------------------------------------------------------------
// Hints

class HintForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(100, 100, 300, 200);
        first = MakePanel(10, "first hint");
        second = MakePanel(80, "second hint");
        ASSERT_TRUE(ShowActive(form.get()));
    }
    void TearDown() override
    {
        Application->CancelHint();
        form->BeforeDestruction();
    }
    TPanel* MakePanel(int left, const char* hint)
    {
        auto* panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(left, 10, 60, 40);
        panel->SetHint(hint);
        panel->SetShowHint(true);
        return panel;
    }
    bool HintShowing(const std::string& text) const
    {
        THintWindow* window = Application->HintWindow();
        return window != nullptr && window->Active() && window->Caption() == text;
    }

    std::unique_ptr<TForm> form;
    TPanel* first = nullptr;
    TPanel* second = nullptr;
};

TEST_F(HintForm, PauseShortPauseAndHide)
{
    QElapsedTimer clock;
    clock.start();
    QTest::mouseMove(first->Widget(), QPoint(20, 20));
    Pump(250);
    EXPECT_FALSE(HintShowing("first hint")) << "not before the pause";
    ASSERT_TRUE(WaitUntil([&] { return HintShowing("first hint"); }));
    EXPECT_GE(clock.elapsed(), 450);

    // Moving on while a hint shows: the next one comes after the short pause.
    clock.restart();
    QTest::mouseMove(second->Widget(), QPoint(20, 20));
    ASSERT_TRUE(WaitUntil([&] { return HintShowing("second hint"); }));
    EXPECT_LT(clock.elapsed(), 400);

    // Hidden after the hide pause, and not shown again on the same control.
    clock.restart();
    ASSERT_TRUE(WaitUntil([&] { return !HintShowing("second hint"); }, 5000));
    EXPECT_GE(clock.elapsed(), 2000);
    Pump(700);
    EXPECT_FALSE(HintShowing("second hint"));
}

class TRecordingHint : public THintWindow {
public:
    using THintWindow::THintWindow;
    static inline int activations = 0;
    void ActivateHint(TRect rect, const std::string& hint) override
    {
        ++activations;
        THintWindow::ActivateHint(rect, hint);
    }
};

TEST_F(HintForm, AReplacedHintWindowTypeIsUsed)
{
    AppHintWindowType = HintWindowClassOf<TRecordingHint>("TRecordingHint");
    // Turning hints off and on makes a new window of the current type.
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    ASSERT_NE(dynamic_cast<TRecordingHint*>(Application->HintWindow()), nullptr);
    TRecordingHint::activations = 0;
    QTest::mouseMove(first->Widget(), QPoint(30, 20));
    ASSERT_TRUE(WaitUntil([&] { return HintShowing("first hint"); }));
    EXPECT_EQ(TRecordingHint::activations, 1);

    AppHintWindowType = DefaultHintWindowClass();
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    EXPECT_EQ(dynamic_cast<TRecordingHint*>(Application->HintWindow()), nullptr);
}

} // namespace
