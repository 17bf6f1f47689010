// What the real-window tests do on the X server: start a program there, find
// its window, drag the pointer at a person's pace, and read back the screen,
// as a picture through ImageMagick or straight from the server, and a
// window's geometry as xdotool and xwininfo report it.
#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// Xlib's display, named without its header: Xlib's macros (None, Bool, …)
// would clash with Qt's and GoogleTest's headers in the files that include this.
struct _XDisplay;

// The converter's main window, as xdotool searches for it by name.
inline const QString ConverterWindowName = QStringLiteral("^Hijri-Gregorian Converter$");

// A command-line tool's trimmed standard output; empty when it hangs.
QString RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 30000);

// The same, and a test failure when the tool hangs or ends with an error.
QString CheckedTool(const QString& program, const QStringList& arguments, int timeoutMs = 30000);

// Whether condition holds within timeoutMs, asked every tenth of a second: a
// loaded machine gets its time, a fast one goes on at once.
bool Eventually(const std::function<bool()>& condition, int timeoutMs = 5000);

// Starts path on the X display the test runs on (whatever platform the test
// itself chose is not passed on), its output forwarded to the test's own;
// whether it started.
bool StartOnX(QProcess& program, const QString& path, const QStringList& arguments = {},
              const QProcessEnvironment& extra = {});

// The first visible window whose name matches pattern, waited for; empty when
// none shows within timeoutMs.
QString FindWindow(const QString& pattern, int timeoutMs = 30000);

// A window's place and size as xdotool reports them.
QRect WindowGeometry(const QString& window);

// Presses button 1 at from, moves to to in two steps, releases, with pause
// after each step: a window manager starts its move from the press it is told
// of and follows a pointer that moves at a person's pace.
void DragAtAPersonsPace(QPoint from, QPoint to, std::chrono::milliseconds pause = std::chrono::milliseconds(250));

// A pixel's colour without its alpha byte, which a screenshot need not set.
inline QRgb ColourAt(const QImage& screen, QPoint p)
{
    return screen.pixel(p) & 0xFFFFFF;
}

// The root window through ImageMagick's import, as 32-bit RGB.
QImage ScreenShot();

// The root window's pixels straight from the server: fast enough to read the
// screen many times within a hint's pause or an opening effect.
class TRootReader {
public:
    TRootReader();
    ~TRootReader();
    TRootReader(const TRootReader&) = delete;
    TRootReader& operator=(const TRootReader&) = delete;

    bool Open() const { return display_ != nullptr; }
    _XDisplay* Handle() const { return display_; }

    // The whole screen, or area of it, as 32-bit RGB; null when it cannot be read.
    QImage Read();
    QImage Read(const QRect& area);

private:
    _XDisplay* display_;
};

// The rectangle in `xdotool getwindowgeometry --shell` output
// ("WINDOW=…\nX=…\nY=…\nWIDTH=…\nHEIGHT=…").
QRect ParseWindowGeometry(const QString& shellOutput);

// A window as `xwininfo -id` reports it: where it lies on the screen and
// whether it is viewable ("Map State: IsViewable").
struct TXwininfo {
    QRect Area;
    bool Viewable = false;
};

TXwininfo ParseXwininfo(const QString& output);
