#include "DialogHarness.h"

#include "display/NameLists.h"
#include "services/SettingsStore.h"
#include "display/MainMenus.h"
#include "setdata/RecordFile.h"
#include "app/SetDataDialogs.h"
#include "setdata/SetDataMessages.h"
#include "setdata/SubDisp_BlockSaveLoad.h"

#include <QApplication>
#include <QCoreApplication>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
QString U8(const char* s) { return QString::fromUtf8(s); }
}  // namespace

class BlockDialogTest : public DialogTest {
protected:
    SubDisp_BlockSaveLoad* dlg = nullptr;

    void SetUp() override {
        DialogTest::SetUp();
        for (int b : {0, 2, 5}) Equip(b, b != 0);
        dlg = &window->findChild<SetDataDialogs*>()->blockDialog();
        dlg->Prompts = op.Prompts();
        dlg->Open();
    }
    void Choose(int block) { dlg->Block_Option1[block]->click(); }
    bool AllButtons(bool enabled) const {
        for (QPushButton* b : dlg->Command1)
            if (b->isEnabled() != enabled) return false;
        return true;
    }
    // A current block file whose lines are the given ones.
    void WriteLines(const QString& path, const QStringList& lines) {
        WriteBytes(path, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    }
    static QStringList BlockLines(const QString& value) {
        QStringList lines{QStringLiteral("\"V202data\"")};
        for (int i = 0; i < ChannelsPerBlock; ++i) {
            for (int k = 0; k < SetDataFieldCount; ++k) lines << (k == PresentField ? "1" : value);
            lines << QStringLiteral("\"%\"");
        }
        return lines;
    }
};

TEST_F(BlockDialogTest, CopyOfBlock2IntoBlock5SkipsAbsentSourcesAndWritesBlock5) {
    Fill(2, 1000);
    Fill(5, 5000);
    d.ChPresent[43] = 0;  // position 3 of the source is absent
    Choose(2);
    dlg->MoveToWork();
    EXPECT_EQ(dlg->BlockName_Label->text(), dlg->Block_Option1[2]->text());
    EXPECT_EQ(dlg->BlockNo_Text[1]->text(), "2");
    ASSERT_EQ(dlg->WorkRecords().size(), 20u);

    Choose(5);
    op.answers = {true};
    dlg->MoveToBlock();
    EXPECT_EQ(op.asked, QStringList{U8(SetDataMsg::BlockOverwrite)});
    for (int i = 0; i < ChannelsPerBlock; ++i) {
        const int source = i == 3 ? 5000 : 1000;
        EXPECT_EQ(d.ChSV[100 + i], source + i) << "position " << i;
        EXPECT_EQ(d.ChCoolPBand[100 + i], source + 300 + i);
        EXPECT_EQ(d.ChUnitText[100 + i], QStringLiteral("U%1").arg(source + i));
    }
    EXPECT_EQ(d.ChPresent[103], 1);  // the presence flag is never written back
    EXPECT_EQ(d.ChSV[40], 1000);
    EXPECT_EQ(dlg->BlockNo_Text[0]->text(), "5");
    EXPECT_TRUE(Queued(WriteKind::BlockWrite, 5));
    EXPECT_TRUE(ShowsWriting());
    EXPECT_TRUE(AllButtons(false));

    const std::vector<Request> sent = RunBulkWrite();
    EXPECT_EQ(sent.size(), 28u);  // 26 items with cooling, then both alarm values
    for (const Request& r : sent) EXPECT_EQ(r.block, 5);
    EXPECT_EQ(link->values[5]["0001"][0], 1000);
    EXPECT_EQ(link->values[5]["0001"][3], 5003);
    EXPECT_TRUE(AllButtons(true));
    EXPECT_TRUE(window->StatusPanel[3]->text().isEmpty());
}

TEST_F(BlockDialogTest, AWorkAreaOfAbsentChannelsChangesNoTableButStillWritesTheBlock) {
    // A block file taken while nothing was connected: every record marked absent.
    QStringList lines = BlockLines(QStringLiteral("7"));
    for (int i = 0; i < ChannelsPerBlock; ++i) lines[1 + i * (SetDataFieldCount + 1) + PresentField] = "0";
    WriteLines(Path("absent.dat"), lines);
    op.files = {Path("absent.dat")};
    dlg->LoadWork();
    ASSERT_EQ(dlg->WorkRecords().size(), 20u);
    Fill(5, 5000);
    const RDX_INC before = d;
    Choose(5);
    op.answers = {true};
    dlg->MoveToBlock();
    EXPECT_EQ(d.ChSV, before.ChSV);
    EXPECT_EQ(d.ChPBand, before.ChPBand);
    EXPECT_TRUE(Queued(WriteKind::BlockWrite, 5));
    EXPECT_TRUE(AllButtons(false));
    const std::vector<Request> sent = RunBulkWrite();
    EXPECT_EQ(sent.size(), 28u);
    EXPECT_EQ(link->values[5]["0001"][7], 5007);
}

TEST_F(BlockDialogTest, SavedHeatingCoolingBlockLoadsBackAndButtonsReturnAfterTheWrite) {
    Fill(2, 300);
    d.ChUnitText[40] = QStringLiteral("ﾟC");
    const auto original = TakeBlockRecords(d, 2);
    Choose(2);
    dlg->MoveToWork();
    const QString file = Path("block2.dat");
    op.files = {file};
    dlg->SaveWork();
    EXPECT_EQ(SetDataSizeClass(QFileInfo(file).size()), BlockFileClass);

    Fill(2, 900);  // the operator changes the block, then loads the saved one back
    dlg->ReturnClick();
    dlg->Open();
    for (QRadioButton* option : dlg->Block_Option1)
        EXPECT_FALSE(option->isChecked()) << "a dialog opened again has no block chosen";
    EXPECT_FALSE(dlg->Command1[SubDisp_BlockSaveLoad::MoveToBlockButton]->isEnabled());
    op.files = {file};
    dlg->LoadWork();
    EXPECT_EQ(dlg->BlockName_Label->text(), "block2.dat");
    EXPECT_EQ(dlg->WorkRecords(), original);
    Choose(2);
    op.answers = {true};
    dlg->MoveToBlock();
    EXPECT_EQ(TakeBlockRecords(d, 2), original);
    EXPECT_TRUE(Queued(WriteKind::BlockWrite, 2));
    EXPECT_TRUE(AllButtons(false));

    engine().Timer4_Timer();
    EXPECT_EQ(link->take().size(), 26u);
    EXPECT_TRUE(AllButtons(false));  // still waiting for the alarm values
    for (int i = 0; i < 15; ++i) engine().BulkWritePauseTick();
    EXPECT_EQ(window->ProgressBar1->value(), 150);
    engine().Timer4_Timer();
    const auto alarms = link->take();
    ASSERT_EQ(alarms.size(), 2u);
    EXPECT_EQ(alarms[0].item, "0005");
    EXPECT_TRUE(AllButtons(true));
    EXPECT_FALSE(window->ProgressBar1->isVisibleTo(window.get()));
}

TEST_F(BlockDialogTest, WithNoBlockChosenThePreviousBlocksAreUsedStartingWithBlock0) {
    Fill(0, 10);
    dlg->MoveToWork();
    EXPECT_EQ(dlg->WorkRecords(), TakeBlockRecords(d, 0));
    EXPECT_TRUE(dlg->BlockName_Label->text().isEmpty());
    Fill(0, 20);
    op.answers = {true};
    dlg->MoveToBlock();
    EXPECT_EQ(d.ChSV[0], 10);
    EXPECT_TRUE(Queued(WriteKind::BlockWrite, 0));
}

// The longest refusal wraps inside the dialog: the dialog keeps its width and the whole
// text is on screen.
TEST_F(BlockDialogTest, ALongRefusalWrapsInsideTheDialog) {
    QCoreApplication::processEvents();
    const int width = dlg->width();
    Choose(7);  // absent
    dlg->MoveToWork();
    ASSERT_EQ(dlg->Label2->text(), U8(SetDataMsg::BlockNotConnectedTake));
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->width(), width);
    EXPECT_LE(dlg->Label2->minimumSizeHint().width(), dlg->Label2->width());
    EXPECT_GE(dlg->Label2->height(), dlg->Label2->heightForWidth(dlg->Label2->width()));
}

