// Fifty caption drags of the converter window at a person's pace on a real X
// server with a window manager (run under xvfb-run with openbox by
// xvfb-wm-test.sh): after every drag both shadow strips are mapped and
// viewable, stand beside the window at its new place, and are painted in the
// button-shadow grey, as the X server itself reports them.
#include "XvfbScreen.h"

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <optional>
#include <vector>

// Last: Xlib's macros (None, Bool, …) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr QRgb ButtonShadow = 0x808080;
constexpr int Depth = 6;
constexpr int Drags = 50;

// A window as the server sees it: where it lies on the screen and whether it is viewable.
struct TWindowState {
    QRect Area;
    int MapState = IsUnmapped;
};

std::optional<TWindowState> StateOf(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return std::nullopt;
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return TWindowState{QRect(x, y, attributes.width, attributes.height), attributes.map_state};
}

// The process id a window carries in _NET_WM_PID; 0 when none.
unsigned long PidOf(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None)
        return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    unsigned long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr) {
        if (count == 1 && format == 32)
            pid = *reinterpret_cast<unsigned long*>(data);
        XFree(data);
    }
    return pid;
}

// The program's windows at the top of the tree: the root's children and, under
// a reparenting window manager, their children.
std::vector<Window> WindowsOf(Display* display, unsigned long pid)
{
    std::vector<Window> found;
    const auto children = [display](Window parent) {
        Window root = 0;
        Window up = 0;
        Window* list = nullptr;
        unsigned int count = 0;
        std::vector<Window> result;
        if (XQueryTree(display, parent, &root, &up, &list, &count) != 0 && list != nullptr) {
            result.assign(list, list + count);
            XFree(list);
        }
        return result;
    };
    for (const Window top : children(DefaultRootWindow(display))) {
        if (PidOf(display, top) == pid)
            found.push_back(top);
        for (const Window inner : children(top))
            if (PidOf(display, inner) == pid)
                found.push_back(inner);
    }
    return found;
}

// The strips beside a window rectangle (right, bottom).
std::array<QRect, 2> StripsBeside(const QRect& window)
{
    return {QRect(window.x() + window.width(), window.y() + Depth, Depth, window.height() - Depth),
            QRect(window.x() + Depth, window.y() + window.height(), window.width(), Depth)};
}

// Every pixel of area on the screen is the button-shadow grey.
bool PaintedGrey(TRootReader& screen, const QRect& area)
{
    const QImage image = screen.Read(area);
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (ColourAt(image, {x, y}) != ButtonShadow)
                return false;
    return true;
}

QString Describe(const std::optional<TWindowState>& state)
{
    if (!state)
        return "gone";
    const char* map = state->MapState == IsViewable ? "IsViewable" : state->MapState == IsUnviewable ? "IsUnviewable" : "IsUnMapped";
    return QString("%1,%2 %3x%4 %5")
        .arg(state->Area.x())
        .arg(state->Area.y())
        .arg(state->Area.width())
        .arg(state->Area.height())
        .arg(map);
}

} // namespace

TEST(XvfbShadowDrags, FiftyCaptionDragsLeaveBothStripsMappedBesideTheWindowAndPainted)
{
    TRootReader screen;
    ASSERT_TRUE(screen.Open()) << "no X display";
    Display* const display = screen.Handle();
    QProcess program;
    ASSERT_TRUE(StartOnX(program, DATES_CONVERTER_PATH));
    const Window form = FindWindow(ConverterWindowName).toULong();
    ASSERT_NE(form, 0u);

    // The strips are the program's two windows standing beside the form.
    std::array<Window, 2> strips{};
    ASSERT_TRUE(Eventually([&] {
        const auto formState = StateOf(display, form);
        if (!formState)
            return false;
        const auto expected = StripsBeside(formState->Area);
        strips = {};
        for (const Window window : WindowsOf(display, static_cast<unsigned long>(program.processId())))
            for (std::size_t i = 0; i < strips.size(); ++i)
                if (const auto state = StateOf(display, window); state && state->Area == expected[i])
                    strips[i] = window;
        return strips[0] != 0 && strips[1] != 0;
    })) << "two strips beside the window";

    // Each drag goes back and forth, so the window stays in the middle of the screen.
    const std::array<QPoint, 4> moves{QPoint(40, 30), QPoint(-40, -30), QPoint(25, -35), QPoint(-25, 35)};
    QStringList failures;
    for (int drag = 0; drag < Drags; ++drag) {
        const auto before = StateOf(display, form);
        ASSERT_TRUE(before.has_value());
        const QPoint delta = moves[static_cast<std::size_t>(drag) % moves.size()];
        const QPoint grip = before->Area.topLeft() + QPoint(before->Area.width() / 3, 10);
        DragAtAPersonsPace(grip, grip + delta, std::chrono::milliseconds(180));

        const QRect moved = before->Area.translated(delta);
        if (!Eventually([&] {
                const auto now = StateOf(display, form);
                return now && now->Area == moved;
            })) {
            failures << QString("drag %1: the window is at %2, not moved by the drag")
                            .arg(drag + 1)
                            .arg(Describe(StateOf(display, form)));
            continue;
        }
        const auto expected = StripsBeside(moved);
        const auto stripReady = [&](std::size_t i) {
            const auto state = StateOf(display, strips[i]);
            return state && state->MapState == IsViewable && state->Area == expected[i] &&
                   PaintedGrey(screen, expected[i]);
        };
        if (!Eventually([&] { return stripReady(0) && stripReady(1); })) {
            for (std::size_t i = 0; i < strips.size(); ++i)
                if (!stripReady(i))
                    failures << QString("drag %1: %2 strip %3, painted %4 (wanted %5,%6 %7x%8 IsViewable, grey)")
                                    .arg(drag + 1)
                                    .arg(i == 0 ? "right" : "bottom")
                                    .arg(Describe(StateOf(display, strips[i])))
                                    .arg(PaintedGrey(screen, expected[i]) ? "grey" : "not grey")
                                    .arg(expected[i].x())
                                    .arg(expected[i].y())
                                    .arg(expected[i].width())
                                    .arg(expected[i].height());
        }
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
    if (!failures.isEmpty())
        ScreenShot().save("xvfb-shadow-drags-last.png");
    program.kill();
    program.waitForFinished();
}
