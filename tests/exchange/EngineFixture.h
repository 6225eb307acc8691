#pragma once

#include "FakeLink.h"
#include "FakeView.h"
#include "exchange/BulkWrite.h"
#include "exchange/PollEngine.h"
#include "exchange/RDX_INC.h"

#include <gtest/gtest.h>
#include <QStringList>

struct HistoryLine {
    QString code;
    int ch;
    int state;
};

// A bulk write's pause is over: its alarm values go out at the next Polling step.
inline bool AlarmsDue(const PollEngine& engine) {
    return engine.bulkWrite() && engine.bulkWrite()->stage() == BulkWrite::Stage::AlarmsDue;
}

class EngineTest : public ::testing::Test {
protected:
    RDX_INC d;
    FakeLink link;
    FakeView view;
    PollEngine engine{d, link, view};
    std::vector<HistoryLine> history;

    void SetUp() override {
        d.FillItemCodes();
        engine.HystoryWrite = [this](const QString& c, int ch, int s) { history.push_back({c, ch, s}); };
    }
    void Present(std::initializer_list<int> blocks) {
        for (int b : blocks) link.present[b] = true;
    }
    // Runs the start-up read and clears the request log.
    void StartUp() {
        engine.RestartStartupRead();
        engine.Timer4_Timer();
        link.take();
    }
    static QStringList Items(const std::vector<Request>& log) {
        QStringList out;
        for (const auto& r : log) out << r.item;
        return out;
    }
};
