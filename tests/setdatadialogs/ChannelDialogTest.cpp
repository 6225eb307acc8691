#include "DialogHarness.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "display/MainMenus.h"
#include "protocol/HexCodec.h"
#include "app/SetDataDialogs.h"
#include "setdata/ChannelFile.h"
#include "setdata/SetDataFormat.h"
#include "setdata/SetDataMessages.h"
#include "setdata/SubDisp_SaveLoad.h"

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
QString U8(const char* s) { return QString::fromUtf8(s); }
}  // namespace

class ChannelDialogTest : public DialogTest {
protected:
    SubDisp_SaveLoad* dlg = nullptr;

    void SetUp() override {
        DialogTest::SetUp();
        Equip(0, false);
        Equip(2, false);
        d.ChPresent[3] = 0;
        dlg = &window->findChild<SetDataDialogs*>()->channelDialog();
        dlg->Prompts = op.Prompts();
        dlg->Open();
    }
    void Select(int channel) { dlg->SaveLoad_CHname->setCurrentIndex(channel); }
    bool AllButtons(bool enabled) const {
        for (QPushButton* b : dlg->Command1)
            if (b->isEnabled() != enabled) return false;
        return true;
    }
};

TEST_F(ChannelDialogTest, SavedChannelLoadsBackIntoAnotherChannelAndItsBlockIsWritten) {
    for (int c : {5, 45}) d.ChInputType[c] = 8;
    d.ChSV[5] = 1234;
    d.ChOutputHys[5] = 15;
    d.ChAlarm1Type[5] = 3;
    Select(5);
    EXPECT_FALSE(dlg->Command1[SubDisp_SaveLoad::SaveButton]->isEnabled());
    dlg->MoveToWork();
    EXPECT_EQ(dlg->WorkTexts()[0], "123.4");
    EXPECT_EQ(dlg->WorkTexts()[10], "1.5");
    EXPECT_EQ(dlg->Labeldata_work[13]->text(), "下限警報");

    const QString file = Path("ch5.dat");
    op.files = {file};
    dlg->SaveWork();
    EXPECT_EQ(op.fileDialogs, QStringList{"save"});
    const QByteArray bytes = Bytes(file);
    EXPECT_TRUE(bytes.startsWith("\"V202data\"\r\n\"123.4\"\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n\"1.5\"\r\n"));
    EXPECT_EQ(SetDataSizeClass(bytes.size()), ChannelFileClass);

    // Return forgets the work area; the file brings it back.
    const ChannelTexts saved = dlg->WorkTexts();
    dlg->ReturnClick();
    dlg->Open();
    EXPECT_FALSE(dlg->HasWorkData());
    op.files = {file};
    dlg->LoadWork();
    EXPECT_EQ(dlg->WorkTexts(), saved);

    Select(45);
    op.answers = {true};
    dlg->MoveToChannel();
    EXPECT_EQ(op.asked, QStringList{U8(SetDataMsg::ChannelOverwrite)});
    EXPECT_EQ(d.ChSV[45], 1234);
    EXPECT_EQ(d.ChOutputHys[45], 15);
    EXPECT_EQ(d.ChAlarm1Type[45], 3);
    EXPECT_EQ(dlg->Labeldata[0]->text(), "123.4");
    EXPECT_TRUE(Queued(WriteKind::BlockWrite, 2));
    EXPECT_TRUE(ShowsWriting());
    EXPECT_TRUE(AllButtons(false));

    const std::vector<Request> sent = RunBulkWrite();
    ASSERT_EQ(sent.size(), 23u);  // 21 items without cooling, then both alarm values
    for (const Request& r : sent) {
        EXPECT_EQ(r.block, 2);
        EXPECT_EQ(r.cmd, "R");
    }
    EXPECT_EQ(sent[21].item, "0005");
    EXPECT_EQ(sent[22].item, "0006");
    EXPECT_EQ(link->values[2]["0001"][5], 1234);
    EXPECT_TRUE(AllButtons(true));
    EXPECT_FALSE(window->ProgressBar1->isVisibleTo(window.get()));
    EXPECT_TRUE(window->StatusPanel[3]->text().isEmpty());
}

TEST_F(ChannelDialogTest, CopyIntoALinearChannelTakesTheDecimalPictureFirst) {
    for (int c : {7, 47}) {
        d.ChInputType[c] = 12;
        d.ChScaleHigh[c] = 10000;
        d.ChScaleLow[c] = 0;
    }
    d.ChDecimal[7] = 100;
    d.ChSV[7] = 2550;
    d.ChDecimal[47] = 1;
    Select(7);
    dlg->MoveToWork();
    EXPECT_EQ(dlg->WorkTexts()[0], "25.50");
    EXPECT_EQ(dlg->WorkTexts()[30], "XX . XX");
    Select(47);
    op.answers = {true};
    dlg->MoveToChannel();
    EXPECT_EQ(d.ChDecimal[47], 100);
    EXPECT_EQ(d.ChSV[47], 2550);
    EXPECT_TRUE(Queued(WriteKind::BlockWrite, 2));
}

