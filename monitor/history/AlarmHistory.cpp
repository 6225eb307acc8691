#include "history/AlarmHistory.h"

#include "services/SettingsStore.h"
#include "services/Cp932File.h"
#include "services/OperatorMessages.h"

namespace {

struct Condition {
    bool AlarmLatchRecord::*field;
    quint16 bit;
    const char* code;
};

// The order in which simultaneous changes are recorded.
constexpr std::array<Condition, 6> kConditions{{
    {&AlarmLatchRecord::Alarm1On, StatusBit::Alarm1, "Alarm1"},
    {&AlarmLatchRecord::Alarm2On, StatusBit::Alarm2, "Alarm2"},
    {&AlarmLatchRecord::HeaterBreakOn, StatusBit::HeaterBreak, "HB"},
    {&AlarmLatchRecord::LoopBreakOn, StatusBit::LoopBreak, "LP"},
    {&AlarmLatchRecord::OverScaleOn, StatusBit::OverScale, "UPS"},
    {&AlarmLatchRecord::UnderScaleOn, StatusBit::UnderScale, "DOWNS"},
}};

struct Message {
    const char* code;
    const char* on;
    const char* off;
};

constexpr char kScaleCleared[] = "制御入力値(PV)のｵｰﾊﾞｰｽｹｰﾙ状態が解消されました。";
constexpr char kNak[] = "MGU-500から否定応答(NAK応答)が返ってきました。";
constexpr char kChecksum[] = "ﾁｪｯｸｻﾑｴﾗｰが発生しました。";

constexpr char kWriteRefused[] = "設定値の変更がMGU-500に拒否されました。設定値を確認してください。";
constexpr char kWriteUnanswered[] = "設定値の変更にMGU-500から応答がありません。設定値を確認してください。";

constexpr std::array<Message, 10> kMessages{{
    {"Alarm1", "警報１の状態がONになりました。", "警報１の状態がOFFになりました。"},
    {"Alarm2", "警報２の状態がONになりました。", "警報２の状態がOFFになりました。"},
    {"HB", "ﾋｰﾀ断線警報の状態がONになりました。", "ﾋｰﾀ断線警報の状態がOFFになりました。"},
    {"LP", "ﾙｰﾌﾟ異常警報の状態がONになりました。", "ﾙｰﾌﾟ異常警報の状態がOFFになりました。"},
    {"UPS", "制御入力値(PV)がｵｰﾊﾞｰｽｹｰﾙ状態になりました。", kScaleCleared},
    {"DOWNS", "制御入力値(PV)がｱﾝﾀﾞｰｽｹｰﾙ状態になりました。", kScaleCleared},
    {"NAK", kNak, kNak},
    {"CHKSUM", kChecksum, kChecksum},
    {WriteRefusedCode, kWriteRefused, kWriteRefused},
    {WriteUnansweredCode, kWriteUnanswered, kWriteUnanswered},
}};

bool IsProtocolCode(const QString& alm) {
    return alm == QLatin1String("NAK") || alm == QLatin1String("CHKSUM") ||
           alm == QLatin1String(OutOfContactCode) || alm == QLatin1String(BulkWriteIncompleteCode);
}

// The block's registered name, as the operator knows it from the selectors.
QString BlockName(int ch) {
    const QString suffix = BlockSuffix(qBound(0, ch, ChannelCount - 1) / ChannelsPerBlock);
    return GetSetting(QStringLiteral("DvtoN") + suffix, QStringLiteral("Block") + suffix);
}

QString ContactMessage(int ch, int state) {
    return QString::fromUtf8(state != 0 ? "ﾌﾞﾛｯｸ「%1」のMGU-500から応答がありません。"
                                        : "ﾌﾞﾛｯｸ「%1」のMGU-500との通信が回復しました。")
        .arg(BlockName(ch));
}

// Entries that name a block in their text rather than a channel in their column.
QString BlockEntryMessage(const QString& alm, int ch, int state) {
    if (alm == QLatin1String(BulkWriteIncompleteCode))
        return QString::fromUtf8("ﾌﾞﾛｯｸ「%1」の設定値変更で、MGU-500が受け付けなかった設定があります。設定値を確認してください。")
            .arg(BlockName(ch));
    return ContactMessage(ch, state);
}

}  // namespace

