// The converter's own start (RunConverter) up to its first painted frame, then it closes.
#include "FirstFrame.h"
#include "window/Hagri1.h"
#include "window/Program.h"

#include <QWidget>

#include <memory>

int main(int, char** argv)
{
    std::unique_ptr<TFirstFrameProbe> probe;
    return RunConverter(argv[0], [&probe] {
        probe = std::make_unique<TFirstFrameProbe>([] { Form1->Close(); });
        Form1->Widget()->installEventFilter(probe.get());
    });
}
