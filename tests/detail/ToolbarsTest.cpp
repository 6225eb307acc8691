#include "display/SettingChangeView.h"
#include "display/SettingToolbars.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QToolBar>
#include <gtest/gtest.h>

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

TEST_F(ToolbarsTest, EachButtonChoosesItsSettingCaptionAndPanel) {
    struct Case { QToolBar* bar; int button; int item; const char* caption; int panel; };
    const Case cases[] = {
        {bars.Toolbar2, 1, 1, "主設定", 0},
        {bars.Toolbar2, 2, 2, "警報１設定", 0},
        {bars.Toolbar2, 13, 13, "警報２動作すきま設定", 0},
        {bars.Toolbar2, 20, 20, "制御動作選択(加熱/冷却)", 1},
        {bars.Toolbar2, 21, 21, "温度単位選択(ﾟC/ﾟF)", 1},
        {bars.Toolbar2, 23, 23, "ﾙｰﾌﾟ異常警報動作巾設定", 0},
        {bars.Toolbar2, 24, 24, "制御ON/OFFとｵｰﾄﾁｭｰﾆﾝｸﾞ動作選択", 2},
        {bars.Toolbar4, 1, 25, "冷却比例帯設定", 0},
        {bars.Toolbar4, 4, 28, "冷却動作モード選択", 1},
        {bars.Toolbar4, 5, 29, "冷却出力ＯＮ／ＯＦＦ動作すきま設定", 0},
        {bars.Toolbar4, 6, 32, "スケーリング上限設定", 0},
        {bars.Toolbar4, 8, 34, "小数点位置選択", 1},
        {bars.Toolbar4, 9, 35, "レンジ単位選択", 1},
        {bars.Toolbar3, 1, 30, "ﾙｰﾌﾟ2異常警報動作時間設定", 0},
        {bars.Toolbar3, 2, 31, "ﾙｰﾌﾟ2異常警報動作巾設定", 0},
    };
    for (const Case& k : cases) {
        Button(k.bar, k.button)->trigger();
        EXPECT_EQ(d.SelectedItem, k.item) << k.caption;
        EXPECT_EQ(view->Frame_main->title(), QString::fromUtf8(k.caption));
        EXPECT_EQ(ShownPanel(), k.panel) << k.caption;
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
