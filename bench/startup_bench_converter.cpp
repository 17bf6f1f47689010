// The converter's own start (RunConverter) up to its first painted frame, then
// it closes. It also reports when the opening trail starts and ends: a
// procedure on top of the window's chain stamps the show message on its way
// down (the trail runs inside it) and on its way back.
#include "FirstFrame.h"
#include "window/Hagri1.h"
#include "window/Program.h"
#include "framework/windows/Windows.h"

#include <QWidget>

#include <memory>

int main(int, char** argv)
{
    std::unique_ptr<TFirstFrameProbe> probe;
    return RunConverter(argv[0], [&probe] {
        probe = std::make_unique<TFirstFrameProbe>([] { Form1->Close(); });
        Form1->Widget()->installEventFilter(probe.get());
        const HWND window = Form1->Handle();
        WNDPROC below = GetWindowProc(window);
        SetWindowProc(window, MakeWindowProc([below](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
            const bool opening = msg == WM_SHOWWINDOW && wp != 0 && lp == 0;
            if (opening)
                PrintStamp("trail-start");
            const LRESULT result = CallWindowProc(below, w, msg, wp, lp);
            if (opening)
                PrintStamp("trail-end");
            return result;
        }));
    });
}
