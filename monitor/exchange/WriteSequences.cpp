// The write sequences: states 2 to 7 of the engine.
#include "exchange/EngineLog.h"
#include "exchange/EngineView.h"
#include "exchange/PollEngine.h"

#include <array>

namespace {
const QString kWriteCmd = QStringLiteral("R");
}

const std::array<const char*, 26>& PollEngine::BulkItems() {
    static const std::array<const char*, 26> items = {
        "0013", "0014", "0001", "0002", "0003", "0004", "0007", "0008", "000B",
        "000C", "000D", "000E", "000F", "0010", "0011", "0012", "0015", "0016",
        "0017", "0018", "0019", "001C", "001D", "001E", "001F", "0020"};
    return items;
}

bool PollEngine::MayWrite(int block, const QString& item) const {
    if (block < 0 || block >= BlockCount || d.BlockAbsent[block] != 0) return false;
    return !RDX_INC::IsCoolingItem(item) || d.BlockHasCooling[block];
}

void PollEngine::WriteSingleItem() {
    const int block = d.SelectedBlock;
    const QString item = d.WriteItemCode;
    if (!d.TableOfItem(item) || !MayWrite(block, item)) return;
    Exchange(block, kWriteCmd, item, d.EncodeBlock(item, block), Kind::Write);
    // Read back so the tables hold what the controller now holds.
    Exchange(block, QStringLiteral("\""), item, QString(), Kind::Read);
}

void PollEngine::SaveAlarms() {
    d.SavedAlarm1 = d.ChAlarm1;
    d.SavedAlarm2 = d.ChAlarm2;
}

void PollEngine::RestoreSavedAlarms(int block) {
    if (block < 0) {
        d.ChAlarm1 = d.SavedAlarm1;
        d.ChAlarm2 = d.SavedAlarm2;
        return;
    }
    // Other blocks keep what they hold now: an alarm value changed there during the delay
    // must not be put back to its old value (a later write of that block would send it).
    const int first = block * ChannelsPerBlock;
    for (int c = first; c < first + ChannelsPerBlock; ++c) {
        d.ChAlarm1[c] = d.SavedAlarm1[c];
        d.ChAlarm2[c] = d.SavedAlarm2[c];
    }
}

void PollEngine::WriteBlockItems(int block) {
    for (const char* code : BulkItems()) {
        const QString item = QString::fromLatin1(code);
        if (!MayWrite(block, item)) continue;
        try {
            Exchange(block, kWriteCmd, item, d.EncodeBlock(item, block), Kind::Write);
        } catch (const std::exception& e) {
            LogSkippedStep(qPrintable(QStringLiteral("bulk write of %1 to block %2").arg(item).arg(block + 1)), e);
        }
    }
}

void PollEngine::WriteBlockParameters() {
    SaveAlarms();
    bulkBlock_ = d.SelectedBlock;
    WriteBlockItems(bulkBlock_);
    DelayTicks = 0;
    Timer3[0].start();
}

void PollEngine::WriteAllBlocks() {
    SaveAlarms();
    for (int b = 0; b < BlockCount; ++b) WriteBlockItems(b);
    DelayTicks = 0;
    Timer3[1].start();
}

void PollEngine::WriteAlarmValues(int block) {
    if (d.BlockAbsent[block] != 0) return;
    for (const QString& item : {QStringLiteral("0005"), QStringLiteral("0006")}) {
        try {
            Exchange(block, kWriteCmd, item, d.EncodeBlock(item, block), Kind::Write);
        } catch (const std::exception& e) {
            LogSkippedStep(qPrintable(QStringLiteral("bulk write of %1 to block %2").arg(item).arg(block + 1)), e);
        }
    }
}

void PollEngine::WriteBlockAlarms() {
    if (bulkBlock_ >= 0 && bulkBlock_ < BlockCount) {
        RestoreSavedAlarms(bulkBlock_);
        WriteAlarmValues(bulkBlock_);
    }
    FinishBulkWrite();
}

void PollEngine::WriteAllAlarms() {
    RestoreSavedAlarms();
    for (int b = 0; b < BlockCount; ++b) WriteAlarmValues(b);
    FinishBulkWrite();
}

void PollEngine::FinishBulkWrite() {
    // Cut off by a port loss, the write is not finished: it is sent again when the port
    // is back (see WriteCutByLoss), and the dialogs stay as they are until then.
    if (!LinkIsOpen()) return;
    view.BulkWriteFinished();
}

void PollEngine::WriteFactoryInit() {
    const int block = d.SelectedBlock;
    if (block < 0 || block >= BlockCount || d.BlockAbsent[block] != 0) return;
    Exchange(block, kWriteCmd, QString::fromLatin1(FactoryInitItem), FactoryInitData, Kind::Write);
}
