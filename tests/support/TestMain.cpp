// The one main of the test programs. Every program gets a settings store and a program
// folder of its own (fresh temporary folders), so no test reads or changes the user's files.
// Built twice: RDX_TEST_MAIN_GUI makes a QApplication for widgets, on the off-screen platform
// unless the environment names one; without it a QCoreApplication.
#include "TestMain.h"

#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

#ifdef RDX_TEST_MAIN_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace rdx_test {
namespace {

// Filled by the folders' file-scope constants before main runs.
std::vector<Step>& Steps(bool beforeApplication) {
    static std::vector<Step> before;
    static std::vector<Step> after;
    return beforeApplication ? before : after;
}

bool RunAll(const std::vector<Step>& steps) {
    for (const Step& step : steps)
        if (!step()) return false;
    return true;
}

}  // namespace

bool BeforeApplication(Step step) {
    Steps(true).push_back(std::move(step));
    return true;
}

bool BeforeTests(Step step) {
    Steps(false).push_back(std::move(step));
    return true;
}

}  // namespace rdx_test

int main(int argc, char** argv) {
    QTemporaryDir config;
    QTemporaryDir programHome;
    if (!config.isValid() || !programHome.isValid()) {
        std::fprintf(stderr, "test main: no temporary folder\n");
        return 2;
    }
    // The settings store is opened once per process: point it at the fresh folder first.
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("RDX410_MONITOR_HOME", programHome.path().toLocal8Bit());
#ifdef RDX_TEST_MAIN_GUI
    // Test discovery runs the program without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // The process locale comes from the environment (LC_ALL, LANG), as in the programs.
    if (!rdx_test::RunAll(rdx_test::Steps(true))) return 1;
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (!rdx_test::RunAll(rdx_test::Steps(false))) return 1;
    return RUN_ALL_TESTS();
}
