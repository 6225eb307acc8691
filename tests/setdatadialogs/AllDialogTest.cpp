#include "DialogHarness.h"

#include "display/MainMenus.h"
#include "setdata/RecordFile.h"
#include "app/SetDataDialogs.h"
#include "setdata/SetDataMessages.h"
#include "setdata/SubDisp_AllSaveLoad.h"

#include <QApplication>
#include <QAction>
#include <QPushButton>

namespace {
QString U8(const char* s) { return QString::fromUtf8(s); }
}  // namespace

class AllDialogTest : public DialogTest {
protected:
    SubDisp_AllSaveLoad* dlg = nullptr;
    QString file;

    void SetUp() override {
        DialogTest::SetUp();
        for (int b : {0, 3, 9}) {
            Equip(b, true);
            Fill(b, 100 * b);
        }
        dlg = &window->findChild<SetDataDialogs*>()->allDialog();
        dlg->Prompts = op.Prompts();
        dlg->Open();
        file = Path("all.dat");
    }
    bool AllButtons(bool enabled) const {
        for (QPushButton* b : dlg->Command1)
            if (b->isEnabled() != enabled) return false;
        return true;
    }
    void Save() {
        op.files = {file};
        dlg->SaveAll();
        ASSERT_TRUE(op.told.isEmpty());
        op.fileDialogs.clear();
    }
};

TEST_F(AllDialogTest, SavedLineLoadsBackIntoEveryChannelAndEveryBlockIsWritten) {
    const auto original = TakeAllRecords(d);
    Save();
    EXPECT_EQ(SetDataSizeClass(QFileInfo(file).size()), AllChannelFileClass);
    for (int b : {0, 3, 9}) Fill(b, 7000 + b);

    op.files = {file};
    op.answers = {true};
    dlg->LoadAll();
    EXPECT_EQ(op.asked, QStringList{U8(SetDataMsg::AllOverwrite)});
    EXPECT_EQ(TakeAllRecords(d), original);
    EXPECT_TRUE(Queued(WriteKind::AllBlocksWrite));
    EXPECT_TRUE(ShowsWriting());
    EXPECT_TRUE(AllButtons(false));

    engine().Timer4_Timer();
    const auto writes = link->take();
    EXPECT_EQ(writes.size(), 78u);  // 26 items for each of the 3 present blocks
    EXPECT_EQ(link->values[3]["0001"][4], 304);
    EXPECT_TRUE(AllButtons(false));
    for (int i = 0; i < 15; ++i) engine().BulkWritePauseTick();
    engine().Timer4_Timer();
    const auto alarms = link->take();
    EXPECT_EQ(alarms.size(), 6u);
    EXPECT_EQ(CountItem(alarms, "0005"), 3);
    EXPECT_TRUE(AllButtons(true));
    EXPECT_TRUE(window->StatusPanel[3]->text().isEmpty());
}

TEST_F(AllDialogTest, AnsweringNoLeavesEveryTableUnchangedAlthoughTheFileWasRead) {
    Save();
    for (int b : {0, 3, 9}) Fill(b, 50 + b);
    const auto before = TakeAllRecords(d);
    op.files = {file};
    op.answers = {false};
    dlg->LoadAll();
    EXPECT_EQ(op.asked.size(), 1);
    EXPECT_EQ(TakeAllRecords(d), before);
    EXPECT_EQ(engine().state(), PollEngine::State::Polling);
    EXPECT_TRUE(AllButtons(true));
}

TEST_F(AllDialogTest, RefusedAndBrokenFilesChangeNothing) {
    Save();
    const QByteArray good = Bytes(file);
    for (int b : {0, 3, 9}) Fill(b, 60 + b);
    const auto before = TakeAllRecords(d);

    const QString block = Path("block.dat");
    WriteBytes(block, QByteArray(20000, '1'));
    const QString cut = Path("cut.dat");
    WriteBytes(cut, good.left(good.size() - 40));
    const QString garbage = Path("garbage.dat");
    QByteArray noise(good.size(), '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 37 + 11) % 256);
    WriteBytes(garbage, noise);
    const QString over = Path("over.dat");
    QByteArray big = good;
    big.replace("\r\n10000\r\n", "\r\n99999\r\n");
    ASSERT_NE(big, good);
    WriteBytes(over, big);
    // Channel 0's unit written without quotes and holding one: taken, no all-channel
    // save would go through again.
    const QString unquoted = Path("unquoted.dat");
    QByteArray unit = good;
    unit.replace("\r\n\"U0\"\r\n", "\r\n%\"x\r\n");
    ASSERT_NE(unit, good);
    WriteBytes(unquoted, unit);

    op.files = {block, cut, garbage, over, unquoted, Path("missing.dat")};
    for (int i = 0; i < 6; ++i) dlg->LoadAll();
    EXPECT_TRUE(op.asked.isEmpty());  // no file was complete and valid
    ASSERT_EQ(op.told.size(), 4);     // the cut file and the missing one end silently
    EXPECT_EQ(op.told[0], U8(SetDataMsg::NotAllData));
    EXPECT_FALSE(op.told[1].isEmpty());
    EXPECT_TRUE(op.told[2].startsWith(SetDataOutcomeMessage({SetDataStatus::OutOfRange})));
    EXPECT_EQ(op.told[3], SetDataOutcomeMessage({SetDataStatus::QuoteInFileText, SetDataFieldCount + 2}));

    d.ChStatus[200] = qint16(StatusBit::AutoTuning);
    op.files = {file, Path("at.dat")};
    dlg->LoadAll();
    dlg->SaveAll();
    EXPECT_EQ(op.told.mid(4), (QStringList{U8(SetDataMsg::AutoTuningLoad), U8(SetDataMsg::AutoTuningSave)}));
    EXPECT_FALSE(QFile::exists(Path("at.dat")));

    EXPECT_EQ(TakeAllRecords(d), before);
    EXPECT_EQ(engine().state(), PollEngine::State::Polling);
    EXPECT_TRUE(AllButtons(true));
}

TEST_F(AllDialogTest, QuoteInAUnitTextAndCancelledDialogsWriteNothing) {
    op.files = {QString(), QString()};
    dlg->SaveAll();
    dlg->LoadAll();
    EXPECT_EQ(op.fileDialogs, (QStringList{"save", "open"}));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(op.told.isEmpty());
    EXPECT_TRUE(op.asked.isEmpty());

    d.ChUnitText[250] = QStringLiteral("\"");
    op.files = {file};
    dlg->SaveAll();
    ASSERT_EQ(op.told.size(), 1);
    EXPECT_TRUE(op.told[0].contains(QStringLiteral("単位に「\"」は使えません")));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(AllDialogTest, MenuEntryOpensTheDialog) {
    dlg->ReturnClick();
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_TRUE(window->menus->mnuSave_ALL->isEnabled());
    window->menus->mnuSave_ALL->trigger();
    EXPECT_TRUE(dlg->isVisible());
}

// The dialog leaves the main window usable while it is open.
TEST_F(AllDialogTest, TheDialogLeavesTheMainWindowUsable) {
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(dlg->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
