// Frame and checksum vectors, and cutting data fields out of replies.
#include "protocol/Framing.h"
#include "ISTDComm.h"
#include "PtyPeer.h"
#include "ReplyCollector.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<ISTDComm> NewLink() { return std::unique_ptr<ISTDComm>(TesmarCreateObject(TesmarIds::Class)); }

QString Reply(char cmdType, const QByteArray& data) {
    return QString::fromLatin1(MakeReply('\x06', ' ', cmdType, "0080", data));
}

}  // namespace

TEST(Framing, ChecksumVectors) {
    EXPECT_EQ(Framing::Checksum(u"abc"), QStringLiteral("DA"));
    // Sum 0x100 -> 0x00 needs the leading zero; sum 0xFF -> 0x01.
    EXPECT_EQ(Framing::Checksum(u"\u0080\u0080"), QStringLiteral("00"));
    EXPECT_EQ(Framing::Checksum(u"\u00FF"), QStringLiteral("01"));
    EXPECT_EQ(Framing::Checksum(u""), QStringLiteral("00"));
}

TEST(Framing, ReadRequestForBlock0) {
    const QString frame = Framing::BuildFrame(u" ", u" ", u"\"", u"0080", u"");
    EXPECT_EQ(frame.toLatin1(), QByteArray("\x02\x20\x20\x22" "0080" "D6\x03"));
}

TEST(Framing, ReplyChecksumAndShortReplies) {
    const QString good = Reply('"', TwentyFields());
    EXPECT_EQ(ReplyCollector::Checked(good), good);
    QString bad = good;
    bad[bad.size() - 2] = bad[bad.size() - 2] == u'0' ? u'1' : u'0';
    EXPECT_EQ(ReplyCollector::Checked(bad), QString(QChar(Framing::ESC)));
    // Either digit wrong is a corrupted reply, and so are the two digits swapped.
    QString badHigh = good;
    badHigh[badHigh.size() - 3] = badHigh[badHigh.size() - 3] == u'0' ? u'1' : u'0';
    EXPECT_EQ(ReplyCollector::Checked(badHigh), QString(QChar(Framing::ESC)));
    const QString sum = Framing::Checksum(QStringView(good).mid(1, good.size() - 4));
    if (sum[0] != sum[1]) {
        QString swapped = good;
        swapped[swapped.size() - 3] = sum[1];
        swapped[swapped.size() - 2] = sum[0];
        EXPECT_EQ(ReplyCollector::Checked(swapped), QString(QChar(Framing::ESC)));
    }
    // ACK ETX and ACK x ETX leave no checksum: counted as checksum failures.
    EXPECT_EQ(ReplyCollector::Checked(QStringLiteral("\x06\x03")), QString(QChar(Framing::ESC)));
    EXPECT_EQ(ReplyCollector::Checked(QStringLiteral("\x06x\x03")), QString(QChar(Framing::ESC)));
}

TEST(ReplyData, ReadReplyOfTwentyFields) {
    auto link = NewLink();
    const QString reply = Reply('"', TwentyFields());
    ASSERT_EQ(reply.size(), 91);
    EXPECT_EQ(link->isDataNum(reply), 20);
    EXPECT_EQ(link->GetNData(reply, 1), reply.mid(8, 4));
    EXPECT_EQ(link->GetNData(reply, 1), QStringLiteral("0001"));
    EXPECT_EQ(link->GetNData(reply, 20), reply.mid(84, 4));
    EXPECT_EQ(link->GetNData(reply, 20), QStringLiteral("0014"));
    EXPECT_EQ(link->GetNData(reply, 21), QString());
    EXPECT_EQ(link->GetNData(reply, 0), QString::fromLatin1(TwentyFields()));
}

TEST(ReplyData, ShortRepliesHaveNoFields) {
    auto link = NewLink();
    const QString fourteen = Reply('"', QByteArray("123"));
    ASSERT_EQ(fourteen.size(), 14);
    for (qint16 n = 0; n <= 21; ++n) EXPECT_EQ(link->GetNData(fourteen, n), QString()) << n;
    EXPECT_EQ(link->isDataNum(fourteen), 0);
    EXPECT_EQ(link->isDataNum(QString()), 0);
    EXPECT_EQ(link->GetNData(QString(), 1), QString());
}

TEST(ReplyData, FieldWidthFollowsCommandType) {
    auto link = NewLink();
    const QByteArray data("ABCDEFGH12345678");
    const QString wide = Reply('!', data);
    EXPECT_EQ(link->isDataNum(wide), 2);
    EXPECT_EQ(link->GetNData(wide, 1), QStringLiteral("ABCDEFGH"));
    EXPECT_EQ(link->GetNData(wide, 2), QStringLiteral("12345678"));
    EXPECT_EQ(link->GetNData(wide, 3), QString());

    for (char type : {' ', '"', '`', 'a', 'r'}) EXPECT_EQ(link->isDataNum(Reply(type, data)), 4) << type;
    EXPECT_EQ(link->isDataNum(Reply('#', data)), 2);
    // Unknown type: no fields, but the whole data part is still there.
    const QString unknown = Reply('R', data);
    EXPECT_EQ(link->isDataNum(unknown), 0);
    EXPECT_EQ(link->GetNData(unknown, 1), QString());
    EXPECT_EQ(link->GetNData(unknown, 0), QString::fromLatin1(data));
    // Data not a multiple of the width: no count, whole fields still cut.
    const QString ragged = Reply('"', QByteArray("123456"));
    EXPECT_EQ(link->isDataNum(ragged), 0);
    EXPECT_EQ(link->GetNData(ragged, 1), QStringLiteral("1234"));
    EXPECT_EQ(link->GetNData(ragged, 2), QString());
}
