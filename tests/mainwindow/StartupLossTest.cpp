// The port goes away while the start-up read runs: the loss is seen, and start-up ends
// when the port is back.
#include "FakeLink.h"

#include "app/MainDisp.h"
#include "exchange/PollEngine.h"
#include "TestClock.h"

#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

TEST(StartupLoss, MainWindowShowsTheLossAndStartUpFinishesWhenThePortIsBack) {
    RDX_INC d;
    FakeLink* link = nullptr;
    MainDisp window(d);
    window.CreateLinkObject = [&](const char*) -> ISTDComm* { return link = new FakeLink; };
    ASSERT_TRUE(window.Form_Load());
    int interrupted = 0, finished = 0;
    window.OnStartupInterrupted = [&] { ++interrupted; };
    window.OnStartupFinished = [&] { ++finished; };
    std::vector<int> contactEntries;
    window.HystoryWrite = [&](const QString& code, int ch, int) {
        if (code == QLatin1String(OutOfContactCode)) contactEntries.push_back(ch);
    };
    qputenv("TESMARCOMM_COM1", "/dev/ttyUSB7");
    TestClock clock;
    window.engine().Time = &clock;
    link->present[0] = link->present[1] = true;
    // The adapter is pulled out after the first twenty requests of the start-up read.
    link->override = [&](const Request&) -> QString {
        if (link->log.size() > 20) {
            link->open = false;
            link->openable = false;
            return {};
        }
        return QStringLiteral("\x01");
    };
    window.engine().RestartStartupRead();
    window.engine().Timer4_Timer();
    EXPECT_TRUE(window.engine().PortLost);
    // Not stuck behind the opening form: the window is up and says what is wrong.
    EXPECT_EQ(interrupted, 1);
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(window.isVisible());
    // Told as a lost port, with its device: not as controllers that do not answer.
    EXPECT_TRUE(window.Text_readmsg2->isVisible());
    EXPECT_TRUE(window.Text_readmsg2->text().startsWith(QStringLiteral("ﾎﾟｰﾄ切断: COM1 (/dev/ttyUSB7)")))
        << window.Text_readmsg2->text().toStdString();
    EXPECT_FALSE(window.Text_readmsg2->text().contains(QStringLiteral("通信異常")));
    // Which blocks are there is not known yet: none is reported as out of contact.
    EXPECT_TRUE(contactEntries.empty());

    // Plugged in again: the probe answers, the start-up read runs again to its end, its
    // progress seen in the status bar as it rises.
    std::vector<int> progressSeen;
    link->override = [&](const Request&) -> QString {
        if (window.engine().state() == PollEngine::State::StartupRead && window.ReadProgress->isVisible())
            progressSeen.push_back(window.ReadProgress->value());
        return QStringLiteral("\x01");
    };
    link->openable = true;
    clock.ms += 1000;
    window.engine().Timer4_Timer();
    EXPECT_FALSE(window.engine().PortLost);
    window.engine().Timer4_Timer();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(window.engine().state(), PollEngine::State::Polling);
    EXPECT_EQ(d.BlockAbsent[0], 0);
    EXPECT_EQ(d.BlockAbsent[1], 0);
    ASSERT_FALSE(progressSeen.empty());
    EXPECT_LT(progressSeen.front(), 10);
    EXPECT_GE(progressSeen.back(), 50) << "two blocks of two: half the read is done before the second";
    EXPECT_FALSE(window.ReadProgress->isVisible()) << "gone once the read is done";
    qunsetenv("TESMARCOMM_COM1");
}
