// The peer of the start-up benchmark: a minimal Qt Widgets window of the
// converter's size with a caption and one line of text, up to its first
// painted frame.
#include "FirstFrame.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Minimal window");
    window.resize(393, 392);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("Thursday, 1 Ramadhan 1420  =  9 December 1999"));
    TFirstFrameProbe probe([&window] { window.close(); });
    window.installEventFilter(&probe);
    window.show();
    return app.exec();
}
