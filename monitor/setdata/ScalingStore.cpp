#include "setdata/ScalingStore.h"

#include "services/SettingsStore.h"

namespace {

// Every save rewrites the store file, so an all-channel load must skip what is already there.
void SaveIfChanged(const QString& key, const QString& value, const char* defaultValue) {
    if (GetSetting(key, QString::fromUtf8(defaultValue)) != value) SaveSetting(key, value);
}

}  // namespace

void SaveChannelScaling(const RDX_INC& inc, int channel) {
    if (channel < 0 || channel >= ChannelCount) return;
    const QString suffix = ChannelSuffix(channel);
    SaveIfChanged(QStringLiteral("STLH") + suffix, QString::number(inc.ChScaleHigh[channel]), "10000");
    SaveIfChanged(QStringLiteral("STLL") + suffix, QString::number(inc.ChScaleLow[channel]), "0");
    SaveIfChanged(QStringLiteral("DP") + suffix, QString::number(inc.ChDecimal[channel]), "100");
    SaveIfChanged(QStringLiteral("UNIT") + suffix, inc.ChUnitText[channel], "%");
}
