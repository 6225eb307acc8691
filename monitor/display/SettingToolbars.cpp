#include "display/SettingToolbars.h"

#include "display/SettingChangeView.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

namespace {

constexpr SettingButton kToolbar2[] = {
    {"SV", "主設定", 1, "主設定", 0},
    {"A1", "警報1設定", 2, "警報１設定", 0},
    {"A2", "警報2設定", 3, "警報２設定", 0},
    {"HB", "ﾋｰﾀ断線警報設定", 4, "ﾋｰﾀ断線警報設定", 0},
    {"P", "比例帯設定", 5, "比例帯設定", 0},
    {"I", "積分時間設定", 6, "積分時間設定", 0},
    {"D", "微分時間設定", 7, "微分時間設定", 0},
    {"ARW", "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定", 8, "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定", 0},
    {"CYC", "比例周期設定", 9, "比例周期設定", 0},
    {"PDR", "PD(手動)ﾘｾｯﾄ設定", 10, "PD(手動)ﾘｾｯﾄ設定", 0},
    {"HYS", "主出力ON/OFF動作すきま設定", 11, "主出力ON/OFF動作すきま設定", 0},
    {"A1H", "警報1動作すきま設定", 12, "警報１動作すきま設定", 0},
    {"A2H", "警報2動作すきま設定", 13, "警報２動作すきま設定", 0},
    {"A1A", "警報1動作選択", 14, "警報１動作選択", 1},
    {"A2A", "警報2動作選択", 15, "警報２動作選択", 1},
    {"HLI", "制御出力上限設定", 16, "制御出力上限設定", 0},
    {"LLI", "制御出力下限設定", 17, "制御出力下限設定", 0},
    {"FIL", "入力ﾌｨﾙﾀ設定", 18, "入力ﾌｨﾙﾀ設定", 0},
    {"SC", "ｾﾝｻ補正設定", 19, "ｾﾝｻ補正設定", 0},
    {"H/C", "制御動作選択(加熱/冷却)", 20, "制御動作選択(加熱/冷却)", 1},
    {"C/F", "温度単位選択（゜Ｃ/゜Ｆ）", 21, "温度単位選択(ﾟC/ﾟF)", 1},
    {"LPT", "ﾙｰﾌﾟ異常警報動作時間設定", 22, "ﾙｰﾌﾟ異常警報動作時間設定", 0},
    {"LPH", "ﾙｰﾌﾟ異常警報動作巾設定", 23, "ﾙｰﾌﾟ異常警報動作巾設定", 0},
    {"AT", "制御ON/OFFとＰＩＤｵｰﾄﾁｭｰﾆﾝｸﾞ動作指定", 24, "制御ON/OFFとｵｰﾄﾁｭｰﾆﾝｸﾞ動作選択", 2},
};

constexpr SettingButton kToolbar4[] = {
    {"PB", "冷却比例帯設定", 25, "冷却比例帯設定", 0},
    {"CYCB", "冷却比例周期設定", 26, "冷却比例周期設定", 0},
    {"DB", "オーバラップバンド／デッドバンド設定", 27, "オーバーラップバンド／デッドバンド設定", 0},
    {"BCS", "冷却動作モード選択", 28, "冷却動作モード選択", 1},
    {"HYSB", "冷却出力ＯＮ／ＯＦＦ動作すきま設定", 29, "冷却出力ＯＮ／ＯＦＦ動作すきま設定", 0},
    {"STLH", "スケーリング上限設定", 32, "スケーリング上限設定", 0},
    {"STLL", "スケーリング下限設定", 33, "スケーリング下限設定", 0},
    {"DP", "小数点位置選択", 34, "小数点位置選択", 1},
    {"UNIT", "レンジ単位選択", 35, "レンジ単位選択", 1},
};

constexpr SettingButton kToolbar3[] = {
    {"LPT2", "ﾙｰﾌﾟ2異常警報動作時間設定", 30, "ﾙｰﾌﾟ2異常警報動作時間設定", 0},
    {"LPH2", "ﾙｰﾌﾟ2異常警報動作巾設定", 31, "ﾙｰﾌﾟ2異常警報動作巾設定", 0},
};

}  // namespace

std::span<const SettingButton> Toolbar2Buttons() { return kToolbar2; }
std::span<const SettingButton> Toolbar4Buttons() { return kToolbar4; }
std::span<const SettingButton> Toolbar3Buttons() { return kToolbar3; }

QString SettingCaption(int setting) {
    for (const auto buttons : {Toolbar2Buttons(), Toolbar4Buttons(), Toolbar3Buttons()})
        for (const SettingButton& b : buttons)
            if (b.selectedItem == setting) return QString::fromUtf8(b.frameCaption);
    return {};
}

SettingToolbars::SettingToolbars(RDX_INC& data, SettingChangeView& view, QMainWindow& window)
    : QObject(&window), d(data), view_(view) {
    Toolbar2 = BuildToolbar(window, QStringLiteral("Toolbar2"), kToolbar2,
                            &SettingToolbars::Toolbar2_ButtonClick);
    window.addToolBarBreak();
    Toolbar4 = BuildToolbar(window, QStringLiteral("Toolbar4"), kToolbar4,
                            &SettingToolbars::Toolbar4_ButtonClick);
    Toolbar3 = BuildToolbar(window, QStringLiteral("Toolbar3"), kToolbar3,
                            &SettingToolbars::Toolbar3_ButtonClick);
    Toolbar3->hide();
    // Only the access code shows Toolbar3: keep it out of the window's tool-bar menu.
    Toolbar3->toggleViewAction()->setVisible(false);
}

QToolBar* SettingToolbars::BuildToolbar(QMainWindow& window, const QString& name,
                                        std::span<const SettingButton> buttons,
                                        void (SettingToolbars::*handler)(int)) {
    auto* bar = new QToolBar(name, &window);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (int i = 0; i < int(buttons.size()); ++i) {
        QAction* a = bar->addAction(QString::fromUtf8(buttons[i].text));
        a->setToolTip(QString::fromUtf8(buttons[i].toolTip));
        a->setData(i + 1);
        connect(a, &QAction::triggered, this, [this, handler, i] { (this->*handler)(i + 1); });
    }
    window.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QAction* SettingToolbars::Button(QToolBar* toolbar, int button) {
    if (!toolbar) return nullptr;
    for (QAction* a : toolbar->actions())
        if (a->data().toInt() == button) return a;
    return nullptr;
}

void SettingToolbars::Choose(std::span<const SettingButton> buttons, int button) {
    if (button < 1 || button > int(buttons.size())) return;
    const SettingButton& b = buttons[button - 1];
    view_.ShowPanel(b.panel);
    d.SelectedItem = b.selectedItem;
    view_.SetFrameCaption(QString::fromUtf8(b.frameCaption));
    view_.tb4_BName_Click();
    emit settingChosen(b.selectedItem);
}

void SettingToolbars::Toolbar2_ButtonClick(int button) { Choose(kToolbar2, button); }
void SettingToolbars::Toolbar3_ButtonClick(int button) { Choose(kToolbar3, button); }
void SettingToolbars::Toolbar4_ButtonClick(int button) { Choose(kToolbar4, button); }
