#include "history/GridFormat.h"
#include "history/HistoryFile.h"
#include "history/SubDisp_History.h"
#include "ToldMessages.h"
#include "TestClock.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kAlarm1On = QStringLiteral("警報１の状態がONになりました。");
const QString kNak = QStringLiteral("MGU-500から否定応答(NAK応答)が返ってきました。");

class HistoryViewTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RDX_INC inc;
    TestClock clock{QDateTime(QDate(2007, 3, 9), QTime(20, 5, 3))};
    AlarmHistory history{inc};
    ToldMessages tell;
    QStringList& messages = tell.told;
    std::unique_ptr<SubDisp_History> viewer;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        history.Time = &clock;
        history.Messages = &tell;
        history.HistoryFilePath = CreateHistoryFile(dir.path(), clock.now);
        viewer = std::make_unique<SubDisp_History>(history);
    }

    // Entry i: channel index i, one second after the previous one.
    void Write(int i) {
        clock.now = QDateTime(QDate(2007, 3, 9), QTime(20, 5, 3)).addSecs(i);
        history.Hystory_Write("Alarm1", i, -1);
    }
    QString Channel(int row) const { return viewer->CellText(row, 2); }
    bool RowEmpty(int row) const {
        for (int k = 0; k < 4; ++k)
            if (!viewer->CellText(row, k).isEmpty()) return false;
        return true;
    }
    int FileLines() const {
        QFile f(history.HistoryFilePath);
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count("\r\n")) : -1;
    }
};

TEST_F(HistoryViewTest, AGridOfFourColumnsUnderTheirHeadingsAndOneHundredAndTwoRows) {
    EXPECT_EQ(viewer->windowTitle(), "ｱﾗｰﾑﾋｽﾄﾘ画面");
    EXPECT_EQ(viewer->MSFlexGrid1->columnCount(), 4);
    EXPECT_EQ(viewer->MSFlexGrid1->rowCount() + 1, 102);  // the header is row 0
    EXPECT_EQ(viewer->CellText(0, 0), "日付");
    EXPECT_EQ(viewer->CellText(0, 1), "時間");
    EXPECT_EQ(viewer->CellText(0, 2), "ﾁｬﾝﾈﾙ");
    EXPECT_EQ(viewer->CellText(0, 3), "内容");
    // Every column reads from the left, headings and cells alike.
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(viewer->MSFlexGrid1->horizontalHeaderItem(k)->textAlignment() & Qt::AlignHorizontal_Mask,
                  Qt::AlignLeft) << k;
        EXPECT_EQ(viewer->MSFlexGrid1->item(0, k)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft) << k;
    }
    EXPECT_EQ(viewer->Command1[1]->text(), "ｸﾘｱ");
    EXPECT_EQ(viewer->Command1[2]->text(), "Return");
    // The content column is the widest, as the spaces of its heading make it.
    EXPECT_GT(viewer->MSFlexGrid1->columnWidth(3), viewer->MSFlexGrid1->columnWidth(0));
    EXPECT_GT(viewer->MSFlexGrid1->columnWidth(2), viewer->MSFlexGrid1->columnWidth(1));
    for (int row = 1; row < 102; ++row) EXPECT_TRUE(RowEmpty(row)) << row;
}

TEST(GridFormat, ColumnsWithTheirAlignmentsHeadingsAndWidths) {
    const QList<GridColumn> columns = ParseGridFormat(QStringLiteral("<日付  |^ mid |>right|plain |"));
    ASSERT_EQ(columns.size(), 5);
    const Qt::Alignment aligned[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft,
                                     Qt::AlignLeft};
    const QString headings[] = {"日付", "mid", "right", "plain", ""};
    const QString widths[] = {"日付  ", " mid ", "right", "plain ", ""};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(columns[k].alignment, aligned[k] | Qt::AlignVCenter) << k;
        EXPECT_EQ(columns[k].heading, headings[k]) << k;
        EXPECT_EQ(columns[k].widthText, widths[k]) << k;
    }
    // Only the first character leads: a second one is text.
    EXPECT_EQ(ParseGridFormat(QStringLiteral("<>x")).first().heading, ">x");
}

TEST_F(HistoryViewTest, OpeningShowsTheRingInRowsOneToThree) {
    Write(0);
    history.Hystory_Write("NAK", 0, 0);
    Write(2);
    // The grid as a viewer shows it after it was closed: empty apart from nothing.
    history.Table.ClearAll();
    ASSERT_TRUE(RowEmpty(1));
    viewer->numhyst_Click();
    EXPECT_TRUE(viewer->isVisible());
    // The operator keeps working in the main window while the history is up.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(viewer->CellText(1, 0), "2007/3/9");
    EXPECT_EQ(viewer->CellText(1, 1), "8:5:3 PM");
    EXPECT_EQ(Channel(1), "Ch001");
    EXPECT_EQ(viewer->CellText(1, 3), kAlarm1On);
    EXPECT_EQ(Channel(2), "----");
    EXPECT_EQ(viewer->CellText(2, 3), kNak);
    EXPECT_EQ(Channel(3), "Ch003");
    EXPECT_EQ(viewer->CellText(3, 1), "8:5:5 PM");
    for (int row = 4; row < 102; ++row) EXPECT_TRUE(RowEmpty(row)) << row;
}

