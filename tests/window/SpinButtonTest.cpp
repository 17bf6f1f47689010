// The spin button: its arrows, the layout of its halves, clicks and repeats
// under simulated mouse input with real timers, the keyboard and the focus
// rectangle when it takes the focus, and FocusControl.
#include "tests/framework/controls/FrameworkTestSupport.h"

#include "framework/controls/StdCtrls.h"
#include "window/Resources.h"
#include "window/Spin.h"

#include <QElapsedTimer>

#include <algorithm>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr TColor Olive = 0x008080; // red 128, green 128, blue 0

TEST(SpinGlyphs, ArrowsAreBlackTrianglesOnTransparentOlive)
{
    // '#' black, '.' olive; the down arrow is the up arrow upside down.
    const std::vector<std::string> up = {
        ".........",
        "....#....",
        "...###...",
        "..#####..",
        ".#######.",
        ".........",
    };
    const std::vector<std::string> down(up.rbegin(), up.rend());
    for (const auto& [name, rows] : {std::pair{"SpinUp", up}, std::pair{"SpinDown", down}}) {
        const auto glyph = LoadWindowBitmap(name);
        ASSERT_EQ(glyph->Width(), 9) << name;
        ASSERT_EQ(glyph->Height(), 6) << name;
        EXPECT_EQ(glyph->TransparentColor(), Olive) << name;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 9; ++x)
                EXPECT_EQ(glyph->Pixels(x, y), rows[y][x] == '#' ? clBlack : Olive) << name << " " << x << "," << y;
    }
}

// ---------------------------------------------------------------------------
// Layout of the halves

TEST(SpinLayout, HalvesOverlapByOneRowAndTheWidthHasAFloor)
{
    struct Row {
        int width, height;
        int expectedWidth, upHeight, downTop, downHeight;
    } rows[] = {
        {30, 34, 30, 17, 16, 18}, // the window's buttons: the halves share row 16
        {20, 25, 20, 12, 11, 14}, // the default size
        {10, 25, 15, 12, 11, 14}, // too narrow for the arrows: widened
        {15, 1, 15, 0, -1, 2},
    };
    TForm form(nullptr);
    auto* spin = new TSpinButton(&form);
    spin->SetParent(&form);
    for (const Row& row : rows) {
        spin->SetBounds(5, 6, row.width, row.height);
        EXPECT_EQ(spin->BoundsRect(), Bounds(5, 6, row.expectedWidth, row.height)) << row.width << "x" << row.height;
        EXPECT_EQ(spin->UpButton()->BoundsRect(), Bounds(0, 0, row.expectedWidth, row.upHeight));
        EXPECT_EQ(spin->DownButton()->BoundsRect(), Bounds(0, row.downTop, row.expectedWidth, row.downHeight));
    }
}

// ---------------------------------------------------------------------------
// Mouse: clicks, repeats, capture

class SpinMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 200, 150);
        spin = new TSpinButton(form.get());
        spin->SetParent(form.get());
        spin->SetBounds(20, 20, 30, 34);
        spin->OnUpClick = [this](TObject* sender) {
            EXPECT_EQ(sender, spin);
            Record('U');
        };
        spin->OnDownClick = [this](TObject*) { Record('D'); };
        ASSERT_TRUE(ShowActive(form.get()));
        clock.start();
    }
    void TearDown() override { form->BeforeDestruction(); }

    void Record(char which)
    {
        events += which;
        times.push_back(clock.elapsed());
    }
    QWidget* Surface() { return spin->Widget(); }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(Surface(), button, {}, at);
        clock.restart();
        times.clear();
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseRelease(Surface(), button, {}, at); }
    void Move(QPoint to) { QTest::mouseMove(Surface(), to); }
    // Runs the event loop until ms after the last press.
    void HoldUntil(int ms) { Pump(std::max(0, ms - static_cast<int>(clock.elapsed()))); }
    // A busy machine may run the repeat timer late: keep holding (at most
    // three seconds) until count events have come. Too many still shows.
    void HoldForEvents(std::size_t count)
    {
        while (events.size() < count && clock.elapsed() < 3000)
            Pump(5);
    }

    const QPoint up{15, 5};
    const QPoint down{15, 28};
    const QPoint outside{15, 90}; // below the control, still delivered to it while captured

    std::unique_ptr<TForm> form;
    TSpinButton* spin = nullptr;
    std::string events;
    std::vector<qint64> times;
    QElapsedTimer clock;
};

