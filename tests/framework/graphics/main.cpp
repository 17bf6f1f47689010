// Canvas tests run headless: Qt's offscreen platform gives fonts and a screen.
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv)
{
    // Test discovery runs this binary without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