// Enter in the viewer (say on the grid) must not clear the history: only ｸﾘｱ does.
TEST_F(HistoryViewTest, EnterNeverClearsTheHistory) {
    Write(4);
    viewer->numhyst_Click();
    QTest::keyClick(viewer.get(), Qt::Key_Return);
    QTest::keyClick(viewer->MSFlexGrid1, Qt::Key_Enter);
    EXPECT_EQ(Channel(1), "Ch005");
}

TEST_F(HistoryViewTest, ANewEntryLandsInTheGridWhileTheViewerIsHidden) {
    ASSERT_FALSE(viewer->isVisible());
    Write(4);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(Channel(1), "Ch005");
    EXPECT_EQ(viewer->CellText(1, 3), kAlarm1On);
    // Shown, then closed with Return: entries keep arriving in it.
    viewer->numhyst_Click();
    viewer->Command1[2]->click();
    EXPECT_FALSE(viewer->isVisible());
    Write(6);
    EXPECT_EQ(Channel(2), "Ch007");
    EXPECT_TRUE(RowEmpty(3));
    viewer->numhyst_Click();
    EXPECT_EQ(Channel(1), "Ch005");
    EXPECT_EQ(Channel(2), "Ch007");
}

TEST_F(HistoryViewTest, AfterMoreThanAHundredEntriesTheNewestSitsAboveAnEmptyRow) {
    for (int i = 0; i < 103; ++i) Write(i);  // entries 1..103 on channels 1..103
    EXPECT_EQ(Channel(1), "Ch101");
    EXPECT_EQ(Channel(3), "Ch103");
    EXPECT_TRUE(RowEmpty(4));
    EXPECT_EQ(Channel(5), "Ch005");  // the oldest remaining
    EXPECT_EQ(Channel(100), "Ch100");
    EXPECT_TRUE(RowEmpty(101));
    EXPECT_EQ(FileLines(), 2 + 103);
}

// A ring full to its last row: a viewer opened afresh shows all hundred entries, and ｸﾘｱ
// empties every one, so the next opening brings none of them back.
TEST_F(HistoryViewTest, AFullRingIsShownAndClearedToItsLastRow) {
    for (int i = 0; i < 100; ++i) Write(i);
    history.Table.ClearAll();  // the grid as a viewer shows it after it was closed
    viewer->numhyst_Click();
    EXPECT_EQ(Channel(1), "Ch001");
    EXPECT_EQ(Channel(100), "Ch100");
    EXPECT_EQ(viewer->CellText(100, 1), "8:6:42 PM");
    viewer->Command1[1]->click();
    viewer->numhyst_Click();
    for (int row = 1; row < 102; ++row) EXPECT_TRUE(RowEmpty(row)) << row;
}

TEST_F(HistoryViewTest, ClearEmptiesTheGridAndTheRingAndTheNextEntryGoesToRowOne) {
    for (int i = 0; i < 5; ++i) Write(i);
    viewer->numhyst_Click();
    viewer->Command1[1]->click();
    for (int row = 1; row < 102; ++row) EXPECT_TRUE(RowEmpty(row)) << row;
    EXPECT_EQ(history.HistoryRow, 1);
    EXPECT_EQ(FileLines(), 2 + 5);  // the file keeps every line

    Write(9);
    EXPECT_EQ(Channel(1), "Ch010");
    EXPECT_TRUE(RowEmpty(2));
    // The cleared ring does not bring the old entries back.
    viewer->numhyst_Click();
    EXPECT_EQ(Channel(1), "Ch010");
    for (int row = 2; row < 102; ++row) EXPECT_TRUE(RowEmpty(row)) << row;
    EXPECT_EQ(FileLines(), 2 + 6);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HistoryViewTest, AViewerCreatedLaterShowsWhatTheTableHolds) {
    Write(0);
    Write(1);
    SubDisp_History later(history);
    EXPECT_EQ(later.CellText(1, 2), "Ch001");
    EXPECT_EQ(later.CellText(2, 2), "Ch002");
    EXPECT_TRUE(later.CellText(3, 2).isEmpty());
}

}  // namespace

TEST_F(HistoryViewTest, DatesAndTimesShowWholeAndTheMessageTakesTheRest) {
    // The widest date and time of the year: two-digit month and day, two-digit hour.
    clock.now = QDateTime(QDate(2026, 12, 28), QTime(23, 59, 58));
    history.Hystory_Write("Alarm1", 5, -1);
    viewer->resize(820, 480);
    viewer->show();
    QTableWidget& grid = *viewer->MSFlexGrid1;
    for (int k = 0; k < 3; ++k) {
        const QString text = viewer->CellText(1, k);
        ASSERT_FALSE(text.isEmpty()) << k;
        const QRect cell = grid.visualItemRect(grid.item(0, k));
        EXPECT_GT(cell.width(), grid.fontMetrics().horizontalAdvance(text) + 4)
            << "column " << k << " too narrow for \"" << text.toStdString() << "\"";
    }
    // The message column takes the rest of the grid's width, at any window width.
    for (int width : {820, 1000}) {
        viewer->resize(width, 480);
        QCoreApplication::processEvents();
        const QRect last = grid.visualItemRect(grid.item(0, 3));
        EXPECT_NEAR(last.right(), grid.viewport()->width() - 1, 1) << width;
    }
}