TEST_F(BlockDialogTest, RefusalsLeaveTheTablesUnchanged) {
    Choose(7);  // absent
    dlg->MoveToWork();
    EXPECT_EQ(dlg->Label2->text(), U8(SetDataMsg::BlockNotConnectedTake));
    EXPECT_TRUE(dlg->WorkRecords().empty());
    Fill(2, 40);
    Choose(2);
    dlg->MoveToWork();
    EXPECT_TRUE(dlg->Label2->text().isEmpty());
    const auto before = TakeAllRecords(d);

    Choose(7);
    dlg->MoveToBlock();
    EXPECT_EQ(dlg->Label2->text(), U8(SetDataMsg::BlockNotConnectedPut));
    EXPECT_TRUE(op.asked.isEmpty());

    Choose(5);
    op.answers = {false, true};
    dlg->MoveToBlock();  // No
    d.ChStatus[117] = qint16(StatusBit::AutoTuning);
    dlg->MoveToBlock();  // Yes, but a channel of block 5 is auto-tuning
    EXPECT_EQ(op.told, QStringList{U8(SetDataMsg::AutoTuningLoad)});

    // Saving checks the block the work area came from.
    d.ChStatus[41] = qint16(StatusBit::AutoTuning);
    dlg->SaveWork();
    EXPECT_EQ(op.told.last(), U8(SetDataMsg::AutoTuningSave));
    EXPECT_TRUE(op.fileDialogs.isEmpty());

    EXPECT_EQ(TakeAllRecords(d), before);
    EXPECT_EQ(engine().state(), PollEngine::State::Polling);
    EXPECT_TRUE(AllButtons(true));
}

