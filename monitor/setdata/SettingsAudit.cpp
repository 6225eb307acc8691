#include "setdata/SettingsAudit.h"

#include "format/DisplayTables.h"
#include "format/ValueFormat.h"
#include "services/Cp932File.h"

#include <algorithm>

namespace {

constexpr int FirstComparedItem = 3;   // SV
constexpr int LastComparedItem = 30;   // cooling hysteresis
constexpr int PresentFieldItem = 26;   // record field 23 sits between items 25 and 26

// The record field (and table) of display item 3..30.
ChannelTable RDX_INC::* TableOfDisplayItem(int item) {
    return SetDataFieldTable(item < PresentFieldItem ? item - 3 : item - 2);
}

// Items shown with the channel's unit beside them: the temperatures (or scaled values).
bool ShownWithUnit(int item) {
    switch (item) {
    case 3: case 4: case 5: case 12: case 13: case 14: case 15: case 21: case 25: case 28: case 30:
        return true;
    default:
        return false;
    }
}

QString ItemCodeOf(const RDX_INC& inc, int item) {
    const ChannelTable* table = &(inc.*TableOfDisplayItem(item));
    for (const QString& code : inc.ItemCode)
        if (!code.isEmpty() && inc.TableOfItem(code) == table) return code;
    return {};
}

QString ShownText(const RDX_INC& inc, const ChannelTexts& texts, int item, int channel) {
    QString text = texts[item - FirstChannelFileItem];
    if (ShownWithUnit(item)) text += ChannelUnitText(inc, channel);
    return text;
}

FileSettings CopyOfLive(const RDX_INC& live) {
    FileSettings file{live, {}};
    // The copy only shows values; nothing is ever stored into it from the line.
    file.tables.AlarmCheckHook = nullptr;
    return file;
}

void AddOnce(std::vector<int>& list, int value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

}  // namespace

FileSettings FileSettingsOfRecords(const RDX_INC& live, int firstChannel, const std::vector<SetDataRecord>& records) {
    FileSettings file = CopyOfLive(live);
    for (int i = 0; i < int(records.size()); ++i) {
        const int channel = firstChannel + i;
        if (channel < 0 || channel >= ChannelCount || records[i].Fields[PresentField] == 0) continue;
        ApplySetDataRecord(file.tables, channel, records[i]);
        file.channels.push_back(channel);
    }
    // The unit shown belongs to the pair and follows its first channel, as a read stores it.
    for (int channel : file.channels)
        file.tables.ChUnitShown[channel] = file.tables.ChTempUnit[channel - channel % 2];
    return file;
}

FileSettings FileSettingsOfChannel(const RDX_INC& live, int channel, const ChannelTexts& texts) {
    FileSettings file = CopyOfLive(live);
    if (channel < 0 || channel >= ChannelCount) return file;
    PutChannelTexts(file.tables, channel, texts);
    file.channels.push_back(channel);
    return file;
}

SettingsComparison CompareWithLine(const RDX_INC& live, const FileSettings& file,
                                   const std::array<bool, BlockCount>& answered) {
    SettingsComparison result;
    for (int channel : file.channels) {
        const int block = channel / ChannelsPerBlock;
        if (!answered[block]) {
            AddOnce(result.silentBlocks, block);
            continue;
        }
        if (live.ChPresent[channel] == 0) {
            result.missingChannels.push_back(channel);
            continue;
        }
        ++result.channelsCompared;
        ChannelTexts fileTexts, lineTexts;
        bool textsTaken = false;
        for (int item = FirstComparedItem; item <= LastComparedItem; ++item) {
            const QString code = ItemCodeOf(live, item);
            if (code.isEmpty()) continue;
            // A block without cooling neither has nor is sent the cooling settings.
            if (RDX_INC::IsCoolingItem(code) && !live.BlockHasCooling[block]) continue;
            ChannelTable RDX_INC::* table = TableOfDisplayItem(item);
            // Compared as the controller holds them: each side through its own scaling.
            const qint16 fileRaw = file.tables.StoredToRaw(code, channel, (file.tables.*table)[channel]);
            const qint16 lineRaw = live.StoredToRaw(code, channel, (live.*table)[channel]);
            if (fileRaw == lineRaw) continue;
            if (!textsTaken) {
                fileTexts = TakeChannelTexts(file.tables, channel);
                lineTexts = TakeChannelTexts(live, channel);
                textsTaken = true;
            }
            result.differences.push_back({channel, item, code, ShownText(file.tables, fileTexts, item, channel),
                                          ShownText(live, lineTexts, item, channel), fileRaw});
        }
    }
    return result;
}

std::array<bool, BlockCount> BlocksInContact(const RDX_INC& live) {
    std::array<bool, BlockCount> answered{};
    for (int b = 0; b < BlockCount; ++b) answered[b] = live.BlockAbsent[b] == 0 && !live.BlockOutOfContact[b];
    return answered;
}

std::vector<std::pair<int, QString>> PutFileValues(RDX_INC& live, const std::vector<SettingDifference>& differences) {
    std::vector<std::pair<int, QString>> writes;
    auto isAlarmValue = [](const SettingDifference& x) {
        const ItemForm form = RDX_INC::FormOfItem(x.item);
        return form == ItemForm::Alarm1 || form == ItemForm::Alarm2;
    };
    for (const bool alarmValues : {false, true}) {
        for (const SettingDifference& x : differences) {
            if (isAlarmValue(x) != alarmValues) continue;
            ChannelTable* table = live.TableOfItem(x.item);
            if (!table || x.channel < 0 || x.channel >= ChannelCount) continue;
            (*table)[x.channel] = live.RawToStored(x.item, x.channel, x.fileRaw);
            const int block = x.channel / ChannelsPerBlock;
            // One write sends the item's values of the whole block.
            const bool requested = std::any_of(writes.begin(), writes.end(), [&](const auto& w) {
                return w.first / ChannelsPerBlock == block && w.second == x.item;
            });
            if (!requested) writes.emplace_back(x.channel, x.item);
        }
    }
    return writes;
}

QString ChannelNumberText(int channel) { return QStringLiteral("Ch%1").arg(channel + 1, 3, 10, QLatin1Char('0')); }

QString SettingNameText(int displayItem) { return DisplayItemListText(displayItem).trimmed(); }

QByteArray DifferenceListCsv(const std::vector<SettingDifference>& differences, const QStringList& channelNames) {
    QByteArray bytes = QuotedLine({QStringLiteral("ﾁｬﾝﾈﾙ"), QStringLiteral("名前"), QStringLiteral("設定項目"),
                                   QStringLiteral("ﾌｧｲﾙの値"), QStringLiteral("ﾗｲﾝの値")});
    for (const SettingDifference& x : differences)
        bytes += QuotedLine({ChannelNumberText(x.channel), channelNames.value(x.channel),
                             SettingNameText(x.displayItem), x.fileText, x.lineText});
    return bytes;
}
