#include "editing/CommitSetting.h"

#include "services/SettingsStore.h"
#include "editing/SettingItems.h"
#include "exchange/WriteRequests.h"

void CommitSetting(RDX_INC& inc, WriteRequests& writes, int setting, int channel) {
    if (channel < 0 || channel >= ChannelCount) return;
    if (IsPcSideSetting(setting)) {
        const QString key = PcSideSettingKey(setting, channel);
        if (setting == 35) {
            SaveSetting(key, inc.ChUnitText[channel]);
        } else {
            SaveSetting(key, QString::number((*SettingTable(inc, setting))[channel]));
        }
        return;
    }
    const QString code = SettingItemCode(inc, setting);
    if (!code.isEmpty()) writes.RequestSettingWrite(channel, code);
}
