// The settings store is a per-user file: point it at a fresh folder before any test
// saves scaling keys, so the tests neither read nor change the user's own settings.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir configHome;
    if (!configHome.isValid()) return 2;
    setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
    // As in the program, the process locale comes from the environment (LC_ALL, LANG).
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
