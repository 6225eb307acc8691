// From the operator's button to the frames on the line: the editing code requests, the
// real engine sends on its next tick, the scripted line records every request.
#include "LineFixture.h"

#include "display/NameLists.h"
#include "display/SettingChangeView.h"
#include "editing/CommitSetting.h"
#include "editing/SettingEditor.h"
#include "editing/Setting_Disp.h"

#include <QComboBox>
#include <QPushButton>

namespace {

class WriteFramesTest : public LineTest {
protected:
    SettingChangeView settingView{d};
    SettingEditor editor{d, engine, nullptr};

    void SetUp() override {
        LineTest::SetUp();
        editor.prompts = prompts.Make();
        settingView.tb4_BName->addItems(BlockNames());
        editor.Attach(settingView);
    }
    void Choose(int block, int setting) {
        d.SelectedItem = setting;
        settingView.tb4_BName->setCurrentIndex(block);
        settingView.tb4_BName_Click();
    }
    static QString Fields(std::initializer_list<const char*> fields) {
        QString out;
        for (const char* f : fields) out += QLatin1StringView(f);
        return out;
    }
};

TEST_F(WriteFramesTest, OutputToggleOfChannel45WritesBlock2ThenReadsItBack) {
    link.values[2][QStringLiteral("0009")] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    StartUp({0, 1, 2});
    EXPECT_EQ(d.ChOutputSwitch[42], 1);
    Choose(2, 24);
    settingView.Command_OUT[5]->click();
    const auto sent = Tick();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].block, 2);
    EXPECT_EQ(sent[0].cmd, QStringLiteral("R"));
    EXPECT_EQ(sent[0].item, QStringLiteral("0009"));
    EXPECT_EQ(sent[0].data, Fields({"0001", "0000", "0001", "0000", "0000", "0001", "0000", "0000",
                                    "0000", "0000", "0000", "0000", "0000", "0000", "0000", "0000",
                                    "0000", "0000", "0000", "0001"}));
    EXPECT_EQ(sent[1].block, 2);
    EXPECT_EQ(sent[1].cmd, QStringLiteral("\""));
    EXPECT_EQ(sent[1].item, QStringLiteral("0009"));
    EXPECT_EQ(d.ChOutputSwitch[45], 1);  // what the controller now holds
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

TEST_F(WriteFramesTest, CoolingSettingOfABlockWithoutCoolingSendsNothing) {
    StartUp({0});
    d.ChOverlapBand[3] = 12;
    CommitSetting(d, engine, 27, 3);
    EXPECT_TRUE(Queued(WriteKind::Setting, 0));
    EXPECT_TRUE(Tick().empty());
    EXPECT_EQ(engine.state(), PollEngine::State::Polling);
}

TEST_F(WriteFramesTest, SetValueEnteredOnALinearChannelIsSentInControllerUnits) {
    StartUp({0});
    Linear(3, 0, 500, 1);
    Choose(0, 1);
    settingView.Command_change[3]->click();
    Setting_Disp* dlg = editor.settingDialog();
    ASSERT_NE(dlg, nullptr);
    for (int k : {2, 5, 0}) dlg->Ten_key[k]->click();
    dlg->Command3->click();
    const auto sent = Tick();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].item, QStringLiteral("0001"));
    EXPECT_EQ(sent[0].data.mid(12, 4), QStringLiteral("1388"));
    EXPECT_EQ(d.ChSV[3], 250);
}

TEST_F(WriteFramesTest, AlarmValueIsSpanEncodedForDeviationTypesAndAbsoluteOtherwise) {
    StartUp({0});
    Linear(0, 100, 600, 1);
    d.ChAlarm1[0] = 20;
    d.ChAlarm1Type[0] = 2;
    CommitSetting(d, engine, 2, 0);
    auto sent = Tick();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].item, QStringLiteral("0005"));
    EXPECT_EQ(sent[0].data.left(4), QStringLiteral("0190"));  // 20 · 10000 / 500

    d.ChAlarm1[0] = 20;
    d.ChAlarm1Type[0] = 10;
    CommitSetting(d, engine, 2, 0);
    sent = Tick();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].data.left(4), QStringLiteral("F9C0"));  // (20 - 100) · 10000 / 500
}

// A write asked for during the pause would be overwritten by what follows: it is refused
// and read back, and the load's alarm values still go to the loaded block only.
TEST_F(WriteFramesTest, DelayedAlarmValuesGoToTheLoadedBlockAndAWriteMeanwhileIsRefused) {
    StartUp({0, 1});
    d.ChAlarm1[20] = 33;
    d.ChAlarm1Type.fill(1);
    engine.RequestBlockWrite(1);
    EXPECT_EQ(Tick().size(), 21u);
    d.ChAlarm1[5] = 44;
    CommitSetting(d, engine, 2, 5);
    auto sent = Tick();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].block, 0);
    EXPECT_EQ(sent[0].cmd, QStringLiteral("\""));
    const qint16 held = d.ChAlarm1[5];
    EXPECT_NE(held, 44);
    for (int i = 0; i < 15; ++i) engine.BulkWritePauseTick();
    ASSERT_TRUE(engine.AlarmValuesPending());
    sent = Tick();
    ASSERT_EQ(sent.size(), 2u);
    for (const Request& r : sent) EXPECT_EQ(r.block, 1);
    EXPECT_EQ(sent[0].item, QStringLiteral("0005"));
    EXPECT_EQ(sent[0].data.left(4), QStringLiteral("0021"));
    EXPECT_EQ(d.ChAlarm1[5], held);
    EXPECT_EQ(view.bulkFinished, 1);

    // Once the load has ended the same change goes out.
    d.ChAlarm1[5] = 44;
    CommitSetting(d, engine, 2, 5);
    sent = Tick();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].cmd, QStringLiteral("R"));
    EXPECT_EQ(sent[0].data.mid(20, 4), QStringLiteral("002C"));
}

}  // namespace
