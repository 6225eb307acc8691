// Status words and outputs the line model computes: alarms by type, heater burnout, loop
// break, scale faults, auto-tuning with its change bit, heating/cooling outputs.
#include "LineSetup.h"
#include "Responder.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rdxsim;
using namespace simtest;

namespace {

class LineTest : public ::testing::Test {
protected:
    explicit LineTest(const char* blockList = "0,1:lin,2:hc") : responder(model, clock) {
        QString error;
        EXPECT_TRUE(BuildLineFromList(model, QString::fromLatin1(blockList), &error));
    }
    // Through the protocol, as the monitor sees it; the clock moves only when told.
    qint16 Item(int channel, const char* item) {
        const QByteArray reply = responder.Respond(ReadRequest(channel / 20, item)).reply;
        EXPECT_EQ(reply.size(), 91) << item;
        return Field(reply, channel % 20 + 1);
    }
    quint16 Status(int channel) { return quint16(Item(channel, "0083")); }
    void Write(int channel, int param, qint16 value) {
        Fields v = model.Read(channel / 20, ItemInfo{ItemKind::Parameter, param});
        v[channel % 20] = value;
        ASSERT_EQ(responder.Respond(WriteRequest(channel / 20, ParamCode(param), v)).reply[0], '\x06');
    }
    void RunFor(double seconds) { clock.Advance(seconds); }

