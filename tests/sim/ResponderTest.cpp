// The line's answers to the monitor's request forms, byte for byte.
#include "LineSetup.h"
#include "Responder.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

using namespace rdxsim;
using namespace simtest;

namespace {

class ResponderTest : public ::testing::Test {
protected:
    ResponderTest() : responder(model, clock) {
        QString error;
        EXPECT_TRUE(BuildLineFromList(model, QStringLiteral("0:mix:pairs=3,5:hc"), &error)) << error.toStdString();
    }
    QByteArray Ask(const QByteArray& frame) { return responder.Respond(frame).reply; }

    LineModel model;
    ManualClock clock;
    Responder responder;
};

TEST_F(ResponderTest, ReadRepliesAreByteExact) {
    // Input types K, K 0.1 degree and Pt100 on pairs 0..2, heater-burnout option fitted.
    EXPECT_EQ(Ask(ReadRequest(0, "00A1")),
              QByteArray("\x06  \"00A1000000010006000100080001000000000000000000000000000000000000"
                         "00000000000000000000BB\x03"));
    EXPECT_EQ(Ask(ReadRequest(0, "00A0")),
              QByteArray("\x06  \"00A0000100000001000000010000000000000000000000000000000000000000"
                         "00000000000000000000CA\x03"));
}

TEST_F(ResponderTest, EveryOneOfTheItemsReadsAsTwentyFields) {
    const char* items[] = {"00A0", "00A1", "0080", "0081", "0082", "0083", "0001", "0002", "0003",
                           "0004", "0005", "0006", "0007", "0008", "0009", "000A", "000B", "000C",
                           "000D", "000E", "000F", "0010", "0011", "0012", "0013", "0014", "0015",
                           "0016", "0017", "0018", "0019", "001A", "001B", "001C", "001D", "001E",
                           "001F", "0020"};
    for (int block : {0, 5}) {
        for (const char* item : items) {
            const QByteArray reply = Ask(ReadRequest(block, item));
            ASSERT_EQ(reply.size(), 91) << item;
            EXPECT_EQ(reply[0], '\x06') << item;
            EXPECT_EQ(reply.mid(1, 7), QByteArray(1, char(0x20 + block)) + " \"" + item);
            EXPECT_TRUE(Framing::ChecksumMatches(QString::fromLatin1(reply))) << item;
            EXPECT_EQ(Framing::isDataNum(QString::fromLatin1(reply)), 20) << item;
        }
    }
    // Factory values of a fresh pair come back through the read.
    EXPECT_EQ(Field(Ask(ReadRequest(5, "0002")), 1), FactoryParams()[PBand]);
    EXPECT_EQ(Field(Ask(ReadRequest(5, "0016")), 20), FactoryParams()[LoopTime]);
}

TEST_F(ResponderTest, WriteStoresTwentyValuesAndAnswersAckWithoutData) {
    Fields values{};
    for (int k = 0; k < 20; ++k) values[k] = qint16(100 + 10 * k);
    EXPECT_EQ(Ask(WriteRequest(5, "0001", values)), QByteArray("\x06% R0001A8\x03"));
    EXPECT_EQ(Ask(ReadRequest(5, "0001")),
              QByteArray("\x06% \"00010064006E00780082008C009600A000AA00B400BE00C800D200DC00E6"
                         "00F000FA0104010E0118012226\x03"));
    // Negative values travel as two's complement.
    values[3] = -2;
    EXPECT_EQ(Ask(WriteRequest(5, "0019", values))[0], '\x06');
    EXPECT_EQ(Field(Ask(ReadRequest(5, "0019")), 4), -2);
}

TEST_F(ResponderTest, RefusesBadRequestsWithNak) {
    // Wrong checksum: the checksum of "  \"0080" is D6, send 00.
    EXPECT_EQ(Ask(QByteArray("\x02  \"008000\x03")), QByteArray("\x15  \"0080D6\x03"));
    // Item codes outside the 38 (and "0040" for reading, and lower case).
    EXPECT_EQ(Ask(Request(5, 0x22, "0021")), QByteArray("\x15% \"0021D6\x03"));
    for (const char* item : {"0040", "00a0", "0000", "00FF"})
        EXPECT_EQ(Ask(ReadRequest(0, item))[0], '\x15') << item;
    // Writes: data not 80 hex digits, measured items, unknown command type.
    EXPECT_EQ(Ask(Request(0, 0x52, "0001", QString(79, u'0')))[0], '\x15');
    EXPECT_EQ(Ask(Request(0, 0x52, "0001", QString(76, u'0') + "00G0"))[0], '\x15');
    EXPECT_EQ(Ask(WriteRequest(0, "0080", Fields{}))[0], '\x15');
    EXPECT_EQ(Ask(Request(0, 0x22, "0001", "0000"))[0], '\x15');
    EXPECT_EQ(Ask(Request(0, 0x21, "0001"))[0], '\x15');
    // A refused write changes nothing.
    EXPECT_EQ(Field(Ask(ReadRequest(0, "0001")), 1), 0);
}

TEST_F(ResponderTest, AbsentOrSilencedBlocksAndForeignAddressesStaySilent) {
    EXPECT_TRUE(Ask(ReadRequest(3, "00A1")).isEmpty());
    EXPECT_TRUE(Ask(QByteArray("\x02  \"008000\x03").replace(1, 1, "#")).isEmpty());  // absent, bad checksum
    EXPECT_TRUE(Ask(ReadRequest(16, "0080")).isEmpty());  // '0' is no block's address
    EXPECT_TRUE(Ask(QByteArray("\x02  \"00\x03")).isEmpty());  // too short to answer
    model.SetBlockSilent(5, true);
    EXPECT_TRUE(Ask(ReadRequest(5, "0080")).isEmpty());
    model.SetBlockSilent(5, false);
    EXPECT_EQ(Ask(ReadRequest(5, "0080")).size(), 91);
}

TEST_F(ResponderTest, FactoryInitialisationResetsOnlyTheTickedPairs) {
    // Every parameter of block 5 off its factory value.
    for (int p = 0; p < ParamCount; ++p) {
        Fields v{};
        v.fill(qint16(FactoryParams()[p] + 7));
        if (p == OutputSwitch || p == ATSwitch) v.fill(0);
        ASSERT_EQ(Ask(WriteRequest(5, ParamCode(p), v))[0], '\x06');
    }
    Ask(ReadRequest(5, "0083"));  // nothing pending

    Fields mask{};
    mask[0] = 1;        // pair 0
    mask[18] = 1;       // pair 9
    mask[3] = 1;        // an even field (1-based) selects nothing
    EXPECT_EQ(Ask(WriteRequest(5, "0040", mask)), QByteArray("\x06% R0040") +
              Framing::Checksum(u"% R0040").toLatin1() + "\x03");

    for (int p = 0; p < ParamCount; ++p) {
        const QByteArray reply = Ask(ReadRequest(5, ParamCode(p)));
        for (int k = 0; k < 20; ++k) {
            const bool reset = k <= 1 || k >= 18;
            const qint16 expected = reset ? FactoryParams()[p]
                                  : (p == OutputSwitch || p == ATSwitch) ? 0 : qint16(FactoryParams()[p] + 7);
            EXPECT_EQ(Field(reply, k + 1), expected) << "item " << ParamCode(p).toStdString() << " channel " << k;
        }
    }
    // The reset pairs report the change once.
    const QByteArray first = Ask(ReadRequest(5, "0083"));
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ((Field(first, k + 1) & StatusBit::Changed) != 0, k <= 1 || k >= 18) << k;
    const QByteArray second = Ask(ReadRequest(5, "0083"));
    for (int k = 0; k < 20; ++k) EXPECT_EQ(Field(second, k + 1) & StatusBit::Changed, 0) << k;
}

}  // namespace
