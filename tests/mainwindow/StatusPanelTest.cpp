// What the main window shows of each exchange: status-bar panel 1 and the two messages.
#include "FakeLink.h"

#include "app/MainDisp.h"
#include "format/ValueFormat.h"
#include "services/SettingsStore.h"
#include "display/FourBlockView.h"
#include "exchange/PollEngine.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QAction>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    RDX_INC d;
    FakeLink* link = nullptr;
    std::unique_ptr<MainDisp> window;
    std::function<QString(const Request&)> reply;

    void SetUp() override {
        window = std::make_unique<MainDisp>(d);
        window->CreateLinkObject = [this](const char*) -> ISTDComm* { return link = new FakeLink; };
        ASSERT_TRUE(window->Form_Load());
        link->present[0] = true;
        window->show();
        window->engine().RestartStartupRead();
        window->engine().Timer4_Timer();
        ASSERT_EQ(window->engine().state(), PollEngine::State::Polling);
    }
    QString Panel1() const { return window->StatusPanel[0]->text(); }
    void PollOnce(QString forced) {
        link->override = [forced](const Request& r) -> QString {
            if (forced == "NAK") return FakeLink::Reply(QChar(Framing::NAK), r, {});
            if (forced == "silence") return {};
            return QStringLiteral("\x01");
        };
        window->engine().Timer4_Timer();
    }
};

}  // namespace

TEST_F(MainWindowTest, PanelOneShowsTheOutcomeOfTheLastPoll) {
    PollOnce("ok");
    EXPECT_EQ(Panel1(), "OK");
    PollOnce("NAK");
    EXPECT_EQ(Panel1(), "NG");
    PollOnce("ok");
    EXPECT_EQ(Panel1(), "OK");
    // No reply: the panel is emptied and "通信異常" comes up.
    PollOnce("silence");
    EXPECT_EQ(Panel1(), "");
    EXPECT_TRUE(window->Text_readmsg2->isVisible());
    EXPECT_EQ(window->Text_readmsg2->text(), "通信異常");
    PollOnce("ok");
    EXPECT_EQ(Panel1(), "OK");
}

// A silent block and an alarm on a page not shown: panel 1 sums up the whole line on
// every tab, never "OK" alone, and the four-block view marks the page; all goes when the
// line is well again.
TEST_F(MainWindowTest, PanelOneSummarisesTheWholeLineOnEveryTab) {
    d.BlockAbsent.fill(1);
    d.BlockAbsent[0] = d.BlockAbsent[5] = 0;
    link->present[5] = true;
    link->values[0][QStringLiteral("0083")][3] = qint16(StatusBit::Alarm2);
    window->SSTab1->setCurrentIndex(6);
    link->override = [](const Request& r) { return r.block == 5 ? QString() : QStringLiteral("\x01"); };
    for (int i = 0; i < 20 && !d.BlockOutOfContact[5]; ++i) window->engine().Timer4_Timer();
    ASSERT_TRUE(d.BlockOutOfContact[5]);
    EXPECT_EQ(Panel1(), "警報 1 / 通信異常 1") << "the silent block's poll has no outcome";
    window->engine().Timer4_Timer();  // block 0 answers
    EXPECT_EQ(Panel1(), "OK  警報 1 / 通信異常 1");
    window->SSTab1->setCurrentIndex(0);
    EXPECT_EQ(window->fourBlockView()->Toolbar1Button[1]->text(), "4-7 通信異常");
    EXPECT_EQ(window->fourBlockView()->Toolbar1Button[0]->text(), "0-3 警報");
    // The "通信異常" box names the silent block, in the status bar where it hides no value.
    EXPECT_TRUE(window->Text_readmsg2->isVisible()) << "up while the block stays silent";
    EXPECT_EQ(window->Text_readmsg2->text(), "通信異常: Block06");
    EXPECT_TRUE(window->statusBar()->isAncestorOf(window->Text_readmsg2));
    link->override = nullptr;
    link->values[0][QStringLiteral("0083")][3] = 0;
    for (int i = 0; i < 8; ++i) window->engine().Timer4_Timer();
    EXPECT_FALSE(d.BlockOutOfContact[5]);
    EXPECT_EQ(Panel1(), "OK");
    EXPECT_EQ(window->fourBlockView()->Toolbar1Button[1]->text(), "4-7");
    window->ShowCommError(false);  // the loop's word once replies come again
    EXPECT_FALSE(window->Text_readmsg2->isVisible());
}

