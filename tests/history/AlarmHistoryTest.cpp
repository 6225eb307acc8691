#include "TestFiles.h"

#include "services/SettingsStore.h"
#include "history/AlarmHistory.h"
#include "history/HistoryFile.h"
#include "ToldMessages.h"
#include "TestClock.h"

#include <QDir>
#include <QStringList>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QString kAlarm1On = QStringLiteral("警報１の状態がONになりました。");
const QString kAlarm1Off = QStringLiteral("警報１の状態がOFFになりました。");
const QString kScaleCleared = QStringLiteral("制御入力値(PV)のｵｰﾊﾞｰｽｹｰﾙ状態が解消されました。");

class AlarmHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        history.Time = &clock;
        history.Messages = &tell;
        history.HistoryFilePath = CreateHistoryFile(dir.path(), At(2007, 3, 9, 20, 5, 0), JapaneseLocale());
    }

    // Content column of table rows 1..n.
    QStringList Contents(int n) const {
        QStringList out;
        for (int r = 1; r <= n; ++r) out << history.Table.Cell(r, 3);
        return out;
    }

    QByteArray FileLines() const { return FileBytes(history.HistoryFilePath); }

    QTemporaryDir dir;
    RDX_INC inc;
    TestClock clock{At(2007, 3, 9, 20, 5, 3)};
    AlarmHistory history{inc};
    ToldMessages tell;
    QStringList& messages = tell.told;
};

TEST_F(AlarmHistoryTest, OneEntryPerTransition) {
    inc.ChStatus[4] = StatusBit::Alarm1;
    history.AlarmChk(4);
    history.AlarmChk(4);
    history.AlarmChk(4);
    EXPECT_EQ(history.HistoryRow, 2);
    inc.ChStatus[4] = 0;
    history.AlarmChk(4);
    history.AlarmChk(4);
    EXPECT_EQ(history.HistoryRow, 3);
    EXPECT_EQ(Contents(3), (QStringList{kAlarm1On, kAlarm1Off, QString()}));
    EXPECT_EQ(history.Table.Cell(1, 0), QStringLiteral("2007/3/9"));
    EXPECT_EQ(history.Table.Cell(1, 1), QStringLiteral("8:5:3 PM"));
    EXPECT_EQ(history.Table.Cell(1, 2), QStringLiteral("Ch005"));
    EXPECT_EQ(history.HistoryBuffer[1][3], kAlarm1Off);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AlarmHistoryTest, SeveralNewBitsInFixedOrder) {
    // Bits deliberately not in mask order: loop break is the highest bit but comes fourth.
    inc.ChStatus[0] = qint16(StatusBit::UnderScale | StatusBit::LoopBreak | StatusBit::Alarm2 |
                             StatusBit::OverScale | StatusBit::HeaterBreak | StatusBit::Alarm1 |
                             StatusBit::AutoTuning | StatusBit::Control | StatusBit::OutputOn);
    history.AlarmChk(0);
    EXPECT_EQ(Contents(7), (QStringList{
                               kAlarm1On,
                               QStringLiteral("警報２の状態がONになりました。"),
                               QStringLiteral("ﾋｰﾀ断線警報の状態がONになりました。"),
                               QStringLiteral("ﾙｰﾌﾟ異常警報の状態がONになりました。"),
                               QStringLiteral("制御入力値(PV)がｵｰﾊﾞｰｽｹｰﾙ状態になりました。"),
                               QStringLiteral("制御入力値(PV)がｱﾝﾀﾞｰｽｹｰﾙ状態になりました。"),
                               QString(),
                           }));
    inc.ChStatus[0] = qint16(StatusBit::Alarm1 | StatusBit::AutoTuning);
    history.AlarmChk(0);
    EXPECT_EQ(history.Table.Cell(7, 3), QStringLiteral("警報２の状態がOFFになりました。"));
    EXPECT_EQ(history.Table.Cell(11, 3), kScaleCleared);
    EXPECT_EQ(history.HistoryRow, 12);
}

TEST_F(AlarmHistoryTest, EndOfUnderScaleUsesOverScaleClearedText) {
    inc.ChStatus[319] = StatusBit::UnderScale;
    history.AlarmChk(319);
    inc.ChStatus[319] = 0;
    history.AlarmChk(319);
    EXPECT_EQ(history.Table.Cell(2, 3), kScaleCleared);
    EXPECT_EQ(history.Table.Cell(2, 2), QStringLiteral("Ch320"));
}

