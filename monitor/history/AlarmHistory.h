// Alarm transition detection and the alarm history: every change of a channel's alarm
// conditions, and every refused or corrupted reply, becomes one entry in the viewer's
// table, in the ring of the last 100 entries and in this run's history file.
#pragma once

#include "services/Clock.h"
#include "exchange/RDX_INC.h"
#include "history/HistoryTable.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class OperatorMessages;

// Last known state of one channel's conditions; all false until the first status read.
struct AlarmLatchRecord {
    bool Alarm1On = false;
    bool Alarm2On = false;
    bool HeaterBreakOn = false;
    bool LoopBreakOn = false;
    bool OverScaleOn = false;
    bool UnderScaleOn = false;
    bool AutoTuningOn = false;
};

// The channel codes ("Alarm1" .. "DOWNS") whose condition the status word shows on, in
// the order simultaneous changes are recorded.
QStringList AlarmCodesOn(quint16 statusWord);

inline constexpr char HistoryWriteFailedMessage[] =
    "ファイルに書き込み出来ません。アラームヒストリファイルが開かれていないか確認してください。";

class AlarmHistory {
public:
    static constexpr int RingRows = 100;
    using Entry = std::array<QString, HistoryTable::ColumnCount>;  // date, time, channel, content

    explicit AlarmHistory(RDX_INC& inc);
    AlarmHistory(const AlarmHistory&) = delete;
    AlarmHistory& operator=(const AlarmHistory&) = delete;

    std::array<AlarmLatchRecord, ChannelCount> AlarmLatch{};
    std::array<Entry, RingRows> HistoryBuffer{};
    int HistoryRow = 1;  // 1-based row of the next entry
    QString HistoryFilePath;
    HistoryTable Table;

    // Stamps the entries; replaced by tests.
    const Clock* Time = &SystemClock();
    // Told when the history file cannot be written. Entries are recorded inside polling
    // steps, so this never waits; the program hands its own non-waiting messages.
    OperatorMessages* Messages = nullptr;
    // Told of every entry once it is recorded: code, channel and state as given, and the
    // entry's texts (the publisher sends each one on as an event).
    std::function<void(const QString& alm, int ch, int state, const Entry& entry)> OnRecorded;

    // Compares the channel's status word with its latch and records each change.
    void AlarmChk(int ch);
    // Records one entry. state 0: the condition ended; any other value: it began.
    // "NAK" and "CHKSUM" ignore channel and state; OutOfContactCode takes the block's
    // first channel and names the block.
    void Hystory_Write(const QString& alm, int ch, int state);

    // Viewer support: copy the ring into table rows 1 to 100, and the clear command.
    void CopyBufferToTable();
    void ClearHistory();

    // The content text of a code and state; empty for an unknown code.
    static QString HistoryMessage(const QString& alm, int state);
    // The history table's date ("yyyy/m/d") and time ("h:n:s AM/PM") texts.
    static QString EntryDateText(const QDate& date);
    static QString EntryTimeText(const QTime& time);

private:
    QString ChannelText(const QString& alm, int ch) const;

    RDX_INC& inc_;
};
