// The older build TesmarComm, loaded as its own library: its own identity, and an exchange
// that always lets events run while it waits.
#include "protocol/Framing.h"
#include "ISTDComm.h"
#include "PtyPeer.h"

#include <QLibrary>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr char kOlderClass[] = "{D6339810-4A3C-11D3-954B-0000B43794C6}";
using Factory = ISTDComm* (*)(const char*);

// Both builds export the same factory name, so the older one is loaded by path.
Factory OlderFactory() {
    static QLibrary library(QStringLiteral(TESMARCOMM_OLDER_PATH));
    return reinterpret_cast<Factory>(library.resolve("TesmarCreateObject"));
}

}  // namespace

TEST(OlderBuild, FactoryAnswersOnlyItsOwnIdentity) {
    const Factory create = OlderFactory();
    ASSERT_NE(create, nullptr);
    std::unique_ptr<ISTDComm> made(create(kOlderClass));
    EXPECT_TRUE(made);
    EXPECT_EQ(create(TesmarIds::Class), nullptr);
    EXPECT_EQ(create("{D633980F-4A3C-11D3-954B-0000B43794C6}"), nullptr);
    EXPECT_EQ(TesmarCreateObject(kOlderClass), nullptr) << "TesmarComm2 refuses the older identity";
}

TEST(OlderBuild, ExchangeYieldsWhileWaiting) {
    const Factory create = OlderFactory();
    ASSERT_NE(create, nullptr);
    PtyPeer peer;
    const QByteArray reply = MakeReply('\x06', ' ', '"', "0080", TwentyFields());
    peer.Answer({{{100, reply}}});
    qputenv("TESMARCOMM_COM1", peer.SlavePath().toLocal8Bit());
    std::unique_ptr<ISTDComm> link(create(kOlderClass));
    ASSERT_TRUE(link);
    link->setTimeOut(400);
    ASSERT_TRUE(link->PortOpen());

    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    EXPECT_EQ(link->RWcomm(QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("\""),
                           QStringLiteral("0080"), QString(), 1),
              QString::fromLatin1(reply));
    EXPECT_TRUE(fired);
    EXPECT_EQ(peer.Received(), QByteArray("\x02  \"0080D6\x03"));
    link->PortClose();
    qunsetenv("TESMARCOMM_COM1");
}
