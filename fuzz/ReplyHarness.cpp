#include "FuzzHarness.h"

#include "FakeLink.h"
#include "FakeView.h"
#include "format/ValueFormat.h"
#include "exchange/PollEngine.h"
#include "exchange/RDX_INC.h"
#include "protocol/Framing.h"
#include "link/ReplyCollector.h"

#include <QString>
#include <vector>

namespace {

// Scaling limits that include the extremes, so that every conversion meets them.
constexpr qint16 kHighs[] = {10000, 32767, -32768, 0, 1, -1, 500, 32767};
constexpr qint16 kLows[] = {0, -32768, 32767, 0, 1, 1, -500, 32767};

void SetScaling(RDX_INC& d) {
    for (int c = 0; c < ChannelCount; ++c) {
        d.ChScaleHigh[c] = kHighs[c % 8];
        d.ChScaleLow[c] = kLows[(c / 8) % 8];
        d.ChDecimal[c] = qint16(c % 7 == 6 ? 3 : 1 + (c % 5) * 9);
    }
}

// Every per-channel table a read reply can reach.
std::vector<const ChannelTable*> Tables(const RDX_INC& d) {
    std::vector<const ChannelTable*> out;
    for (const QString& code : d.ItemCode)
        if (const ChannelTable* t = d.TableOfItem(code)) out.push_back(t);
    out.push_back(&d.ChUnitShown);
    out.push_back(&d.ChInputType);
    out.push_back(&d.ChOption);
    return out;
}

// A reply of one block changed a channel of another block.
bool OtherBlocksChanged(const RDX_INC& before, const RDX_INC& after, int block) {
    const auto a = Tables(before), b = Tables(after);
    for (std::size_t t = 0; t < a.size(); ++t)
        for (int c = 0; c < ChannelCount; ++c)
            if (c / ChannelsPerBlock != block && (*a[t])[c] != (*b[t])[c]) return true;
    return false;
}

std::string CheckFields(const QString& reply) {
    const int count = Framing::isDataNum(reply);
    const int width = reply.size() > 3 ? Framing::FieldWidth(reply[3]) : 0;
    if (count < 0) return "isDataNum below zero";
    if (count > 0 && width == 0) return "fields counted for a command without fields";
    for (int n = 1; n <= count; ++n)
        if (Framing::GetNData(reply, n).size() != width) return "a counted field has the wrong width";
    if (!Framing::GetNData(reply, count + 1).isEmpty() && width != 0 &&
        Framing::DataPart(reply).size() % width == 0)
        return "a field past the count is not empty";
    if (Framing::GetNData(reply, 0) != Framing::DataPart(reply).toString())
        return "field 0 is not the whole data part";
    return {};
}

std::string CheckReply(const QString& reply, RDX_INC& d, PollEngine& engine, FakeLink& link) {
    const char16_t first = reply[0].unicode();
    if (first != Framing::ACK && first != Framing::NAK) return "a reply does not start with ACK or NAK";
    if (reply.back() != QChar(Framing::ETX)) return "a reply does not end with ETX";
    for (qsizetype i = 1; i < reply.size(); ++i)
        if (reply[i] == QChar(Framing::ACK) || reply[i] == QChar(Framing::NAK))
            return "a reply holds a second ACK or NAK";

    const QString checked = ReplyCollector::Checked(reply);
    if (checked == QChar(Framing::ESC)) {
        if (Framing::ChecksumMatches(reply)) return "a matching checksum was refused";
        return {};
    }
    if (checked != reply || !Framing::ChecksumMatches(reply)) return "a wrong checksum was passed on";
    if (first != Framing::ACK) return {};
    if (std::string e = CheckFields(checked); !e.empty()) return e;

    // What the engine does with a read reply: 00A1 as input types (start-up read),
    // everything else through ReadDataSet into the item's table.
    const RDX_INC before = d;
    const int block = checked.size() > 1 ? checked[1].unicode() - 32 : -1;
    if (checked.mid(4, 4) == u"00A1") {
        std::array<QString, ChannelsPerBlock> fields;
        for (int n = 0; n < ChannelsPerBlock; ++n) fields[n] = link.GetNData(checked, qint16(n + 1));
        d.StoreInputTypes(block, fields);
    } else {
        engine.ReadDataSet(checked, 0);
        // A reply without a field for every channel stores nothing at all (block -1: no
        // channel may change).
        if (Framing::isDataNum(checked) != ChannelsPerBlock && OtherBlocksChanged(before, d, -1))
            return "a reply missing fields changed the tables";
    }
    if (OtherBlocksChanged(before, d, block)) return "a reply changed channels of another block";
    return {};
}

}  // namespace

std::string FuzzReplyStream(const std::uint8_t* data, std::size_t size) {
    RDX_INC d;
    d.FillItemCodes();
    SetScaling(d);
    FakeLink link;
    FakeView view;
    PollEngine engine(d, link, view);
    std::string hookError;
    int hookBlock = -1;
    d.AlarmCheckHook = [&](int channel) {
        if (channel / ChannelsPerBlock != hookBlock) hookError = "the alarm check ran for another block";
    };

    // The port hands bytes over as Latin-1 characters, one at a time, into the collector of
    // the exchange under way; what follows a completed reply waits for the next exchange.
    const QString stream = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    ReplyCollector collector;
    for (QChar ch : stream) {
        if (!collector.Feed(ch)) continue;
        const QString reply = collector.Reply();
        hookBlock = reply.size() > 1 ? reply[1].unicode() - 32 : -1;
        if (std::string e = CheckReply(reply, d, engine, link); !e.empty()) return e;
        if (!hookError.empty()) return hookError;
        // Whatever was stored can be shown and written back: every display text and the
        // raw value of every item of the reply's block.
        if (hookBlock >= 0 && hookBlock < BlockCount) {
            for (int c = hookBlock * ChannelsPerBlock; c < (hookBlock + 1) * ChannelsPerBlock; ++c) {
                for (int item = 0; item < DisplayItemCount; ++item) (void)FormatItemValue(d, item, c);
                (void)MakeRange(d, c);
                for (const QString& code : d.ItemCode)
                    if (const ChannelTable* t = d.TableOfItem(code)) (void)d.StoredToRaw(code, c, (*t)[c]);
            }
            for (const QString& code : d.ItemCode) (void)d.EncodeBlock(code, hookBlock);
        }
        collector = ReplyCollector();
    }
    return {};
}
