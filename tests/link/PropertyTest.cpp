// Settings, their checks and numbered errors, and what an open port looks like on the line.
#include "LineSettingsProbe.h"
#include "LinkFixture.h"

#include <QProcess>

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString kPortText = QStringLiteral("このプロパティにはCOM1～COM8までの値を代入してください。");
const QString kFlowText = QStringLiteral(
    "このプロパティには None, Xon/Xoff, RTS/CTS, RTSXonXoff 中の一つを代入してください");
const QString kOpenText = QStringLiteral("通信コントロールの接続中に原因不明エラーが発生しました。");

std::unique_ptr<ISTDComm> NewLink() { return std::unique_ptr<ISTDComm>(TesmarCreateObject(TesmarIds::Class)); }

// Runs f, which must raise the numbered error.
template <class F> void ExpectError(int number, const QString& text, F f) {
    try {
        f();
        ADD_FAILURE() << "no error " << number;
    } catch (const STDCommError& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.text(), text);
    }
}

termios LineOf(const PtyPeer& peer) {
    termios tio {};
    ::tcgetattr(peer.MasterFd(), &tio);  // a pty master reports its slave's settings
    return tio;
}

QString TtyOf(ISTDComm& link) {
    const char* name = ::ttyname(link.CommID());
    return name ? QString::fromLocal8Bit(name) : QString();
}

}  // namespace

TEST(Properties, Defaults) {
    auto link = NewLink();
    EXPECT_EQ(link->Port(), QStringLiteral("COM1"));
    EXPECT_EQ(link->BaudRate(), QStringLiteral("9600"));
    EXPECT_EQ(link->DataBit(), QStringLiteral("7"));
    EXPECT_EQ(link->Pality(), QStringLiteral("EVEN"));
    EXPECT_EQ(link->StopBit(), QStringLiteral("1"));
    EXPECT_EQ(link->Flow(), QStringLiteral("NONE"));
    EXPECT_EQ(link->InputBufSize(), 1024);
    EXPECT_EQ(link->OutputBufSize(), 512);
    EXPECT_EQ(link->RThreshold(), 4);
    EXPECT_FALSE(link->EventsCheck());
    EXPECT_FALSE(link->BSuccessFlag());
    EXPECT_EQ(link->PortDevice(), QString());
    EXPECT_EQ(link->OutputBuffer(), QString());
    EXPECT_EQ(link->RecvError(), QString());
    EXPECT_EQ(link->CommID(), -1);
}

TEST(Properties, PortNameCheck) {
    auto link = NewLink();
    link->setPort(QStringLiteral("com3"));
    EXPECT_EQ(link->Port(), QStringLiteral("COM3"));
    for (const char* bad : {"COM9", "COM0", "COM10", "LPT1", "", "COM", " COM1", "CON1"})
        ExpectError(30001, kPortText, [&] { link->setPort(QString::fromLatin1(bad)); });
    EXPECT_EQ(link->Port(), QStringLiteral("COM3")) << "a refused name leaves the port number";
    link->setPort(QStringLiteral("COM8"));
    EXPECT_EQ(link->Port(), QStringLiteral("COM8"));
}

TEST(Properties, HandshakeCheck) {
    auto link = NewLink();
    for (const char* name : {"XON/XOFF", "RTS/CTS", "BOTH", "NONE"}) {
        link->setFlow(QString::fromLatin1(name));
        EXPECT_EQ(link->Flow(), QString::fromLatin1(name));
    }
    link->setFlow(QStringLiteral("RTS/CTS"));
    for (const char* bad : {"xon/xoff", "none", "RTSXonXoff", ""})
        ExpectError(30006, kFlowText, [&] { link->setFlow(QString::fromLatin1(bad)); });
    EXPECT_EQ(link->Flow(), QStringLiteral("RTS/CTS")) << "a refused name leaves the handshake";
}

TEST(Properties, SixteenBitValuesOfThePortLayer) {
    auto link = NewLink();
    link->setInputBufSize(4096);
    link->setOutputBufSize(2048);
    link->setRThreshold(1);
    EXPECT_EQ(link->InputBufSize(), 4096);
    EXPECT_EQ(link->OutputBufSize(), 2048);
    EXPECT_EQ(link->RThreshold(), 1);
    // Out of range values saturate instead of wrapping into nonsense sizes.
    link->setInputBufSize(70000);
    link->setOutputBufSize(-5);
    EXPECT_EQ(link->InputBufSize(), 32767);
    EXPECT_EQ(link->OutputBufSize(), 0);
}