TEST_F(BlockDialogTest, SavingAWorkAreaFromBlock0ChecksBlock0sAutoTuning) {
    Choose(0);
    dlg->MoveToWork();
    ASSERT_EQ(dlg->WorkRecords().size(), 20u);
    d.ChStatus[19] = qint16(StatusBit::AutoTuning);  // last channel of block 0
    d.ChStatus[20] = 0;
    dlg->SaveWork();
    EXPECT_EQ(op.told, QStringList{U8(SetDataMsg::AutoTuningSave)});
    EXPECT_TRUE(op.fileDialogs.isEmpty());
    // Auto-tuning in the next block does not concern block 0's work area.
    d.ChStatus[19] = 0;
    d.ChStatus[20] = qint16(StatusBit::AutoTuning);
    op.files = {Path("b0.dat")};
    dlg->SaveWork();
    EXPECT_EQ(op.fileDialogs, QStringList{"save"});
    EXPECT_TRUE(QFile::exists(Path("b0.dat")));
}

TEST_F(BlockDialogTest, BadBlockFilesChangeNothing) {
    Fill(2, 40);
    Choose(2);
    dlg->MoveToWork();
    const auto work = dlg->WorkRecords();
    const QString label = dlg->BlockName_Label->text();

    const QString allFile = Path("all.dat");
    WriteBytes(allFile, QByteArray(20001, '1'));
    const QString empty = Path("empty.dat");
    WriteBytes(empty, QByteArray());
    QStringList cutLines = BlockLines("12345");
    cutLines = cutLines.mid(0, 300);  // ends in the middle of record 9
    const QString cut = Path("cut.dat");
    WriteLines(cut, cutLines);
    const QString over = Path("over.dat");
    QStringList overLines = BlockLines("12345");
    overLines[40] = QStringLiteral("32768");
    WriteLines(over, overLines);
    const QString word = Path("word.dat");
    QStringList wordLines = BlockLines("12345");
    wordLines[2] = QStringLiteral("abc");
    WriteLines(word, wordLines);
    // A unit written without quotes that holds one: taken, it could never be saved again.
    const QString unquoted = Path("unquoted.dat");
    QStringList unquotedLines = BlockLines("12345");
    unquotedLines[SetDataFieldCount + 1] = QStringLiteral("%\"x");
    WriteLines(unquoted, unquotedLines);

    op.files = {allFile, empty, cut, over, word, unquoted, Path("missing.dat")};
    for (int i = 0; i < 7; ++i) dlg->LoadWork();
    // The all-channel file and the empty one are of another size class; the cut file
    // and the missing one end silently; the bad values and the quote are told with their lines.
    ASSERT_EQ(op.told.size(), 5);
    EXPECT_EQ(op.told[0], U8(SetDataMsg::NotBlockData));
    EXPECT_EQ(op.told[1], U8(SetDataMsg::NotBlockData));
    EXPECT_EQ(op.told[2], SetDataOutcomeMessage({SetDataStatus::OutOfRange, 41}));
    EXPECT_EQ(op.told[3], SetDataOutcomeMessage({SetDataStatus::NotANumber, 3}));
    EXPECT_EQ(op.told[4], SetDataOutcomeMessage({SetDataStatus::QuoteInFileText, SetDataFieldCount + 2}));
    EXPECT_EQ(dlg->WorkRecords(), work);
    EXPECT_EQ(dlg->BlockName_Label->text(), label);

    // A unit text that could not be read back is refused before a file is chosen.
    d.ChUnitText[42] = QStringLiteral("a\"b");
    dlg->MoveToWork();
    op.files = {Path("quote.dat")};
    dlg->SaveWork();
    EXPECT_TRUE(op.told.last().contains(QStringLiteral("単位に「\"」は使えません")));
    EXPECT_TRUE(op.fileDialogs.filter("save").isEmpty());
    EXPECT_FALSE(QFile::exists(Path("quote.dat")));
}

