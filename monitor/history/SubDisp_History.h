// The alarm history viewer: a grid of the last 100 history entries. The grid mirrors the
// history table that every new entry is written to, so entries land in it whether or not
// the viewer is on screen; the menu command first copies the ring of the last 100 entries
// back into the table.
#pragma once

#include "history/AlarmHistory.h"

#include <QDialog>
#include <array>

class QPushButton;
class QTableWidget;

// Header texts and column widths of the grid, as its format text gives them.
inline constexpr char HistoryGridFormat[] =
    "<日付         |<時間     　   |<ﾁｬﾝﾈﾙ          |<内容          　　　"
    "                                                 ";

class SubDisp_History : public QDialog {
    Q_OBJECT
public:
    static constexpr int GridRows = HistoryTable::RowCount;  // header row 0, rows 1..101
    static constexpr int GridColumns = HistoryTable::ColumnCount;

    explicit SubDisp_History(AlarmHistory& history, QWidget* parent = nullptr);

    // Rows 1..101 of the grid; row 0, the fixed header, is the table's header.
    QTableWidget* MSFlexGrid1 = nullptr;
    std::array<QPushButton*, 3> Command1{};  // [1] clear, [2] return; [0] is not used

    // Text of grid cell (row, column), row 0 being the header; empty outside the grid.
    QString CellText(int row, int column) const;

    // The menu command: copy the ring into the grid and show the viewer without waiting.
    void numhyst_Click();
    // 1: empty the grid and the ring, the next entry goes to row 1; 2: close.
    void Command1_Click(int index);

private:
    void Form_Load();
    void ShowRow(int row);
    // A column (the content column aside) grows to show a cell's whole text: the widths of
    // the format text are a minimum, and a date or time never shows cut off.
    void WidenFor(int column, const QString& text);

    AlarmHistory& history_;
};