QStringList AlarmCodesOn(quint16 statusWord) {
    QStringList codes;
    for (const Condition& c : kConditions)
        if (statusWord & c.bit) codes << QString::fromLatin1(c.code);
    return codes;
}

AlarmHistory::AlarmHistory(RDX_INC& inc)
    : inc_(inc) {}

void AlarmHistory::AlarmChk(int ch) {
    if (ch < 0 || ch >= ChannelCount) return;
    const quint16 w = quint16(inc_.ChStatus[ch]);
    AlarmLatchRecord& latch = AlarmLatch[ch];
    for (const Condition& c : kConditions) {
        const bool on = (w & c.bit) != 0;
        if (on == latch.*c.field) continue;
        latch.*c.field = on;
        Hystory_Write(QString::fromLatin1(c.code), ch, on ? -1 : 0);
    }
    if (w & StatusBit::AutoTuning) {
        latch.AutoTuningOn = true;
    } else if (latch.AutoTuningOn) {
        latch.AutoTuningOn = false;
        inc_.ChATSwitch[ch] = 0;
    }
}

void AlarmHistory::Hystory_Write(const QString& alm, int ch, int state) {
    const QDateTime now = Time->Now();
    const int r = HistoryRow >= 1 && HistoryRow <= RingRows ? HistoryRow : 1;
    const bool namesBlock = alm == QLatin1String(OutOfContactCode) || alm == QLatin1String(BulkWriteIncompleteCode);
    const QString content = namesBlock ? BlockEntryMessage(alm, ch, state) : HistoryMessage(alm, state);
    const Entry entry{EntryDateText(now.date()), EntryTimeText(now.time()), ChannelText(alm, ch),
                      content};
    Table.SetRow(r, entry);
    HistoryBuffer[r - 1] = entry;
    Table.ClearRow(r + 1);
    HistoryRow = r + 1 > RingRows ? 1 : r + 1;

    const QByteArray line = QuotedLine({entry[1], entry[2], entry[3]});
    const bool written = AppendToFile(HistoryFilePath, line) == FileWriteResult::Ok;
    if (OnRecorded) OnRecorded(alm, ch, state, entry);
    if (!written && Messages) Messages->Tell(QString::fromUtf8(HistoryWriteFailedMessage));
}

void AlarmHistory::CopyBufferToTable() {
    for (int r = 1; r <= RingRows; ++r) Table.SetRow(r, HistoryBuffer[r - 1]);
}

void AlarmHistory::ClearHistory() {
    HistoryRow = 1;
    for (int r = 1; r <= RingRows; ++r) {
        Table.ClearRow(r);
        HistoryBuffer[r - 1] = Entry{};
    }
}

QString AlarmHistory::HistoryMessage(const QString& alm, int state) {
    for (const Message& m : kMessages)
        if (alm == QLatin1String(m.code)) return QString::fromUtf8(state != 0 ? m.on : m.off);
    return {};
}

QString AlarmHistory::EntryDateText(const QDate& date) {
    return QStringLiteral("%1/%2/%3").arg(date.year()).arg(date.month()).arg(date.day());
}

QString AlarmHistory::EntryTimeText(const QTime& time) {
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour12)
        .arg(time.minute())
        .arg(time.second())
        .arg(time.hour() < 12 ? QLatin1String("AM") : QLatin1String("PM"));
}

QString AlarmHistory::ChannelText(const QString& alm, int ch) const {
    if (IsProtocolCode(alm)) return QStringLiteral("----");
    const QString suffix = ChannelSuffix(ch);
    return GetSetting(QStringLiteral("Chname") + suffix, QStringLiteral("Ch") + suffix);
}