TEST_F(AlarmHistoryTest, FallingAutoTuningClearsSwitchWithoutEntry) {
    inc.ChATSwitch[10] = 1;
    inc.ChStatus[10] = StatusBit::AutoTuning;
    history.AlarmChk(10);
    EXPECT_EQ(inc.ChATSwitch[10], 1);
    inc.ChStatus[10] = 0;
    history.AlarmChk(10);
    EXPECT_EQ(inc.ChATSwitch[10], 0);
    // Only a fall clears the switch: a switch set while tuning is off stays.
    inc.ChATSwitch[10] = 1;
    history.AlarmChk(10);
    EXPECT_EQ(inc.ChATSwitch[10], 1);
    EXPECT_EQ(history.HistoryRow, 1);
    EXPECT_EQ(FileLines().count('\n'), 2);  // header only
}

TEST_F(AlarmHistoryTest, ChannelOutsideTablesIsIgnored) {
    history.AlarmChk(-1);
    history.AlarmChk(ChannelCount);
    EXPECT_EQ(history.HistoryRow, 1);
}

TEST_F(AlarmHistoryTest, RingWrapsAt100AndClearsFollowingRow) {
    std::vector<int> changed;
    QObject::connect(&history.Table, &HistoryTable::rowChanged, [&](int row) { changed.push_back(row); });
    for (int i = 0; i < 100; ++i) {
        clock.now = At(2007, 3, 9, 1, i / 60, i % 60);
        history.Hystory_Write(QStringLiteral("NAK"), 0, 0);
    }
    EXPECT_EQ(history.HistoryRow, 1);
    EXPECT_EQ(changed.back(), 101);  // the end marker after row 100
    EXPECT_EQ(history.Table.Cell(100, 1), QStringLiteral("1:1:39 AM"));

    clock.now = At(2007, 3, 9, 2, 0, 0);
    changed.clear();
    history.Hystory_Write(QStringLiteral("CHKSUM"), 0, 0);
    EXPECT_EQ(changed, (std::vector<int>{1, 2}));
    EXPECT_EQ(history.Table.Cell(1, 1), QStringLiteral("2:0:0 AM"));
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(history.Table.Cell(2, c).isEmpty());
    // The ring keeps the second-oldest entry; only the table shows the gap.
    EXPECT_EQ(history.HistoryBuffer[1][1], QStringLiteral("1:0:1 AM"));
    EXPECT_EQ(history.Table.Cell(3, 1), QStringLiteral("1:0:2 AM"));
    EXPECT_EQ(history.HistoryRow, 2);
    EXPECT_EQ(FileLines().count('\n'), 2 + 101);
}

TEST_F(AlarmHistoryTest, FileBytesExactInCp932) {
    SaveSetting(QStringLiteral("Chname002"), QStringLiteral("PL-Ⅱ～"));
    inc.ChStatus[1] = StatusBit::Alarm1;
    history.AlarmChk(1);
    clock.now = At(2007, 3, 9, 0, 0, 9);
    history.Hystory_Write(QStringLiteral("CHKSUM"), 1, -1);
    SaveSetting(QStringLiteral("Chname002"), QStringLiteral("Ch002"));

    const QByteArray expected =
        QByteArray("\"RDX-410 Alarm hystory\",\"    Data  : \",\"2007/03/09\"\r\n"
                   "\"Time\",\"Channel\",\"Contain\"\r\n"
                   "\"8:5:3 PM\",\"") +
        Hex("50 4C 2D 87 55 81 60") + "\",\"" +
        // 警報１の状態がONになりました。
        Hex("8C 78 95 F1 82 50 82 CC 8F F3 91 D4 82 AA 4F 4E 82 C9 82 C8 82 E8 82 DC 82 B5 82 BD 81 42") +
        "\"\r\n\"12:0:9 AM\",\"----\",\"" +
        // ﾁｪｯｸｻﾑｴﾗｰが発生しました。
        Hex("C1 AA AF B8 BB D1 B4 D7 B0 82 AA 94 AD 90 B6 82 B5 82 DC 82 B5 82 BD 81 42") + "\"\r\n";
    EXPECT_EQ(FileLines().toHex(' '), expected.toHex(' '));
}

