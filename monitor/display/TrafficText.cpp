#include "display/TrafficText.h"

#include "protocol/Framing.h"
#include "services/Cp932File.h"

namespace {

QString Time(const QDateTime& t) { return t.toString(QStringLiteral("HH:mm:ss.zzz")); }

QString CommandName(const QString& command) {
    return command == u"R" ? QString::fromUtf8("書込") : QString::fromUtf8("読出");
}

}  // namespace

QStringList TrafficHeader() {
    return {QString::fromUtf8("時刻"), QString::fromUtf8("方向"), QString::fromUtf8("ﾌﾞﾛｯｸ"),
            QString::fromUtf8("ｺﾏﾝﾄﾞ"), QString::fromUtf8("項目"), QString::fromUtf8("ﾃﾞｰﾀ"),
            QString::fromUtf8("判定"), QString::fromUtf8("送受信ﾃﾞｰﾀ")};
}

QList<QStringList> TrafficRows(const TrafficEntry& e) {
    const QString block = QString::number(e.block + 1);
    const QString address(QChar(char16_t(0x20 + e.block)));
    const QString request = Framing::BuildFrame(address, u" ", e.command, e.item, e.data);
    // A reply's data: the fields of a read; a write's reply carries none.
    const QString replyData = Framing::DataPart(e.reply).toString();
    return {
        {Time(e.sentAt), QString::fromUtf8("送信"), block, CommandName(e.command), e.item, e.data,
         QString(), Framing::Readable(request)},
        {Time(e.answeredAt), QString::fromUtf8("受信"), block, CommandName(e.command), e.item, replyData,
         LineDiagnostics::VerdictText(e.verdict), Framing::Readable(e.reply)},
    };
}

QByteArray TrafficFileBytes(const std::deque<TrafficEntry>& traffic, TrafficEncoding encoding) {
    QString text = TrafficHeader().join(u'\t') + QStringLiteral("\r\n");
    for (const TrafficEntry& e : traffic)
        for (const QStringList& row : TrafficRows(e)) text += row.join(u'\t') + QStringLiteral("\r\n");
    return encoding == TrafficEncoding::Cp932 ? ToCp932(text) : text.toUtf8();
}
