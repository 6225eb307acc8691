// The compare dialog (設定ﾃﾞｰﾀ照合) against the tables the polling keeps: exactly the
// settings changed since the file was saved are listed with the views' texts, the list
// saved as CSV, and only those settings written back after a Yes.
#include "DialogHarness.h"

#include "display/NameLists.h"
#include "setdata/RecordFile.h"
#include "setdata/SetDataValues.h"
#include "setdata/SubDisp_Compare.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

namespace {

class CompareDialog : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Equip(0, false);
        Equip(1, true);
        Fill(0, 100);
        Fill(1, 500);
        saved = Path("all.dat");
        ASSERT_TRUE(WriteRecordFile(saved, RecordFileKind::AllChannels, TakeAllRecords(d)).ok());
        dialog = new SubDisp_Compare(d, *window, window.get());
        dialog->Prompts = op.Prompts();
        dialog->ChooseListFile = [this](QWidget*) { return Path("list.csv"); };
    }
    QStringList Row(int row) const {
        QStringList cells;
        for (int col = 0; col < dialog->List->columnCount(); ++col) cells << dialog->List->item(row, col)->text();
        return cells;
    }
    int SettingWrites() const {
        int n = 0;
        for (const PollEngine::PendingWrite& w : window->engine().queuedWrites()) n += w.kind == WriteKind::Setting;
        return n;
    }

    QString saved;
    SubDisp_Compare* dialog = nullptr;
};

TEST_F(CompareDialog, ListsExactlyTheChangedSettingsSavesThemAndWritesThemBackOnlyAfterYes) {
    op.files = {saved};
    dialog->ChooseFile();
    EXPECT_EQ(dialog->List->rowCount(), 0);
    EXPECT_TRUE(dialog->ResultLabel->text().contains(QStringLiteral("相違はありません")));
    EXPECT_FALSE(dialog->WriteButton->isEnabled());

    // Changed at two front panels, as the re-read of their blocks stores them.
    d.ChSV[3] = 150;
    d.ChPBand[25] = 612;
    dialog->Compare();
    ASSERT_EQ(dialog->List->rowCount(), 2);
    EXPECT_EQ(Row(0), (QStringList{"Ch004", "Ch004", "主設定値(SV)", "103ﾟC", "150ﾟC"}));
    EXPECT_EQ(Row(1), (QStringList{"Ch026", "Ch026", "比例帯設定値", "60.5", "61.2"}));

    dialog->SaveList();
    const std::optional<QString> csv = DecodeCp932(Bytes(Path("list.csv")));
    ASSERT_TRUE(csv.has_value());
    EXPECT_EQ(csv->split(QStringLiteral("\r\n"))[1], QStringLiteral("\"Ch004\",\"Ch004\",\"主設定値(SV)\",\"103ﾟC\",\"150ﾟC\""));

    op.answers = {false};
    dialog->WriteDifferences();
    EXPECT_EQ(SettingWrites(), 0);
    EXPECT_EQ(d.ChSV[3], 150);

    op.answers = {true};
    dialog->WriteDifferences();
    EXPECT_TRUE(op.asked.last().contains(QStringLiteral("2 件")));
    EXPECT_EQ(d.ChSV[3], 103);
    EXPECT_EQ(d.ChPBand[25], 605);
    EXPECT_TRUE(Queued(WriteKind::Setting, 0));
    EXPECT_TRUE(Queued(WriteKind::Setting, 1));
    EXPECT_EQ(SettingWrites(), 2);
}

TEST_F(CompareDialog, ABlockOutOfContactIsNamedAndNotComparedABlockFileComparesTheChosenBlock) {
    d.ChSV[3] = 150;
    d.ChSV[23] = 7;
    d.BlockOutOfContact[1] = true;
    op.files = {saved};
    dialog->ChooseFile();
    ASSERT_EQ(dialog->List->rowCount(), 1);
    EXPECT_EQ(Row(0)[0], QStringLiteral("Ch004"));
    EXPECT_TRUE(dialog->ResultLabel->text().contains(BlockName(1) + QStringLiteral(" が応答していない")))
        << dialog->ResultLabel->text().toStdString();

    // Block 0's file compared with block 1 (back in contact): every differing value of it.
    d.BlockOutOfContact[1] = false;
    const QString block = Path("block.dat");
    ASSERT_TRUE(WriteRecordFile(block, RecordFileKind::Block, TakeBlockRecords(d, 0)).ok());
    dialog->BlockList->setCurrentIndex(1);
    op.files = {block};
    dialog->ChooseFile();
    EXPECT_EQ(Row(0), (QStringList{"Ch021", "Ch021", "主設定値(SV)", "100ﾟC", "500ﾟC"}));
}

}  // namespace