TEST_F(AlarmHistoryTest, ChannelNamesComeFromStore) {
    SaveSetting(QStringLiteral("Chname150"), QStringLiteral("炉Ａ上段"));
    inc.ChStatus[149] = StatusBit::HeaterBreak;
    history.AlarmChk(149);
    history.Hystory_Write(QStringLiteral("NAK"), 149, 0);
    inc.ChStatus[150] = StatusBit::LoopBreak;
    history.AlarmChk(150);
    EXPECT_EQ(history.Table.Cell(1, 2), QStringLiteral("炉Ａ上段"));
    EXPECT_EQ(history.Table.Cell(2, 2), QStringLiteral("----"));
    EXPECT_EQ(history.Table.Cell(2, 3), QStringLiteral("MGU-500から否定応答(NAK応答)が返ってきました。"));
    EXPECT_EQ(history.Table.Cell(3, 2), QStringLiteral("Ch151"));
}

TEST_F(AlarmHistoryTest, BlockContactEntriesNameTheBlockWithoutAChannel) {
    SaveSetting(QStringLiteral("DvtoN03"), QStringLiteral("炉Ｂ"));
    history.Hystory_Write(QString::fromLatin1(OutOfContactCode), 40, -1);
    clock.now = At(2007, 3, 9, 20, 6, 0);
    history.Hystory_Write(QString::fromLatin1(OutOfContactCode), 40, 0);
    history.Hystory_Write(QString::fromLatin1(OutOfContactCode), 300, -1);
    // A channel number past the line still names a block of it: the last.
    history.Hystory_Write(QString::fromLatin1(OutOfContactCode), ChannelCount + 1, -1);
    SaveSetting(QStringLiteral("DvtoN03"), QStringLiteral("Block03"));
    EXPECT_EQ(history.Table.Cell(1, 2), QStringLiteral("----"));
    EXPECT_EQ(history.Table.Cell(1, 3), QStringLiteral("ﾌﾞﾛｯｸ「炉Ｂ」のMGU-500から応答がありません。"));
    EXPECT_EQ(history.Table.Cell(2, 2), QStringLiteral("----"));
    EXPECT_EQ(history.Table.Cell(2, 3), QStringLiteral("ﾌﾞﾛｯｸ「炉Ｂ」のMGU-500との通信が回復しました。"));
    EXPECT_EQ(history.Table.Cell(3, 3), QStringLiteral("ﾌﾞﾛｯｸ「Block16」のMGU-500から応答がありません。"));
    EXPECT_EQ(history.Table.Cell(4, 3), history.Table.Cell(3, 3));
    // Written like every other entry: time, "----", the text; CP932, CR LF.
    const QList<QByteArray> lines = FileLines().split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[2], QByteArray("\"8:5:3 PM\",\"----\",\"") +
                            QStringEncoder("Shift_JIS").encode(history.Table.Cell(1, 3)) + "\"\r");
    EXPECT_EQ(lines[3].left(19), QByteArray("\"8:6:0 PM\",\"----\",\""));
}

// A hand-edited store may hold names with line breaks and tabs; each entry still takes
// exactly one line of the file, the control characters turned into blanks.
TEST_F(AlarmHistoryTest, NamesHoldingControlCharactersKeepEachEntryOnOneLine) {
    SaveSetting(QStringLiteral("Chname003"), QStringLiteral("Pump A\r\n"));
    SaveSetting(QStringLiteral("DvtoN04"), QStringLiteral("炉\nB\tC"));
    inc.ChStatus[2] = StatusBit::Alarm1;
    history.AlarmChk(2);
    history.Hystory_Write(QString::fromLatin1(OutOfContactCode), 60, -1);
    SaveSetting(QStringLiteral("Chname003"), QStringLiteral("Ch003"));
    SaveSetting(QStringLiteral("DvtoN04"), QStringLiteral("Block04"));

    const QByteArray bytes = FileLines();
    EXPECT_EQ(bytes.count('\n'), 2 + 2);
    EXPECT_EQ(bytes.count('\r'), 2 + 2);
    EXPECT_EQ(bytes.count('\t'), 0);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[2].startsWith("\"8:5:3 PM\",\"Pump A  \",\"")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].contains(QByteArray(QStringEncoder("Shift_JIS").encode(QStringLiteral("「炉 B C」")))));
}

