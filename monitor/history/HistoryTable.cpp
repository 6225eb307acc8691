#include "history/HistoryTable.h"

namespace {
bool InTable(int row) { return row >= 0 && row < HistoryTable::RowCount; }
}  // namespace

HistoryTable::HistoryTable(QObject* parent) : QObject(parent) {}

QString HistoryTable::Cell(int row, int column) const {
    if (!InTable(row) || column < 0 || column >= ColumnCount) return {};
    return rows_[row][column];
}

void HistoryTable::SetRow(int row, const Row& cells) {
    if (!InTable(row)) return;
    rows_[row] = cells;
    emit rowChanged(row);
}

void HistoryTable::ClearRow(int row) { SetRow(row, Row{}); }

void HistoryTable::ClearAll() {
    for (int row = 0; row < RowCount; ++row) ClearRow(row);
}
