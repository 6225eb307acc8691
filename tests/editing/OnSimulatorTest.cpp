// The operator's changes through the real link to the in-process simulator: the frames the
// line received, and what the simulated controllers hold afterwards.
#include "EditingFixture.h"
#include "FakeView.h"
#include "SimLine.h"

#include "display/NameLists.h"
#include "display/SettingChangeView.h"
#include "display/TwoBlockView.h"
#include "editing/SettingEditor.h"
#include "editing/Setting_Disp.h"
#include "exchange/PollEngine.h"
#include "setdata/SubDisp_Factoryadj.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace {

QString EveryBlock(const QString& flagsOfBlock2) {
    QStringList blockList;
    for (int b = 0; b < BlockCount; ++b) blockList << QString::number(b) + (b == 2 ? flagsOfBlock2 : QString());
    return blockList.join(u',');
}

class EditingOnSim : public EditingTest {
protected:
    std::unique_ptr<SimLine> line;
    FakeView view;
    std::unique_ptr<PollEngine> engine;
    std::unique_ptr<SettingEditor> editorOwner;

    void SetUp() override {
        EditingTest::SetUp();
        line = std::make_unique<SimLine>(SimLineOptions{EveryBlock(QStringLiteral(":hc"))});
        ASSERT_TRUE(line->ok()) << line->error().toStdString();
        engine = std::make_unique<PollEngine>(d, line->link(), view);
        editorOwner = std::make_unique<SettingEditor>(d, *engine, nullptr);
        editorOwner->prompts = prompts.Make();
        line->link().setEventsCheck(true);
        ASSERT_EQ(engine->ApplyPortSettings(), "ok");
        engine->RestartStartupRead();
        engine->Timer4_Timer();
        ASSERT_EQ(engine->state(), PollEngine::State::Polling);
        line->link().take();
    }
    qint16 Held(int channel, int param) {
        return line->Locked([&](rdxsim::LineModel& m) { return m.Param(channel, param); });
    }
    std::vector<Exchanged> Tick() {
        engine->Timer4_Timer();
        return line->link().take();
    }
};

TEST_F(EditingOnSim, SetValueTypedInTheDialogReachesTheController) {
    SettingChangeView tab4(d);
    tab4.tb4_BName->addItems(BlockNames());
    editorOwner->Attach(tab4);
    d.SelectedItem = 1;
    tab4.tb4_BName->setCurrentIndex(1);
    tab4.tb4_BName_Click();
    tab4.Command_change[3]->click();
    Setting_Disp* dlg = editorOwner->settingDialog();
    ASSERT_NE(dlg, nullptr);
    for (int k : {3, 5, 0}) dlg->Ten_key[k]->click();
    dlg->Command3->click();

    const auto sent = Tick();
    ASSERT_EQ(sent.size(), 2u);
    QString data;
    for (int k = 0; k < ChannelsPerBlock; ++k)
        data += QStringLiteral("%1").arg(quint16(d.ChSV[20 + k]), 4, 16, QLatin1Char('0')).toUpper();
    EXPECT_EQ(data.mid(12, 4), QStringLiteral("015E"));
    EXPECT_EQ(sent[0].frame, Framing::BuildFrame(QStringLiteral("!"), QStringLiteral(" "),
                                                 QStringLiteral("R"), QStringLiteral("0001"), data));
    EXPECT_EQ(sent[0].reply[0], QChar(Framing::ACK));
    EXPECT_EQ(sent[1].frame, Framing::BuildFrame(QStringLiteral("!"), QStringLiteral(" "),
                                                 QStringLiteral("\""), QStringLiteral("0001"), QString()));
    EXPECT_EQ(Held(23, rdxsim::SV), 350);
    EXPECT_EQ(d.ChSV[23], 350);
}

TEST_F(EditingOnSim, OutputButtonOfTheTwoBlockViewSwitchesTheController) {
    TwoBlockView tab1(d);
    for (QComboBox* b : tab1.tb1_BName) b->addItems(BlockNames());
    tab1.tb1_BName[1]->setCurrentIndex(5);
    editorOwner->Attach(tab1);
    const qint16 before = Held(105, rdxsim::OutputSwitch);
    tab1.Comm_OUT[25]->click();
    const auto sent = Tick();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].block, 5);
    EXPECT_EQ(sent[0].item, QStringLiteral("0009"));
    EXPECT_EQ(Held(105, rdxsim::OutputSwitch), before == 1 ? 0 : 1);
    EXPECT_EQ(d.ChOutputSwitch[105], Held(105, rdxsim::OutputSwitch));
    // The neighbours went out with their own values, unchanged.
    EXPECT_EQ(d.ChOutputSwitch[104], Held(104, rdxsim::OutputSwitch));
}

TEST_F(EditingOnSim, FactoryResetOfTickedUnitsOnly) {
    line->Locked([](rdxsim::LineModel& m) {
        m.SetParam(40, rdxsim::SV, 321);
        m.SetParam(42, rdxsim::SV, 654);
        return 0;
    });
    NameLists names;
    SubDisp_Factoryadj dialog(d, names, [this] { return engine.get(); });
    dialog.prompts = prompts.Make();
    dialog.Open();
    dialog.Factory_Bname->setCurrentIndex(2);
    dialog.Check1[0]->click();
    dialog.Command1[0]->click();
    const auto sent = Tick();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].frame, Framing::BuildFrame(QStringLiteral("\""), QStringLiteral(" "), QStringLiteral("R"),
                                                 QStringLiteral("0040"),
                                                 QStringLiteral("0001") + QString(76, u'0')));
    EXPECT_EQ(sent[0].reply[0], QChar(Framing::ACK));
    EXPECT_EQ(Held(40, rdxsim::SV), rdxsim::FactoryParams()[rdxsim::SV]);
    EXPECT_EQ(Held(41, rdxsim::SV), rdxsim::FactoryParams()[rdxsim::SV]);
    EXPECT_EQ(Held(42, rdxsim::SV), 654);
}

}  // namespace
