// What the real-window tests read off the X server: the whole screen as a
// picture, and a window's geometry as xdotool reports it.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

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
