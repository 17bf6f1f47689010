// What the real-window tests read off the X server: the whole screen as a
// picture, and a window's geometry as xdotool and xwininfo report it.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <thread>

// A command-line tool's trimmed standard output; empty when it hangs.
inline QString RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 30000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// Whether condition holds within timeoutMs, asked every tenth of a second: a
// loaded machine gets its time, a fast one goes on at once.
inline bool Eventually(const std::function<bool()>& condition, int timeoutMs = 5000)
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

// The root window through ImageMagick's import, as 32-bit RGB.
inline QImage ScreenShot()
{
    QProcess import;
    import.start("import", {"-window", "root", "png:-"});
    import.waitForFinished(15000);
    return QImage::fromData(import.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

// The rectangle in `xdotool getwindowgeometry --shell` output
// ("WINDOW=…\nX=…\nY=…\nWIDTH=…\nHEIGHT=…").
inline QRect ParseWindowGeometry(const QString& shellOutput)
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

// A window as `xwininfo -id` reports it: where it lies on the screen and
// whether it is viewable ("Map State: IsViewable").
struct TXwininfo {
    QRect Area;
    bool Viewable = false;
};

inline TXwininfo ParseXwininfo(const QString& output)
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
