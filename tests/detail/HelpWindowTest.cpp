#include "display/HelpWindow.h"
#include "display/MainMenus.h"

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(HelpWindowTest, ListsTheTopicsOfTheHelpFile) {
    HelpWindow help;
    const QStringList topics = help.Topics();
    for (const char* t : {"画面の見方", "1ﾁｬﾝﾈﾙ画面", "設定値の変更", "設定できない場合",
                          "データロギング", "ﾁｬｰﾄ", "設定データファイル", "シミュレータで試す"})
        EXPECT_TRUE(topics.contains(QString::fromUtf8(t))) << t;
    EXPECT_EQ(help.TopicList->count(), topics.size());
    EXPECT_GT(topics.size(), 10);
    EXPECT_FALSE(help.Browser->toPlainText().contains(QStringLiteral("が見つかりません")));
}

TEST(HelpWindowTest, EscClosesIt) {
    HelpWindow help;
    help.show();
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    QTest::keyClick(help.Browser, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
}

TEST(HelpWindowTest, SubtopicsAreIndentedUnderTheirTopic) {
    HelpWindow help;
    const QStringList topics = help.Topics();
    auto listed = [&](const char* title) {
        const int row = topics.indexOf(QString::fromUtf8(title));
        return row < 0 ? QString() : help.TopicList->item(row)->text();
    };
    EXPECT_EQ(listed("はじめに"), QStringLiteral("はじめに"));
    EXPECT_EQ(listed("画面の見方"), QStringLiteral("画面の見方"));
    EXPECT_EQ(listed("4ﾌﾞﾛｯｸ画面"), QStringLiteral("    4ﾌﾞﾛｯｸ画面"));
    EXPECT_EQ(listed("設定できない場合"), QStringLiteral("    設定できない場合"));
    EXPECT_EQ(listed("データロギング"), QStringLiteral("データロギング"));
}

TEST(HelpWindowTest, ChoosingATopicBringsItsHeading) {
    HelpWindow help;
    help.resize(800, 300);
    const int chart = help.Topics().indexOf(QStringLiteral("ﾁｬｰﾄ"));
    ASSERT_GE(chart, 0);
    help.TopicList->setCurrentRow(chart);
    EXPECT_EQ(help.Browser->textCursor().block().text(), QStringLiteral("ﾁｬｰﾄ"));
    const int first = help.Topics().indexOf(QStringLiteral("はじめに"));
    help.TopicList->setCurrentRow(first);
    EXPECT_EQ(help.Browser->textCursor().block().text(), QStringLiteral("はじめに"));
    // No such topic, just past the last one or far off: nothing moves.
    for (const int none : {int(help.Topics().size()), 999, -1}) {
        EXPECT_EQ(help.TopicPosition(none), std::nullopt) << none;
        help.ShowTopic(none);
        EXPECT_EQ(help.Browser->textCursor().block().text(), QStringLiteral("はじめに")) << none;
    }
}

TEST(HelpWindowTest, HelpCommandOpensOneWindow) {
    QMainWindow window;
    MainMenus menus(window);
    menus.numhelp2->trigger();
    ASSERT_NE(menus.helpWindow(), nullptr);
    HelpWindow* first = menus.helpWindow();
    EXPECT_TRUE(first->isVisible());
    first->close();
    menus.numhelp2->trigger();
    EXPECT_EQ(menus.helpWindow(), first);
    EXPECT_TRUE(first->isVisible());
}

}  // namespace