    LineModel model;
    ManualClock clock;
    Responder responder;
};

struct AlarmCase {
    int inputBlock;  // 0: K thermocouple (spans in tenths), 1: linear (raw)
    int type;
    qint16 value;
    qint16 hys;
    std::vector<std::pair<double, bool>> pvAndActive;  // SV is 100 (block 0) or 5000 (block 1)
};

TEST_F(LineTest, AlarmBitsFollowTheAlarmTypeWithHysteresis) {
    const std::vector<AlarmCase> cases = {
        {0, 1, 10, 20, {{109, false}, {110, true}, {108.5, true}, {107.9, false}}},   // high deviation
        {0, 3, -10, 20, {{91, false}, {90, true}, {91.5, true}, {92.1, false}}},      // low deviation
        {0, 5, 10, 20, {{105, false}, {110, true}, {100, false}, {90, true}, {91, true}, {93, false}}},
        {0, 7, 10, 20, {{112, false}, {105, true}, {111, true}, {112.5, false}, {95, true}}},  // band
        {0, 9, 150, 20, {{149, false}, {150, true}, {148.5, true}, {147.9, false}}},  // absolute high
        {0, 11, 50, 20, {{51, false}, {50, true}, {51.9, true}, {52.1, false}}},      // absolute low
        {0, 0, 0, 20, {{100, false}, {1000, false}, {-100, false}}},                  // no alarm
        {0, 13, 0, 20, {{100, false}, {1000, false}}},                                // not a type
        {1, 1, 500, 100, {{5499, false}, {5500, true}, {5401, true}, {5399, false}}}, // linear, raw
        {1, 9, 8000, 100, {{7999, false}, {8000, true}, {7901, true}, {7899, false}}},
    };
    for (const AlarmCase& tc : cases) {
        const int c = tc.inputBlock * 20 + 4;
        Write(c, SV, tc.inputBlock == 0 ? 100 : 5000);
        Write(c, Alarm1Type, qint16(tc.type));
        Write(c, Alarm1, tc.value);
        Write(c, Alarm1Hys, tc.hys);
        // Alarm 2 on the neighbour channel, same settings: bit 0x0004 instead of 0x0002.
        Write(c + 2, SV, tc.inputBlock == 0 ? 100 : 5000);
        Write(c + 2, Alarm2Type, qint16(tc.type));
        Write(c + 2, Alarm2, tc.value);
        Write(c + 2, Alarm2Hys, tc.hys);
        for (const auto& [pv, active] : tc.pvAndActive) {
            model.SetProcessValue(c, pv);
            model.SetProcessValue(c + 2, pv);
            EXPECT_EQ((Status(c) & StatusBit::Alarm1) != 0, active) << "type " << tc.type << " pv " << pv;
            EXPECT_EQ(Status(c) & StatusBit::Alarm2, 0);
            EXPECT_EQ((Status(c + 2) & StatusBit::Alarm2) != 0, active) << "alarm 2 type " << tc.type << " pv " << pv;
        }
        model.SetProcessValue(c, 100);
        model.SetProcessValue(c + 2, 100);
        Write(c, Alarm1Type, 0);
        Write(c + 2, Alarm2Type, 0);
    }
}

TEST_F(LineTest, StandbyAlarmWaitsUntilTheProcessWasOnceNormal) {
    const int c = 6;
    Write(c, SV, 100);
    Write(c, Alarm1Type, 2);  // high deviation with standby
    Write(c, Alarm1, 10);
    model.SetProcessValue(c, 130);
    Write(c, OutputSwitch, 1);  // switching the output on arms the standby
    model.SetProcessValue(c, 130);
    EXPECT_EQ(Status(c) & StatusBit::Alarm1, 0);
    model.SetProcessValue(c, 100);
    EXPECT_EQ(Status(c) & StatusBit::Alarm1, 0);
    model.SetProcessValue(c, 130);
    EXPECT_NE(Status(c) & StatusBit::Alarm1, 0);
}

TEST_F(LineTest, ProcessFollowsTheOutput) {
    const int c = 8;
    Write(c, SV, 200);
    EXPECT_EQ(Status(c) & StatusBit::OutputOn, 0);
    Write(c, OutputSwitch, 1);
    EXPECT_NE(Status(c) & StatusBit::OutputOn, 0);
    RunFor(900);
    EXPECT_NEAR(Item(c, "0080"), 200, 3);
    EXPECT_GT(Item(c, "0081"), 0);
    Write(c, OutputSwitch, 0);
    RunFor(900);
    EXPECT_EQ(Status(c) & StatusBit::OutputOn, 0);
    EXPECT_EQ(Item(c, "0081"), 0);
    EXPECT_LT(Item(c, "0080"), 40);  // back toward 25 degrees
}

TEST_F(LineTest, HeaterBreakShowsInCurrentAndAlarm) {
    const int c = 10;
    model.SetRatedCurrent(c, 100);
    Write(c, HBAlarm, 50);
    Write(c, SV, 600);
    Write(c, OutputSwitch, 1);
    RunFor(2);
    const qint16 mv = Item(c, "0081");
    ASSERT_GE(mv, 500);
    EXPECT_EQ(Item(c, "0082"), qRound(100 * mv / 1000.0));
    EXPECT_EQ(Status(c) & StatusBit::HeaterBreak, 0);
    model.SetHeaterBroken(c, true);
    RunFor(1);
    EXPECT_EQ(Item(c, "0082"), 0);
    EXPECT_NE(Status(c) & StatusBit::HeaterBreak, 0);
    model.SetHeaterBroken(c, false);
    RunFor(1);
    EXPECT_EQ(Status(c) & StatusBit::HeaterBreak, 0);
    EXPECT_GT(Item(c, "0082"), 0);
}

TEST_F(LineTest, LoopBreakWhenTheSaturatedOutputDoesNotMoveTheProcess) {
    const int c = 12;
    Write(c, LoopTime, 1);  // minute
    Write(c, SV, 1300);     // beyond what the zone reaches: the output stays saturated
    Write(c, OutputSwitch, 1);
    RunFor(130);
    EXPECT_EQ(Status(c) & StatusBit::LoopBreak, 0);  // rising well: loop sound
    model.SetActuatorBroken(c, true);
    RunFor(130);
    EXPECT_NE(Status(c) & StatusBit::LoopBreak, 0);
    model.SetActuatorBroken(c, false);
    RunFor(70);
    EXPECT_EQ(Status(c) & StatusBit::LoopBreak, 0);
}

TEST_F(LineTest, SensorFaultsGiveOverAndUnderScale) {
    const int c = 14;
    Write(c, OutputSwitch, 1);
    Write(c, SV, 300);
    RunFor(5);
    model.SetSensorFault(c, SensorFault::Open);
    RunFor(1);
    EXPECT_NE(Status(c) & StatusBit::OverScale, 0);
    EXPECT_GT(Item(c, "0080"), 1370);
    EXPECT_EQ(Item(c, "0081"), 0);  // output to its low limit
    model.SetSensorFault(c, SensorFault::Short);
    EXPECT_NE(Status(c) & StatusBit::UnderScale, 0);
    EXPECT_LT(Item(c, "0080"), -200);
    model.SetSensorFault(c, SensorFault::None);
    EXPECT_EQ(Status(c) & (StatusBit::OverScale | StatusBit::UnderScale), 0);
}

TEST_F(LineTest, AutoTuningRunsThenReportsNewConstantsOnce) {
    const int c = 2;
    model.SetAutoTuneSeconds(100);
    Write(c, SV, 200);
    Write(c, OutputSwitch, 1);
    model.SetProcessValue(c, 200);
    Write(c, ATSwitch, 1);
    EXPECT_EQ(Status(c) & (StatusBit::AutoTuning | StatusBit::Changed), StatusBit::AutoTuning);
    RunFor(60);
    EXPECT_NE(Status(c) & StatusBit::AutoTuning, 0);
    EXPECT_EQ(Item(c, "000A"), 1);
    RunFor(45);
    const quint16 done = Status(c);
    EXPECT_EQ(done & StatusBit::AutoTuning, 0);
    EXPECT_NE(done & StatusBit::Changed, 0);
    EXPECT_EQ(Status(c) & StatusBit::Changed, 0);  // reported once
    EXPECT_EQ(Status(c + 1) & StatusBit::Changed, 0);
    EXPECT_EQ(Item(c, "000A"), 0);
    const qint16 p = Item(c, "0002"), i = Item(c, "0003"), d = Item(c, "0004");
    EXPECT_TRUE(p != FactoryParams()[PBand] || i != FactoryParams()[ITime] || d != FactoryParams()[DTime]);
    EXPECT_GT(p, 0);
    EXPECT_GT(i, 0);
}

TEST_F(LineTest, AutoTuningNeedsTheOutputAndStopsWithIt) {
    const int c = 16;
    Write(c, ATSwitch, 1);  // output off: refused, and the PC's copy is now stale
    EXPECT_EQ(Item(c, "000A"), 0);
    EXPECT_EQ(Status(c) & (StatusBit::AutoTuning | StatusBit::Changed), StatusBit::Changed);

    Write(c, OutputSwitch, 1);
    Write(c, ATSwitch, 1);
    EXPECT_NE(Status(c) & StatusBit::AutoTuning, 0);
    Write(c, OutputSwitch, 0);
    const quint16 s = Status(c);
    EXPECT_EQ(s & StatusBit::AutoTuning, 0);
    EXPECT_NE(s & StatusBit::Changed, 0);
    EXPECT_EQ(Item(c, "000A"), 0);
    EXPECT_EQ(Item(c, "0002"), FactoryParams()[PBand]);  // aborted: constants untouched
}

TEST_F(LineTest, CoolingOutputSitsInTheOddChannelOfAHeatingCoolingPair) {
    const int c = 40;  // block 2, pair 0
    Write(c, DTime, 0);  // PI: no derivative kick while the process moves fast
    Write(c, SV, 100);
    Write(c, OutputSwitch, 1);
    model.SetProcessValue(c, 160);
    RunFor(3);
    EXPECT_EQ(Item(c, "0081"), 0);           // no heating above SV
    EXPECT_GT(Item(c + 1, "0081"), 0);       // the pair's cooling output
    EXPECT_EQ(Item(c + 1, "0080"), Item(c, "0080"));
    EXPECT_EQ(Item(c + 1, "0082"), 0);
    model.SetProcessValue(c, 60);
    RunFor(3);
    EXPECT_EQ(Item(c + 1, "0081"), 0);
    EXPECT_GT(Item(c, "0081"), 0);
}

TEST(DemoLine, HasGapCoolingAndMixedInputs) {
    LineModel m;
    BuildDemoLine(m);
    int present = 0;
    for (int b = 0; b < kBlocks; ++b) present += m.BlockPresent(b);
    EXPECT_GE(present, 3);
    EXPECT_FALSE(m.BlockPresent(3));
    EXPECT_TRUE(m.BlockPresent(2) && m.BlockHasCooling(2));
    bool linear = false, thermo = false;
    for (int c = 0; c < kChannels; ++c) {
        if (!m.PairPresent(c / 20, (c % 20) / 2)) continue;
        linear |= m.InputType(c) >= 10;
        thermo |= m.InputType(c) <= 7;
    }
    EXPECT_TRUE(linear && thermo);
    // Over ten simulated minutes some alarm turns on and some turns off again.
    std::array<bool, kChannels> seen{};
    int rises = 0, falls = 0;
    for (int t = 1; t <= 600; ++t) {
        m.AdvanceTo(t);
        for (int b = 0; b < kBlocks; ++b) {
            if (!m.BlockPresent(b)) continue;
            const Fields s = m.Read(b, ItemInfo{ItemKind::Status, -1});
            for (int k = 0; k < 20; ++k) {
                const bool on = s[k] & (StatusBit::Alarm1 | StatusBit::Alarm2);
                rises += on && !seen[b * 20 + k];
                falls += !on && seen[b * 20 + k];
                seen[b * 20 + k] = on;
            }
        }
    }
    EXPECT_GT(rises, 3);
    EXPECT_GT(falls, 3);
}

}  // namespace
