#include "display/SettingChangeView.h"
#include "display/SettingToolbars.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QToolBar>
#include <gtest/gtest.h>
#include <iterator>

namespace {

class ToolbarsTest : public ::testing::Test {
protected:
    ToolbarsTest() {
        window.setCentralWidget(view);
        for (int c = 0; c < 20; ++c) d.ChPresent[c] = 1;
    }
    QAction* Button(QToolBar* bar, int index) { return SettingToolbars::Button(bar, index); }
    // Which panel both columns show; -1 when the columns disagree or none is shown.
    int ShownPanel() const {
        int shown = -1;
        for (int k = 0; k < 3; ++k) {
            const bool left = view->Frame_sub1[k]->isVisibleTo(view);
            const bool right = view->Frame_sub2[k]->isVisibleTo(view);
            if (left != right) return -1;
            if (left) {
                if (shown >= 0) return -1;
                shown = k;
            }
        }
        return shown;
    }

    RDX_INC d;
    QMainWindow window;
    SettingChangeView* view = new SettingChangeView(d);
    SettingToolbars bars{d, *view, window};
};

TEST_F(ToolbarsTest, ButtonsCarryTheirTextsAndToolTips) {
    ASSERT_EQ(bars.Toolbar2->actions().size(), 24);
    ASSERT_EQ(bars.Toolbar4->actions().size(), 9);
    ASSERT_EQ(bars.Toolbar3->actions().size(), 2);
    EXPECT_EQ(Button(bars.Toolbar2, 1)->text(), QStringLiteral("SV"));
    EXPECT_EQ(Button(bars.Toolbar2, 21)->text(), QStringLiteral("C/F"));
    EXPECT_EQ(Button(bars.Toolbar2, 21)->toolTip(), QStringLiteral("温度単位選択（゜Ｃ/゜Ｆ）"));
    EXPECT_EQ(Button(bars.Toolbar2, 24)->toolTip(),
              QStringLiteral("制御ON/OFFとＰＩＤｵｰﾄﾁｭｰﾆﾝｸﾞ動作指定"));
    EXPECT_EQ(Button(bars.Toolbar4, 3)->text(), QStringLiteral("DB"));
    EXPECT_EQ(Button(bars.Toolbar4, 3)->toolTip(), QStringLiteral("オーバラップバンド／デッドバンド設定"));
    EXPECT_EQ(Button(bars.Toolbar3, 2)->text(), QStringLiteral("LPH2"));
    EXPECT_TRUE(bars.Toolbar3->isHidden());
    EXPECT_FALSE(bars.Toolbar2->isHidden());
    EXPECT_FALSE(bars.Toolbar3->toggleViewAction()->isVisible());
    // Fixed in place above the view, showing their captions as text.
    for (QToolBar* bar : {bars.Toolbar2, bars.Toolbar4, bars.Toolbar3}) {
        EXPECT_FALSE(bar->isMovable()) << bar->objectName().toStdString();
        EXPECT_EQ(window.toolBarArea(bar), Qt::TopToolBarArea);
        EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonTextOnly);
    }
}

TEST_F(ToolbarsTest, AlarmActionButtonShowsChoicePanelAndLongNames) {
    d.ChAlarm1Type[0] = 2;
    d.ChAlarm1Type[1] = 10;
    Button(bars.Toolbar2, 14)->trigger();
    EXPECT_EQ(d.SelectedItem, 14);
    EXPECT_EQ(view->Frame_main->title(), QStringLiteral("警報１動作選択"));
    EXPECT_EQ(ShownPanel(), 1);
    view->Refresh();
    EXPECT_EQ(view->Select_comand[0]->text(), QStringLiteral("待機付上限警報"));
    EXPECT_EQ(view->Select_comand[1]->text(), QStringLiteral("待機付絶対値上限警報"));
}

