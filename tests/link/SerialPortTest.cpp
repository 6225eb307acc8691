// The serial-port layer on its own: how it reads the line settings text and the handshake
// code, what it asks the driver for, and how it answers when the driver refuses or the
// port is closed. (The link libraries export only their factory; this program links the
// layer's own library.)
#include "FrmComm.h"
#include "LineSettingsProbe.h"
#include "PtyPeer.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

class SerialPortOnPty : public ::testing::Test {
protected:
    void TearDown() override {
        LineSettingsProbe::RefuseRequests(nullptr);
        LineSettingsProbe::Real();
        port.Close();
    }

    void Open() {
        ASSERT_TRUE(port.Open(peer.SlavePath())) << port.LastFailure().detail.toStdString();
    }

    termios Requested() const {
        const std::optional<termios> tio = LineSettingsProbe::LastRequested(int(port.CommID()));
        EXPECT_TRUE(tio) << "nothing was requested for the open port";
        return tio.value_or(termios{});
    }

    PtyPeer peer;
    FrmComm port;
};

TEST(SerialPort, SettingsTextIsSpeedParityDataBitsStopBits) {
    const char* accepted[] = {"9600,E,7,1", "19200,n,8,2", " 4800 , o , 5 , 1 ", "1200,M,6,1",
                              "2400,S,8,1", "300,N,8,1"};
    const char* refused[] = {"0,N,8,1",     "-9600,N,8,1", "abc,N,8,1",    "9600,X,8,1",
                             "9600,N,4,1",  "9600,N,9,1",  "9600,N,x,1",   "9600,N,8,3",
                             "9600,N,8",    "9600,N,8,1,1", "",            "9600,,8,1"};
    for (const char* text : accepted) {
        FrmComm port;
        EXPECT_TRUE(port.setSettings(QString::fromLatin1(text))) << text;
        EXPECT_EQ(port.Settings(), QString::fromLatin1(text));
    }
    for (const char* text : refused) {
        FrmComm port;
        EXPECT_FALSE(port.setSettings(QString::fromLatin1(text))) << text;
        EXPECT_EQ(port.Settings(), QStringLiteral("9600,N,8,1")) << "a refused text is not kept";
    }
}

TEST(SerialPort, OnlyPseudoTerminalsCountAsSuch) {
    for (unsigned int major : {3u, 136u, 139u, 143u})
        EXPECT_TRUE(IsPseudoTerminalMajor(major)) << major;
    for (unsigned int major : {0u, 2u, 4u, 135u, 144u, 188u})  // 4: ttyS, 188: ttyUSB
        EXPECT_FALSE(IsPseudoTerminalMajor(major)) << major;

    PtyPeer peer;
    EXPECT_TRUE(IsPseudoTerminal(peer.SlavePath()));
    EXPECT_FALSE(IsPseudoTerminal(QStringLiteral("/dev/null")));  // a character device
    EXPECT_FALSE(IsPseudoTerminal(QStringLiteral(TEST_LINK_SOURCE_FILE)));
    EXPECT_FALSE(IsPseudoTerminal(QStringLiteral("/nonexistent/tty")));
}

TEST(SerialPort, HandshakeCodesAreZeroToThree) {
    FrmComm port;
    for (int code : {3, 2, 1, 0}) {
        EXPECT_TRUE(port.setHandshaking(code)) << code;
        EXPECT_EQ(port.Handshaking(), code);
    }
    for (int code : {-1, 4, 100}) {
        EXPECT_FALSE(port.setHandshaking(code)) << code;
        EXPECT_EQ(port.Handshaking(), 0) << code;
    }
}

TEST(SerialPort, AClosedPortNeitherSendsNorWaits) {
    FrmComm port;
    EXPECT_FALSE(port.PortOpen());
    EXPECT_FALSE(port.Output(QStringLiteral("X")));
    EXPECT_FALSE(port.WaitForInput(0));
    EXPECT_EQ(port.Input(), QString());
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_EQ(port.OutBufferCount(), 0);
    EXPECT_FALSE(port.CTSHolding());
    EXPECT_EQ(port.CommID(), -1);
    EXPECT_TRUE(port.WaitForOutputDrained(0));
    EXPECT_FALSE(port.CloseIfLost());
}