TEST(Factory, CreatesOnlyForItsClassIdentity) {
    std::unique_ptr<ISTDComm> made(TesmarCreateObject(TesmarIds::Class));
    EXPECT_TRUE(made);
    std::unique_ptr<ISTDComm> lower(TesmarCreateObject(QByteArray(TesmarIds::Class).toLower().constData()));
    EXPECT_TRUE(lower);
    for (const char* other : {TesmarIds::Interface, TesmarIds::TypeLibrary, TesmarIds::EventInterface,
                              "{D6339810-4A3C-11D3-954B-0000B43794C6}", "", "STDComm"})
        EXPECT_EQ(TesmarCreateObject(other), nullptr) << other;
    EXPECT_EQ(TesmarCreateObject(nullptr), nullptr);
}

using PortOpenOnPty = LinkOnPty;

TEST_F(PortOpenOnPty, DefaultsOpenAt9600OneStopWithoutHandshake) {
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(TtyOf(*link), peer.SlavePath());
    const termios tio = LineOf(peer);
    // A pty driver forces 8 bits without parity, so only the parity sense is visible.
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B9600));
    EXPECT_FALSE(tio.c_cflag & PARODD);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_FALSE(tio.c_iflag & IXON);
}

// The line format as the serial layer asked the driver for it (a pseudo-terminal itself
// forgets the character size and the parity).
static termios Requested(ISTDComm& link) {
    const std::optional<termios> tio = LineSettingsProbe::LastRequested(link.CommID());
    EXPECT_TRUE(tio) << "no line settings were requested for the open port";
    return tio.value_or(termios{});
}

TEST_F(PortOpenOnPty, DefaultLineIsSevenBitsEvenParityOneStopNoHandshake) {
    ASSERT_TRUE(link->PortOpen());
    const termios tio = Requested(*link);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS7));
    EXPECT_TRUE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & PARODD);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(::cfgetispeed(&tio), speed_t(B9600));
}

TEST_F(PortOpenOnPty, EveryLineSettingReachesTheDriver) {
    link->setBaudRate(QStringLiteral("19200"));
    link->setDataBit(QStringLiteral("8"));
    link->setPality(QStringLiteral("Odd"));
    link->setStopBit(QStringLiteral("2"));
    link->setFlow(QStringLiteral("XON/XOFF"));
    ASSERT_TRUE(link->PortOpen());
    termios tio = Requested(*link);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(tio.c_cflag & PARENB);
    EXPECT_TRUE(tio.c_cflag & PARODD);
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_iflag & IXON);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B19200));

    link->setBaudRate(QStringLiteral("2400"));
    link->setDataBit(QStringLiteral("7"));
    link->setPality(QStringLiteral("none"));
    link->setStopBit(QStringLiteral("1"));
    link->setFlow(QStringLiteral("RTS/CTS"));
    ASSERT_TRUE(link->PortOpen());
    tio = Requested(*link);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS7));
    EXPECT_FALSE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_FALSE(tio.c_iflag & IXON);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B2400));

    link->setBaudRate(QStringLiteral("4800"));
    link->setPality(QStringLiteral("EVEN"));
    link->setFlow(QStringLiteral("BOTH"));
    ASSERT_TRUE(link->PortOpen());
    tio = Requested(*link);
    EXPECT_TRUE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & PARODD);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_iflag & IXON);
    EXPECT_TRUE(tio.c_iflag & IXOFF);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B4800));
}

TEST_F(PortOpenOnPty, AnOpenPortCountsOnlyWithClearToSend) {
    // A port whose CTS line is low is closed again and PortOpen answers False.
    LineSettingsProbe::ReportModemLines(TIOCM_DSR | TIOCM_CAR);
    EXPECT_FALSE(link->PortOpen());
    EXPECT_EQ(link->CommID(), -1);
    EXPECT_THROW(ReadBlock0("0080"), STDCommError);
    // With CTS asserted it opens.
    LineSettingsProbe::ReportModemLines(TIOCM_CTS);
    EXPECT_TRUE(link->PortOpen());
    EXPECT_NE(link->CommID(), -1);
    LineSettingsProbe::Real();
    // A driver without modem lines (this pseudo-terminal) counts as CTS asserted.
    EXPECT_TRUE(link->PortOpen());
    EXPECT_NE(link->CommID(), -1);
}

