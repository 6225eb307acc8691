#include "ViewTestSupport.h"
#include "display/NameLists.h"
#include "app/SubDisp_Block.h"
#include "app/SubDisp_Chname.h"

#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QKeyEvent>
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

void FocusIn(QWidget* w, Qt::FocusReason reason = Qt::MouseFocusReason) {
    QFocusEvent event(QEvent::FocusIn, reason);
    QApplication::sendEvent(w, &event);
}

class NameListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int b = 0; b < BlockCount; ++b) StoreBlockName(b, QStringLiteral("Block") + BlockSuffix(b));
        lists.AddBlockList(&selector, [this] { ++clicks; });
        lists.AddBlockList(&plainBlocks);
        lists.AddChannelList(&channels, [this] { ++channelClicks; });
        std::vector<QLabel*> labels;
        for (QLabel& l : rows) labels.push_back(&l);
        lists.AddRowLabels(&selector, labels);
    }
    NameLists lists;
    QComboBox selector, plainBlocks, channels;
    std::array<QLabel, 20> rows;
    int clicks = 0, channelClicks = 0;
};

TEST_F(NameListsTest, StartUpFillsEveryListWithoutRunningHandlersOfEmptyLists) {
    QSignalSpy blockSpy(&lists, &NameLists::blockNamesChanged);
    QSignalSpy channelSpy(&lists, &NameLists::channelNamesChanged);
    lists.RefreshNameLists(NameLists::StartUp);
    ASSERT_EQ(selector.count(), 16);
    EXPECT_EQ(selector.itemText(15), QStringLiteral("Block16"));
    EXPECT_EQ(plainBlocks.count(), 16);
    ASSERT_EQ(channels.count(), 320);
    EXPECT_EQ(channels.itemText(319), ChannelName(319));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(channelClicks, 0);
    EXPECT_EQ(blockSpy.count(), 1);
    EXPECT_EQ(channelSpy.count(), 1);
    EXPECT_EQ(blockSpy.at(0).at(0).toStringList().size(), 16);
}

TEST_F(NameListsTest, BlockModeKeepsTheSelectionAndRunsItsHandler) {
    lists.RefreshNameLists(NameLists::StartUp);
    selector.setCurrentIndex(5);
    channels.setCurrentIndex(200);
    clicks = channelClicks = 0;
    StoreBlockName(5, QStringLiteral("乾燥炉"));
    StoreChannelName(101, QStringLiteral("乾燥2"));
    QSignalSpy channelSpy(&lists, &NameLists::channelNamesChanged);
    lists.RefreshNameLists(NameLists::BlockNamesChanged);
    EXPECT_EQ(selector.currentIndex(), 5);
    EXPECT_EQ(selector.currentText(), QStringLiteral("乾燥炉"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(channelClicks, 0);
    EXPECT_EQ(channelSpy.count(), 0);
    // Row labels follow in every mode: block 5 is channels 100..119.
    EXPECT_EQ(rows[1].text(), QStringLiteral("乾燥2"));
    EXPECT_EQ(channels.currentIndex(), 200);

    // The first entry is a selection like any other: its view redraws too.
    selector.setCurrentIndex(0);
    clicks = 0;
    StoreBlockName(0, QStringLiteral("予熱炉"));
    lists.RefreshNameLists(NameLists::BlockNamesChanged);
    EXPECT_EQ(selector.currentText(), QStringLiteral("予熱炉"));
    EXPECT_EQ(clicks, 1);
}

TEST_F(NameListsTest, ChannelModeLeavesBlockListsAlone) {
    lists.RefreshNameLists(NameLists::StartUp);
    selector.setCurrentIndex(2);
    channels.setCurrentIndex(77);
    clicks = channelClicks = 0;
    StoreBlockName(2, QStringLiteral("未反映"));
    StoreChannelName(77, QStringLiteral("新名"));
    StoreChannelName(40, QStringLiteral("行名"));
    lists.RefreshNameLists(NameLists::ChannelNamesChanged);
    EXPECT_EQ(selector.currentText(), QStringLiteral("Block03"));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(channelClicks, 1);
    EXPECT_EQ(channels.currentIndex(), 77);
    EXPECT_EQ(channels.currentText(), QStringLiteral("新名"));
    EXPECT_EQ(rows[0].text(), QStringLiteral("行名"));
}

TEST_F(NameListsTest, EmptyBlockNameIsListedEmpty) {
    StoreBlockName(9, QString());
    lists.RefreshNameLists(NameLists::BlockNamesChanged);
    EXPECT_EQ(selector.itemText(9), QString());
    EXPECT_EQ(BlockName(9), QString());
}

TEST_F(NameListsTest, NoBlockOrChannelOutsideTheLineHasAName) {
    for (int b : {-1, BlockCount}) EXPECT_EQ(BlockName(b), QString()) << b;
    for (int c : {-1, ChannelCount}) EXPECT_EQ(ChannelName(c), QString()) << c;
    EXPECT_EQ(BlockName(BlockCount - 1), QStringLiteral("Block16"));
    EXPECT_FALSE(ChannelName(ChannelCount - 1).isEmpty());
}

class BlockDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int b = 0; b < BlockCount; ++b) StoreBlockName(b, QStringLiteral("Block") + BlockSuffix(b));
        lists.AddBlockList(&selector, {});
    }
    NameLists lists;
    QComboBox selector;
    SubDisp_Block dialog{lists};
};

