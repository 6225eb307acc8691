#include "history/SubDisp_History.h"

#include "history/GridFormat.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

SubDisp_History::SubDisp_History(AlarmHistory& history, QWidget* parent)
    : QDialog(parent), history_(history) {
    setWindowTitle(QStringLiteral("ｱﾗｰﾑﾋｽﾄﾘ画面"));
    setModal(false);
    MSFlexGrid1 = new QTableWidget(GridRows - 1, GridColumns, this);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->horizontalHeader()->setStretchLastSection(true);
    Command1[1] = new QPushButton(QStringLiteral("ｸﾘｱ"), this);
    Command1[2] = new QPushButton(QStringLiteral("Return"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 1; i <= 2; ++i) {
        Command1[i]->setAutoDefault(false);
        buttons->addWidget(Command1[i]);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MSFlexGrid1);
    layout->addLayout(buttons);
    resize(820, 480);

    Form_Load();
    // The grid shows what the table holds now and follows every later change.
    for (int row = 1; row < GridRows; ++row) ShowRow(row);
    connect(&history_.Table, &HistoryTable::rowChanged, this, &SubDisp_History::ShowRow);
}

void SubDisp_History::Form_Load() {
    const QList<GridColumn> columns = ParseGridFormat(QString::fromUtf8(HistoryGridFormat));
    const QFontMetrics metrics(MSFlexGrid1->font());
    Q_ASSERT(columns.size() == GridColumns);  // the format names every column of the grid
    for (int k = 0; k < GridColumns; ++k) {
        auto* header = new QTableWidgetItem(columns[k].heading);
        header->setTextAlignment(columns[k].alignment);
        MSFlexGrid1->setHorizontalHeaderItem(k, header);
        MSFlexGrid1->setColumnWidth(k, metrics.horizontalAdvance(columns[k].widthText) + 8);
        for (int row = 0; row < MSFlexGrid1->rowCount(); ++row) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(columns[k].alignment);
            MSFlexGrid1->setItem(row, k, cell);
        }
    }
}

void SubDisp_History::ShowRow(int row) {
    // The header row and rows past the grid have no cells, so they show nothing.
    for (int k = 0; k < GridColumns; ++k) {
        QTableWidgetItem* cell = MSFlexGrid1->item(row - 1, k);
        const QString text = history_.Table.Cell(row, k);
        if (cell && cell->text() != text) {
            cell->setText(text);
            WidenFor(k, text);
        }
    }
}

void SubDisp_History::WidenFor(int column, const QString& text) {
    // The last column takes what is left of the grid's width.
    if (column >= GridColumns - 1) return;
    // The item's text margins and the grid line on either side.
    constexpr int CellPadding = 12;
    const int needed = MSFlexGrid1->fontMetrics().horizontalAdvance(text) + CellPadding;
    MSFlexGrid1->setColumnWidth(column, std::max(needed, MSFlexGrid1->columnWidth(column)));
}

QString SubDisp_History::CellText(int row, int column) const {
    if (column < 0 || column >= GridColumns) return {};
    if (row == 0) {
        const QTableWidgetItem* header = MSFlexGrid1->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* cell = MSFlexGrid1->item(row - 1, column);  // none outside the grid
    return cell ? cell->text() : QString();
}

void SubDisp_History::numhyst_Click() {
    history_.CopyBufferToTable();
    show();
    raise();
    activateWindow();
}

void SubDisp_History::Command1_Click(int index) {
    if (index == 1) history_.ClearHistory();
    else if (index == 2) close();
}
