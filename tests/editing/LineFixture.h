// The real exchange engine on a scripted line that records every request, with the data
// model read at start-up from the line like the program does.
#pragma once

#include "EditingFixture.h"
#include "FakeLink.h"
#include "FakeView.h"
#include "exchange/PollEngine.h"

class LineTest : public EditingTest {
protected:
    FakeLink link;
    FakeView view;
    PollEngine engine{d, link, view};

    // Blocks present on the line; the start-up read then fills the tables.
    void StartUp(std::initializer_list<int> blocks) {
        for (int b : blocks) {
            link.present[b] = true;
            link.values[b][QStringLiteral("00A0")].fill(1);  // a controller at every position
        }
        engine.RestartStartupRead();
        engine.Timer4_Timer();
        link.take();
    }
    // A request of this kind for this block waits for the engine.
    bool Queued(WriteKind kind, int block) const {
        for (const PollEngine::PendingWrite& w : engine.queuedWrites())
            if (w.kind == kind && w.block == block) return true;
        return false;
    }
    // The next polling tick, and what it sent.
    std::vector<Request> Tick() {
        engine.Timer4_Timer();
        return link.take();
    }
};
