// The alarm history table the viewer shows: 102 rows of 4 columns. Row 0 is the viewer's
// header row, rows 1 to 100 hold entries, and row 101 lets the empty end marker follow
// row 100. A plain data model; whoever draws it listens to rowChanged.
#pragma once

#include <QObject>
#include <QString>
#include <array>

class HistoryTable : public QObject {
    Q_OBJECT
public:
    static constexpr int RowCount = 102;
    static constexpr int ColumnCount = 4;
    using Row = std::array<QString, ColumnCount>;

    explicit HistoryTable(QObject* parent = nullptr);

    // Empty text outside the table.
    QString Cell(int row, int column) const;
    // Writes outside the table are ignored.
    void SetRow(int row, const Row& cells);
    void ClearRow(int row);
    // Every row empty, as a freshly created viewer shows it.
    void ClearAll();

signals:
    void rowChanged(int row);

private:
    std::array<Row, RowCount> rows_;
};
