// Tests on a real X display: Xvfb and a window manager started for this program alone,
// never the offscreen platform; the application carries the program's own names.
#include "RealDisplay.h"
#include "TestMain.h"

#include <QApplication>
#include <cstdio>
#include <string>

namespace {

// Lives until the program ends, after the application object is gone.
RealDisplay display;

const bool started = rdx_test::BeforeApplication([] {
    std::string error;
    if (display.Start(&error)) return true;
    std::fprintf(stderr, "screen tests: %s\n", error.c_str());
    return false;
});

const bool named = rdx_test::BeforeTests([] {
    QApplication::setApplicationName(QStringLiteral("RDX-410 Monitor"));
    QApplication::setOrganizationName(QStringLiteral("TESMAR KORVEX"));
    return true;
});

}  // namespace
