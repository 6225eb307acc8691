#include "ControlChannel.h"

#include <QStringList>

namespace rdxsim {

namespace {

bool ParseChannel(const QString& s, int& c) {
    bool ok = false;
    const int n = s.toInt(&ok);
    c = n - 1;
    return ok && n >= 1 && n <= kChannels;
}

bool ParseBlock(const QString& s, int& b) {
    bool ok = false;
    b = s.toInt(&ok);
    return ok && b >= 0 && b < kBlocks;
}

ControlResult Error(const QString& why) { return {false, false, QStringLiteral("error: ") + why}; }
ControlResult Done(const QString& what) { return {true, false, QStringLiteral("ok: ") + what}; }

}  // namespace

ControlResult ControlChannel::Execute(const QString& text, double now) {
    const QStringList w = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (w.isEmpty()) return {true, false, {}};
    const QString& cmd = w[0];
    int c = 0, b = 0;

    if (cmd == u"quit") return {true, true, QStringLiteral("ok: quit")};
    if (cmd == u"stats") {
        line_.SyncStats();
        return Done(QString::fromLatin1(line_.Stats().Text()).replace(u'\n', u' ').trimmed());
    }
    if (cmd == u"heater-break" || cmd == u"heater-ok" || cmd == u"loop-break" || cmd == u"loop-ok") {
        if (w.size() != 2 || !ParseChannel(w[1], c)) return Error(cmd + QStringLiteral(" needs a channel 1..320"));
        const bool broken = cmd.endsWith(u"break");
        line_.Locked([&](LineModel& m) {
            if (cmd.startsWith(u"heater")) m.SetHeaterBroken(c, broken);
            else m.SetActuatorBroken(c, broken);
        });
        return Done(cmd + u' ' + w[1]);
    }
    if (cmd == u"sensor") {
        if (w.size() != 3 || !ParseChannel(w[1], c)) return Error(QStringLiteral("sensor CH open|short|ok"));
        SensorFault f;
        if (w[2] == u"open") f = SensorFault::Open;
        else if (w[2] == u"short") f = SensorFault::Short;
        else if (w[2] == u"ok") f = SensorFault::None;
        else return Error(QStringLiteral("sensor CH open|short|ok"));
        line_.Locked([&](LineModel& m) { m.SetSensorFault(c, f); });
        return Done(text.simplified());
    }
    if (cmd == u"panel") {
        if ((w.size() != 2 && w.size() != 5) || !ParseBlock(w[1], b))
            return Error(QStringLiteral("panel BLOCK [CH ITEM VALUE]"));
        if (w.size() == 5) {
            const std::optional<ItemInfo> item = FindItem(w[3]);
            bool ok = false;
            const int value = w[4].toInt(&ok);
            if (!ParseChannel(w[2], c) || c / kChannelsPerBlock != b)
                return Error(QStringLiteral("channel %1 is not on block %2").arg(w[2], w[1]));
            if (!item || item->kind != ItemKind::Parameter) return Error(QStringLiteral("item must be 0001..0020"));
            if (!ok || value < -32768 || value > 32767) return Error(QStringLiteral("value must fit 16 bits"));
            line_.Locked([&](LineModel& m) { m.ChangeAtPanel(c, item->param, qint16(value)); });
            return Done(text.simplified());
        }
        const bool present = line_.Locked([&](LineModel& m) {
            for (int k = 0; k < kChannelsPerBlock; k += 2) {
                if (!m.PairPresent(b, k / 2)) continue;
                const int ch = b * kChannelsPerBlock + k;
                m.ChangeAtPanel(ch, SV, qint16(m.Param(ch, SV) + 5));
                return true;
            }
            return false;
        });
        return present ? Done(QStringLiteral("panel %1: SV +5").arg(b)) : Error(QStringLiteral("block %1 has no controller").arg(b));
    }
    if (cmd == u"silent" || cmd == u"answer") {
        if (w.size() < 2 || w.size() > 3 || !ParseBlock(w[1], b)) return Error(cmd + QStringLiteral(" BLOCK"));
        double seconds = 0;
        if (w.size() == 3) {
            bool ok = false;
            seconds = w[2].toDouble(&ok);
            if (cmd != u"silent" || !ok || seconds <= 0) return Error(QStringLiteral("silent BLOCK [SECONDS]"));
        }
        const bool silent = cmd == u"silent";
        silentUntil_[b] = silent && seconds > 0 ? now + seconds : 0;
        line_.Locked([&](LineModel& m) { m.SetBlockSilent(b, silent); });
        return Done(text.simplified());
    }
    return Error(QStringLiteral("unknown command \"%1\"").arg(cmd));
}

void ControlChannel::Tick(double now) {
    for (int b = 0; b < kBlocks; ++b) {
        if (silentUntil_[b] > 0 && now >= silentUntil_[b]) {
            silentUntil_[b] = 0;
            line_.Locked([&](LineModel& m) { m.SetBlockSilent(b, false); });
        }
    }
}

}  // namespace rdxsim
