// A main window on a scripted line, and an operator who answers the set-data dialogs'
// file dialogs and message boxes from a script and notes everything shown.
#pragma once

#include "FakeLink.h"
#include "app/DialogWiring.h"
#include "app/MainDisp.h"
#include "exchange/PollEngine.h"
#include "exchange/RDX_INC.h"
#include "setdata/SetDataPrompts.h"
#include "setdata/SetDataRecord.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

struct ScriptedOperator {
    std::deque<QString> files;  // answers to the file dialogs; "" cancels
    std::deque<bool> answers;   // answers to the Yes/No questions
    QStringList fileDialogs;    // "save" or "open" per dialog shown
    QStringList asked;
    QStringList told;

    SetDataPrompts Prompts() {
        SetDataPrompts p;
        p.ChooseFile = [this](QWidget*, FileDialogMode mode) {
            fileDialogs << (mode == FileDialogMode::Save ? QStringLiteral("save") : QStringLiteral("open"));
            if (files.empty()) return QString();
            QString f = files.front();
            files.pop_front();
            return f;
        };
        p.Ask = [this](QWidget*, const QString& text, AskIcon) {
            asked << text;
            if (answers.empty()) return false;
            const bool a = answers.front();
            answers.pop_front();
            return a;
        };
        p.Tell = [this](QWidget*, const QString& text) { told << text; };
        return p;
    }
};

class DialogTest : public ::testing::Test {
protected:
    RDX_INC d;
    FakeLink* link = nullptr;
    std::unique_ptr<MainDisp> window;
    ScriptedOperator op;
    QTemporaryDir dir;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<MainDisp>(d);
        ConnectDialogs(d, *window);
        window->CreateLinkObject = [this](const char*) -> ISTDComm* {
            link = new FakeLink;
            return link;
        };
        ASSERT_TRUE(window->Form_Load());
        for (int b = 0; b < BlockCount; ++b) d.BlockAbsent[b] = 1;
        // The tests equip the blocks by hand: no start-up read over them.
        window->engine().StartPolling();
    }

    // A block on the line: all 20 channels present, temperature input type 0, with or
    // without the heating/cooling option.
    void Equip(int block, bool cooling) {
        d.BlockAbsent[block] = 0;
        d.BlockHasCooling[block] = cooling;
        link->present[block] = true;
        for (int c = block * ChannelsPerBlock; c < (block + 1) * ChannelsPerBlock; ++c) {
            d.ChPresent[c] = 1;
            d.ChInputType[c] = 0;
            d.ChOption[c] = cooling ? qint16(OptionBit::Cooling) : 0;
            d.ChDecimal[c] = 1;
            d.ChScaleHigh[c] = 10000;
            d.ChUnitText[c] = QStringLiteral("%");
        }
    }
    // Distinct values in every table of the block's channels, so copies can be traced.
    void Fill(int block, int seed) {
        for (int i = 0; i < ChannelsPerBlock; ++i) {
            const int c = block * ChannelsPerBlock + i;
            d.ChSV[c] = qint16(seed + i);
            d.ChPBand[c] = qint16(seed + 100 + i);
            d.ChAlarm1[c] = qint16(seed + 200 + i);
            d.ChCoolPBand[c] = qint16(seed + 300 + i);
            d.ChUnitText[c] = QStringLiteral("U%1").arg(seed + i);
        }
    }

    QString Path(const QString& name) const { return dir.filePath(name); }
    static QByteArray Bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    PollEngine& engine() { return window->engine(); }
    // A request of this kind for this block waits for the engine.
    bool Queued(WriteKind kind, int block = -1) {
        for (const PollEngine::PendingWrite& w : engine().queuedWrites())
            if (w.kind == kind && w.block == block) return true;
        return false;
    }
    // Runs the bulk write the dialog requested, waits out its pause and sends the alarm values.
    std::vector<Request> RunBulkWrite() {
        engine().Timer4_Timer();
        std::vector<Request> sent = link->take();
        for (int i = 0; i < 15; ++i) engine().BulkWritePauseTick();
        engine().Timer4_Timer();
        for (Request& r : link->take()) sent.push_back(r);
        return sent;
    }
    static int CountItem(const std::vector<Request>& log, const char* item) {
        int n = 0;
        for (const Request& r : log) n += r.item == QLatin1StringView(item);
        return n;
    }
    bool ShowsWriting() const {
        return window->ProgressBar1->isVisibleTo(window.get()) && window->ProgressBar1->value() == 0 &&
               window->StatusPanel[3]->text() == QStringLiteral("設定値変更中");
    }
};
