// A second load while the first one's alarm values wait (the 15-s pause) is refused, so
// the first load's alarm values still reach their block.
#include "DialogHarness.h"

#include "app/SetDataDialogs.h"
#include "setdata/SetDataMessages.h"
#include "setdata/SubDisp_AllSaveLoad.h"
#include "setdata/SubDisp_BlockSaveLoad.h"
#include "setdata/SubDisp_SaveLoad.h"

#include <QComboBox>
#include <QRadioButton>

TEST_F(DialogTest, SecondLoadDuringThePauseIsRefusedAndTheFirstAlarmValuesGoOut) {
    Equip(0, false);
    Equip(2, false);
    SetDataDialogs& dialogs = *window->findChild<SetDataDialogs*>();
    SubDisp_BlockSaveLoad& block = dialogs.blockDialog();
    SubDisp_AllSaveLoad& all = dialogs.allDialog();
    SubDisp_SaveLoad& channel = dialogs.channelDialog();
    for (auto* p : {&block.Prompts, &all.Prompts, &channel.Prompts}) *p = op.Prompts();

    // An all-channel file taken earlier, with other alarm values for block 2.
    Fill(2, 5000);
    const QString file = Path("all.dat");
    all.Open();
    op.files = {file};
    all.SaveAll();
    ASSERT_TRUE(op.told.isEmpty());

    // First load: block 2 from its own copy with alarm 1 values 1200..1219.
    Fill(2, 1000);
    block.Open();
    block.Block_Option1[2]->click();
    block.MoveToWork();
    op.answers = {true};
    block.MoveToBlock();
    ASSERT_TRUE(Queued(WriteKind::BlockWrite, 2));
    engine().Timer4_Timer();
    link->take();
    ASSERT_TRUE(engine().pauseTimer().isActive());

    // During the pause: the all-channel load and a channel copy are refused, with the reason.
    op.files = {file};
    op.answers = {true};
    op.fileDialogs.clear();
    all.LoadAll();
    const QString why = QString::fromUtf8(SetDataMsg::PreviousLoadPending);
    EXPECT_EQ(op.told, QStringList{why});
    EXPECT_TRUE(op.fileDialogs.isEmpty());
    EXPECT_EQ(engine().state(), PollEngine::State::Polling);
    EXPECT_EQ(d.ChAlarm1[40], 1200);
    channel.Open();
    channel.SaveLoad_CHname->setCurrentIndex(40);
    channel.MoveToWork();
    op.answers = {true};
    channel.MoveToChannel();
    EXPECT_EQ(op.told, (QStringList{why, why}));
    EXPECT_EQ(engine().state(), PollEngine::State::Polling);

    // The first load's alarm values reach block 2 after the pause.
    for (int tick = 0; tick < 15; ++tick) engine().BulkWritePauseTick();
    engine().Timer4_Timer();
    EXPECT_EQ(link->values[2]["0005"][0], 1200);
    EXPECT_EQ(link->values[2]["0005"][19], 1219);
    EXPECT_FALSE(window->BulkWriteInProgress());
    // Afterwards a load goes through again.
    op.told.clear();
    op.files = {file};
    op.answers = {true};
    all.LoadAll();
    EXPECT_TRUE(op.told.isEmpty());
    EXPECT_TRUE(Queued(WriteKind::AllBlocksWrite));
}
