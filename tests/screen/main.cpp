// Tests on a real X display: Xvfb and a window manager started for this program alone,
// never the offscreen platform.
#include "RealDisplay.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    RealDisplay display;
    std::string error;
    if (!display.Start(&error)) {
        std::fprintf(stderr, "screen tests: %s\n", error.c_str());
        return 1;
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RDX-410 Monitor"));
    QApplication::setOrganizationName(QStringLiteral("TESMAR KORVEX"));
    return RUN_ALL_TESTS();
}
