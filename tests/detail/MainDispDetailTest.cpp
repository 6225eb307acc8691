// Tabs 3 and 4, the setting tool bars and the menus as the main window installs them.
#include "app/DialogWiring.h"
#include "app/MainDisp.h"
#include "display/MainMenus.h"
#include "display/OneChannelView.h"
#include "display/SettingChangeView.h"
#include "display/SettingToolbars.h"
#include "display/SubDisp_About.h"
#include "display/TabView.h"
#include "FakeLink.h"
#include "services/SettingsStore.h"
#include "history/LoggingView.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class MainDispDetailTest : public ::testing::Test {
protected:
    RDX_INC d;
    MainDisp window{d};
};

TEST_F(MainDispDetailTest, TabsThreeAndFourAreTheDetailViews) {
    ASSERT_NE(window.oneChannelView, nullptr);
    ASSERT_NE(window.settingChangeView, nullptr);
    EXPECT_EQ(window.SSTab1->widget(3), window.oneChannelView);
    EXPECT_EQ(window.SSTab1->widget(4), window.settingChangeView);
    EXPECT_EQ(window.SSTab1->tabText(3), QStringLiteral("1ﾁｬﾝﾈﾙ画面"));
    EXPECT_EQ(window.SSTab1->tabText(4), QStringLiteral("設定値変更画面"));

    window.SSTab1->setCurrentIndex(3);
    window.SelectDispItem();  // channel 0 of an empty table: nothing connected
    EXPECT_TRUE(window.oneChannelView->Label14[0]->isVisibleTo(window.oneChannelView));
}

TEST_F(MainDispDetailTest, TheChartAndLoggingTabsTakeTheirViews) {
    EXPECT_EQ(window.SSTab1->tabText(5), QStringLiteral("ﾁｬｰﾄ画面"));
    EXPECT_EQ(window.SSTab1->tabText(6), QStringLiteral("ﾃﾞｰﾀﾛｷﾞﾝｸﾞ画面"));
    auto* chart = new TabView;
    auto* logging = new TabView;
    window.SetTabView(5, chart, QString());
    window.SetTabView(6, logging, QString());
    EXPECT_EQ(window.SSTab1->count(), 7);
    EXPECT_EQ(window.SSTab1->widget(5), chart);
    EXPECT_EQ(window.SSTab1->widget(6), logging);
    EXPECT_EQ(window.tabView(6), logging);
    EXPECT_EQ(window.SSTab1->tabText(6), QStringLiteral("ﾃﾞｰﾀﾛｷﾞﾝｸﾞ画面"));
    // There is no tab 7, and no view for a tab is no change.
    auto* stray = new TabView;
    window.SetTabView(7, stray, QString());
    window.SetTabView(6, nullptr, QString());
    EXPECT_EQ(window.SSTab1->count(), 7);
    EXPECT_EQ(window.SSTab1->widget(6), logging);
    delete stray;
}

TEST_F(MainDispDetailTest, BlockRereadResetsTheSettingView) {
    for (int c = 0; c < 20; ++c) d.ChPresent[c] = 1;
    window.SSTab1->setCurrentIndex(4);
    SettingToolbars::Button(window.settingToolbars->Toolbar2, 24)->trigger();
    window.SelectDispItem();
    ASSERT_EQ(d.SelectedItem, 24);
    window.ResetSettingView();
    EXPECT_EQ(d.SelectedItem, 0);
    EXPECT_EQ(window.settingChangeView->Frame_main->title(), QString());
    EXPECT_TRUE(window.settingChangeView->Frame_sub1[0]->isVisibleTo(window.settingChangeView));
    EXPECT_FALSE(window.settingChangeView->Frame_sub1[2]->isVisibleTo(window.settingChangeView));
}

