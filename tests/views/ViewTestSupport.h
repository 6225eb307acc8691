// Shared set-up of the view tests: names in the store and channel data in the tables.
#pragma once

#include "services/SettingsStore.h"
#include "exchange/RDX_INC.h"

#include <QString>

inline void StoreBlockName(int block, const QString& name) {
    SaveSetting(QStringLiteral("DvtoN") + BlockSuffix(block), name);
}
inline void StoreChannelName(int channel, const QString& name) {
    SaveSetting(QStringLiteral("Chname") + ChannelSuffix(channel), name);
}
inline QString StoredChannelName(int channel) {
    return GetSetting(QStringLiteral("Chname") + ChannelSuffix(channel), QStringLiteral("<missing>"));
}
inline QString StoredBlockName(int block) {
    return GetSetting(QStringLiteral("DvtoN") + BlockSuffix(block), QStringLiteral("<missing>"));
}

// Every channel present, whole-degree input, no options, status clear.
inline void AllPresent(RDX_INC& d) {
    d.ChPresent.fill(1);
    d.ChInputType.fill(0);
    d.ChOption.fill(0);
    d.ChStatus.fill(0);
    d.ChDecimal.fill(100);
}
