// A reply already waiting in the device is input: a wait for input ends at once with it,
// rather than answering as a port with nothing to read would.
#include "FrmComm.h"
#include "PtyPeer.h"

#include <gtest/gtest.h>
#include <poll.h>

namespace {

TEST(SerialPortInput, AWaitEndsAtOnceWithAReplyWaitingOnThePort) {
    PtyPeer peer;
    FrmComm port;
    ASSERT_TRUE(port.Open(peer.SlavePath())) << port.LastFailure().detail.toStdString();
    EXPECT_FALSE(port.WaitForInput(0)) << "nothing sent yet";
    const QByteArray reply = MakeReply('\x06', ' ', 'R', "PV", "0123");
    peer.Send(reply);
    // The device holds it now; nothing has read the port yet.
    pollfd p{int(port.CommID()), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_TRUE(port.WaitForInput(1000));
    EXPECT_EQ(port.Input().toLatin1(), reply);
}

}  // namespace
