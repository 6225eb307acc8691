#include "LineSetup.h"

#include <QStringList>

namespace rdxsim {

namespace {

constexpr qint16 kTypeK = 0, kTypeJ = 1, kTypeK01 = 6, kTypePt100 = 8, kTypeDcV = 12;

int Channel(int block, int pos) { return block * kChannelsPerBlock + pos; }

// Output on, at set value, with the given alarms; the zone starts settled at SV.
void Run(LineModel& m, int c, qint16 sv, qint16 a1Type, qint16 a1, qint16 a2Type, qint16 a2) {
    // Values before types, so that no alarm starts latched from a zero alarm value.
    m.SetParam(c, SV, sv);
    m.SetParam(c, Alarm1, a1);
    m.SetParam(c, Alarm2, a2);
    m.SetParam(c, Alarm1Type, a1Type);
    m.SetParam(c, Alarm2Type, a2Type);
    m.SetParam(c, OutputSwitch, 1);
    m.SetProcessValue(c, sv);
}

// A zone with a loose controller and a periodic load, whose alarms come and go.
void Loosen(LineModel& m, int c, double amplitude, double period) {
    m.SetParam(c, PBand, 200);
    m.SetParam(c, ITime, 900);
    m.SetDisturbance(c, amplitude, period);
}

}  // namespace

void BuildDemoLine(LineModel& m) {
    const qint16 hb = OptionBit::HeaterBreak;
    // Block 0: ten K-thermocouple pairs at 200 degrees, +-5 degree deviation alarms,
    // heater-burnout alarm at 5.0 A on 10.0 A heaters.
    m.SetBlockPresent(0, true);
    for (int j = 0; j < kPairsPerBlock; ++j) m.ConfigurePair(0, j, true, kTypeK, hb);
    for (int k = 0; k < kChannelsPerBlock; ++k) {
        const int c = Channel(0, k);
        Run(m, c, 200, 1, 5, 3, -5);
        m.SetParam(c, HBAlarm, 50);
        m.SetRatedCurrent(c, 100);
        if (k % 3 == 0) Loosen(m, c, 60, 90 + 10 * k);
    }
    m.SetParam(Channel(0, 19), OutputSwitch, 0);  // one zone switched off
    m.SetProcessValue(Channel(0, 5), 25);          // one zone still heating up

    // Block 1: K 0.1 degree, Pt100 and DC-voltage pairs; pair 9 not fitted.
    m.SetBlockPresent(1, true);
    for (int j = 0; j < 9; ++j) {
        const qint16 type = j < 4 ? kTypeK01 : j < 7 ? kTypePt100 : kTypeDcV;
        m.ConfigurePair(1, j, true, type, hb);
    }
    for (int k = 0; k < 18; ++k) {
        const int c = Channel(1, k);
        if (k < 8) Run(m, c, 1500, 5, 50, 0, 0);          // 150.0 degrees, +-5.0 band
        else if (k < 14) Run(m, c, 800, 9, 900, 0, 0);    // 80.0 degrees, absolute 90.0
        else Run(m, c, 5000, 7, 300, 0, 0);               // 50.00 %, inside +-3.00 %
        if (k % 4 == 1) Loosen(m, c, k < 14 ? 300 : 1500, 120 + 15 * k);
    }

    // Block 2: heating/cooling pairs (odd positions are the cooling outputs), 150 degrees,
    // with an exothermic load that makes the cooling work.
    m.SetBlockPresent(2, true);
    for (int j = 0; j < kPairsPerBlock; ++j) m.ConfigurePair(2, j, true, kTypeK, hb | OptionBit::HeatCool);
    for (int k = 0; k < kChannelsPerBlock; k += 2) {
        const int c = Channel(2, k);
        Run(m, c, 150, 2, 8, 0, 0);  // high deviation alarm with standby
        m.SetParam(c, DTime, 0);     // PI, so heating and cooling do not fight
        m.SetParam(c, OverlapBand, 20);
        Loosen(m, c, 150, 100 + 12 * k);
    }

    // Block 3 is absent. Block 4: six J-thermocouple pairs at 120 degrees.
    m.SetBlockPresent(4, true);
    for (int j = 0; j < 6; ++j) m.ConfigurePair(4, j, true, kTypeJ, hb);
    for (int k = 0; k < 12; ++k) {
        const int c = Channel(4, k);
        Run(m, c, 120, 11, 100, 4, -10);  // absolute low 100, low deviation with standby
        if (k % 5 == 0) Loosen(m, c, 50, 150);
    }
}

bool BuildLineFromList(LineModel& m, const QString& blockList, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QStringList entries = blockList.split(u',', Qt::SkipEmptyParts);
    if (entries.isEmpty()) return fail(QStringLiteral("--blocks: no block given"));
    for (const QString& entry : entries) {
        const QStringList parts = entry.trimmed().split(u':');
        bool ok = false;
        const int block = parts[0].toInt(&ok);
        if (!ok || block < 0 || block >= kBlocks)
            return fail(QStringLiteral("--blocks: bad block number in \"%1\" (0..15)").arg(entry));
        qint16 option = OptionBit::HeaterBreak;
        QString types = QStringLiteral("tc");
        int pairs = kPairsPerBlock;
        for (int i = 1; i < parts.size(); ++i) {
            const QString f = parts[i].trimmed();
            if (f == u"hc") option |= OptionBit::HeatCool;
            else if (f == u"nohb") option &= ~OptionBit::HeaterBreak;
            else if (f == u"tc" || f == u"pt" || f == u"lin" || f == u"mix") types = f;
            else if (f.startsWith(u"pairs=")) {
                pairs = f.mid(6).toInt(&ok);
                if (!ok || pairs < 0 || pairs > kPairsPerBlock)
                    return fail(QStringLiteral("--blocks: bad pair count in \"%1\" (0..10)").arg(entry));
            } else {
                return fail(QStringLiteral("--blocks: unknown flag \"%1\"").arg(f));
            }
        }
        m.SetBlockPresent(block, true);
        static const qint16 mix[] = {kTypeK, kTypeK01, kTypePt100, kTypeDcV};
        for (int j = 0; j < kPairsPerBlock; ++j) {
            qint16 type = kTypeK;
            if (types == u"pt") type = kTypePt100;
            else if (types == u"lin") type = kTypeDcV;
            else if (types == u"mix") type = mix[j % 4];
            m.ConfigurePair(block, j, j < pairs, type, j < pairs ? option : 0);
        }
    }
    return true;
}

}  // namespace rdxsim
