// Comparing a set-data file with the line: which controller settings of the channels the
// file covers differ from what the line holds, shown as the views show them, and the
// file's values put back into the tables for writing. Scaling, decimal point and unit
// text live in this PC, not in the controllers: they shape the texts but are not compared.
#pragma once

#include "exchange/RDX_INC.h"
#include "setdata/ChannelText.h"
#include "setdata/SetDataRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <utility>
#include <vector>

struct SettingDifference {
    int channel = 0;
    int displayItem = 0;  // 3..30: the setting's entry in the views' item lists
    QString item;         // its item code on the line
    QString fileText;
    QString lineText;
    qint16 fileRaw = 0;   // the file's value as the controller would hold it
};

// The settings a file holds: a copy of the live tables carrying the file's values (and
// its scaling) in the channels the file covers.
struct FileSettings {
    RDX_INC tables;
    std::vector<int> channels;
};

// Records of a block (first channel of the block) or all-channel file (first channel 0);
// a record whose channel was absent when saved covers nothing, as the loaders skip it.
FileSettings FileSettingsOfRecords(const RDX_INC& live, int firstChannel, const std::vector<SetDataRecord>& records);
// The texts of a channel file, compared with one channel of the line.
FileSettings FileSettingsOfChannel(const RDX_INC& live, int channel, const ChannelTexts& texts);

struct SettingsComparison {
    std::vector<SettingDifference> differences;
    // Blocks holding channels of the file whose values the line did not give.
    std::vector<int> silentBlocks;
    // Channels of the file that their (answering) block does not have.
    std::vector<int> missingChannels;
    int channelsCompared = 0;

    bool Complete() const { return silentBlocks.empty() && missingChannels.empty(); }
};

// answered[b]: the live tables hold block b's values as the line has them.
SettingsComparison CompareWithLine(const RDX_INC& live, const FileSettings& file,
                                   const std::array<bool, BlockCount>& answered);

// Blocks whose tables the polling keeps live: present and in contact.
std::array<bool, BlockCount> BlocksInContact(const RDX_INC& live);

// Stores the file's values of the differences into the live tables (alarm types before
// alarm values, which are read by their type) and returns one (channel, item) per block
// and item to request as a setting write, in the order to send them.
std::vector<std::pair<int, QString>> PutFileValues(RDX_INC& live, const std::vector<SettingDifference>& differences);

// "Ch045" for channel index 44, as the views number channels.
QString ChannelNumberText(int channel);
// The setting's name as the views' item lists show it.
QString SettingNameText(int displayItem);

// The list as a CP932 CSV file: a heading line, then channel, channel name, setting, the
// file's value and the line's value per difference. channelNames: all 320 names.
QByteArray DifferenceListCsv(const std::vector<SettingDifference>& differences, const QStringList& channelNames);