TEST_F(MainDispDetailTest, AccessCodeInTheAboutBoxShowsTheWindowsToolbar3) {
    ASSERT_TRUE(window.settingToolbars->Toolbar3->isHidden());
    window.menus->numabout->trigger();
    window.menus->aboutDialog()->AccessCode_Text->setText(QStringLiteral("quarzel"));
    EXPECT_FALSE(window.settingToolbars->Toolbar3->isHidden());
    window.menus->aboutDialog()->close();
}

// Answers the next message box with `button` and remembers its text.
class BoxAnswer {
public:
    explicit BoxAnswer(QMessageBox::StandardButton button) {
        QObject::connect(&timer_, &QTimer::timeout, [this, button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked << box->text();
                box->button(button)->click();
            }
        });
        timer_.start(10);
    }
    QStringList asked;

private:
    QTimer timer_;
};

class QuitTest : public MainDispDetailTest {
protected:
    void SetUp() override {
        window.CreateLinkObject = [this](const char*) { return link = new FakeLink; };
        ASSERT_TRUE(window.Form_Load());
        // The name dialogs, as the program's shell builds them.
        ConnectDialogs(d, window);
        logging = new LoggingView([](int) { return QString(); }, dir.path());
        window.SetTabView(6, logging, QString());
        window.loggingView = logging;
        window.show();
        // The operator's logging choices of this run.
        SaveSetting("Logtim", "0");
        for (int n = 0; n < 16; ++n) SaveSetting("LogBlock" + QString::number(n), "0");
        logging->Logging_time->setCurrentIndex(5);
        logging->log_Check1[2]->setChecked(true);
        logging->log_Check1[15]->setChecked(true);
    }
    void ExpectChoicesSaved() {
        EXPECT_EQ(GetSetting("Logtim", ""), "5");
        for (int n = 0; n < 16; ++n)
            EXPECT_EQ(GetSetting("LogBlock" + QString::number(n), ""), n == 2 || n == 15 ? "1" : "0") << n;
    }

    QTemporaryDir dir;
    FakeLink* link = nullptr;
    LoggingView* logging = nullptr;
};

TEST_F(QuitTest, NoSavesTheLoggingChoicesAndKeepsRunning) {
    BoxAnswer no(QMessageBox::No);
    window.menus->mnuEnd->trigger();
    EXPECT_EQ(no.asked, QStringList{QStringLiteral("ﾓﾆﾀｿﾌﾄを終了します。よろしいですか？")});
    ExpectChoicesSaved();
    EXPECT_FALSE(d.EndRequested);
    EXPECT_FALSE(window.isHidden());
    EXPECT_EQ(link->closes, 0);
    // Closing the window asks the same question; No keeps it open.
    window.close();
    EXPECT_EQ(no.asked.size(), 2);
    EXPECT_FALSE(window.isHidden());
    EXPECT_FALSE(d.EndRequested);
    // The block and channel name dialogs exist, so their commands are live.
    EXPECT_TRUE(window.menus->mnuDevno->isEnabled());
    EXPECT_TRUE(window.menus->mnuCHname->isEnabled());
}

TEST_F(QuitTest, YesSavesEndsTheLoopAndClosesThePort) {
    BoxAnswer yes(QMessageBox::Yes);
    EXPECT_TRUE(window.close()) << "the close is accepted";
    EXPECT_EQ(yes.asked, QStringList{QStringLiteral("ﾓﾆﾀｿﾌﾄを終了します。よろしいですか？")});
    ExpectChoicesSaved();
    EXPECT_TRUE(d.EndRequested);
    EXPECT_TRUE(window.isHidden());
    EXPECT_GE(link->closes, 1);
    EXPECT_FALSE(link->open);
    // Once ending, closing again asks nothing.
    window.close();
    EXPECT_EQ(yes.asked.size(), 1);
}

TEST_F(QuitTest, SignalsEndInOrderWithoutAsking) {
    BoxAnswer no(QMessageBox::No);
    window.QuitWithoutAsking();
    EXPECT_TRUE(no.asked.isEmpty());
    ExpectChoicesSaved();
    EXPECT_TRUE(d.EndRequested);
    EXPECT_GE(link->closes, 1);
}

}  // namespace
