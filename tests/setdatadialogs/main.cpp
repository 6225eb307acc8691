// The dialogs save scaling keys and look for the "Setdata" folder: both point at fresh
// temporary folders before any test runs, so the user's own files are never touched.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir configHome;
    QTemporaryDir programHome;
    if (!configHome.isValid() || !programHome.isValid()) return 2;
    setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
    setenv("RDX410_MONITOR_HOME", programHome.path().toLocal8Bit().constData(), 1);
    // Test discovery runs the program without the suite's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