TEST_F(BlockDialogTest, OkStoresAllSixteenNamesAnEmptyOneIncluded) {
    dialog.Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾌﾞﾛｯｸ名登録"));
    EXPECT_EQ(dialog.DvtoN[15]->text(), QStringLiteral("Block16"));
    dialog.DvtoN[0]->clear();
    dialog.DvtoN[15]->setText(QStringLiteral("冷却ﾗｲﾝ"));
    QSignalSpy saved(&dialog, &SubDisp_Block::namesSaved);
    dialog.DvOK->click();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(StoredBlockName(0), QString());
    EXPECT_EQ(StoredBlockName(15), QStringLiteral("冷却ﾗｲﾝ"));
    EXPECT_EQ(selector.itemText(0), QString());
    EXPECT_EQ(selector.itemText(15), QStringLiteral("冷却ﾗｲﾝ"));
    EXPECT_FALSE(dialog.isVisible());
    // Reopening shows the stored (empty) name, not the default.
    dialog.Open();
    EXPECT_EQ(dialog.DvtoN[0]->text(), QString());
}

TEST_F(BlockDialogTest, CancelStoresNothing) {
    dialog.Open();
    dialog.DvtoN[3]->setText(QStringLiteral("捨てる"));
    QSignalSpy saved(&dialog, &SubDisp_Block::namesSaved);
    dialog.DvCan->click();
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(StoredBlockName(3), QStringLiteral("Block04"));
    EXPECT_EQ(selector.itemText(3), QStringLiteral("Block04"));
}

// U+301C WAVE DASH, which Linux input methods type for "～", has no code in code page 932
// (its "～" is U+FF5E): the history and log files would get "?" instead.
const QString kWaveDash = QString(QChar(0x301C));

TEST_F(BlockDialogTest, NameTheFilesCannotHoldIsRefusedAndNothingIsStored) {
    dialog.Open();
    QStringList told;
    dialog.ShowMessage = [&](const QString& t) { told << t; };
    dialog.DvtoN[1]->setText(QStringLiteral("炉1"));
    dialog.DvtoN[4]->setText(QStringLiteral("1") + kWaveDash + QStringLiteral("4号炉"));
    dialog.DvOK->click();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(kWaveDash));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(StoredBlockName(4), QStringLiteral("Block05"));
    EXPECT_EQ(StoredBlockName(1), QStringLiteral("Block02"));
    // The code page's own "～" is fine.
    dialog.DvtoN[4]->setText(QStringLiteral("1～4号炉"));
    dialog.DvOK->click();
    EXPECT_EQ(told.size(), 1);
    EXPECT_EQ(StoredBlockName(4), QStringLiteral("1～4号炉"));
    EXPECT_EQ(StoredBlockName(1), QStringLiteral("炉1"));
}