TEST_F(SpinMouse, AQuickClickGivesOneEventOfItsHalf)
{
    Press(up);
    HoldUntil(150);
    Release(up);
    Press(down);
    Release(down);
    Pump(550);
    EXPECT_EQ(events, "UD");
    EXPECT_FALSE(spin->UpButton()->Repeating());
    EXPECT_FALSE(spin->DownButton()->Repeating());
}

TEST_F(SpinMouse, AHeldPressRepeatsAfter400MsThenEvery100Ms)
{
    Press(down);
    EXPECT_EQ(spin->DownButton()->State(), bsDown);
    HoldUntil(1050);
    HoldForEvents(7);
    Release(down);
    // 400, 500, ..., 1000 ms and the release.
    EXPECT_EQ(events, "DDDDDDDD");
    ASSERT_GE(times.size(), 7u);
    EXPECT_GE(times[0], 390);
    // The repeats keep a 100 ms grid from the first one: a late one is
    // followed by a quicker one, none comes before its place on the grid.
    // On a busy machine every repeat may be late, but not all of them by
    // half a step and more each: one at least shows the 100 ms pace.
    bool onPace = false;
    for (std::size_t k = 1; k < 7; ++k) {
        const qint64 since = times[k] - times[0];
        EXPECT_GE(since, 100 * static_cast<qint64>(k) - 2) << "repeat " << k;
        onPace = onPace || since < 150 * static_cast<qint64>(k) - 2;
    }
    EXPECT_TRUE(onPace) << "a slower pace than every 100 ms";
    EXPECT_FALSE(spin->DownButton()->Repeating());
    Pump(250);
    EXPECT_EQ(events.size(), 8u) << "nothing after the release";
}

TEST_F(SpinMouse, LeavingTheHalfSuspendsRepeatsAndAReleaseOutsideAddsNone)
{
    Press(up);
    HoldUntil(650); // repeats at 400, 500, 600
    HoldForEvents(3);
    Move(outside);
    EXPECT_EQ(spin->UpButton()->State(), bsUp) << "drawn raised while the pointer is away";
    const std::size_t before = events.size();
    EXPECT_EQ(before, 3u);
    HoldUntil(1000);
    EXPECT_EQ(events.size(), before) << "suspended outside";
    Move(up);
    HoldUntil(1180); // back inside: repeats resume at the next ticks
    EXPECT_GE(events.size(), before + 1);
    Move(outside);
    const std::size_t atRelease = events.size();
    Release(outside);
    EXPECT_EQ(events.size(), atRelease) << "no click for a release outside";
    EXPECT_FALSE(spin->UpButton()->Repeating());
}

TEST_F(SpinMouse, TheRightButtonNeverClicks)
{
    Press(up, Qt::RightButton);
    HoldUntil(700);
    Release(up, Qt::RightButton);
    Press(down, Qt::RightButton);
    Release(down, Qt::RightButton);
    Pump(100);
    EXPECT_EQ(events, "");
    EXPECT_EQ(spin->UpButton()->State(), bsUp);
    EXPECT_FALSE(spin->UpButton()->Repeating());
}

// A right press starts nothing that lasts: the repeat timer finds no left
// press on its first tick and stops, while the button is still held.
TEST_F(SpinMouse, ARightPressStopsItsTimerAtTheFirstTick)
{
    Press(up, Qt::RightButton);
    HoldUntil(600);
    EXPECT_FALSE(spin->UpButton()->Repeating());
    Release(up, Qt::RightButton);
}

