// One QApplication and one TApplication for every services test (offscreen).
// Named locks and settings go to folders of the test's own, which go with it.
#include "framework/controls/Application.h"
#include "framework/runtime/ConfigFolders.h"

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
    // Settings go to a folder of the test's own too: the user's and the
    // machine's real ones are never read or written.
    QTemporaryDir settings;
    if (settings.isValid()) {
        qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        OverrideConfigFolder(cfSystem, settings.path().toStdString() + "/system");
        OverrideConfigFolder(cfProgram, settings.path().toStdString() + "/program");
    }
    QApplication qt(argc, argv);
    TApplication application;
    return RUN_ALL_TESTS();
}
