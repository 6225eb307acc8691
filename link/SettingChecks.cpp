#include "SettingChecks.h"

#include "ISTDComm.h"

#include <QStringList>

namespace LinkError {

QString Text(int number) {
    switch (number) {
    case PortName:
        return QStringLiteral("このプロパティにはCOM1～COM8までの値を代入してください。");
    case Speed:
        return QStringLiteral("このプロパティには 2400、4800、9600、19200 の何れかの値を代入してください");
    case Parity:
        return QStringLiteral("このプロパティには None, Even or Odd を代入してください");
    case DataBit:
        return QStringLiteral("このプロパティには 7 or 8 を代入してください");
    case StopBit:
        return QStringLiteral("このプロパティには 1 or 2 を代入してください");
    case Handshake:
        return QStringLiteral(
            "このプロパティには None, Xon/Xoff, RTS/CTS, RTSXonXoff 中の一つを代入してください");
    case Connect:
        return QStringLiteral("通信コントロールの接続中に原因不明エラーが発生しました。");
    case PortNotOpen:
        return QStringLiteral("通信ポートがオープンされていません。ポートをオープンしてください。");
    default:
        return {};
    }
}

void Raise(int number) { throw STDCommError(number, Text(number)); }

}  // namespace LinkError

namespace SettingChecks {

namespace {
const QStringList& HandshakeNames() {
    static const QStringList names{QStringLiteral("NONE"), QStringLiteral("XON/XOFF"),
                                   QStringLiteral("RTS/CTS"), QStringLiteral("BOTH")};
    return names;
}
}  // namespace

int PortNumber(const QString& port) {
    const QString name = port.toUpper();
    if (name.size() != 4 || !name.startsWith(u"COM")) LinkError::Raise(LinkError::PortName);
    const char16_t digit = name[3].unicode();
    if (digit < u'1' || digit > u'8') LinkError::Raise(LinkError::PortName);
    return digit - u'0';
}

QString Speed(const QString& speed) {
    if (speed == u"2400" || speed == u"4800" || speed == u"9600" || speed == u"19200") return speed;
    LinkError::Raise(LinkError::Speed);
}

QString ParityLetter(const QString& parity) {
    const QString name = parity.toUpper();
    if (name == u"NONE") return QStringLiteral("N");
    if (name == u"EVEN") return QStringLiteral("E");
    if (name == u"ODD") return QStringLiteral("O");
    LinkError::Raise(LinkError::Parity);
}

QString DataBit(const QString& bits) {
    if (bits == u"7" || bits == u"8") return bits;
    LinkError::Raise(LinkError::DataBit);
}

QString StopBit(const QString& bits) {
    if (bits == u"1" || bits == u"2") return bits;
    LinkError::Raise(LinkError::StopBit);
}

int HandshakeCode(const QString& flow) {
    const qsizetype code = HandshakeNames().indexOf(flow);
    if (code < 0) LinkError::Raise(LinkError::Handshake);
    return int(code);
}

QString HandshakeName(int code) {
    return HandshakeNames().value(code);
}

}  // namespace SettingChecks