// Every button of the three tool bars as the operator meets it: its text, its tool tip,
// the setting it chooses, the frame caption and the panel it brings forward.
struct Row {
    int bar;  // 2, 4 or 3
    int button;
    const char* text;
    const char* toolTip;
    int item;
    const char* caption;
    int panel;
};
const Row kRows[] = {
    {2, 1, "SV", "主設定", 1, "主設定", 0},
    {2, 2, "A1", "警報1設定", 2, "警報１設定", 0},
    {2, 3, "A2", "警報2設定", 3, "警報２設定", 0},
    {2, 4, "HB", "ﾋｰﾀ断線警報設定", 4, "ﾋｰﾀ断線警報設定", 0},
    {2, 5, "P", "比例帯設定", 5, "比例帯設定", 0},
    {2, 6, "I", "積分時間設定", 6, "積分時間設定", 0},
    {2, 7, "D", "微分時間設定", 7, "微分時間設定", 0},
    {2, 8, "ARW", "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定", 8, "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定", 0},
    {2, 9, "CYC", "比例周期設定", 9, "比例周期設定", 0},
    {2, 10, "PDR", "PD(手動)ﾘｾｯﾄ設定", 10, "PD(手動)ﾘｾｯﾄ設定", 0},
    {2, 11, "HYS", "主出力ON/OFF動作すきま設定", 11, "主出力ON/OFF動作すきま設定", 0},
    {2, 12, "A1H", "警報1動作すきま設定", 12, "警報１動作すきま設定", 0},
    {2, 13, "A2H", "警報2動作すきま設定", 13, "警報２動作すきま設定", 0},
    {2, 14, "A1A", "警報1動作選択", 14, "警報１動作選択", 1},
    {2, 15, "A2A", "警報2動作選択", 15, "警報２動作選択", 1},
    {2, 16, "HLI", "制御出力上限設定", 16, "制御出力上限設定", 0},
    {2, 17, "LLI", "制御出力下限設定", 17, "制御出力下限設定", 0},
    {2, 18, "FIL", "入力ﾌｨﾙﾀ設定", 18, "入力ﾌｨﾙﾀ設定", 0},
    {2, 19, "SC", "ｾﾝｻ補正設定", 19, "ｾﾝｻ補正設定", 0},
    {2, 20, "H/C", "制御動作選択(加熱/冷却)", 20, "制御動作選択(加熱/冷却)", 1},
    {2, 21, "C/F", "温度単位選択（゜Ｃ/゜Ｆ）", 21, "温度単位選択(ﾟC/ﾟF)", 1},
    {2, 22, "LPT", "ﾙｰﾌﾟ異常警報動作時間設定", 22, "ﾙｰﾌﾟ異常警報動作時間設定", 0},
    {2, 23, "LPH", "ﾙｰﾌﾟ異常警報動作巾設定", 23, "ﾙｰﾌﾟ異常警報動作巾設定", 0},
    {2, 24, "AT", "制御ON/OFFとＰＩＤｵｰﾄﾁｭｰﾆﾝｸﾞ動作指定", 24, "制御ON/OFFとｵｰﾄﾁｭｰﾆﾝｸﾞ動作選択", 2},
    {4, 1, "PB", "冷却比例帯設定", 25, "冷却比例帯設定", 0},
    {4, 2, "CYCB", "冷却比例周期設定", 26, "冷却比例周期設定", 0},
    {4, 3, "DB", "オーバラップバンド／デッドバンド設定", 27, "オーバーラップバンド／デッドバンド設定", 0},
    {4, 4, "BCS", "冷却動作モード選択", 28, "冷却動作モード選択", 1},
    {4, 5, "HYSB", "冷却出力ＯＮ／ＯＦＦ動作すきま設定", 29, "冷却出力ＯＮ／ＯＦＦ動作すきま設定", 0},
    {4, 6, "STLH", "スケーリング上限設定", 32, "スケーリング上限設定", 0},
    {4, 7, "STLL", "スケーリング下限設定", 33, "スケーリング下限設定", 0},
    {4, 8, "DP", "小数点位置選択", 34, "小数点位置選択", 1},
    {4, 9, "UNIT", "レンジ単位選択", 35, "レンジ単位選択", 1},
    {3, 1, "LPT2", "ﾙｰﾌﾟ2異常警報動作時間設定", 30, "ﾙｰﾌﾟ2異常警報動作時間設定", 0},
    {3, 2, "LPH2", "ﾙｰﾌﾟ2異常警報動作巾設定", 31, "ﾙｰﾌﾟ2異常警報動作巾設定", 0},
};

TEST_F(ToolbarsTest, EveryButtonShowsItsTextsAndChoosesItsSettingCaptionAndPanel) {
    ASSERT_EQ(std::size(kRows), 35u);
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.text);
        QToolBar* bar = r.bar == 2 ? bars.Toolbar2 : r.bar == 4 ? bars.Toolbar4 : bars.Toolbar3;
        QAction* a = Button(bar, r.button);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(bar->actions().indexOf(a), r.button - 1) << "position on the bar";
        EXPECT_EQ(a->text(), QString::fromUtf8(r.text));
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(r.toolTip));
        // Start from another panel each time, so showing the right one is seen.
        bars.Toolbar2_ButtonClick(r.panel == 2 ? 1 : 24);
        d.SelectedItem = 0;
        a->trigger();
        EXPECT_EQ(d.SelectedItem, r.item);
        EXPECT_EQ(view->Frame_main->title(), QString::fromUtf8(r.caption));
        EXPECT_EQ(ShownPanel(), r.panel);
    }
}

TEST_F(ToolbarsTest, DecimalPointButtonLaysRowsOutForTheNewSetting) {
    for (int c = 10; c < 20; ++c) d.ChInputType[c] = 11;
    Button(bars.Toolbar4, 8)->trigger();
    EXPECT_EQ(d.SelectedItem, 34);
    EXPECT_FALSE(view->Select_comand[0]->isVisibleTo(view));
    EXPECT_TRUE(view->Select_comand[10]->isVisibleTo(view));
    // A button outside the tool bar's range changes nothing.
    bars.Toolbar4_ButtonClick(10);
    bars.Toolbar2_ButtonClick(0);
    EXPECT_EQ(d.SelectedItem, 34);
    EXPECT_EQ(view->Frame_main->title(), QStringLiteral("小数点位置選択"));
}

}  // namespace
