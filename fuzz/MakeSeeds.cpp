// Writes the seed corpora of the fuzz programs with the project's own writers:
//   rdx_fuzz_seeds <fuzz/corpus>
// reply/: replies as a line sends them; setdata/: channel, block and all-channel files of
// both versions; settings/: a settings file as the program writes it.
#include "FakeLink.h"
#include "services/SettingsStore.h"
#include "protocol/HexCodec.h"
#include "protocol/Framing.h"
#include "setdata/ChannelFile.h"
#include "setdata/ChannelText.h"
#include "setdata/RecordFile.h"
#include "setdata/SetDataRecord.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString root;

void Write(const QString& target, const QString& name, const QByteArray& bytes) {
    QDir(root).mkpath(target);
    QFile f(root + u'/' + target + u'/' + name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
}

QString ReadReply(int block, const char* item, const std::array<qint16, 20>& values) {
    QString fields;
    for (qint16 v : values) fields += HexCodec::Encode(v);
    const Request r{block, QStringLiteral("\""), QString::fromLatin1(item), QString()};
    return FakeLink::Reply(QChar(Framing::ACK), r, fields);
}

void WriteReplies() {
    std::array<qint16, 20> pv{}, types{}, status{};
    for (int n = 0; n < 20; ++n) {
        pv[n] = qint16(250 + 10 * n - (n == 7 ? 400 : 0));
        types[n] = qint16(n % 2 ? (n % 4 == 1 ? 0x0401 : 0) : (n < 10 ? 6 : 12));
        status[n] = qint16(n % 3 == 0 ? 0x0003 : (n % 3 == 1 ? 0x1008 : 0x0081));
    }
    const QString pvReply = ReadReply(0, "0080", pv);
    const QString typeReply = ReadReply(1, "00A1", types);
    const QString statusReply = ReadReply(2, "0083", status);
    const Request write{3, QStringLiteral("R"), QStringLiteral("0001"), QString()};
    const QString ack = FakeLink::Reply(QChar(Framing::ACK), write, QString());
    const QString nak = FakeLink::Reply(QChar(Framing::NAK), write, QString());
    QString corrupted = pvReply;
    corrupted[20] = QChar(u'F');

    Write("reply", "pv-read", pvReply.toLatin1());
    Write("reply", "input-types", typeReply.toLatin1());
    Write("reply", "status", statusReply.toLatin1());
    Write("reply", "write-ack", ack.toLatin1());
    Write("reply", "nak", nak.toLatin1());
    Write("reply", "bad-checksum", corrupted.toLatin1());
    Write("reply", "garbage-then-reply", QByteArray("\x7f\x00\x03~") + pvReply.toLatin1());
    Write("reply", "cut-short-then-reply", pvReply.left(30).toLatin1() + (typeReply + statusReply).toLatin1());
}

RDX_INC SampleLine() {
    RDX_INC inc;
    inc.FillItemCodes();
    for (int c = 0; c < ChannelCount; ++c) {
        inc.ChPresent[c] = qint16(c % 40 < 36 ? 1 : 0);
        inc.ChInputType[c] = qint16(c % 20 < 10 ? 6 : 12);
        inc.ChSV[c] = qint16(1000 + c);
        inc.ChAlarm1[c] = qint16(50 + c % 7);
        inc.ChAlarm1Type[c] = qint16(c % 13);
        inc.ChPBand[c] = 30;
        inc.ChITime[c] = 240;
        inc.ChScaleHigh[c] = qint16(c % 3 ? 10000 : 2000);
        inc.ChScaleLow[c] = qint16(c % 3 ? 0 : -500);
        inc.ChDecimal[c] = qint16(c % 2 ? 10 : 100);
        inc.ChUnitText[c] = c % 2 ? QStringLiteral("℃") : QStringLiteral("kPa");
    }
    return inc;
}

void WriteSetData() {
    const RDX_INC inc = SampleLine();
    Write("setdata", "channel-thermo", EncodeChannelFile(TakeChannelTexts(inc, 3)).bytes);
    Write("setdata", "channel-linear", EncodeChannelFile(TakeChannelTexts(inc, 12)).bytes);
    Write("setdata", "channel-older", EncodeChannelFile(TakeChannelTexts(inc, 13), SetDataVersion::Older).bytes);
    Write("setdata", "block", EncodeRecordFile(RecordFileKind::Block, TakeBlockRecords(inc, 1)).bytes);
    Write("setdata", "block-older",
          EncodeRecordFile(RecordFileKind::Block, TakeBlockRecords(inc, 2), SetDataVersion::Older).bytes);
    Write("setdata", "all-channels", EncodeRecordFile(RecordFileKind::AllChannels, TakeAllRecords(inc)).bytes);
}

void WriteSettings() {
    SaveSetting("Port", "COM2");
    SaveSetting("Speed", "19200");
    SaveSetting("PortDevice2", "/dev/ttyUSB0");
    for (int c = 0; c < 3; ++c) {
        const QString s = ChannelSuffix(c);
        SaveSetting("STLH" + s, QString::number(2000 - 700 * c));
        SaveSetting("STLL" + s, QString::number(-500 + 600 * c));
        SaveSetting("DP" + s, c == 2 ? "1000" : "10");
        SaveSetting("UNIT" + s, c == 1 ? "℃" : "kPa");
        SaveSetting("Chname" + s, "炉 ｿﾞｰﾝ" + QString::number(c + 1));
    }
    SaveSetting("DvtoN01", "ライン1");
    SaveSetting("Chart_Min", "-50");
    SaveSetting("Chart_Max", "600");
    SaveSetting("Chart_Tim", "10");
    SaveSetting("Chart_PrNo0", "319");
    SaveSetting("Chart_PrVis0", "3");
    SaveSetting("Chart_PrName0", "Ch320: MV");
    SaveSetting("Chart_start", "1");
    SaveSetting("Logtim", "2");
    SaveSetting("LogBlock0", "1");
    SaveSetting("log_restart", "1");
    SaveSetting("log_start", "1");
    SaveSetting("log_name", "logging/20240101.csv");
    SaveSetting("tab1block0", "3");
    SaveSetting("tab2name", "15");
    FlushSettings();
    QFile f(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
            QString::fromUtf8(SettingsAppName) + u'/' + QString::fromUtf8(SettingsSection) + ".ini");
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "settings file not written\n");
        return;
    }
    const QByteArray written = f.readAll();
    Write("settings", "as-written", written);
    QByteArray odd = written;
    odd.replace("STLH001=2000", "STLH001=99999").replace("DP002=10", "DP002=0").replace("Port=COM2", "Port=COM9");
    Write("settings", "odd-values", odd);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rdx_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    root = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    WriteReplies();
    WriteSetData();
    WriteSettings();
    return 0;
}