// A name pasted from a spreadsheet cell ends in a line break; one in the store may hold
// anything. Either would break the name's history and log records over two lines.
TEST_F(BlockDialogTest, LineBreaksAndOtherControlCharactersAreRefusedByName) {
    StoreBlockName(6, QStringLiteral("炉\r\n6"));
    dialog.Open();
    QStringList told;
    dialog.ShowMessage = [&](const QString& t) { told << t; };
    QApplication::clipboard()->setText(QStringLiteral("Pump A\n"));
    dialog.DvtoN[2]->clear();
    dialog.DvtoN[2]->paste();
    ASSERT_EQ(dialog.DvtoN[2]->text(), QStringLiteral("Pump A\n"));
    dialog.DvOK->click();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("「改行(LF)」"))) << told[0].toStdString();
    EXPECT_EQ(StoredBlockName(2), QStringLiteral("Block03"));
    EXPECT_TRUE(dialog.isVisible());

    // The name from the store is refused too, its CR named as well.
    dialog.DvtoN[2]->setText(QStringLiteral("Pump A"));
    dialog.DvOK->click();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[1].startsWith(QStringLiteral("「改行(CR)」「改行(LF)」"))) << told[1].toStdString();
    EXPECT_EQ(StoredBlockName(2), QStringLiteral("Block03"));

    dialog.DvtoN[6]->setText(QStringLiteral("炉6") + QChar(0x1B));
    dialog.DvOK->click();
    ASSERT_EQ(told.size(), 3);
    EXPECT_TRUE(told[2].contains(QStringLiteral("「制御文字(1Bh)」"))) << told[2].toStdString();

    dialog.DvtoN[6]->setText(QStringLiteral("炉6"));
    dialog.DvOK->click();
    EXPECT_EQ(told.size(), 3);
    EXPECT_EQ(StoredBlockName(2), QStringLiteral("Pump A"));
    EXPECT_EQ(StoredBlockName(6), QStringLiteral("炉6"));
}

class ChannelDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int c = 0; c < 100; ++c) StoreChannelName(c, QStringLiteral("Ch") + ChannelSuffix(c));
        lists.AddChannelList(&channels, {});
        dialog.Open();
    }
    NameLists lists;
    QComboBox channels;
    SubDisp_Chname dialog{lists};
};

TEST_F(ChannelDialogTest, NamesOfBlockThreeAreStoredWhenTheListGetsTheFocus) {
    EXPECT_EQ(dialog.Block_Name->count(), 16);
    EXPECT_EQ(dialog.ChName[0]->text(), QStringLiteral("Ch001"));
    dialog.Block_Name->setCurrentIndex(3);
    EXPECT_EQ(dialog.ChName[0]->text(), QStringLiteral("Ch061"));
    dialog.ChName[0]->setText(QStringLiteral("押出1"));
    dialog.ChName[19]->setText(QStringLiteral("押出20"));
    EXPECT_EQ(StoredChannelName(60), QStringLiteral("Ch061"));
    FocusIn(dialog.Block_Name);
    EXPECT_EQ(StoredChannelName(60), QStringLiteral("押出1"));
    EXPECT_EQ(StoredChannelName(79), QStringLiteral("押出20"));
    EXPECT_EQ(dialog.Label_msg->text(), QStringLiteral("ﾁｬﾝﾈﾙ名を登録します。"));
    dialog.Block_Name->setCurrentIndex(4);
    EXPECT_EQ(dialog.ChName[0]->text(), QStringLiteral("Ch081"));
    // Block 3's names are kept, block 4's untouched.
    EXPECT_EQ(StoredChannelName(80), QStringLiteral("Ch081"));
    EXPECT_EQ(StoredChannelName(60), QStringLiteral("押出1"));
}

TEST_F(ChannelDialogTest, EditedNamesSurviveABlockChangeWithoutFocus) {
    // The list already had the focus and the operator moves to another block with the
    // keyboard: the typed names are stored under the block they were typed for.
    dialog.Block_Name->setCurrentIndex(2);
    dialog.ChName[5]->clear();
    QTest::keyClicks(dialog.ChName[5], QStringLiteral("KEEP"));
    dialog.Block_Name->setCurrentIndex(3);
    EXPECT_EQ(StoredChannelName(45), QStringLiteral("KEEP"));
    EXPECT_EQ(dialog.ChName[5]->text(), QStringLiteral("Ch066"));
}

