// Widgets under the off-screen platform, with a settings store of this process's own; the
// fresh store's chart settings are taken before any test writes to it.
#include "FreshStore.h"

#include "display/ChartView.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
FreshStoreSnapshot snapshot;
}

const FreshStoreSnapshot& FreshStore() { return snapshot; }

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    {
        RDX_INC data;
        ChartView view(data);
        view.LoadChartSettings();
        snapshot.settings = view.Settings();
        for (QLabel* label : view.Label_protname) snapshot.penLabels << label->text();
        view.ResumeAtStartup();
        snapshot.resumes = view.IsRunning();
    }
    return RUN_ALL_TESTS();
}
