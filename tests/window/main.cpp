// One QApplication and one TApplication for the window tests (offscreen), on
// a screen of the window's design density, 120 pixels per inch.
#include "framework/controls/Application.h"
#include "framework/graphics/Fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery runs outside CTest's environment: stay headless there too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    SetDisplayPixelsPerInchOverride(120);
    TApplication application;
    return RUN_ALL_TESTS();
}