TEST_F(AlarmHistoryTest, FileFailureShowsMessageAndKeepsEntry) {
    history.HistoryFilePath = QDir(dir.path()).filePath(QStringLiteral("missing/x.hys"));
    inc.ChStatus[2] = StatusBit::Alarm2;
    history.AlarmChk(2);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral(
        "ファイルに書き込み出来ません。アラームヒストリファイルが開かれていないか確認してください。"));
    EXPECT_EQ(history.Table.Cell(1, 3), QStringLiteral("警報２の状態がONになりました。"));
    EXPECT_EQ(history.HistoryBuffer[0][2], QStringLiteral("Ch003"));
    EXPECT_EQ(history.HistoryRow, 2);
    // The latch moved too, so the same change is not reported again.
    history.AlarmChk(2);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(history.HistoryRow, 2);
}

TEST_F(AlarmHistoryTest, EntryClockTexts) {
    EXPECT_EQ(AlarmHistory::EntryTimeText(QTime(0, 0, 0)), QStringLiteral("12:0:0 AM"));
    EXPECT_EQ(AlarmHistory::EntryTimeText(QTime(11, 59, 59)), QStringLiteral("11:59:59 AM"));
    EXPECT_EQ(AlarmHistory::EntryTimeText(QTime(12, 30, 5)), QStringLiteral("12:30:5 PM"));
    EXPECT_EQ(AlarmHistory::EntryTimeText(QTime(23, 1, 2)), QStringLiteral("11:1:2 PM"));
    EXPECT_EQ(AlarmHistory::EntryDateText(QDate(2007, 12, 31)), QStringLiteral("2007/12/31"));
    EXPECT_EQ(AlarmHistory::EntryDateText(QDate(2007, 3, 9)), QStringLiteral("2007/3/9"));
}

TEST_F(AlarmHistoryTest, ViewerCopyAndClear) {
    for (int i = 0; i < 3; ++i) history.Hystory_Write(QStringLiteral("NAK"), 0, 0);
    history.Table.ClearAll();  // a viewer created afresh
    history.CopyBufferToTable();
    EXPECT_EQ(history.Table.Cell(3, 2), QStringLiteral("----"));
    EXPECT_TRUE(history.Table.Cell(4, 2).isEmpty());
    // The ring's last row is copied too.
    history.HistoryBuffer[AlarmHistory::RingRows - 1][2] = QStringLiteral("Ch320");
    history.CopyBufferToTable();
    EXPECT_EQ(history.Table.Cell(AlarmHistory::RingRows, 2), QStringLiteral("Ch320"));

    history.ClearHistory();
    EXPECT_TRUE(history.Table.Cell(1, 2).isEmpty());
    EXPECT_TRUE(history.HistoryBuffer[0][2].isEmpty());
    history.Hystory_Write(QStringLiteral("CHKSUM"), 0, 0);
    EXPECT_EQ(history.Table.Cell(1, 3), QStringLiteral("ﾁｪｯｸｻﾑｴﾗｰが発生しました。"));
    EXPECT_EQ(FileLines().count('\n'), 2 + 4);  // the file keeps every line
}

}  // namespace

TEST(HistoryTableTest, CellsOutsideTheTableAreEmptyAndWritesThereIgnored) {
    HistoryTable table;
    table.SetRow(1, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    table.SetRow(101, {QStringLiteral("w"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    EXPECT_EQ(table.Cell(1, 0), QStringLiteral("a"));
    EXPECT_EQ(table.Cell(1, 3), QStringLiteral("d"));
    EXPECT_EQ(table.Cell(101, 3), QStringLiteral("z"));
    for (auto [row, column] : {std::pair{1, 4}, {1, -1}, {-1, 0}, {102, 0}, {101, 4}})
        EXPECT_EQ(table.Cell(row, column), QString()) << row << "," << column;
    table.SetRow(102, {QStringLiteral("q")});
    table.SetRow(-1, {QStringLiteral("q")});
    EXPECT_EQ(table.Cell(101, 0), QStringLiteral("w"));
    EXPECT_EQ(table.Cell(0, 0), QString());
    // The first and last rows are the table's own.
    table.SetRow(0, {QStringLiteral("f")});
    EXPECT_EQ(table.Cell(0, 0), QStringLiteral("f"));
}