TEST_F(SerialPortOnPty, MarkSpaceAndShortCharactersReachTheDriver) {
    ASSERT_TRUE(port.setSettings(QStringLiteral("1200,M,6,2")));
    Open();
    termios tio = Requested();
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS6));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | PARODD | CMSPAR));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B1200));

    // On an open port a new text applies at once.
    ASSERT_TRUE(port.setSettings(QStringLiteral("2400,S,5,1")));
    tio = Requested();
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS5));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | CMSPAR));
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B2400));

    ASSERT_TRUE(port.setSettings(QStringLiteral("4800,E,7,1")));
    tio = Requested();
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS7));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB));
}

// Mark or space parity left on the device by another program is not kept under even parity.
TEST_F(SerialPortOnPty, EvenParityClearsAStickParityLeftOnTheDevice) {
    {
        const int fd = ::open(peer.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios left {};
        ASSERT_EQ(::tcgetattr(fd, &left), 0);
        left.c_cflag |= PARENB | PARODD | CMSPAR;
        ASSERT_EQ(::tcsetattr(fd, TCSANOW, &left), 0);
        ::close(fd);
    }
    ASSERT_TRUE(port.setSettings(QStringLiteral("9600,E,7,1")));
    // A driver that refuses to drop the stick flag fails the open: the line would not
    // carry even parity.
    LineSettingsProbe::RefuseRequests([](const termios& t) { return (t.c_cflag & CMSPAR) == 0; });
    EXPECT_FALSE(port.Open(peer.SlavePath()));
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(port.LastFailure().kind, OpenFailure::SettingsRefused);
    LineSettingsProbe::RefuseRequests(nullptr);
    Open();
    termios tio {};
    ASSERT_EQ(::tcgetattr(int(port.CommID()), &tio), 0);
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB));
}

// A device that is no terminal at all is refused, and the line settings stay as they were
// for the next open.
TEST_F(SerialPortOnPty, ADeviceThatIsNoTerminalFailsAndLeavesTheSettings) {
    ASSERT_TRUE(port.setSettings(QStringLiteral("9600,E,7,1")));
    EXPECT_FALSE(port.Open(QStringLiteral("/dev/null")));
    EXPECT_FALSE(port.PortOpen());
    EXPECT_NE(port.LastFailure().kind, OpenFailure::None);
    Open();
    const termios tio = Requested();
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS7));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), tcflag_t(PARENB));
}

// Whichever part of the text the driver refuses, the whole text is answered false.
TEST_F(SerialPortOnPty, ASettingTheOpenPortRefusesAnswersFalse) {
    Open();
    LineSettingsProbe::RefuseRequests([](const termios& t) { return (t.c_cflag & PARODD) != 0; });
    EXPECT_FALSE(port.setSettings(QStringLiteral("9600,O,8,1")));
    LineSettingsProbe::RefuseRequests([](const termios& t) { return (t.c_cflag & CSIZE) == CS6; });
    EXPECT_FALSE(port.setSettings(QStringLiteral("9600,N,6,1")));
    LineSettingsProbe::RefuseRequests([](const termios& t) { return (t.c_cflag & CSTOPB) != 0; });
    EXPECT_FALSE(port.setSettings(QStringLiteral("9600,N,8,2")));
    LineSettingsProbe::RefuseRequests(nullptr);
    EXPECT_TRUE(port.setSettings(QStringLiteral("9600,N,8,2")));
    EXPECT_TRUE(port.PortOpen());
}

// The read minimum changes twice a reply from a copy of the settings; no change of the
// line settings or the handshake, open or closed, may be written back over by it.
TEST_F(SerialPortOnPty, TheReadMinimumKeepsTheLatestLineSettings) {
    ASSERT_TRUE(port.setSettings(QStringLiteral("9600,E,7,1")));
    Open();
    port.WaitForInput(0, 11);
    EXPECT_EQ(Requested().c_cc[VMIN], 11);
    ASSERT_TRUE(port.setSettings(QStringLiteral("19200,N,8,2")));
    port.WaitForInput(0, 20);
    termios tio = Requested();
    EXPECT_EQ(tio.c_cc[VMIN], 20);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B19200));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    ASSERT_TRUE(port.setHandshaking(2));
    port.WaitForInput(0, 25);
    EXPECT_EQ(Requested().c_cc[VMIN], 25);
    EXPECT_TRUE(Requested().c_cflag & CRTSCTS);

    port.Close();
    ASSERT_TRUE(port.setSettings(QStringLiteral("4800,N,8,1")));
    Open();
    port.WaitForInput(0, 30);
    tio = Requested();
    EXPECT_EQ(tio.c_cc[VMIN], 30);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B4800));
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
}