TEST_F(ChannelDialogTest, FieldsRefuseAThirteenthCharacter) {
    dialog.ChName[7]->clear();
    QTest::keyClicks(dialog.ChName[7], QStringLiteral("ABCDEFGHIJKLM"));
    EXPECT_EQ(dialog.ChName[7]->text(), QStringLiteral("ABCDEFGHIJKL"));
    dialog.ChName[8]->setText(QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽ"));
    EXPECT_EQ(dialog.ChName[8]->text().size(), 12);
    // Full-width characters take two of the twelve, as in the files.
    dialog.ChName[9]->clear();
    for (const QChar c : QStringLiteral("押出機ゾーン１")) {
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(dialog.ChName[9], &typed);
    }
    EXPECT_EQ(dialog.ChName[9]->text(), QStringLiteral("押出機ゾーン"));
    // One set past the fields' check is refused when stored, and nothing is stored.
    dialog.ChName[9]->setText(QStringLiteral("押出機ゾーン１"));
    dialog.Command1->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("長すぎます"))) << dialog.Label_msg->text().toStdString();
    EXPECT_EQ(StoredChannelName(9), QStringLiteral("Ch010"));
}

TEST_F(ChannelDialogTest, OkStoresAndRefreshesTheChannelLists) {
    lists.RefreshNameLists(NameLists::StartUp);
    dialog.Block_Name->setCurrentIndex(1);
    dialog.ChName[2]->setText(QStringLiteral("ｿﾞｰﾝ3"));
    QSignalSpy saved(&dialog, &SubDisp_Chname::namesSaved);
    dialog.Command1->click();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(StoredChannelName(22), QStringLiteral("ｿﾞｰﾝ3"));
    EXPECT_EQ(channels.itemText(22), QStringLiteral("ｿﾞｰﾝ3"));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ChannelDialogTest, NameTheFilesCannotHoldIsRefusedOnEveryWayOfStoring) {
    dialog.Block_Name->setCurrentIndex(2);
    dialog.ChName[0]->setText(QStringLiteral("A") + kWaveDash + QStringLiteral("B"));
    dialog.ChName[1]->setText(QStringLiteral("正常"));
    // The list getting the focus ...
    FocusIn(dialog.Block_Name);
    EXPECT_TRUE(dialog.Label_msg->text().contains(kWaveDash));
    EXPECT_EQ(StoredChannelName(40), QStringLiteral("Ch041"));
    EXPECT_EQ(StoredChannelName(41), QStringLiteral("Ch042"));
    // ... another block chosen: the typed names stay in the fields for mending ...
    dialog.Block_Name->setCurrentIndex(3);
    EXPECT_EQ(dialog.Block_Name->currentIndex(), 2);
    EXPECT_EQ(dialog.ChName[1]->text(), QStringLiteral("正常"));
    EXPECT_EQ(StoredChannelName(60), QStringLiteral("Ch061"));
    // ... and OK: the dialog stays open.
    dialog.Command1->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(StoredChannelName(40), QStringLiteral("Ch041"));
    dialog.ChName[0]->setText(QStringLiteral("A～B"));
    dialog.Command1->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(StoredChannelName(40), QStringLiteral("A～B"));
    EXPECT_EQ(StoredChannelName(41), QStringLiteral("正常"));
}

TEST_F(ChannelDialogTest, TabInATypedOrStoredNameIsRefused) {
    StoreChannelName(61, QStringLiteral("押出\t2"));
    dialog.Block_Name->setCurrentIndex(3);
    dialog.ChName[0]->setText(QStringLiteral("押出1"));
    dialog.Command1->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.Label_msg->text().contains(QStringLiteral("「ﾀﾌﾞ」")));
    EXPECT_EQ(StoredChannelName(60), QStringLiteral("Ch061"));
    dialog.ChName[1]->setText(QStringLiteral("押出2"));
    dialog.Command1->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(StoredChannelName(61), QStringLiteral("押出2"));
}

TEST_F(ChannelDialogTest, CancelKeepsWhatTheFocusStored) {
    dialog.Block_Name->setCurrentIndex(0);
    dialog.ChName[0]->setText(QStringLiteral("先に保存"));
    FocusIn(dialog.Block_Name);
    dialog.ChName[1]->setText(QStringLiteral("保存しない"));
    QSignalSpy saved(&dialog, &SubDisp_Chname::namesSaved);
    dialog.Command2->click();
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(StoredChannelName(0), QStringLiteral("先に保存"));
    EXPECT_EQ(StoredChannelName(1), QStringLiteral("Ch002"));
    EXPECT_EQ(channels.itemText(0), QStringLiteral("先に保存"));
}

}  // namespace
