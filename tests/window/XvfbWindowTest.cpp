// The built program on a real X server (run under xvfb-run by xvfb-test.sh):
// it opens centred and shows today's date, a spin click changes the fields,
// the caption drags the window, and the accelerators work once the window is
// active. What the program shows is compared pixel for pixel with the same
// window built here on the offscreen platform, whose fields are checked as
// text by the offscreen tests.
#include "tests/framework/controls/FrameworkTestSupport.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "window/Hagri1.h"
#include "effects/FxFormStyler.h"
#include "window/Spin.h"
#include "tests/window/XvfbScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <set>

#include <string>
#include <vector>
#include <thread>

namespace {

// A control's rectangle in its form's window coordinates.
QRect InWindow(const TControl* control)
{
    const TPoint origin = control->ClientOrigin();
    return QRect(origin.X - Form1->Left(), origin.Y - Form1->Top(), control->Width(), control->Height());
}

// Whether the window at windowPos on the screen shows exactly what reference shows in rect.
bool SameRegion(const QImage& screen, QPoint windowPos, const QImage& reference, const QRect& rect)
{
    // Colours only: a screenshot's pixels need not carry an opaque alpha byte.
    constexpr QRgb Colour = 0x00FFFFFF;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if ((screen.pixel(windowPos + QPoint(x, y)) & Colour) != (reference.pixel(x, y) & Colour))
                return false;
    return true;
}

class XvfbWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartOnX(program, DATES_CONVERTER_PATH));
        window = FindWindow(ConverterWindowName);
        ASSERT_FALSE(window.isEmpty());

        // The same window here, offscreen, on the same day.
        Application->CreateForm(&Form1);
        ASSERT_TRUE(ShowActive(Form1));
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
        Application->DestroyForms();
    }

    QImage Reference()
    {
        Form1->Repaint();
        return Form1->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Polls the screen until the window shows what the reference shows in the
    // date fields and the summary line.
    bool ShowsSameDates(QPoint windowPos, int timeoutMs = 5000)
    {
        const QImage reference = Reference();
        const TControl* regions[] = {Form1->Panel2, Form1->Panel3, Form1->Panel4, Form1->Panel5,
                                     Form1->Panel6, Form1->Panel7, Form1->Label1};
        QElapsedTimer clock;
        clock.start();
        do {
            const QImage screen = ScreenShot();
            bool same = true;
            for (const TControl* control : regions)
                same = same && SameRegion(screen, windowPos, reference, InWindow(control));
            if (same)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (clock.elapsed() < timeoutMs);
        ScreenShot().save("xvfb-window-last.png");
        reference.save("xvfb-window-reference.png");
        return false;
    }

    QProcess program;
    QString window;
};

TEST_F(XvfbWindow, OpensCentredOnTodaySpinsDragsAndClosesByKeyboard)
{
    // Centred on the screen by its outer size, and as large as the window built here.
    const QStringList display = CheckedTool("xdotool", {"getdisplaygeometry"}).split(' ');
    ASSERT_EQ(display.size(), 2);
    const QRect geometry = WindowGeometry(window);
    EXPECT_EQ(geometry.size(), QSize(Form1->Width(), Form1->Height()));
    EXPECT_EQ(geometry.left(), (display[0].toInt() - geometry.width()) / 2);
    EXPECT_EQ(geometry.top(), (display[1].toInt() - geometry.height()) / 2);
    EXPECT_TRUE(ShowsSameDates(geometry.topLeft())) << "today's date in the six fields and the summary line";

    // A click on the up half of the civil day's spin button.
    const QRect spin = InWindow(Form1->SpinButton4).translated(geometry.topLeft());
    CheckedTool("xdotool", {"mousemove", QString::number(spin.center().x()), QString::number(spin.top() + 5), "click", "1"});
    Form1->SpinButton4UpClick(nullptr);
    EXPECT_TRUE(ShowsSameDates(geometry.topLeft())) << "the next day in both calendars";

    // Dragging the caption moves the window (no window manager: the window moves itself).
    const QPoint grip = geometry.topLeft() + QPoint(geometry.width() / 3, 10);
    CheckedTool("xdotool", {"mousemove", QString::number(grip.x()), QString::number(grip.y()), "mousedown", "1"});
    CheckedTool("xdotool", {"mousemove", QString::number(grip.x() + 20), QString::number(grip.y() + 15)});
    CheckedTool("xdotool", {"mousemove", QString::number(grip.x() + 40), QString::number(grip.y() + 30), "mouseup", "1"});
    QElapsedTimer clock;
    clock.start();
    // The window passes the drag's first point on its way: wait for the last.
    QRect moved = WindowGeometry(window);
    while (moved.topLeft() != geometry.topLeft() + QPoint(40, 30) && clock.elapsed() < 5000)
        moved = WindowGeometry(window);
    EXPECT_EQ(moved.topLeft(), geometry.topLeft() + QPoint(40, 30));

    // Keyboard: the window must be active before its accelerators arrive;
    // an active caption's gradient ends in the active-caption colour (navy)
    // just before the caption buttons.
    CheckedTool("xdotool", {"windowfocus", "--sync", window});
    const QPoint caption = moved.topLeft() + QPoint(Form1->FxFormStyler1->CaptionRects(Form1->Handle()).Caption.Right - 1, 8);
    clock.restart();
    while (ScreenShot().pixel(caption) != qRgb(0, 0, 128) && clock.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(ScreenShot().pixel(caption), qRgb(0, 0, 128)) << "the window never became active";

    CheckedTool("xdotool", {"key", "--clearmodifiers", "alt+t"});
    Form1->BitBtn1Click(nullptr);
    EXPECT_TRUE(ShowsSameDates(moved.topLeft())) << "Alt+T restored today's date";
    CheckedTool("xdotool", {"key", "--clearmodifiers", "alt+c"});
    ASSERT_TRUE(program.waitForFinished(10000)) << "Alt+C closes the window and ends the program";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST_F(XvfbWindow, CaptionBarIsAGradientWithWhiteTextAndTheSystemLookWhenInactive)
{
    const QRect geometry = WindowGeometry(window);
    const TFxCaptionLayout layout = Form1->FxFormStyler1->CaptionRects(Form1->Handle());
    CheckedTool("xdotool", {"windowfocus", "--sync", window});
    const QPoint origin = geometry.topLeft();
    const auto at = [&](const QImage& screen, int x, int y) { return screen.pixel(origin + QPoint(x, y)) & 0xFFFFFF; };
    const int right = layout.Caption.Right - 1;
    QElapsedTimer clock;
    clock.start();
    QImage screen = ScreenShot();
    while ((at(screen, layout.Caption.Left, layout.Caption.Top) != 0 || at(screen, right, layout.Caption.Top) != 0x000080) &&
           clock.elapsed() < 5000)
        screen = ScreenShot();
    // Along the caption's top row: black at the left, growing bluer, navy at the right.
    EXPECT_EQ(at(screen, layout.Caption.Left, layout.Caption.Top), 0u);
    EXPECT_EQ(at(screen, right, layout.Caption.Top), 0x000080u);
    std::set<QRgb> bands;
    QRgb previous = 0;
    for (int x = layout.Caption.Left; x <= right; ++x) {
        const QRgb p = at(screen, x, layout.Caption.Top);
        EXPECT_EQ(p & 0xFFFF00, 0u) << x;
        EXPECT_GE(p, previous) << x;
        previous = p;
        bands.insert(p);
    }
    EXPECT_EQ(bands.size(), 32u);
    // White caption text after the icon.
    int white = 0;
    for (int y = layout.Text.Top; y < layout.Text.Bottom; ++y)
        for (int x = layout.Text.Left; x < layout.Text.Right; ++x)
            white += at(screen, x, y) == 0xFFFFFF ? 1 : 0;
    EXPECT_GT(white, 50);
    // The caption buttons are the frame's own, untouched by the gradient.
    const TFrameGeometry frame = Form1->FrameLayout();
    const QImage reference = Reference();
    for (const TRect& button : {frame.MinButton, frame.MaxButton, frame.CloseButton}) {
        EXPECT_LE(layout.Caption.Right, button.Left);
        EXPECT_TRUE(SameRegion(screen, origin, reference,
                               QRect(button.Left, button.Top, button.Width(), button.Height())))
            << button.Left;
    }

    // Another window takes the focus: the system's inactive caption, grey.
    QProcess other;
    other.start("xmessage", {"-geometry", "+0+0", "another window"});
    ASSERT_TRUE(other.waitForStarted());
    const QString otherWindow = CheckedTool("xdotool", {"search", "--sync", "--onlyvisible", "--class", "xmessage"}, 10000).section('\n', 0, 0);
    CheckedTool("xdotool", {"windowfocus", "--sync", otherWindow});
    clock.restart();
    while (at(screen = ScreenShot(), right, layout.Caption.Top) != 0x808080 && clock.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // Left of the icon and right of the title.
    EXPECT_EQ(at(screen, layout.Caption.Left, layout.Caption.Top), 0x808080u);
    for (int x = layout.Text.Left + 200; x <= right; x += 7)
        EXPECT_EQ(at(screen, x, layout.Caption.Top), 0x808080u) << x;
    if (::testing::Test::HasFailure())
        screen.save("xvfb-caption-last.png");
    other.kill();
    other.waitForFinished();
}

// ---------------------------------------------------------------------------
// Screen density

// The caption of the program started on a screen of pixelsPerInch, as read
// off the X server while the window is active.
struct TCaptionReading {
    QRect Window;
    int BarTop = 0;       // the first row of the caption bar (navy at its right)
    int BarHeight = 0;    // its rows, without the line under it
    QRect Close;          // the close button's face, in window coordinates
    QRect MinMax;         // the minimise and maximise buttons, which touch
    int GradientLeft = 0; // the first black column of the gradient
    int LastBandLeft = 0; // where the gradient's last (navy) band starts
    int Bands = 0;
    int TextHeight = 0;   // rows holding white caption text
};

TCaptionReading ReadCaption(int pixelsPerInch)
{
    TCaptionReading reading;
    QProcess program;
    QProcessEnvironment density;
    density.insert("QT_FONT_DPI", QString::number(pixelsPerInch));
    if (!StartOnX(program, DATES_CONVERTER_PATH, {}, density)) {
        ADD_FAILURE() << "the program did not start";
        return reading;
    }
    const QString window = FindWindow(ConverterWindowName);
    reading.Window = WindowGeometry(window);
    CheckedTool("xdotool", {"windowfocus", "--sync", window});
    const QRect w = reading.Window;
    constexpr QRgb Navy = 0x000080;
    const auto at = [&](const QImage& screen, int x, int y) { return screen.pixel(w.topLeft() + QPoint(x, y)) & 0xFFFFFF; };

    // The bar: the navy rows in the column just inside the right frame, left
    // of the close button's gap.
    QImage screen;
    int column = 0;
    const bool painted = Eventually([&] {
        screen = ScreenShot();
        // The gradient is painted once the caption's left end is black.
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 20; ++x)
                if (at(screen, x, y) == 0)
                    return true;
        return false;
    });
    EXPECT_TRUE(painted) << pixelsPerInch << " ppi: no gradient";
    for (int x = w.width() - 1; x > w.width() - 20 && column == 0; --x)
        for (int y = 0; y < 20; ++y)
            if (at(screen, x, y) == Navy) {
                column = x;
                break;
            }
    int y = 0;
    while (y < w.height() && at(screen, column, y) != Navy)
        ++y;
    reading.BarTop = y;
    while (y < w.height() && at(screen, column, y) == Navy)
        ++y;
    reading.BarHeight = y - reading.BarTop;

    // The buttons: runs of other colours on the bar's middle row, from the right.
    const int middle = reading.BarTop + reading.BarHeight / 2;
    std::vector<QRect> runs;
    for (int x = column; x > w.width() / 2; --x) {
        if (at(screen, x, middle) == Navy)
            continue;
        int left = x;
        while (left > 0 && at(screen, left - 1, middle) != Navy)
            --left;
        int top = middle;
        while (top > reading.BarTop && at(screen, x - 1, top - 1) != Navy)
            --top;
        int bottom = middle;
        while (bottom < reading.BarTop + reading.BarHeight && at(screen, x - 1, bottom + 1) != Navy)
            ++bottom;
        runs.push_back(QRect(QPoint(left, top), QPoint(x, bottom)));
        if (runs.size() == 2)
            break;
        x = left;
    }
    if (runs.size() == 2) {
        reading.Close = runs[0];
        reading.MinMax = runs[1];
    }

    // The gradient along the bar's top row: black first, then bands growing bluer.
    int x = 0;
    while (x < w.width() / 2 && at(screen, x, reading.BarTop) != 0)
        ++x;
    reading.GradientLeft = x;
    QRgb previous = 0xFFFFFFFF;
    for (; x < reading.MinMax.left(); ++x) {
        const QRgb p = at(screen, x, reading.BarTop);
        if (p != previous) {
            ++reading.Bands;
            previous = p;
            if (p == Navy) {
                reading.LastBandLeft = x;
                break;
            }
        }
    }

    // The caption text: rows with white pixels, left of the gradient's last band.
    for (int row = reading.BarTop; row < reading.BarTop + reading.BarHeight; ++row)
        for (int col = reading.GradientLeft; col < reading.LastBandLeft; ++col)
            if (at(screen, col, row) == 0xFFFFFF) {
                ++reading.TextHeight;
                break;
            }
    if (::testing::Test::HasFailure())
        screen.save(QString("xvfb-caption-%1ppi.png").arg(pixelsPerInch));
    program.kill();
    program.waitForFinished();
    return reading;
}

TEST(XvfbScreenDensity, At192PpiTheCaptionBarAndButtonsAreTwiceTheirClassicSize)
{
    const TCaptionReading classic = ReadCaption(96);
    const TCaptionReading dense = ReadCaption(192);
    SCOPED_TRACE(::testing::Message() << "96 ppi: bar " << classic.BarHeight << ", close " << classic.Close.width()
                                      << "x" << classic.Close.height() << ", text " << classic.TextHeight
                                      << "; 192 ppi: bar " << dense.BarHeight << ", close " << dense.Close.width()
                                      << "x" << dense.Close.height() << ", text " << dense.TextHeight);
    // The classic caption: an 18-row bar with 16 x 14 buttons, the gap before
    // the minimise and maximise pair as wide as the one after it.
    EXPECT_EQ(classic.BarHeight, 18);
    EXPECT_EQ(classic.Close.size(), QSize(16, 14));
    EXPECT_EQ(classic.MinMax.size(), QSize(32, 14));

    EXPECT_EQ(dense.BarHeight, 2 * classic.BarHeight);
    EXPECT_EQ(dense.Close.size(), 2 * classic.Close.size());
    EXPECT_EQ(dense.MinMax.size(), 2 * classic.MinMax.size());
    EXPECT_EQ(dense.BarTop, 2 * classic.BarTop) << "the frame grows too";
    EXPECT_EQ(dense.Window.width() - 1 - dense.Close.right(), 2 * (classic.Window.width() - 1 - classic.Close.right()));
    // The title grows with the caption (the bitmap face steps from its 8-point
    // cell to the 12-point one).
    EXPECT_GE(2 * dense.TextHeight, 3 * classic.TextHeight);
    EXPECT_LE(dense.TextHeight, dense.BarHeight);

    // The gradient: 32 bands from the frame's inside edge, its last one
    // starting no more than two bands before the minimise button.
    for (const TCaptionReading* r : {&classic, &dense}) {
        EXPECT_EQ(r->Bands, 32);
        EXPECT_EQ(r->GradientLeft, r->BarTop) << "as far in from the left as from the top";
        const int band = (r->LastBandLeft - r->GradientLeft) / 31;
        EXPECT_GT(r->LastBandLeft, r->GradientLeft);
        EXPECT_LT(r->LastBandLeft, r->MinMax.left());
        EXPECT_LE(r->MinMax.left() - r->LastBandLeft, 2 * band + 8);
    }
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The reference window is offscreen; the program under test uses the X display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    TApplication application;
    return RUN_ALL_TESTS();
}
