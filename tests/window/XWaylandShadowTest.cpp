// The converter on a Wayland desktop, through XWayland (run headless under a
// compositor by xwayland-mutter-test.sh or xwayland-weston-test.sh): the
// compositor places the window on its screen, and the shadow's two strips
// stand beside it, as xwininfo reads them off XWayland.
#include "XvfbScreen.h"

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <iostream>

namespace {

constexpr int Depth = 6;

TXwininfo Xwininfo(const QString& window)
{
    return ParseXwininfo(RunTool("xwininfo", {"-id", window}));
}

QString Describe(const TXwininfo& info)
{
    return QString("%1,%2 %3x%4%5")
        .arg(info.Area.x())
        .arg(info.Area.y())
        .arg(info.Area.width())
        .arg(info.Area.height())
        .arg(info.Viewable ? "" : " (not viewable)");
}

} // namespace

TEST(XWaylandShadow, StripsStandBesideTheWindowWhereTheCompositorPutIt)
{
    // Started as from a Wayland session: the program chooses XWayland itself.
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    QProcess program;
    ASSERT_TRUE(StartOnX(program, DATES_CONVERTER_PATH));
    // Asked again and again rather than waited for: a compositor that is
    // still setting up its X side may turn a waiting search away.
    QString window;
    Eventually([&] {
        window = RunTool("xdotool", {"search", "--onlyvisible", "--name", ConverterWindowName}).section('\n', 0, 0);
        return !window.isEmpty() || program.state() == QProcess::NotRunning;
    }, 30000);
    ASSERT_FALSE(window.isEmpty()) << "the window on XWayland (the program "
                                   << (program.state() == QProcess::NotRunning ? "ended" : "runs") << ")";

    const QRect screen = ParseXwininfo(RunTool("xwininfo", {"-root"})).Area;
    TXwininfo form;
    QStringList strips;
    const bool beside = Eventually([&] {
        form = Xwininfo(window);
        const QRect right(form.Area.x() + form.Area.width(), form.Area.y() + Depth, Depth, form.Area.height() - Depth);
        const QRect bottom(form.Area.x() + Depth, form.Area.y() + form.Area.height(), form.Area.width(), Depth);
        bool rightFound = false;
        bool bottomFound = false;
        strips.clear();
        const QStringList windows = RunTool("xdotool", {"search", "--pid", QString::number(program.processId())})
                                        .split('\n', Qt::SkipEmptyParts);
        for (const QString& other : windows) {
            if (other == window)
                continue;
            const TXwininfo info = Xwininfo(other);
            if (info.Area.width() == Depth || info.Area.height() == Depth)
                strips << Describe(info);
            rightFound = rightFound || (info.Viewable && info.Area == right);
            bottomFound = bottomFound || (info.Viewable && info.Area == bottom);
        }
        return form.Viewable && rightFound && bottomFound;
    }, 15000);
    // What the compositor did, for whoever reads the log.
    std::cout << "screen " << screen.width() << "x" << screen.height() << ", window " << Describe(form).toStdString()
              << ", strips " << strips.join("; ").toStdString() << std::endl;
    EXPECT_TRUE(beside) << "the right strip at the window's right edge and the bottom strip under it, both viewable";
    EXPECT_TRUE(screen.contains(form.Area)) << "the compositor placed the window on its screen";
    program.kill();
    program.waitForFinished();
}
