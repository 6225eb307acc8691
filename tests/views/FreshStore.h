// What the chart loads from a store nobody has written to, taken before the first test runs
// (the store is one per process, and tests write to it).
#pragma once

#include "display/ChartSettings.h"

#include <QStringList>

struct FreshStoreSnapshot {
    ChartSettings settings;
    QStringList penLabels;  // Label_protname(0..3) after LoadChartSettings
    bool resumes = true;    // whether ResumeAtStartup started the chart
};

const FreshStoreSnapshot& FreshStore();