// A second press without a release in between (a release lost to another
// window) starts the count again: the first repeat is 400 ms after it.
TEST_F(SpinMouse, ASecondPressStartsTheCountAgain)
{
    Press(down);
    HoldUntil(300);
    Press(down);
    HoldUntil(250);
    EXPECT_EQ(events, "") << "no repeat 550 ms after the first press";
    HoldForEvents(1);
    Release(down);
    ASSERT_FALSE(times.empty());
    EXPECT_GE(times[0], 390);
}

// Without tbAllowTimer a held half clicks once, on release.
TEST_F(SpinMouse, WithoutTheTimerAHeldHalfClicksOnce)
{
    spin->UpButton()->TimeBtnState = {};
    Press(up);
    HoldUntil(600);
    EXPECT_FALSE(spin->UpButton()->Repeating());
    EXPECT_EQ(events, "");
    Release(up);
    EXPECT_EQ(events, "U");
}

TEST_F(SpinMouse, AnErrorDuringRepeatsStopsThemUntilTheNextPress)
{
    TExceptionCatcher catcher;
    spin->OnUpClick = [this](TObject*) {
        Record('U');
        throw std::runtime_error("step failed");
    };
    Press(up);
    HoldUntil(750);
    HoldForEvents(1);
    Pump(200);
    ASSERT_EQ(catcher.texts.size(), 1u) << "the first repeat raised; the timer stopped";
    EXPECT_EQ(catcher.texts[0], "step failed");
    EXPECT_FALSE(spin->UpButton()->Repeating());
    Move(outside);
    Release(outside);

    Press(up);
    EXPECT_TRUE(spin->UpButton()->Repeating()) << "a new press starts it again";
    HoldUntil(450);
    HoldForEvents(2);
    Move(outside);
    Release(outside);
    EXPECT_EQ(catcher.texts.size(), 2u);
    EXPECT_EQ(events, "UU");
}

TEST_F(SpinMouse, AClickHandsTheFocusToFocusControlWhichMayGoAway)
{
    auto* target = new TButton(form.get());
    target->SetParent(form.get());
    target->SetBounds(100, 20, 60, 25);
    auto* other = new TButton(form.get());
    other->SetParent(form.get());
    other->SetBounds(100, 60, 60, 25);
    other->SetFocus();
    spin->SetFocusControl(target);
    Press(up);
    Release(up);
    EXPECT_EQ(form->ActiveControl(), target);

    delete target;
    EXPECT_EQ(spin->FocusControl(), nullptr) << "cleared when the control goes";
    other->SetFocus();
    Press(up);
    Release(up);
    EXPECT_EQ(form->ActiveControl(), other);
    EXPECT_EQ(events, "UU");
}

// ---------------------------------------------------------------------------
// Keyboard and focus rectangle on a spin button that takes the focus

class SpinKeyboard : public SpinMouse {
protected:
    void SetUp() override
    {
        SpinMouse::SetUp();
        spin->SetTabStop(true);
    }
    QImage Painted()
    {
        spin->Repaint();
        return spin->ClientSurface()->Image().copy();
    }
    // The rows in which image differs from reference.
    static std::vector<int> ChangedRows(const QImage& image, const QImage& reference)
    {
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != reference.pixel(x, y)) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
};

TEST_F(SpinKeyboard, ArrowsClickAndMoveTheFocusedHalfSpaceClicksIt)
{
    spin->SetFocus();
    ASSERT_TRUE(spin->Focused());
    QTest::keyClick(spin->Widget(), Qt::Key_Down);
    EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
    QTest::keyClick(spin->Widget(), Qt::Key_Space);
    QTest::keyClick(spin->Widget(), Qt::Key_Up);
    QTest::keyClick(spin->Widget(), Qt::Key_Space);
    EXPECT_EQ(events, "DDUU");
    EXPECT_EQ(form->ActiveControl(), spin) << "the arrows are the control's, not the dialog's";
}

