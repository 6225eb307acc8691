#include "FuzzHarness.h"

#include "FakeLink.h"
#include "FakeView.h"
#include "services/SettingsStore.h"
#include "display/ChartSettings.h"
#include "format/ValueFormat.h"
#include "protocol/HexCodec.h"
#include "exchange/PollEngine.h"
#include "exchange/RDX_INC.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

QString& StoreFile() {
    static QString file;
    return file;
}

// The store notices a new file by its size and time stamp; every input gets a time of its
// own so that two inputs of one size are both read.
void WriteStoreFile(const std::uint8_t* data, std::size_t size) {
    static std::time_t stamp = 1000000000;
    QFile f(StoreFile());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    f.write(reinterpret_cast<const char*>(data), qint64(size));
    f.close();
    const struct timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(StoreFile()).constData(), times, 0);
}

// A line of blocks in which block 0 has thermocouple inputs, block 1 linear inputs and
// block 2 a mixture, so the scaling reaches every kind of input; the rest are absent.
constexpr int kPresentBlocks = 3;

void SetUpLine(FakeLink& link) {
    const qint16 types[kPresentBlocks][2] = {{0, 6}, {10, 12}, {5, 15}};
    for (int b = 0; b < kPresentBlocks; ++b) {
        link.present[b] = true;
        std::array<qint16, 20>& inputs = link.values[b][QStringLiteral("00A1")];
        for (int j = 0; j < 10; ++j) {
            inputs[2 * j] = types[b][j % 2];
            inputs[2 * j + 1] = qint16(j % 3 == 0 ? 0x0400 : 0);
        }
        for (const char* item : {"0080", "0001", "0005", "0006", "000B"}) {
            std::array<qint16, 20>& v = link.values[b][QString::fromLatin1(item)];
            for (int n = 0; n < 20; ++n) v[n] = qint16(n % 2 ? 10000 : -32768 + 3277 * n);
        }
    }
}

bool InRange16(int v) { return v >= -32768 && v <= 32767; }

std::string CheckStartupReads() {
    RDX_INC d;
    d.FillItemCodes();
    FakeLink link;
    SetUpLine(link);
    FakeView view;
    PollEngine engine(d, link, view);

    (void)engine.ApplyPortSettings();
    if (link.port != u"COM1" && link.port != u"COM2") return "the link was given a port other than COM1/COM2";
    if (link.baud != u"9600" && link.baud != u"19200") return "the link was given a speed other than 9600/19200";

    // The start-up read: input types from the line, scaling from the store, then every
    // value of the present blocks shown with it (absent ones have no input to scale).
    engine.Setdata_read();
    for (int c = 0; c < kPresentBlocks * ChannelsPerBlock; ++c) {
        for (int item = 0; item < DisplayItemCount; ++item) (void)FormatItemValue(d, item, c);
        (void)MakeRange(d, c);
        for (const QString& code : d.ItemCode)
            if (const ChannelTable* t = d.TableOfItem(code)) (void)d.StoredToRaw(code, c, (*t)[c]);
    }

    const ChartSettings chart = ReadChartSettings();
    if (chart.ChartTim < ChartTimMin || chart.ChartTim > ChartTimMax) return "a chart interval out of range";
    for (int k = 0; k < ChartPenCount; ++k) {
        if (chart.PenChannel[k] < 0 || chart.PenChannel[k] >= ChannelCount) return "a pen on a channel that does not exist";
        if (chart.PenItem[k] > ChartItemMV) return "a pen with an unknown item";
        (void)ChartSampleValue(d, chart.PenChannel[k], chart.PenItem[k]);
    }
    (void)ChartWasRunning();

    for (const char* key : {"Logtim", "tab0block", "tab1block0", "tab1block1", "tab1name0", "tab1name1",
                            "tab2block0", "tab2block1", "tab2block2", "tab2name", "tab3name"})
        if (!InRange16(GetSettingInt(QString::fromLatin1(key), 0))) return "a stored number outside 16 bits";
    for (int n = 0; n < BlockCount; ++n)
        if (!InRange16(GetSettingInt(QStringLiteral("LogBlock") + QString::number(n), 0)))
            return "a stored number outside 16 bits";
    for (const char* key : {"log_restart", "log_start", "Chart_start"}) (void)GetSettingFlag(QString::fromLatin1(key));
    (void)GetSetting(QStringLiteral("log_name"), QString());
    return {};
}

}  // namespace

void UseFuzzSettingsStore() {
    // Removed again when the process ends.
    static QTemporaryDir dir;
    static const bool ready = [] {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        QDir(dir.path()).mkpath(QString::fromUtf8(SettingsAppName));
        StoreFile() = dir.path() + u'/' + QString::fromUtf8(SettingsAppName) + u'/' +
                      QString::fromUtf8(SettingsSection) + QStringLiteral(".ini");
        return true;
    }();
    (void)ready;
}

std::string FuzzSettingsFile(const std::uint8_t* data, std::size_t size) {
    UseFuzzSettingsStore();
    WriteStoreFile(data, size);
    FlushSettings();  // reads the new file: nothing of the last input is pending
    std::string error = CheckStartupReads();
    FlushSettings();  // what the reads repaired (port, speed) goes out before the next input
    return error;
}