// "Both" is RTS/CTS with XON/XOFF added by hand; a driver that refuses the pair refuses
// the code, and an open with that code fails and leaves the port closed.
TEST_F(SerialPortOnPty, BothHandshakesRefusedByTheDriverFailTheCodeAndTheOpen) {
    const auto both = [](const termios& t) { return (t.c_cflag & CRTSCTS) && (t.c_iflag & IXON); };
    Open();
    ASSERT_TRUE(port.setHandshaking(3));
    termios tio = Requested();
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));

    ASSERT_TRUE(port.setHandshaking(0));
    LineSettingsProbe::RefuseRequests(both);
    EXPECT_FALSE(port.setHandshaking(3));
    EXPECT_TRUE(port.setHandshaking(2)) << "RTS/CTS alone is carried";
    LineSettingsProbe::RefuseRequests([](const termios& t) { return (t.c_cflag & CRTSCTS) != 0; });
    EXPECT_FALSE(port.setHandshaking(2)) << "a port without RTS/CTS refuses it";
    EXPECT_TRUE(port.setHandshaking(1));
    LineSettingsProbe::RefuseRequests(both);

    port.Close();
    ASSERT_TRUE(port.setHandshaking(3)) << "a closed port keeps the code for the next open";
    EXPECT_FALSE(port.Open(peer.SlavePath()));
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(port.LastFailure().kind, OpenFailure::SettingsRefused);
}

TEST_F(SerialPortOnPty, OutputReachesThePeerAndDrains) {
    Open();
    EXPECT_TRUE(port.WaitForOutputDrained(0)) << "nothing sent yet";
    ASSERT_TRUE(port.Output(QStringLiteral("@00R\x03")));
    EXPECT_TRUE(port.WaitForOutputDrained(1000));
    EXPECT_EQ(port.OutBufferCount(), 0);
    EXPECT_EQ(peer.ReceivedWithin(200), QByteArray("@00R\x03"));
    EXPECT_FALSE(port.CloseIfLost()) << "a healthy port stays open";
    EXPECT_TRUE(port.PortOpen());
    // Opening it again is no failure: the port carries on as it was.
    const qint64 id = port.CommID();
    EXPECT_TRUE(port.Open(peer.SlavePath()));
    EXPECT_EQ(port.CommID(), id);
}

// Bytes still in the driver's queue have not left: the port counts them as waiting and
// does not call its output drained until the driver's queue is empty too.
TEST_F(SerialPortOnPty, BytesInTheDriversQueueAreNotYetSent) {
    Open();
    LineSettingsProbe::ReportOutputQueue(7);
    EXPECT_EQ(port.OutBufferCount(), 7);
    EXPECT_FALSE(port.WaitForOutputDrained(30));
    LineSettingsProbe::Real();
    EXPECT_EQ(port.OutBufferCount(), 0);
    EXPECT_TRUE(port.WaitForOutputDrained(30));
}

// A hung-up line reports input yet hands over none: a wait says nothing came, leaves the
// port open for its owner to judge, and pauses rather than coming back at once, so that
// the exchange's loop around it does not spin.
TEST_F(SerialPortOnPty, AHungUpLineGivesNothingAndDoesNotSpin) {
    Open();
    const int endless = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(endless, 0);
    // The port's handle now reads as a hung-up terminal does: ready, and at its end.
    ASSERT_EQ(::dup2(endless, int(port.CommID())), int(port.CommID()));
    ::close(endless);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(port.WaitForInput(200, 11));
    EXPECT_GE(clock.elapsed(), 5) << "came back at once";
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_TRUE(port.PortOpen());
}

// A line that takes nothing: the far end of the terminal is never read, so what the port
// sends stays queued. Waiting for it to drain, or for a reply, ends in false.
TEST(SerialPortOnAStuckLine, WaitsEndInFalseWhenTheTimeIsUp) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    FrmComm port;
    ASSERT_TRUE(port.Open(QString::fromLocal8Bit(::ptsname(master)))) << port.LastFailure().detail.toStdString();
    ASSERT_TRUE(port.Output(QString(256 * 1024, QLatin1Char('x'))));
    EXPECT_FALSE(port.WaitForOutputDrained(50));
    EXPECT_GT(port.OutBufferCount(), 0);
    EXPECT_FALSE(port.WaitForInput(20)) << "nothing was sent to it";
    port.Close();
    ::close(master);
}

}  // namespace
