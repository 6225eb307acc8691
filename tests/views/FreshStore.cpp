// The fresh store's chart settings, taken before any test writes to the store.
#include "FreshStore.h"

#include "TestMain.h"
#include "display/ChartView.h"

#include <QLabel>

namespace {

FreshStoreSnapshot snapshot;

const bool taken = rdx_test::BeforeTests([] {
    RDX_INC data;
    ChartView view(data);
    view.LoadChartSettings();
    snapshot.settings = view.Settings();
    for (QLabel* label : view.Label_protname) snapshot.penLabels << label->text();
    view.ResumeAtStartup();
    snapshot.resumes = view.IsRunning();
    return true;
});

}  // namespace

const FreshStoreSnapshot& FreshStore() { return snapshot; }