TEST_F(ChannelDialogTest, RefusedCopiesLeaveTheTablesAndTheLineAlone) {
    Select(3);
    dlg->MoveToWork();
    EXPECT_EQ(dlg->Msg_Label->text(), U8(SetDataMsg::ChannelNotConnectedTake));
    EXPECT_FALSE(dlg->HasWorkData());

    Fill(0, 10);
    Select(5);
    dlg->MoveToWork();
    EXPECT_TRUE(dlg->Msg_Label->text().isEmpty());
    const auto before = TakeAllRecords(d);

    Select(3);
    dlg->MoveToChannel();
    EXPECT_EQ(dlg->Msg_Label->text(), U8(SetDataMsg::ChannelNotConnectedPut));

    d.ChStatus[45] = qint16(StatusBit::AutoTuning);
    Select(45);
    dlg->MoveToChannel();
    dlg->SaveWork();
    EXPECT_EQ(op.told, (QStringList{U8(SetDataMsg::AutoTuningLoad), U8(SetDataMsg::AutoTuningSave)}));
    EXPECT_TRUE(op.fileDialogs.isEmpty());

    d.ChStatus[45] = 0;
    op.answers = {false};
    dlg->MoveToChannel();
    EXPECT_EQ(op.asked.size(), 1);

    EXPECT_EQ(TakeAllRecords(d), before);
    EXPECT_EQ(engine().state(), PollEngine::State::Polling);
    EXPECT_FALSE(window->ProgressBar1->isVisibleTo(window.get()));
    EXPECT_TRUE(AllButtons(true));
}

TEST_F(ChannelDialogTest, BrokenOrForeignFilesLeaveTheWorkAreaAsItWas) {
    d.ChSV[5] = 77;
    Select(5);
    dlg->MoveToWork();
    const ChannelTexts work = dlg->WorkTexts();

    const QString big = Path("big.dat");
    WriteBytes(big, QByteArray(1500, 'x'));
    const QString cut = Path("cut.dat");
    WriteBytes(cut, "\"V202data\"\r\n\"1.0\"\r\n\"2.0\"\r\n");
    // The unit (line 33) written without quotes and holding one.
    const QString unquoted = Path("unquoted.dat");
    QByteArray unit = EncodeChannelFile(work).bytes;
    ASSERT_TRUE(unit.endsWith("\r\n\"%\"\r\n"));
    unit.replace(unit.size() - 5, 5, "%\"x\r\n");
    WriteBytes(unquoted, unit);
    op.files = {big, cut, Path("missing.dat"), unquoted};
    for (int i = 0; i < 4; ++i) dlg->LoadWork();
    ASSERT_EQ(op.told.size(), 4);
    EXPECT_EQ(op.told[0], U8(SetDataMsg::NotChannelData));
    EXPECT_TRUE(op.told[1].startsWith(SetDataOutcomeMessage({SetDataStatus::EndedEarly})));
    EXPECT_EQ(op.told[2], SetDataOutcomeMessage({SetDataStatus::OpenFailed}));
    EXPECT_EQ(op.told[3], SetDataOutcomeMessage({SetDataStatus::QuoteInFileText, 33}));
    EXPECT_EQ(dlg->WorkTexts(), work);
    EXPECT_EQ(dlg->Labeldata_work[0]->text(), "77");
}

TEST_F(ChannelDialogTest, CancelledOrRefusedFileChoicesReadAndWriteNothing) {
    Select(5);
    dlg->MoveToWork();
    const ChannelTexts work = dlg->WorkTexts();
    op.files = {QString(), QString()};
    dlg->SaveWork();
    dlg->LoadWork();
    EXPECT_EQ(op.fileDialogs, (QStringList{"save", "open"}));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(op.told.isEmpty());
    EXPECT_TRUE(op.asked.isEmpty());
    EXPECT_EQ(dlg->WorkTexts(), work);

    const QString kept = Path("kept.dat");
    WriteBytes(kept, "old");
    op.files = {kept};
    op.answers = {false};
    dlg->SaveWork();
    EXPECT_EQ(op.asked, QStringList{U8(SetDataMsg::FileExists)});
    EXPECT_EQ(op.told, QStringList{U8(SetDataMsg::ChooseNewFile)});
    EXPECT_EQ(Bytes(kept), "old");
}

TEST_F(ChannelDialogTest, UnitTextWithADoubleQuoteIsRefusedBeforeAnyFileIsChosen) {
    d.ChInputType[5] = 12;
    d.ChUnitText[5] = QStringLiteral("in\"ch");
    Select(5);
    dlg->MoveToWork();
    op.files = {Path("quote.dat")};
    dlg->SaveWork();
    ASSERT_EQ(op.told.size(), 1);
    EXPECT_TRUE(op.told[0].contains(QStringLiteral("単位に「\"」は使えません")));
    EXPECT_TRUE(op.fileDialogs.isEmpty());
    EXPECT_FALSE(QFile::exists(Path("quote.dat")));
}

