#include "display/ChartSettings.h"

#include "services/SettingsStore.h"
#include "controls/ChartMath.h"

namespace {

QString Key(const char* prefix, int pen) { return QString::fromLatin1(prefix) + QString::number(pen); }

int StoredInRange(const QString& key, int fallback, int low, int high) {
    const int value = GetSettingInt(key, fallback);
    return value >= low && value <= high ? value : fallback;
}

qint16 Tenths(qint16 value) { return qint16(ChartMath::RoundHalfEven(double(value) / 10.0)); }

// Inputs of type 6 and above carry one decimal in the stored value.
constexpr qint16 FirstTenthsInputType = 6;

}  // namespace

ChartSettings ReadChartSettings() {
    ChartSettings s;
    s.ChartMin = qint16(GetSettingInt(QStringLiteral("Chart_Min"), s.ChartMin));
    s.ChartMax = qint16(GetSettingInt(QStringLiteral("Chart_Max"), s.ChartMax));
    s.ChartTim = qint16(StoredInRange(QStringLiteral("Chart_Tim"), s.ChartTim, ChartTimMin, ChartTimMax));
    for (int k = 0; k < ChartPenCount; ++k) {
        s.PenChannel[k] = qint16(StoredInRange(Key("Chart_PrNo", k), s.PenChannel[k], 0, ChannelCount - 1));
        s.PenItem[k] = quint8(StoredInRange(Key("Chart_PrVis", k), s.PenItem[k], ChartItemNone, ChartItemMV));
        s.PenName[k] = GetSetting(Key("Chart_PrName", k), s.PenName[k]);
    }
    return s;
}

void SaveChartSettings(const ChartSettings& s) {
    SaveSetting(QStringLiteral("Chart_Min"), QString::number(s.ChartMin));
    SaveSetting(QStringLiteral("Chart_Max"), QString::number(s.ChartMax));
    SaveSetting(QStringLiteral("Chart_Tim"), QString::number(s.ChartTim));
    for (int k = 0; k < ChartPenCount; ++k) SaveSetting(Key("Chart_PrNo", k), QString::number(s.PenChannel[k]));
    for (int k = 0; k < ChartPenCount; ++k) SaveSetting(Key("Chart_PrVis", k), QString::number(s.PenItem[k]));
    for (int k = 0; k < ChartPenCount; ++k) SaveSetting(Key("Chart_PrName", k), s.PenName[k]);
}

void SaveChartRunning(bool running) {
    SaveSetting(QStringLiteral("Chart_start"), running ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ChartWasRunning() { return GetSettingFlag(QStringLiteral("Chart_start")); }

std::optional<qint16> ChartSampleValue(const RDX_INC& data, int channel, int item) {
    if (channel < 0 || channel >= ChannelCount) return std::nullopt;
    switch (item) {
    case ChartItemPV:
    case ChartItemSV: {
        const qint16 v = item == ChartItemPV ? data.ChPV[channel] : data.ChSV[channel];
        return data.ChInputType[channel] >= FirstTenthsInputType ? Tenths(v) : v;
    }
    case ChartItemMV:
        return Tenths(data.ChHeatMV[channel]);
    default:
        return std::nullopt;
    }
}
