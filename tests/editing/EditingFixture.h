// Shared set-up of the editing tests: a data model with every channel present and the
// item codes filled, and prompts that record instead of waiting.
#pragma once

#include "editing/Prompts.h"
#include "exchange/RDX_INC.h"

#include <QStringList>
#include <gtest/gtest.h>

struct RecordedPrompts {
    QStringList messages;
    QStringList questions;
    int beeps = 0;
    bool answer = true;

    Prompts Make() {
        Prompts p;
        p.Message = [this](QWidget*, const QString& t) { messages << t; };
        p.Confirm = [this](QWidget*, const QString& t) {
            questions << t;
            return answer;
        };
        p.Beep = [this] { ++beeps; };
        return p;
    }
};

class EditingTest : public ::testing::Test {
protected:
    RDX_INC d;
    RecordedPrompts prompts;

    void SetUp() override {
        d.FillItemCodes();
        d.ChPresent.fill(1);
        d.ChDecimal.fill(100);
        d.ChScaleHigh.fill(10000);
        d.PollState = 1;
    }
    // A linear input (type 12) with the given scaling and decimal point.
    void Linear(int c, qint16 low, qint16 high, qint16 divisor) {
        d.ChInputType[c] = 12;
        d.ChScaleLow[c] = low;
        d.ChScaleHigh[c] = high;
        d.ChDecimal[c] = divisor;
    }
};

inline const QString kOutOfRange = QStringLiteral("設定範囲を外れた値です。");
