// Pure helpers of input and layout, window placement, and the size limits a
// hook may set through WM_GETMINMAXINFO.
#include "FrameworkTestSupport.h"

#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Screen.h"
#include "framework/controls/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

TEST(Accelerators, TheLetterAfterASingleAmpersand)
{
    struct Row {
        const char* caption;
        char accelerator;
    } rows[] = {
        {"&Today's Date", 't'}, {"&Close", 'c'}, {"Save &As", 'a'}, {"&&Save &As", 'a'},
        {"Fish && Chips", 0},   {"No accelerator", 0}, {"Trailing &", 0}, {"", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AcceleratorOf(row.caption), row.accelerator) << row.caption;
    EXPECT_TRUE(IsAccel('T', "&Today's Date"));
    EXPECT_FALSE(IsAccel('o', "&Today's Date"));
}

TEST(ButtonLayout, GlyphAndCaptionPlacement)
{
    const TRect face = Rect(2, 2, 119, 32); // a 121 x 34 button inside its edges
    struct Row {
        const char* name;
        TButtonLayout layout;
        int margin;
        TSize text;
        TPoint glyph;
        TRect textBounds;
    } rows[] = {
        // centred together: (117 - (18 + 4 + 60)) / 2 = 17 from the face's left
        {"left, centred", blGlyphLeft, -1, {60, 13}, {19, 8}, Bounds(41, 11, 60, 13)},
        {"left, margin 4", blGlyphLeft, 4, {60, 13}, {6, 8}, Bounds(28, 11, 60, 13)},
        {"right, centred", blGlyphRight, -1, {60, 13}, {84, 8}, Bounds(20, 11, 60, 13)},
        {"no caption: glyph alone, centred", blGlyphLeft, -1, {0, 0}, {51, 8}, Bounds(69, 17, 0, 0)},
    };
    for (const Row& row : rows) {
        const TButtonLayoutResult r = CalcButtonLayout(face, {18, 18}, row.text, row.layout, row.margin, 4);
        EXPECT_EQ(r.GlyphPos, row.glyph) << row.name;
        EXPECT_EQ(r.TextBounds, row.textBounds) << row.name;
    }
}

TEST(ButtonKeyboard, SpaceClicksOnRelease)
{
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(ShowActive(&form));
    button->SetFocus();
    QTest::keyPress(button->Widget(), Qt::Key_Space);
    EXPECT_TRUE(button->IsDown());
    EXPECT_EQ(clicks, 0);
    QTest::keyRelease(button->Widget(), Qt::Key_Space);
    EXPECT_FALSE(button->IsDown());
    EXPECT_EQ(clicks, 1);
    form.BeforeDestruction();
}

class Placement : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(100, 120, 250, 180);
        auto* panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 20, 100, 50);
        child = panel;
    }
    void TearDown() override { form->BeforeDestruction(); }
    std::unique_ptr<TForm> form;
    TPanel* child = nullptr;
};

TEST_F(Placement, ClientAndScreenCoordinates)
{
    ASSERT_TRUE(ShowActive(form.get()));
    TPoint p{0, 0};
    ClientToScreen(form->Handle(), p);
    EXPECT_EQ(p, (TPoint{103, 142})) << "inside the frame and under the caption";
    EXPECT_EQ(child->ClientToScreen({5, 5}), (TPoint{118, 167}));
    EXPECT_EQ(child->ScreenToClient({118, 167}), (TPoint{5, 5}));
    TRect r;
    ASSERT_TRUE(GetClientRect(form->Handle(), r));
    EXPECT_EQ(r, Rect(0, 0, 244, 155));
    ASSERT_TRUE(GetWindowRect(child->Handle(), r));
    EXPECT_EQ(r, Bounds(113, 162, 100, 50));
}

TEST_F(Placement, PlacementRoundTripsThroughMaximised)
{
    ASSERT_TRUE(ShowActive(form.get()));
    TWindowPlacement placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.rcNormalPosition = Bounds(50, 60, 250, 180);
    ASSERT_TRUE(SetWindowPlacement(form->Handle(), placement));
    EXPECT_TRUE(IsZoomed(form->Handle()));
    TWindowPlacement read;
    ASSERT_TRUE(GetWindowPlacement(form->Handle(), read));
    EXPECT_EQ(read.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(read.rcNormalPosition, Bounds(50, 60, 250, 180));
    ShowWindow(form->Handle(), SW_RESTORE);
    EXPECT_EQ(form->BoundsRect(), Bounds(50, 60, 250, 180));
}

TEST_F(Placement, AHookDecidesTheMaximisedBounds)
{
    ASSERT_TRUE(ShowActive(form.get()));
    WNDPROC saved;
    saved = SetWindowProc(form->Handle(), MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        const LRESULT result = CallWindowProc(saved, w, msg, wp, lp);
        if (msg == WM_GETMINMAXINFO) {
            auto* info = reinterpret_cast<TMinMaxInfo*>(lp);
            info->ptMaxPosition = {10, 20};
            info->ptMaxSize = {300, 200};
        }
        return result;
    }));
    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(form->BoundsRect(), Bounds(10, 20, 300, 200));
    SetWindowProc(form->Handle(), saved);
}

} // namespace
