// A load while the port is lost is refused before the operator is asked: the tables and
// the views keep what the controllers hold, nothing is asked of the line.
#include "DialogHarness.h"

#include "app/SetDataDialogs.h"
#include "setdata/SubDisp_AllSaveLoad.h"
#include "setdata/SubDisp_BlockSaveLoad.h"
#include "setdata/SubDisp_SaveLoad.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

TEST_F(DialogTest, EveryLoadWhileThePortIsLostIsRefusedBeforeItsQuestion) {
    Equip(0, false);
    Equip(2, false);
    SetDataDialogs& dialogs = *window->findChild<SetDataDialogs*>();
    SubDisp_BlockSaveLoad& block = dialogs.blockDialog();
    SubDisp_AllSaveLoad& all = dialogs.allDialog();
    SubDisp_SaveLoad& channel = dialogs.channelDialog();
    for (auto* p : {&block.Prompts, &all.Prompts, &channel.Prompts}) *p = op.Prompts();

    // Work areas and a file taken while the line was there, from other values than the
    // controllers hold afterwards.
    Fill(2, 1000);
    const QString file = Path("all.dat");
    all.Open();
    op.files = {file};
    all.SaveAll();
    block.Open();
    block.Block_Option1[2]->click();
    block.MoveToWork();
    channel.Open();
    channel.SaveLoad_CHname->setCurrentIndex(40);
    channel.MoveToWork();
    Fill(2, 3000);
    channel.Form_Activate();
    const auto held = TakeAllRecords(d);
    const QString shownSV = channel.Labeldata[0]->text();

    link->open = false;
    link->openable = false;
    engine().Timer4_Timer();
    ASSERT_TRUE(engine().PortLost);

    op.answers = {true, true, true};
    op.fileDialogs.clear();
    op.files = {file};
    block.MoveToBlock();
    channel.MoveToChannel();
    all.LoadAll();
    const QString why = QStringLiteral(
        "通信が切れているため、設定値を送信できませんでした。通信が回復してから、もう一度操作してください。");
    EXPECT_EQ(op.told, (QStringList{why, why, why}));
    EXPECT_TRUE(op.asked.isEmpty());
    EXPECT_TRUE(op.fileDialogs.isEmpty());
    EXPECT_EQ(TakeAllRecords(d), held);
    EXPECT_EQ(channel.Labeldata[0]->text(), shownSV);
    EXPECT_EQ(engine().state(), PollEngine::State::Polling);
    EXPECT_FALSE(ShowsWriting());
    for (QPushButton* b : block.Command1) EXPECT_TRUE(b->isEnabled());
    for (QPushButton* b : channel.Command1) EXPECT_TRUE(b->isEnabled());
}