// Many silent blocks with long names: the box keeps its place, cut, and tells them all in
// its tool tip.
TEST_F(MainWindowTest, TheCommErrorBoxCutsALongListAndTellsItWholeAsItsTip) {
    const QString name = QStringLiteral("押出機ﾊﾞﾚﾙ加熱");
    for (int b = 0; b < BlockCount; ++b) SaveSetting(QStringLiteral("DvtoN") + BlockSuffix(b), name + QString::number(b));
    d.BlockAbsent.fill(0);
    d.BlockOutOfContact.fill(true);
    window->BlockContactChanged(15, true);
    EXPECT_TRUE(window->Text_readmsg2->isVisible());
    EXPECT_LE(window->Text_readmsg2->width(), MainDisp::MaxTroubleWidth);
    EXPECT_TRUE(window->Text_readmsg2->text().endsWith(QChar(0x2026)));
    for (int b = 0; b < BlockCount; ++b)
        EXPECT_TRUE(window->Text_readmsg2->toolTip().contains(name + QString::number(b) + (b < 15 ? "," : ""))) << b;
    for (int b = 0; b < BlockCount; ++b) SaveSetting(QStringLiteral("DvtoN") + BlockSuffix(b), QStringLiteral("Block") + BlockSuffix(b));
}

TEST_F(MainWindowTest, ReadingMessageIsUpDuringTheBlockReread) {
    bool shownDuringReread = false;
    link->override = [&](const Request&) -> QString {
        if (window->engine().state() == PollEngine::State::BlockReread) shownDuringReread = shownDuringReread || window->Text_readmsg->isVisible();
        return QStringLiteral("\x01");
    };
    d.ChStatus[0] = qint16(StatusBit::Changed);
    window->engine().statecomchk(0);
    window->engine().Timer4_Timer();
    EXPECT_TRUE(shownDuringReread);
    EXPECT_EQ(window->Text_readmsg->text(),
              "ﾓﾆﾀｿﾌﾄは、RDX-410からﾃﾞｰﾀを読取り中です。\nしばらくお待ちください。");
    // It stands out over the tables: pale yellow inside a dark red frame.
    const QImage shot = window->Text_readmsg->grab().toImage();
    EXPECT_EQ(shot.pixelColor(6, 6), QColor(255, 255, 192));
    EXPECT_EQ(shot.pixelColor(0, shot.height() / 2), QColor(128, 0, 0));
    EXPECT_EQ(window->engine().state(), PollEngine::State::Polling);
}

TEST_F(MainWindowTest, StatusPanelsStartWithTheWaitingTexts) {
    EXPECT_EQ(window->StatusPanel[1]->text(), "ﾛｷﾞﾝｸﾞ 待機中");
    EXPECT_EQ(window->StatusPanel[2]->text(), "ﾁｬｰﾄ 待機中");
    EXPECT_EQ(window->SSTab1->count(), 7);
    EXPECT_EQ(window->SSTab1->tabText(0), "4ﾌﾞﾛｯｸ画面");
    EXPECT_EQ(window->SSTab1->tabText(6), "ﾃﾞｰﾀﾛｷﾞﾝｸﾞ画面");
}

// Panels 1 to 3 keep their width; panel 4, with the longest texts, takes the rest.
TEST_F(MainWindowTest, PanelFourTakesTheRestOfTheStatusBar) {
    window->resize(1000, 700);
    QCoreApplication::processEvents();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(window->StatusPanel[i]->width(), window->StatusPanel[i]->minimumWidth()) << i;
    EXPECT_GT(window->StatusPanel[3]->width(), 1000 / 2);
}

TEST_F(MainWindowTest, TheEndOfABulkWriteEmptiesPanelFourAndHidesTheProgress) {
    window->SetPanelText(4, QStringLiteral("設定値変更中"));
    EXPECT_EQ(window->StatusPanel[3]->text(), QStringLiteral("設定値変更中"));
    window->ProgressBar1->show();
    window->SetWriteProgress(90);
    EXPECT_EQ(window->ProgressBar1->value(), 90);
    window->SetWriteProgress(200);
    EXPECT_EQ(window->ProgressBar1->value(), 150) << "never past the bar's end";
    int finished = 0;
    QObject::connect(window.get(), &MainDisp::bulkWriteFinished, [&] { ++finished; });
    window->BulkWriteFinished();
    EXPECT_EQ(window->StatusPanel[3]->text(), QString());
    EXPECT_TRUE(window->ProgressBar1->isHidden());
    EXPECT_EQ(finished, 1);
    // Panels 2 and 3 are set and emptied at once; only panel 1 waits for the next reply.
    window->SetPanelText(2, QStringLiteral("ﾛｷﾞﾝｸﾞ中"));
    window->SetPanelText(3, QString());
    EXPECT_EQ(window->StatusPanel[1]->text(), QStringLiteral("ﾛｷﾞﾝｸﾞ中"));
    EXPECT_EQ(window->StatusPanel[2]->text(), QString());
}

TEST_F(MainWindowTest, PanelsOutsideOneToFourChangeNothing) {
    QStringList before;
    for (QLabel* l : window->StatusPanel) before << l->text();
    const QString read = window->Text_readmsg->text();
    const QString error = window->Text_readmsg2->text();
    for (int panel : {0, 5, -1, 6}) window->SetPanelText(panel, QStringLiteral("x"));
    QStringList after;
    for (QLabel* l : window->StatusPanel) after << l->text();
    EXPECT_EQ(after, before);
    EXPECT_EQ(window->Text_readmsg->text(), read);
    EXPECT_EQ(window->Text_readmsg2->text(), error);
}