TEST_F(ChannelDialogTest, PagesFollowTheChannelsOptionsAndInputType) {
    d.ChOption[45] = qint16(OptionBit::Cooling);
    d.ChInputType[46] = 12;
    Select(45);
    EXPECT_TRUE(dlg->Option1[1]->isEnabled());
    EXPECT_FALSE(dlg->Option1[2]->isEnabled());
    dlg->Option1_Click(1);
    EXPECT_EQ(dlg->CurrentPage(), SubDisp_SaveLoad::CoolingPage);
    EXPECT_TRUE(dlg->Frame2[1]->isVisibleTo(dlg));
    EXPECT_FALSE(dlg->Frame1[0]->isVisibleTo(dlg));
    dlg->Option1_Click(2);  // not selectable for a temperature input
    EXPECT_EQ(dlg->CurrentPage(), SubDisp_SaveLoad::CoolingPage);

    EXPECT_TRUE(dlg->Option1[SubDisp_SaveLoad::CoolingPage]->isChecked());
    Select(46);  // linear, no cooling: back to the standard page, and its button with it
    EXPECT_EQ(dlg->CurrentPage(), SubDisp_SaveLoad::StandardPage);
    EXPECT_TRUE(dlg->Option1[SubDisp_SaveLoad::StandardPage]->isChecked());
    EXPECT_FALSE(dlg->Option1[SubDisp_SaveLoad::CoolingPage]->isChecked());
    EXPECT_TRUE(dlg->Frame1[1]->isVisibleTo(dlg));
    EXPECT_FALSE(dlg->Option1[1]->isEnabled());
    dlg->Option1_Click(2);
    EXPECT_TRUE(dlg->Frame3[0]->isVisibleTo(dlg));
    for (int none : {3, -1}) {  // no such page
        dlg->Option1_Click(none);
        EXPECT_EQ(dlg->CurrentPage(), SubDisp_SaveLoad::DcInputPage);
    }
    dlg->Option1_Click(0);  // and back to the first page
    EXPECT_EQ(dlg->CurrentPage(), SubDisp_SaveLoad::StandardPage);
    EXPECT_TRUE(dlg->Frame1[0]->isVisibleTo(dlg));
    EXPECT_FALSE(dlg->Frame3[0]->isVisibleTo(dlg));
    dlg->Option1_Click(2);
    // Each page lists its own fields once, a caption and a value each: the standard page
    // fields 1..23, the cooling page 24..28, the DC-input page the rest.
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(dlg->Frame1[side]->findChildren<QLabel*>().size(), 2 * 23) << side;
        EXPECT_EQ(dlg->Frame2[side]->findChildren<QLabel*>().size(), 2 * 5) << side;
        EXPECT_EQ(dlg->Frame3[side]->findChildren<QLabel*>().size(), 2 * (ChannelFieldCount - 28)) << side;
    }
    // Input type 10 is the first linear input; 9 is the last temperature input.
    d.ChInputType[47] = 9;
    d.ChInputType[48] = 10;
    Select(47);
    EXPECT_FALSE(dlg->Option1[SubDisp_SaveLoad::DcInputPage]->isEnabled());
    Select(48);
    EXPECT_TRUE(dlg->Option1[SubDisp_SaveLoad::DcInputPage]->isEnabled());
}

TEST_F(ChannelDialogTest, ChannelListFollowsNameChangesAndTheMenuOpensTheDialog) {
    dlg->ReturnClick();
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_TRUE(window->menus->mnuSave_CH->isEnabled());
    window->menus->mnuSave_CH->trigger();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->SaveLoad_CHname->currentIndex(), 0);

    Select(45);
    SaveSetting(QStringLiteral("Chname046"), QStringLiteral("炉46"));
    window->nameLists().RefreshNameLists(NameLists::ChannelNamesChanged);
    EXPECT_EQ(dlg->SaveLoad_CHname->itemText(45), QStringLiteral("炉46"));
    EXPECT_EQ(dlg->SaveLoad_CHname->currentIndex(), 45);
    SaveSetting(QStringLiteral("Chname046"), QStringLiteral("Ch046"));
}

// Coming back to the dialog from the main window shows what the channel holds now, so
// "Move-->" copies current texts; coming back from a box of its own changes nothing.
TEST_F(ChannelDialogTest, EveryActivationShowsTheChannelsCurrentTexts) {
    d.ChSV[5] = 100;
    Select(5);
    ASSERT_EQ(dlg->Labeldata[0]->text(), "100");
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }));
    d.ChSV[5] = 250;  // polling or another dialog changed the channel meanwhile
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dlg; }));
    EXPECT_EQ(dlg->Labeldata[0]->text(), "250");
    dlg->MoveToWork();
    EXPECT_EQ(dlg->WorkTexts()[0], "250");

    QDialog box(dlg);
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &box; }));
    d.ChSV[5] = 999;
    box.close();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dlg; }));
    EXPECT_EQ(dlg->Labeldata[0]->text(), "250");
}


// The dialog leaves the main window usable while it is open.
TEST_F(ChannelDialogTest, TheDialogLeavesTheMainWindowUsable) {
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(dlg->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
