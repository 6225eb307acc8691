#include "publish/Documents.h"

#include "format/ValueFormat.h"
#include "publish/JsonText.h"

#include <functional>

namespace {

// Display item numbers of the value formatter.
constexpr int kItemPV = 0;
constexpr int kItemMV = 1;
constexpr int kItemHeaterCurrent = 2;
constexpr int kItemSV = 3;

bool Has(const RDX_INC& inc, int c, quint16 bit) { return (quint16(inc.ChStatus[c]) & bit) != 0; }

JsonObject ChannelHead(int c, const QString& name, bool present) {
    JsonObject o;
    o.AddInt("ch", c + 1).AddString("name", name).AddBool("present", present);
    return o;
}

QByteArray ChannelObject(const RDX_INC& inc, int c, const QString& name, bool stale) {
    const bool present = inc.ChPresent[c] != 0;
    JsonObject o = ChannelHead(c, name, present);
    if (!present) return o.Text();
    if (IsCoolingOutput(inc, c)) {
        o.AddString("quality", stale ? QStringLiteral("stale") : QStringLiteral("good"));
        o.AddInt("coolingOf", c);
        o.AddNumberText("mv", FormatItemValue(inc, kItemMV, c));
        return o.Text();
    }
    const QString quality = PvQuality(inc, c, stale);
    o.AddString("quality", quality);
    // A reader that parses numbers loses the picture ("25.50" arrives as 25.5).
    if (const int decimals = ValueDecimals(inc, c); decimals >= 0) o.AddInt("decimals", decimals);
    else o.AddNull("decimals");
    if (quality == u"good") {
        o.AddNumberText("pv", FormatItemValue(inc, kItemPV, c));
    } else {
        // A historian that maps "pv" stores a gap, not a value that was no measurement.
        o.AddNull("pv").AddNumberText("lastPv", FormatItemValue(inc, kItemPV, c));
    }
    const QString unit = ChannelUnitText(inc, c);
    o.AddNumberText("sv", FormatItemValue(inc, kItemSV, c))
        .AddString("unit", unit)
        .AddString("unitCode", StandardUnit(unit))
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

QByteArray StoredChannelObject(const StoredBlocks& stored, int block, int k, const QString& name) {
    const int c = block * ChannelsPerBlock + k;
    const bool present = (stored.channels[size_t(block)] >> k & 1u) != 0;
    JsonObject o = ChannelHead(c, name, present);
    if (!present) return o.Text();
    o.AddString("quality", QStringLiteral("stale"));
    if ((stored.cooling[size_t(block)] >> k & 1u) != 0) o.AddInt("coolingOf", c).AddNull("mv");
    else o.AddNull("pv").AddNull("lastPv");
    return o.Text();
}

QByteArray BlockJson(int block, const BlockFacts& f, const std::function<QByteArray(int k)>& channel) {
    QList<QByteArray> channels;
    if (block >= 0 && block < BlockCount)
        for (int k = 0; k < ChannelsPerBlock; ++k) channels << channel(k);
    JsonObject o;
    o.AddString("line", f.line)
        .AddInt("block", block + 1)
        .AddString("name", f.blockName)
        .AddString("time", DocumentTime(f.time));
    if (f.readAt.isValid()) o.AddString("readAt", DocumentTime(f.readAt));
    else o.AddNull("readAt");
    return o.AddBool("outOfContact", f.outOfContact).AddRaw("channels", JsonArray(channels)).Text();
}

}  // namespace

QString PvQuality(const RDX_INC& inc, int c, bool stale) {
    if (stale) return QStringLiteral("stale");
    if (Has(inc, c, StatusBit::OverScale)) return QStringLiteral("overScale");
    if (Has(inc, c, StatusBit::UnderScale)) return QStringLiteral("underScale");
    return QStringLiteral("good");
}

QString DocumentTime(const QDateTime& time) {
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString StandardUnit(const QString& shown) {
    QString t = shown;
    // The half-width and full-width semi-voiced marks and the ordinal sign stand for the
    // degree sign in hand-written units; the compatibility form turns ℃, ％ and Ａ into
    // the plain characters.
    for (const char16_t mark : {u'\uFF9F', u'\u309C', u'\u309A', u'\u00BA'}) t.replace(QChar(mark), QChar(u'\u00B0'));
    t = t.normalized(QString::NormalizationForm_KC).trimmed();
    if (t.compare(QStringLiteral("\u00B0c"), Qt::CaseInsensitive) == 0) return QStringLiteral("\u00B0C");
    if (t.compare(QStringLiteral("\u00B0f"), Qt::CaseInsensitive) == 0) return QStringLiteral("\u00B0F");
    return t;
}

QByteArray BlockDocument(const RDX_INC& inc, int block, const BlockFacts& f) {
    return BlockJson(block, f, [&](int k) {
        return ChannelObject(inc, block * ChannelsPerBlock + k, f.channelNames[size_t(k)], f.stale);
    });
}

QByteArray StoredBlockDocument(const StoredBlocks& stored, int block, const BlockFacts& f) {
    return BlockJson(block, f, [&](int k) { return StoredChannelObject(stored, block, k, f.channelNames[size_t(k)]); });
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
    o.AddString("line", f.line)
        .AddString("run", f.run)
        .AddInt("seq", qint64(f.seq))
        .AddString("time", DocumentTime(f.time));
    o.AddString("code", f.code);
    const bool channel = IsChannelCode(f.code) && f.channel >= 0 && f.channel < ChannelCount;
    if (CodeHasState(f.code)) o.AddBool("on", f.state != 0);
    else o.AddNull("on");
    o.AddBool("initial", f.initial);
    if (f.block >= 0 && f.block < BlockCount) o.AddInt("block", f.block + 1);
    else o.AddNull("block");
    if (channel) o.AddInt("ch", f.channel + 1);
    else o.AddNull("ch");
    o.AddString("name", f.channelText).AddString("text", f.text);
    return o.Text();
}

QByteArray AlarmsDocument(const QString& line, const QString& run, const QDateTime& time,
                          const QList<AlarmOn>& alarms) {
    QList<QByteArray> items;
    for (const AlarmOn& a : alarms)
        items << JsonObject()
                     .AddString("code", a.code)
                     .AddInt("block", a.channel / ChannelsPerBlock + 1)
                     .AddInt("ch", a.channel + 1)
                     .AddString("name", a.name)
                     .Text();
    return JsonObject()
        .AddString("line", line)
        .AddString("run", run)
        .AddString("time", DocumentTime(time))
        .AddRaw("alarms", JsonArray(items))
        .Text();
}

QByteArray LinkDocument(const QString& line, const LinkFacts& f) {
    JsonObject o;
    o.AddString("line", line).AddString("state", f.state);
    if (f.device.isEmpty()) o.AddNull("device");
    else o.AddString("device", f.device);
    return o.AddString("since", DocumentTime(f.since)).Text();
}

QByteArray PublisherDocument(const PublisherFacts& f) {
    return JsonObject()
        .AddString("program", f.program)
        .AddString("version", f.version)
        .AddString("host", f.host)
        .AddString("run", f.run)
        .AddString("started", DocumentTime(f.started))
        .AddString("time", DocumentTime(f.time))
        .AddInt("droppedEvents", qint64(f.droppedEvents))
        .AddInt("replacedDocuments", qint64(f.replacedDocuments))
        .AddInt("unsentAtEnd", qint64(f.unsentAtEnd))
        .AddInt("eventQueueLimit", f.eventQueueLimit)
        .Text();
}
