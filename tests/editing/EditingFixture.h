// Shared set-up of the editing tests: a data model with every channel present and the
// item codes filled, and prompts that record instead of waiting.
#pragma once

#include "editing/Prompts.h"
#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <utility>

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

// Write requests as the editing code makes them: the last one, and whether any came
// since the last look.
struct RecordedWrites : WriteRequests {
    WriteKind kind = WriteKind::Setting;
    int block = -1;
    int channel = -1;
    QString item;
    QString mask;
    int requested = 0;

    quint64 RequestSettingWrite(int ch, const QString& code) override {
        return Note(WriteKind::Setting, ch / ChannelsPerBlock, ch, code, {});
    }
    quint64 RequestBlockWrite(int b) override { return Note(WriteKind::BlockWrite, b, -1, {}, {}); }
    quint64 RequestAllBlocksWrite() override { return Note(WriteKind::AllBlocksWrite, -1, -1, {}, {}); }
    quint64 RequestFactoryInit(int b, const QString& m) override {
        return Note(WriteKind::FactoryInit, b, -1, {}, m);
    }
    // True when a request came since the last call.
    bool Took() { return std::exchange(requested, 0) > 0; }

private:
    quint64 Note(WriteKind k, int b, int ch, const QString& code, const QString& m) {
        kind = k;
        block = b;
        channel = ch;
        item = code;
        mask = m;
        return quint64(++requested);
    }
};

class EditingTest : public ::testing::Test {
protected:
    RDX_INC d;
    RecordedPrompts prompts;
    RecordedWrites writes;

    void SetUp() override {
        d.FillItemCodes();
        d.ChPresent.fill(1);
        d.ChDecimal.fill(100);
        d.ChScaleHigh.fill(10000);
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