TEST_F(BlockDialogTest, CancelledFileDialogsReadAndWriteNothing) {
    Choose(2);
    dlg->MoveToWork();
    const auto work = dlg->WorkRecords();
    const int filesBefore = int(QDir(dir.path()).entryList(QDir::Files).size());
    op.files = {QString(), QString()};
    dlg->SaveWork();
    dlg->LoadWork();
    EXPECT_EQ(op.fileDialogs, (QStringList{"save", "open"}));
    EXPECT_EQ(int(QDir(dir.path()).entryList(QDir::Files).size()), filesBefore);
    EXPECT_TRUE(op.told.isEmpty());
    EXPECT_TRUE(op.asked.isEmpty());
    EXPECT_EQ(dlg->WorkRecords(), work);
}

TEST_F(BlockDialogTest, BlockCaptionsFollowNameChangesAndTheMenuOpensTheDialog) {
    dlg->ReturnClick();
    ASSERT_TRUE(window->menus->mnuSave_BLK->isEnabled());
    window->menus->mnuSave_BLK->trigger();
    EXPECT_TRUE(dlg->isVisible());
    SaveSetting(QStringLiteral("DvtoN04"), QStringLiteral("炉4"));
    window->nameLists().RefreshNameLists(NameLists::BlockNamesChanged);
    EXPECT_EQ(dlg->Block_Option1[3]->text(), QStringLiteral("炉4"));
    SaveSetting(QStringLiteral("DvtoN04"), QStringLiteral("Block04"));
}

// A names list of the wrong length labels what it can and never reaches past the blocks.
TEST_F(BlockDialogTest, ANamesListOfTheWrongLengthLabelsWhatItCan) {
    QStringList names;
    for (int b = 0; b <= BlockCount; ++b) names << QStringLiteral("炉%1").arg(b + 1);
    dlg->ShowBlockNames(names);
    EXPECT_EQ(dlg->Block_Option1[BlockCount - 1]->text(), names[BlockCount - 1]);
    dlg->ShowBlockNames({QStringLiteral("前")});
    EXPECT_EQ(dlg->Block_Option1[0]->text(), QStringLiteral("前"));
    EXPECT_EQ(dlg->Block_Option1[1]->text(), names[1]);
}

// The dialog leaves the main window usable while it is open.
TEST_F(BlockDialogTest, TheDialogLeavesTheMainWindowUsable) {
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(dlg->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
