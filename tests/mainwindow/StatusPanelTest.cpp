// What the main window shows of each exchange: status-bar panel 1 and the two messages.
#include "FakeLink.h"

#include "display/MainDisp.h"
#include "exchange/PollEngine.h"

#include <QLabel>
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
        d.PollState = 0;
        window->engine().Timer4_Timer();
        ASSERT_EQ(d.PollState, 1);
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

TEST_F(MainWindowTest, ReadingMessageIsUpDuringTheBlockReread) {
    bool shownDuringReread = false;
    link->override = [&](const Request&) -> QString {
        if (d.PollState == 8) shownDuringReread = shownDuringReread || window->Text_readmsg->isVisible();
        return QStringLiteral("\x01");
    };
    d.RereadBlock = 0;
    d.PollState = 8;
    window->engine().Timer4_Timer();
    EXPECT_TRUE(shownDuringReread);
    EXPECT_EQ(window->Text_readmsg->text(),
              "ﾓﾆﾀｿﾌﾄは、RDX-410からﾃﾞｰﾀを読取り中です。\nしばらくお待ちください。");
    EXPECT_EQ(d.PollState, 1);
}

TEST_F(MainWindowTest, StatusPanelsStartWithTheWaitingTexts) {
    EXPECT_EQ(window->StatusPanel[1]->text(), "ﾛｷﾞﾝｸﾞ 待機中");
    EXPECT_EQ(window->StatusPanel[2]->text(), "ﾁｬｰﾄ 待機中");
    EXPECT_EQ(window->SSTab1->count(), 7);
    EXPECT_EQ(window->SSTab1->tabText(0), "4ﾌﾞﾛｯｸ画面");
    EXPECT_EQ(window->SSTab1->tabText(6), "ﾃﾞｰﾀﾛｷﾞﾝｸﾞ画面");
}
