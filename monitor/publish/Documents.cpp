#include "publish/Documents.h"

#include "format/ValueFormat.h"
#include "publish/JsonText.h"

#include <QList>

namespace {

// Display item numbers of the value formatter.
constexpr int kItemPV = 0;
constexpr int kItemMV = 1;
constexpr int kItemHeaterCurrent = 2;
constexpr int kItemSV = 3;

bool Has(const RDX_INC& inc, int c, quint16 bit) { return (quint16(inc.ChStatus[c]) & bit) != 0; }

QByteArray ChannelObject(const RDX_INC& inc, int c, const QString& name) {
    JsonObject o;
    o.AddInt("ch", c + 1).AddString("name", name);
    const bool present = inc.ChPresent[c] != 0;
    o.AddBool("present", present);
    if (!present) return o.Text();
    // The second channel of a heating/cooling pair is the pair's cooling output only.
    if (c % 2 == 1 && (quint16(inc.ChOption[c]) & OptionBit::Cooling) != 0) {
        o.AddInt("coolingOf", c);
        o.AddNumberText("mv", FormatItemValue(inc, kItemMV, c));
        return o.Text();
    }
    o.AddNumberText("pv", FormatItemValue(inc, kItemPV, c))
        .AddNumberText("sv", FormatItemValue(inc, kItemSV, c))
        .AddString("unit", ChannelUnitText(inc, c))
        .AddNumberText("mv", FormatItemValue(inc, kItemMV, c))
        .AddNumberText("heaterCurrent", FormatItemValue(inc, kItemHeaterCurrent, c))
        .AddBool("alarm1", Has(inc, c, StatusBit::Alarm1))
        .AddBool("alarm2", Has(inc, c, StatusBit::Alarm2))
        .AddBool("heaterBreak", Has(inc, c, StatusBit::HeaterBreak))
        .AddBool("loopBreak", Has(inc, c, StatusBit::LoopBreak))
        .AddBool("overScale", Has(inc, c, StatusBit::OverScale))
        .AddBool("underScale", Has(inc, c, StatusBit::UnderScale))
        .AddBool("control", Has(inc, c, StatusBit::Control))
        .AddBool("autoTuning", Has(inc, c, StatusBit::AutoTuning))
        .AddBool("outputOn", Has(inc, c, StatusBit::OutputOn))
        .AddInt("status", quint16(inc.ChStatus[c]));
    return o.Text();
}

}  // namespace

QString DocumentTime(const QDateTime& time) {
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QByteArray BlockDocument(const RDX_INC& inc, int block, const BlockFacts& f) {
    QList<QByteArray> channels;
    if (block >= 0 && block < BlockCount)
        for (int k = 0; k < ChannelsPerBlock; ++k)
            channels << ChannelObject(inc, block * ChannelsPerBlock + k, f.channelNames[size_t(k)]);
    return JsonObject()
        .AddString("line", f.line)
        .AddInt("block", block + 1)
        .AddString("name", f.blockName)
        .AddString("time", DocumentTime(f.time))
        .AddBool("outOfContact", f.outOfContact)
        .AddRaw("channels", JsonArray(channels))
        .Text();
}

bool IsChannelCode(const QString& code) {
    for (const char* c : {"Alarm1", "Alarm2", "HB", "LP", "UPS", "DOWNS"})
        if (code == QLatin1String(c)) return true;
    return false;
}

bool CodeHasState(const QString& code) {
    return IsChannelCode(code) || code == QLatin1String(OutOfContactCode);
}

QByteArray EventDocument(const EventFacts& f) {
    JsonObject o;
    o.AddString("line", f.line).AddInt("seq", qint64(f.seq)).AddString("time", DocumentTime(f.time));
    o.AddString("code", f.code);
    const bool channel = IsChannelCode(f.code) && f.channel >= 0 && f.channel < ChannelCount;
    if (CodeHasState(f.code)) o.AddBool("on", f.state != 0);
    else o.AddNull("on");
    if (f.block >= 0 && f.block < BlockCount) o.AddInt("block", f.block + 1);
    else o.AddNull("block");
    if (channel) o.AddInt("ch", f.channel + 1);
    else o.AddNull("ch");
    o.AddString("name", f.channelText).AddString("text", f.text);
    return o.Text();
}

QByteArray PublisherDocument(const PublisherFacts& f) {
    return JsonObject()
        .AddString("program", f.program)
        .AddString("version", f.version)
        .AddString("host", f.host)
        .AddString("started", DocumentTime(f.started))
        .AddString("time", DocumentTime(f.time))
        .AddInt("droppedEvents", qint64(f.droppedEvents))
        .AddInt("replacedDocuments", qint64(f.replacedDocuments))
        .AddInt("eventQueueLimit", f.eventQueueLimit)
        .Text();
}
