// What the three set-data dialogs say: titles, page and button captions, frame titles and
// the row captions of the channel dialog, written out here as the operator reads them.
#include "DialogHarness.h"

#include "app/SetDataDialogs.h"
#include "setdata/SubDisp_AllSaveLoad.h"
#include "setdata/SubDisp_BlockSaveLoad.h"
#include "setdata/SubDisp_SaveLoad.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString U8(const char* s) { return QString::fromUtf8(s); }

template <std::size_t N>
QStringList TextsOf(const std::array<QPushButton*, N>& buttons) {
    QStringList texts;
    for (QPushButton* b : buttons) texts << b->text();
    return texts;
}

// The caption in front of a value label: the first cell of its row in the frame's grid.
QString RowCaptionOf(QLabel* value) {
    auto* grid = qobject_cast<QGridLayout*>(value->parentWidget()->layout());
    if (!grid) return {};
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(value), &row, &column, &rows, &columns);
    QLayoutItem* first = grid->itemAtPosition(row, 0);
    auto* caption = first ? qobject_cast<QLabel*>(first->widget()) : nullptr;
    return caption ? caption->text() : QString();
}

// Free space between a button and the one above it in the column.
int GapAbove(const std::array<QPushButton*, 5>& buttons, int i) {
    return buttons[i]->geometry().top() - buttons[i - 1]->geometry().bottom();
}

class CaptionsTest : public DialogTest {
protected:
    SetDataDialogs& dialogs() { return *window->findChild<SetDataDialogs*>(); }
};

}  // namespace

TEST_F(CaptionsTest, ChannelDialog) {
    SubDisp_SaveLoad& dlg = dialogs().channelDialog();
    dlg.Open();
    EXPECT_EQ(dlg.windowTitle(), U8("チャンネル単位　設定値セーブとロード"));
    EXPECT_EQ(dlg.Option1[0]->text(), U8("標準項目"));
    EXPECT_EQ(dlg.Option1[1]->text(), U8("加熱冷却制御項目"));
    EXPECT_EQ(dlg.Option1[2]->text(), U8("DC入力項目"));
    EXPECT_EQ(TextsOf(dlg.Command1),
              (QStringList{"Move-->", "<---Move", "Save-->", "<--Load", "Return"}));
    for (const auto* pair : {&dlg.Frame1, &dlg.Frame2, &dlg.Frame3})
        EXPECT_EQ((*pair)[1]->title(), U8("ﾜｰｸﾃﾞｰﾀ領域"));

    const char* rows[ChannelFieldCount] = {
        "主設定", "警報1設定", "警報2設定", "ﾋｰﾀ断線警報設定", "比例帯設定", "積分時間設定",
        "微分時間設定", "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定", "比例周期設定", "PD（手動）ﾘｾｯﾄ設定",
        "制御ON/OFF動作すきま設定", "警報1動作すきま設定", "警報2動作すきま設定", "警報1動作選択",
        "警報2動作選択", "制御出力上限設定", "制御出力下限設定", "入力ﾌｨﾙﾀ設定", "ｾﾝｻ補正設定",
        "制御動作選択（加熱/冷却）", "温度単位選択(゜C/゜F)", "ﾙｰﾌﾟ異常警報動作時間設定",
        "ﾙｰﾌﾟ異常警報動作巾設定", "冷却比例帯設定", "冷却比例周期設定",
        "ｵｰﾊﾞﾗｯﾌﾟﾊﾞﾝﾄﾞ/ﾃﾞｯﾄﾞﾊﾞﾝﾄﾞ設定", "冷却動作ﾓｰﾄﾞ選択", "冷却出力ON-OFF動作すきま設定",
        "ｽｹｰﾘﾝｸﾞ上限設定", "ｽｹｰﾘﾝｸﾞ下限設定", "小数点位置選択", "ﾚﾝｼﾞ単位選択"};
    // Fields 0 to 22 on the standard page, 23 to 27 on the heating/cooling page, 28 to 31
    // on the DC-input page; the current and the work column carry the same captions.
    const int pageOf[] = {0, 23, 28, ChannelFieldCount};
    const std::array<QGroupBox*, 2>* frames[] = {&dlg.Frame1, &dlg.Frame2, &dlg.Frame3};
    for (int page = 0; page < 3; ++page)
        for (int k = pageOf[page]; k < pageOf[page + 1]; ++k) {
            EXPECT_EQ(RowCaptionOf(dlg.Labeldata[k]), U8(rows[k])) << k;
            EXPECT_EQ(RowCaptionOf(dlg.Labeldata_work[k]), U8(rows[k])) << k;
            EXPECT_EQ(dlg.Labeldata[k]->parentWidget(), (*frames[page])[0]) << k;
            EXPECT_EQ(dlg.Labeldata_work[k]->parentWidget(), (*frames[page])[1]) << k;
        }
}

TEST_F(CaptionsTest, BlockAndAllChannelDialogs) {
    SubDisp_BlockSaveLoad& block = dialogs().blockDialog();
    block.Open();
    EXPECT_EQ(block.windowTitle(), U8("ブロック単位　設定値セーブとロード"));
    EXPECT_EQ(TextsOf(block.Command1),
              (QStringList{"Move-->", "<---Move", "Save-->", "<--Load", "Return"}));
    auto* work = qobject_cast<QGroupBox*>(block.Label2->parentWidget());
    ASSERT_TRUE(work);
    EXPECT_EQ(work->title(), U8("ﾜｰｸ領域"));
    EXPECT_EQ(block.Label2->text(), U8("ﾜｰｸ領域に表示されているﾃﾞｰﾀを保存、またはコピーできます。"));

    SubDisp_AllSaveLoad& all = dialogs().allDialog();
    all.Open();
    EXPECT_EQ(all.windowTitle(), U8("全チャンネル一括　設定値セーブとロード"));
    EXPECT_EQ(all.Label1->text(), U8("３２０チャンネルデータ"));
    EXPECT_EQ(TextsOf(all.Command1), (QStringList{"Save-->", "<--Load", "Return"}));
}

// In both move/save/load columns "Return" stands apart from the four buttons that act.
TEST_F(CaptionsTest, ReturnStandsApartFromTheButtonsThatAct) {
    SubDisp_SaveLoad& channel = dialogs().channelDialog();
    channel.Open();
    SubDisp_BlockSaveLoad& block = dialogs().blockDialog();
    block.Open();
    for (const auto* buttons : {&channel.Command1, &block.Command1}) {
        (*buttons)[0]->window()->layout()->activate();
        const int acting = GapAbove(*buttons, 1);
        for (int i = 2; i < 4; ++i) EXPECT_EQ(GapAbove(*buttons, i), acting) << i;
        EXPECT_GE(GapAbove(*buttons, 4), acting + 16);
    }
}
