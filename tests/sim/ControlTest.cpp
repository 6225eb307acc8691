// Control commands during a run and the program's command line.
#include "ControlChannel.h"
#include "LineSetup.h"
#include "SimOptions.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

using namespace rdxsim;
using namespace simtest;

namespace {

class ControlTest : public ::testing::Test {
protected:
    ControlTest() : line(model, clock, faults, stats), responder(model, clock), control(line) {
        BuildLineFromList(model, QStringLiteral("0,1"), nullptr);
        model.SetRatedCurrent(3, 100);
    }
    quint16 Status(int channel) {
        return quint16(Field(responder.Respond(ReadRequest(channel / 20, "0083")).reply, channel % 20 + 1));
    }
    bool Answers(int block) { return !responder.Respond(ReadRequest(block, "0080")).reply.isEmpty(); }

    LineModel model;
    ManualClock clock;
    FaultInjector faults;
    SimStats stats;
    LineService line;
    Responder responder;
    ControlChannel control;
};

TEST_F(ControlTest, EventsReachTheModel) {
    // Channel numbers are the monitor's 1..320: "4" is index 3.
    model.SetParam(3, HBAlarm, 50);
    model.SetParam(3, SV, 500);
    model.SetParam(3, OutputSwitch, 1);
    clock.Advance(2);
    EXPECT_EQ(Status(3) & StatusBit::HeaterBreak, 0);
    EXPECT_TRUE(control.Execute("heater-break 4", 0).ok);
    clock.Advance(1);
    EXPECT_NE(Status(3) & StatusBit::HeaterBreak, 0);
    EXPECT_TRUE(control.Execute("heater-ok 4", 0).ok);
    clock.Advance(1);
    EXPECT_EQ(Status(3) & StatusBit::HeaterBreak, 0);

    EXPECT_TRUE(control.Execute("sensor 21 open", 0).ok);
    EXPECT_NE(Status(20) & StatusBit::OverScale, 0);
    EXPECT_TRUE(control.Execute("  sensor   21 ok ", 0).ok);
    EXPECT_EQ(Status(20) & StatusBit::OverScale, 0);
}

TEST_F(ControlTest, PanelChangeIsReportedByTheChangeBitOnce) {
    ASSERT_TRUE(control.Execute("panel 1 25 0001 250", 0).ok);
    EXPECT_EQ(Field(responder.Respond(ReadRequest(1, "0001")).reply, 5), 250);
    EXPECT_NE(Status(24) & StatusBit::Changed, 0);
    EXPECT_EQ(Status(24) & StatusBit::Changed, 0);
    EXPECT_EQ(Status(25) & StatusBit::Changed, 0);

    ASSERT_TRUE(control.Execute("panel 0", 0).ok);  // SV of the block's first channel + 5
    EXPECT_EQ(Field(responder.Respond(ReadRequest(0, "0001")).reply, 1), 5);
    EXPECT_NE(Status(0) & StatusBit::Changed, 0);

    EXPECT_FALSE(control.Execute("panel 0 25 0001 250", 0).ok);  // channel 25 is on block 1
    EXPECT_FALSE(control.Execute("panel 1 25 0080 1", 0).ok);    // not a parameter
    EXPECT_FALSE(control.Execute("panel 1 25 0001 40000", 0).ok);
    EXPECT_FALSE(control.Execute("panel 5", 0).ok);              // nothing there
}

TEST_F(ControlTest, BlockGoesSilentAndComesBack) {
    EXPECT_TRUE(control.Execute("silent 1", 10).ok);
    EXPECT_FALSE(Answers(1));
    EXPECT_TRUE(Answers(0));
    EXPECT_TRUE(control.Execute("answer 1", 11).ok);
    EXPECT_TRUE(Answers(1));

    EXPECT_TRUE(control.Execute("silent 0 2.5", 100).ok);
    control.Tick(102);
    EXPECT_FALSE(Answers(0));
    control.Tick(102.6);
    EXPECT_TRUE(Answers(0));
}

TEST_F(ControlTest, RejectsWhatItDoesNotUnderstand) {
    for (const char* bad : {"heater-break", "heater-break 0", "heater-break 321", "loop-break x",
                            "sensor 3 melted", "silent 16", "silent 1 -3", "answer 1 5", "fly"}) {
        const ControlResult r = control.Execute(bad, 0);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_TRUE(r.message.startsWith("error:")) << bad;
    }
    EXPECT_TRUE(control.Execute("", 0).ok);
    EXPECT_TRUE(control.Execute("quit", 0).quit);
    EXPECT_FALSE(control.Execute("stats", 0).quit);
}

TEST(SimOptions, ParsesEveryOptionAndRefusesNonsense) {
    SimOptions o;
    QString error;
    ASSERT_TRUE(ParseSimOptions({"--link", "./ttyRDX", "--baud", "19200", "--turnaround", "5",
                                 "--time-scale", "20", "--seed", "77", "--silence", "0.1",
                                 "--bad-checksum", "0.2", "--nak", "0.3", "--garbage", "0.4",
                                 "--cut", "0.5", "--split", "0.6", "--blocks", "0,2:hc",
                                 "--control", "-", "--stats", "s.txt", "--duration", "9",
                                 "--auto-tune", "30"},
                                o, &error)) << error.toStdString();
    EXPECT_EQ(o.link, "./ttyRDX");
    EXPECT_EQ(o.server.baud, 19200);
    EXPECT_EQ(o.server.turnaroundMs, 5);
    EXPECT_EQ(o.timeScale, 20);
    EXPECT_EQ(o.seed, 77u);
    EXPECT_DOUBLE_EQ(o.faults[Fault::Silence], 0.1);
    EXPECT_DOUBLE_EQ(o.faults[Fault::Split], 0.6);
    EXPECT_EQ(o.blocks, "0,2:hc");
    EXPECT_EQ(o.control, "-");
    EXPECT_EQ(o.stats, "s.txt");
    EXPECT_EQ(o.duration, 9);
    EXPECT_EQ(o.autoTune, 30);

    SimOptions d;
    ASSERT_TRUE(ParseSimOptions({}, d, &error));
    EXPECT_EQ(d.server.baud, 9600);
    EXPECT_EQ(d.server.turnaroundMs, 3);

    for (const QStringList& bad : {QStringList{"--nak", "1.5"}, QStringList{"--baud", "fast"},
                                   QStringList{"--time-scale", "0"}, QStringList{"--what"},
                                   QStringList{"stray"}, QStringList{"--seed", "-1"}})
        EXPECT_FALSE(ParseSimOptions(bad, o, &error)) << bad.join(' ').toStdString();
}

TEST(LineSpec, BuildsTheDescribedBlocks) {
    LineModel m;
    QString error;
    ASSERT_TRUE(BuildLineFromList(m, "1:hc:nohb, 4:lin:pairs=3", &error)) << error.toStdString();
    EXPECT_TRUE(m.BlockPresent(1) && m.BlockPresent(4));
    EXPECT_FALSE(m.BlockPresent(0));
    EXPECT_TRUE(m.BlockHasCooling(1));
    EXPECT_FALSE(m.BlockHasCooling(4));
    EXPECT_EQ(m.Option(20), OptionBit::HeatCool);
    EXPECT_TRUE(m.PairPresent(4, 2));
    EXPECT_FALSE(m.PairPresent(4, 3));
    EXPECT_GE(m.InputType(80), 10);
    for (const char* bad : {"", "16", "x", "1:warm", "2:pairs=11"})
        EXPECT_FALSE(BuildLineFromList(m, bad, &error)) << bad;
}

}  // namespace
