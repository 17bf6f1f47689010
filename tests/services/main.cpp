// One QApplication and one TApplication for every services test (offscreen).
// Named locks go to a runtime folder of the test's own, which goes with it.
#include "framework/controls/Application.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery runs outside CTest's environment: stay headless there too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime; // made with mode 0700, as a runtime folder is
    if (runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QApplication qt(argc, argv);
    TApplication application;
    return RUN_ALL_TESTS();
}
