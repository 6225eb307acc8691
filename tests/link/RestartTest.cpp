// Opening a line again after the program before us died with the port open (SIGKILL, a
// crash): the line side stayed up and kept what that program left behind.
#include "LinkFixture.h"
#include "LineSettingsProbe.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray ValidRead() { return MakeReply('\x06', ' ', '"', "0080", TwentyFields()); }

// The line side of the pseudo-terminal holds its slave open, as the simulator (and a line
// that never goes away) does; without it the pty would forget everything at the last close.
class LineKeptUp : public LinkOnPty {
protected:
    void SetUp() override {
        LinkOnPty::SetUp();
        hold = ::open(peer.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(hold, 0);
    }
    void TearDown() override {
        LinkOnPty::TearDown();
        if (hold >= 0) ::close(hold);
    }
    int hold = -1;
};

}  // namespace

TEST_F(LineKeptUp, OpensAndTalksWhenTheLastProgramLeftItsSettingsBehind) {
    ASSERT_TRUE(link->PortOpen());
    termios left {};
    ASSERT_EQ(::tcgetattr(hold, &left), 0);
    // A clean close gives the terminal its old settings back; a killed program cannot.
    link->PortClose();
    ASSERT_EQ(::tcsetattr(hold, TCSANOW, &left), 0);

    peer.Answer({{{0, ValidRead()}}});
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
    // The settings asked for are still what the link reports and uses at the next open.
    link->PortClose();
    ::tcsetattr(hold, TCSANOW, &left);
    EXPECT_TRUE(link->PortOpen());
}

TEST_F(LineKeptUp, AnOpenPortLeavesNoExclusiveFlagThatACrashWouldKeep) {
#ifdef TIOCGEXCL
    ASSERT_TRUE(link->PortOpen());
    int exclusive = -1;
    ASSERT_EQ(::ioctl(hold, TIOCGEXCL, &exclusive), 0);
    // Set, it would outlive a crash and refuse every later open by a non-root user (EBUSY).
    EXPECT_EQ(exclusive, 0);
#else
    GTEST_SKIP() << "no TIOCGEXCL on this system";
#endif
}

TEST_F(LineKeptUp, AReplyWaitingFromBeforeTheOpenIsNotTakenForTheFirstAnswer) {
    // The killed program's last request was answered after it died.
    peer.Send(MakeReply('\x06', ' ', '"', "0083", TwentyFields()));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    peer.Answer({{{0, ValidRead()}}});
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(ReadBlock0("0080"), Latin1(ValidRead()));
}

// As an ordinary user (root is exempt): QSerialPort sets the exclusive flag before it
// asks for the settings and leaves it set when they are refused, which refused the 8N1
// retry and every later open by the same user (EBUSY) until the line side closed.
TEST_F(LineKeptUp, AnOrdinaryUserOpensAgainAfterSettingsWereRefusedAndHearsWhyItFailed) {
    if (RanAsOrdinaryUser()) return;
    // 7E1 refused, as a pseudo-terminal refuses it after a crash: 8N1 is asked next.
    LineSettingsProbe::RefuseRequests([](const termios& t) { return (t.c_cflag & PARENB) != 0; });
    EXPECT_TRUE(link->PortOpen());
    link->PortClose();

    LineSettingsProbe::RefuseRequests([](const termios&) { return true; });
    EXPECT_ANY_THROW(link->PortOpen());
    LineSettingsProbe::RefuseRequests(nullptr);
    EXPECT_EQ(link->LastOpenFailure().kind, OpenFailure::SettingsRefused);
    EXPECT_EQ(link->LastOpenFailure().detail, QStringLiteral("9600bps 7E1"));
    EXPECT_TRUE(link->PortOpen());
    link->PortClose();

    // Another program holds the line exclusively (no lock file names it).
    ASSERT_EQ(::ioctl(hold, TIOCEXCL), 0);
    EXPECT_ANY_THROW(link->PortOpen());
    EXPECT_EQ(link->LastOpenFailure().kind, OpenFailure::Busy);
    ::ioctl(hold, TIOCNXCL);
}
