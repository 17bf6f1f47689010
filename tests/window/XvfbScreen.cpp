#include "XvfbScreen.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>

// Last: Xlib's macros (None, Bool, …) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

struct TToolRun {
    bool Finished = false;
    int ExitCode = -1;
    QString Output;
    QString Errors;
};

TToolRun Run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    TToolRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.Finished = true;
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    run.Errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return run;
}

} // namespace

QString RunTool(const QString& program, const QStringList& arguments, int timeoutMs)
{
    return Run(program, arguments, timeoutMs).Output;
}

QString CheckedTool(const QString& program, const QStringList& arguments, int timeoutMs)
{
    const TToolRun run = Run(program, arguments, timeoutMs);
    const std::string command = (program + ' ' + arguments.join(' ')).toStdString();
    if (!run.Finished)
        ADD_FAILURE() << command << " timed out";
    else
        EXPECT_EQ(run.ExitCode, 0) << command << ": " << run.Errors.toStdString();
    return run.Output;
}

bool Eventually(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

bool StartOnX(QProcess& program, const QString& path, const QStringList& arguments, const QProcessEnvironment& extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM"); // the program finds the X display itself
    environment.insert(extra);
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(path, arguments);
    return program.waitForStarted();
}

QString FindWindow(const QString& pattern, int timeoutMs)
{
    return RunTool("xdotool", {"search", "--sync", "--onlyvisible", "--name", pattern}, timeoutMs).section('\n', 0, 0);
}

QRect WindowGeometry(const QString& window)
{
    return ParseWindowGeometry(RunTool("xdotool", {"getwindowgeometry", "--shell", window}));
}

void DragAtAPersonsPace(QPoint from, QPoint to, std::chrono::milliseconds pause)
{
    const QPoint half = from + (to - from) / 2;
    RunTool("xdotool", {"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"});
    std::this_thread::sleep_for(pause);
    RunTool("xdotool", {"mousemove", QString::number(half.x()), QString::number(half.y())});
    std::this_thread::sleep_for(pause);
    RunTool("xdotool", {"mousemove", QString::number(to.x()), QString::number(to.y())});
    std::this_thread::sleep_for(pause);
    RunTool("xdotool", {"mouseup", "1"});
    std::this_thread::sleep_for(pause);
}

QImage ScreenShot()
{
    QProcess import;
    import.start("import", {"-window", "root", "png:-"});
    import.waitForFinished(15000);
    return QImage::fromData(import.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

TRootReader::TRootReader() : display_(XOpenDisplay(nullptr)) {}

TRootReader::~TRootReader()
{
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

QImage TRootReader::Read()
{
    if (display_ == nullptr)
        return {};
    const int screen = DefaultScreen(display_);
    return Read(QRect(0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)));
}

QImage TRootReader::Read(const QRect& area)
{
    if (display_ == nullptr || area.isEmpty())
        return {};
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), area.x(), area.y(),
                              static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()), AllPlanes,
                              ZPixmap);
    if (image == nullptr)
        return {};
    QImage result(area.width(), area.height(), QImage::Format_RGB32);
    // A 32-bit image in the machine's byte order is copied line by line;
    // pixel by pixel, a read of the whole screen would take longer than an
    // opening effect lasts on a loaded machine.
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst;
    for (int y = 0; y < area.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(result.scanLine(y));
        if (direct)
            std::memcpy(line, image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line,
                        static_cast<std::size_t>(area.width()) * 4);
        for (int x = 0; x < area.width(); ++x)
            line[x] = (direct ? line[x] : static_cast<std::uint32_t>(XGetPixel(image, x, y))) | 0xFF000000u;
    }
    XDestroyImage(image);
    return result;
}

QRect ParseWindowGeometry(const QString& shellOutput)
{
    QRect geometry;
    for (const QString& line : shellOutput.split('\n')) {
        const QStringList pair = line.split('=');
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        if (pair[0] == "X")
            geometry.moveLeft(value);
        else if (pair[0] == "Y")
            geometry.moveTop(value);
        else if (pair[0] == "WIDTH")
            geometry.setWidth(value);
        else if (pair[0] == "HEIGHT")
            geometry.setHeight(value);
    }
    return geometry;
}

TXwininfo ParseXwininfo(const QString& output)
{
    TXwininfo info;
    for (const QString& raw : output.split('\n')) {
        const QString line = raw.trimmed();
        const QString value = line.section(':', 1).trimmed();
        if (line.startsWith("Absolute upper-left X:"))
            info.Area.moveLeft(value.toInt());
        else if (line.startsWith("Absolute upper-left Y:"))
            info.Area.moveTop(value.toInt());
        else if (line.startsWith("Width:"))
            info.Area.setWidth(value.toInt());
        else if (line.startsWith("Height:"))
            info.Area.setHeight(value.toInt());
        else if (line.startsWith("Map State:"))
            info.Viewable = value == "IsViewable";
    }
    return info;
}
