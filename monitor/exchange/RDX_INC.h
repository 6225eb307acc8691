// The data model of the monitor: every per-channel and per-block table, the item
// codes and the scalars that drive the exchange. One object lives for the whole run.
#pragma once

#include "protocol/ItemCodes.h"
#include "protocol/StatusBits.h"

#include <QString>
#include <QStringView>
#include <array>
#include <functional>

inline constexpr int BlockCount = 16;
inline constexpr int ChannelsPerBlock = 20;
inline constexpr int ChannelCount = BlockCount * ChannelsPerBlock;  // 320
inline constexpr int ItemCount = 38;
// A block that leaves this many requests in a row unanswered is out of contact.
inline constexpr int SilentRequestsForOutOfContact = 3;
// History code of a block going out of contact (state not 0) and answering again (state 0);
// its channel argument is the block's first channel.
inline constexpr char OutOfContactCode[] = "NOCOM";

// History codes of settings the controller did not take: a single setting refused (NAK)
// or unanswered (its channel is the channel changed), and a bulk write with items not
// taken (its channel is the block's first channel).
inline constexpr char WriteRefusedCode[] = "WNAK";
inline constexpr char WriteUnansweredCode[] = "WNORES";
inline constexpr char BulkWriteIncompleteCode[] = "WBULK";

using ChannelTable = std::array<qint16, ChannelCount>;

// How a decoded controller value is stored (and, inverted, written).
enum class ItemForm { Raw, Abs, Span, Alarm1, Alarm2, Pairs };



// Option-code bits of "00A1".
namespace OptionBit {
inline constexpr quint16 HeaterBreak = 0x0001;
inline constexpr quint16 Cooling = 0x0400;
}  // namespace OptionBit

inline constexpr const char* FactoryInitItem = ItemCodes::FactoryInit;

class RDX_INC {
public:
    RDX_INC();

    // Item codes, filled by FillItemCodes() when the main window loads.
    std::array<QString, ItemCount> ItemCode;
    void FillItemCodes();
    // Index of a code in ItemCode, or -1.
    int ItemIndex(QStringView code) const;
    // The table an item is stored in (nullptr for "00A1", which has two).
    ChannelTable* TableOfItem(QStringView code);
    const ChannelTable* TableOfItem(QStringView code) const;
    static ItemForm FormOfItem(QStringView code);
    static bool IsCoolingItem(QStringView code);

    // Per-channel tables, index 0..319.
    ChannelTable ChPresent{}, ChInputType{}, ChOption{};
    ChannelTable ChPV{}, ChHeatMV{}, ChHeaterCurrent{}, ChStatus{};
    ChannelTable ChSV{}, ChPBand{}, ChITime{}, ChDTime{}, ChAlarm1{}, ChAlarm2{};
    ChannelTable ChPCycle{}, ChHBAlarm{}, ChOutputSwitch{}, ChATSwitch{};
    ChannelTable ChAlarm1Hys{}, ChAlarm2Hys{}, ChOutputHys{}, ChOutHigh{}, ChOutLow{};
    ChannelTable ChInputFilter{}, ChTempUnit{}, ChAction{}, ChAlarm1Type{}, ChAlarm2Type{};
    ChannelTable ChLoopSpan{}, ChLoopTime{}, ChARW{}, ChManualReset{}, ChSensorCorr{};
    ChannelTable ChLoop2Span{}, ChLoop2Time{}, ChCoolPBand{}, ChCoolPCycle{};
    ChannelTable ChOverlapBand{}, ChCoolMode{}, ChCoolHys{};
    ChannelTable ChUnitShown{};
    ChannelTable SavedAlarm1{}, SavedAlarm2{};
    // PC-side scaling, loaded from the settings store.
    ChannelTable ChScaleHigh{}, ChScaleLow{}, ChDecimal{};
    std::array<QString, ChannelCount> ChUnitText;

    // Per-block tables.
    std::array<qint16, BlockCount> BlockAbsent{};
    std::array<bool, BlockCount> BlockHasCooling{};
    // True from a block's third unanswered request in a row (or the loss of the port)
    // until its next valid reply: its table values are frozen, not live.
    std::array<bool, BlockCount> BlockOutOfContact{};

    // Scalars of the exchange.
    int PollBlock = 0;
    int PollPhase = 0;
    bool MVToggle = false;
    bool CommErrorFlag = false;
    int RereadBlock = 0;
    int SelectedItem = 0;
    QString AddrChar = QStringLiteral(" ");
    QString SubAddrChar = QStringLiteral(" ");
    bool EndRequested = false;
    bool LinkFailed = false;
    int PageIndex = 0;

    // Run for every channel of a "0083" reply right after its status word is stored.
    std::function<void(int channel)> AlarmCheckHook;

    // The four scaling conversions (unchanged for temperature inputs, type <= 9).
    qint16 RawToScaled(int ch, qint16 raw) const;
    qint16 RawToScaledSpan(int ch, qint16 raw) const;
    qint16 ScaledToRaw(int ch, qint16 value) const;
    qint16 ScaledSpanToRaw(int ch, qint16 value) const;

    // Stored value of an item for a channel from its decoded raw value, and back.
    qint16 RawToStored(QStringView code, int ch, qint16 raw) const { return RawToStored(FormOfItem(code), ch, raw); }
    qint16 StoredToRaw(QStringView code, int ch, qint16 value) const { return StoredToRaw(FormOfItem(code), ch, value); }
    // The same with the item's form looked up once, for a whole block.
    qint16 RawToStored(ItemForm form, int ch, qint16 raw) const;
    qint16 StoredToRaw(ItemForm form, int ch, qint16 value) const;

    // A read reply's 20 fields: fields[n] is field n + 1, a view into the reply.
    using ReplyFields = std::array<QStringView, ChannelsPerBlock>;
    static ReplyFields FieldsOf(QStringView reply);
    static ReplyFields FieldsOf(const std::array<QString, ChannelsPerBlock>& fields);
    // Stores a read reply's fields into the item's table ("00A1" excluded).
    void StoreReply(int block, QStringView code, const ReplyFields& fields);
    void StoreReply(int block, QStringView code, const std::array<QString, ChannelsPerBlock>& fields) {
        StoreReply(block, code, FieldsOf(fields));
    }
    // Stores an "00A1" reply: input type and option code per channel pair.
    void StoreInputTypes(int block, const ReplyFields& fields);
    void StoreInputTypes(int block, const std::array<QString, ChannelsPerBlock>& fields) {
        StoreInputTypes(block, FieldsOf(fields));
    }
    // The 80-character data part of a write of an item for a block.
    QString EncodeBlock(QStringView code, int block) const;
    // BlockHasCooling from ChOption of every block.
    void ComputeBlockCooling();
};

// A linear (DC voltage or current) input: input type 10 and above. Its values are shown
// in the channel's scaling units, with its own unit text and decimal picture.
bool IsLinearInput(const RDX_INC& d, int channel);

// Fixed-width settings-key suffixes: block index 0 -> "01", channel index 0 -> "001".
QString BlockSuffix(int blockIndex);
QString ChannelSuffix(int channelIndex);