// The box a widget host gets for a port whose CTS is low: shown without waiting, once per
// loss of CTS. That needs a QApplication; this program is a console host.
TEST(CtsLowInAWidgetHost, TheBoxComesOncePerLossAndDoesNotWait) {
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral(TEST_LINK_CTS_PATH), {});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
}

TEST_F(PortOpenOnPty, OtherSettingsReachTheLine) {
    link->setPality(QStringLiteral("odd"));
    link->setBaudRate(QStringLiteral("19200"));
    link->setDataBit(QStringLiteral("8"));
    link->setStopBit(QStringLiteral("2"));
    link->setFlow(QStringLiteral("RTS/CTS"));
    ASSERT_TRUE(link->PortOpen());
    termios tio = LineOf(peer);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B19200));
    EXPECT_TRUE(tio.c_cflag & PARODD);
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_FALSE(tio.c_iflag & IXON);

    link->setPality(QStringLiteral("None"));
    link->setFlow(QStringLiteral("XON/XOFF"));
    ASSERT_TRUE(link->PortOpen()) << "opening again closes first";
    tio = LineOf(peer);
    EXPECT_FALSE(tio.c_cflag & PARODD);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_iflag & IXON);

    link->setFlow(QStringLiteral("BOTH"));
    ASSERT_TRUE(link->PortOpen());
    tio = LineOf(peer);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_iflag & IXON);
    EXPECT_EQ(link->Flow(), QStringLiteral("BOTH"));
}

TEST_F(PortOpenOnPty, InvalidStoredSettingsFailWith30019AndLeaveThePortClosed) {
    struct Case {
        void (ISTDComm::*set)(const QString&);
        const char* bad;
        const char* good;
    };
    const Case cases[] = {{&ISTDComm::setBaudRate, "38400", "19200"},
                          {&ISTDComm::setPality, "MARK", "odd"},
                          {&ISTDComm::setDataBit, "9", "8"},
                          {&ISTDComm::setStopBit, "1.5", "2"}};
    for (const Case& c : cases) {
        (link.get()->*c.set)(QString::fromLatin1(c.bad));
        ExpectError(30019, kOpenText, [&] { link->PortOpen(); });
        EXPECT_EQ(link->CommID(), -1) << c.bad;
        // The same port opens once the value is valid again.
        (link.get()->*c.set)(QString::fromLatin1(c.good));
        EXPECT_TRUE(link->PortOpen()) << c.good;
    }
    // A refused port name stays stored, so opening fails too; the open port is closed first.
    EXPECT_THROW(link->setPort(QStringLiteral("COM9")), STDCommError);
    ExpectError(30019, kOpenText, [&] { link->PortOpen(); });
    EXPECT_EQ(link->CommID(), -1);
}

TEST_F(PortOpenOnPty, MissingDeviceFailsWith30019) {
    qputenv("TESMARCOMM_COM1", "/nonexistent/tty");
    ExpectError(30019, kOpenText, [&] { link->PortOpen(); });
    EXPECT_EQ(link->CommID(), -1);
}

TEST_F(PortOpenOnPty, PortMapping) {
    PtyPeer second;
    qputenv("TESMARCOMM_COM2", second.SlavePath().toLocal8Bit());
    link->setPort(QStringLiteral("COM2"));
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(link->Port(), QStringLiteral("COM2"));
    EXPECT_EQ(TtyOf(*link), second.SlavePath());

    // The environment wins over PortDevice; PortDevice serves any port without one.
    link->setPortDevice(second.SlavePath());
    link->setPort(QStringLiteral("COM1"));
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(TtyOf(*link), peer.SlavePath());
    link->setPort(QStringLiteral("COM5"));
    ASSERT_TRUE(link->PortOpen());
    EXPECT_EQ(TtyOf(*link), second.SlavePath());
    EXPECT_EQ(link->Port(), QStringLiteral("COM5"));
    link->PortClose();
    qunsetenv("TESMARCOMM_COM2");
}
