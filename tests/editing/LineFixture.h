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
        d.PollState = 0;
        engine.Timer4_Timer();
        link.take();
    }
    // The next polling tick, and what it sent.
    std::vector<Request> Tick() {
        engine.Timer4_Timer();
        return link.take();
    }
};
