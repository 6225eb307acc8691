// A quit signal handled while the program starts (the opening form lets the window system
// in before the communicate loop runs) ends the program instead of being forgotten.
#include "FakeLink.h"
#include "app/MainDisp.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

TEST(QuitDuringStart, TheCommunicateLoopDoesNotStartAfterAQuit) {
    RDX_INC d;
    MainDisp w(d);
    w.CreateLinkObject = [](const char*) -> ISTDComm* {
        auto* link = new FakeLink;
        link->present[0] = true;
        return link;
    };
    ASSERT_TRUE(w.Form_Load());
    w.QuitWithoutAsking();  // SIGTERM before communicate
    // Should the loop run anyway, this ends it after a while, and the test fails on time.
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] { d.EndRequested = true; });
    rescue.start(3000);
    QElapsedTimer clock;
    clock.start();
    w.communicate();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(d.EndRequested);
    EXPECT_EQ(w.RDXCom(), nullptr) << "the link object is released";
}