TEST_F(SpinKeyboard, TheFocusedHalfDrawsADottedRectangleThreePixelsIn)
{
    const QImage unfocused = Painted();
    spin->SetFocus();
    const QImage focused = Painted();
    // Up half: rows 0..16; its focus rectangle runs along rows 3 and 13.
    const std::vector<int> rows = ChangedRows(focused, unfocused);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), 3);
    EXPECT_EQ(rows.back(), 13);

    // A mouse press moves the focused half and its rectangle.
    Press(down);
    Release(down);
    const QImage moved = Painted();
    const std::vector<int> movedRows = ChangedRows(moved, unfocused);
    ASSERT_FALSE(movedRows.empty());
    EXPECT_EQ(movedRows.front(), 16 + 3);
    EXPECT_EQ(movedRows.back(), 16 + 18 - 4);

    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(100, 20, 60, 25);
    button->SetFocus();
    EXPECT_EQ(ChangedRows(Painted(), unfocused), std::vector<int>{}) << "no rectangle without the focus";
}

// Pressed, the focused half's rectangle moves a pixel right and down with the glyph.
TEST_F(SpinKeyboard, APushedHalfsFocusRectangleMovesWithTheGlyph)
{
    spin->SetFocus();
    // The dotted rectangle inverts the face: C0C0C0 becomes 3F3F3F.
    const auto dottedRows = [](const QImage& image) {
        std::vector<int> rows;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == 0x3F3F3Fu) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    };
    const std::vector<int> raised = dottedRows(Painted());
    ASSERT_FALSE(raised.empty());
    EXPECT_EQ(raised.front(), 3);
    Press(up);
    const std::vector<int> pushed = dottedRows(Painted());
    Release(up);
    ASSERT_FALSE(pushed.empty());
    EXPECT_EQ(pushed.front(), 4);
    EXPECT_EQ(pushed.back(), raised.back() + 1);
}

// A spin button that does not take the focus keeps its up half as the focused
// one when clicked: given the focus later, the rectangle starts there.
TEST_F(SpinMouse, WithoutTabStopAClickLeavesTheFocusedHalf)
{
    Press(down);
    Release(down);
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
    spin->SetTabStop(true);
    spin->SetFocus();
    spin->Repaint();
    const QImage image = spin->ClientSurface()->Image().copy();
    int upperDots = 0;
    int lowerDots = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0x3F3F3Fu)
                (y < 17 ? upperDots : lowerDots) += 1;
    EXPECT_GT(upperDots, 10);
    EXPECT_EQ(lowerDots, 0);
}

TEST_F(SpinKeyboard, ARightPressLeavesTheFocusedHalf)
{
    spin->SetFocus();
    Press(down, Qt::RightButton);
    Release(down, Qt::RightButton);
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
}

// A glyph of one's own, then none: the arrow comes back.
TEST(SpinGlyphs, NoGlyphBringsTheArrowBack)
{
    TForm form(nullptr);
    auto* spin = new TSpinButton(&form);
    spin->SetParent(&form);
    TBitmap own(4, 4);
    own.Canvas()->Brush()->SetColor(clRed);
    own.Canvas()->FillRect(Rect(0, 0, 4, 4));
    spin->SetUpGlyph(&own);
    spin->SetDownGlyph(&own);
    EXPECT_EQ(spin->UpButton()->Glyph()->Width(), 4);
    spin->SetUpGlyph(nullptr);
    spin->SetDownGlyph(nullptr);
    for (const auto& [button, name] : {std::pair{spin->UpButton(), "SpinUp"}, std::pair{spin->DownButton(), "SpinDown"}}) {
        const auto arrow = LoadWindowBitmap(name);
        EXPECT_TRUE(button->Glyph()->Image() == arrow->Image()) << name;
    }
}

} // namespace
