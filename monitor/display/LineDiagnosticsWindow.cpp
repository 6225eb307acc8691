#include "display/LineDiagnosticsWindow.h"

#include "display/NameLists.h"
#include "services/Cp932File.h"

#include <iterator>

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kRefreshMs = 500;
// Two rows per exchange.
constexpr int kTrafficRows = 2 * LineDiagnostics::TrafficCapacity;

const char* const kCounterHeader[] = {"ﾌﾞﾛｯｸ", "要求", "応答", "応答なし", "NAK", "ﾁｪｯｸｻﾑ/形式異常",
                                      "応答時間 ms 最終", "平均", "最大", "最後のｴﾗｰ", "発生時刻"};
// Numbers need little room: so the last error and its time show without scrolling at 1024×768.
const int kCounterWidth[] = {120, 60, 60, 70, 50, 115, 115, 55, 55, 150};
// Time, direction, block, command, item, data, verdict; the raw bytes take the rest.
const int kTrafficWidth[] = {95, 50, 50, 50, 50, 250, 70};

QTableWidget* Table(const QStringList& header, QWidget* parent) {
    auto* t = new QTableWidget(0, int(header.size()), parent);
    t->setHorizontalHeaderLabels(header);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(20);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void SetRow(QTableWidget* t, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) {
        QTableWidgetItem* item = t->item(row, c);
        if (!item) t->setItem(row, c, item = new QTableWidgetItem);
        if (item->text() != cells[c]) item->setText(cells[c]);
    }
}

QString Ms(double ms) { return QString::number(ms, 'f', 1); }

}  // namespace

LineDiagnosticsWindow::LineDiagnosticsWindow(LineDiagnostics& diagnostics, std::function<bool(int)> present,
                                             QWidget* parent)
    : QDialog(parent), diagnostics_(diagnostics), present_(std::move(present)) {
    setWindowTitle(QString::fromUtf8("回線診断"));
    setModal(false);
    resize(980, 640);
    QStringList header;
    for (const char* h : kCounterHeader) header << QString::fromUtf8(h);
    counters = Table(header, this);
    for (int c = 0; c < int(std::size(kCounterWidth)); ++c) counters->setColumnWidth(c, kCounterWidth[c]);
    traffic = Table(TrafficHeader(), this);
    for (int c = 0; c < int(std::size(kTrafficWidth)); ++c) traffic->setColumnWidth(c, kTrafficWidth[c]);
    since = new QLabel(this);

    auto* reset = new QPushButton(QString::fromUtf8("ｶｳﾝﾀﾘｾｯﾄ"), this);
    pause = new QPushButton(QString::fromUtf8("一時停止"), this);
    auto* clear = new QPushButton(QString::fromUtf8("ｸﾘｱ"), this);
    auto* save = new QPushButton(QString::fromUtf8("保存..."), this);
    auto* close = new QPushButton(QString::fromUtf8("閉じる"), this);
    connect(reset, &QPushButton::clicked, this, &LineDiagnosticsWindow::ResetCounters);
    connect(pause, &QPushButton::clicked, this, &LineDiagnosticsWindow::TogglePause);
    connect(clear, &QPushButton::clicked, this, &LineDiagnosticsWindow::ClearTraffic);
    connect(save, &QPushButton::clicked, this, &LineDiagnosticsWindow::SaveClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(since, 1);
    top->addWidget(reset);
    auto* trafficButtons = new QHBoxLayout;
    trafficButtons->addWidget(new QLabel(QString::fromUtf8("送受信（最新%1件）").arg(LineDiagnostics::TrafficCapacity), this), 1);
    for (QPushButton* b : {pause, clear, save}) trafficButtons->addWidget(b);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* upper = new QWidget(splitter);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->addLayout(top);
    upperLayout->addWidget(counters);
    auto* lower = new QWidget(splitter);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(trafficButtons);
    lowerLayout->addWidget(traffic);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &LineDiagnosticsWindow::Refresh);

    ChooseFile = [](QWidget* p, TrafficEncoding* encoding) {
        QFileDialog dialog(p, QString::fromUtf8("送受信の保存"), QString(),
                           QString::fromUtf8("Shift_JIS (*.txt);;UTF-8 (*.txt)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
        *encoding = dialog.selectedNameFilter().startsWith(u"UTF-8") ? TrafficEncoding::Utf8 : TrafficEncoding::Cp932;
        return dialog.selectedFiles().first();
    };
    Tell = [](QWidget* p, const QString& text) { QMessageBox::warning(p, QString::fromUtf8("回線診断"), text); };
}

void LineDiagnosticsWindow::Open() {
    show();
    raise();
    activateWindow();
}

void LineDiagnosticsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    diagnostics_.SetRecording(!paused_);
    Refresh();
    timer_->start();
}

void LineDiagnosticsWindow::hideEvent(QHideEvent* event) {
    // Nobody looks: the polling keeps no frames.
    timer_->stop();
    diagnostics_.SetRecording(false);
    QDialog::hideEvent(event);
}

void LineDiagnosticsWindow::Refresh() {
    if (diagnostics_.Serial() != shownSerial_) {
        shownSerial_ = diagnostics_.Serial();
        FillCounters();
    }
    since->setText(QString::fromUtf8("ﾘｾｯﾄから %1 秒（%2 から）")
                       .arg(diagnostics_.Since().secsTo(diagnostics_.Time->Now()))
                       .arg(diagnostics_.Since().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))));
    if (!paused_) FillTraffic();
}

void LineDiagnosticsWindow::FillCounters() {
    int row = 0;
    for (int b = 0; b < BlockCount; ++b) {
        if (present_ && !present_(b)) continue;
        const BlockCounters& c = diagnostics_.Block(b);
        if (counters->rowCount() <= row) counters->insertRow(row);
        SetRow(counters, row++,
               {QStringLiteral("%1 %2").arg(b + 1).arg(BlockName(b)), QString::number(c.requests),
                QString::number(c.replies), QString::number(c.timeouts), QString::number(c.naks),
                QString::number(c.corrupted), Ms(c.lastMs), Ms(c.MeanMs()), Ms(c.maxMs), c.lastError,
                c.lastErrorAt.isValid() ? c.lastErrorAt.toString(QStringLiteral("HH:mm:ss.zzz")) : QString()});
    }
    counters->setRowCount(row);
}

void LineDiagnosticsWindow::FillTraffic() {
    const std::deque<TrafficEntry>& all = diagnostics_.Traffic();
    const quint64 fresh = diagnostics_.TrafficAppended() - shownAppended_;
    if (fresh == 0) return;
    shownAppended_ = diagnostics_.TrafficAppended();
    // Only what came since the last look is added: the polling waits while this runs.
    const size_t count = std::min<size_t>(size_t(fresh), all.size());
    traffic->setUpdatesEnabled(false);
    for (size_t i = all.size() - count; i < all.size(); ++i) {
        for (const QStringList& cells : TrafficRows(all[i])) {
            const int row = traffic->rowCount();
            traffic->insertRow(row);
            SetRow(traffic, row, cells);
        }
    }
    const int extra = traffic->rowCount() - kTrafficRows;
    for (int i = 0; i < extra; ++i) traffic->removeRow(0);
    traffic->setUpdatesEnabled(true);
    traffic->scrollToBottom();
}

void LineDiagnosticsWindow::ResetCounters() {
    diagnostics_.Reset();
    shownSerial_ = ~quint64(0);
    Refresh();
}

void LineDiagnosticsWindow::TogglePause() {
    paused_ = !paused_;
    diagnostics_.SetRecording(!paused_ && isVisible());
    pause->setText(QString::fromUtf8(paused_ ? "再開" : "一時停止"));
}

void LineDiagnosticsWindow::ClearTraffic() {
    diagnostics_.ClearTraffic();
    shownAppended_ = diagnostics_.TrafficAppended();
    traffic->setRowCount(0);
}

bool LineDiagnosticsWindow::SaveTraffic(const QString& path, TrafficEncoding encoding) {
    const FileWriteResult result = WriteNewFile(path, TrafficFileBytes(diagnostics_.Traffic(), encoding));
    if (result == FileWriteResult::Ok) return true;
    if (Tell) Tell(this, QString::fromUtf8("ﾌｧｲﾙ「%1」に保存できませんでした。保存先を確認してください。").arg(path));
    return false;
}

void LineDiagnosticsWindow::SaveClicked() {
    TrafficEncoding encoding = TrafficEncoding::Cp932;
    const QString path = ChooseFile ? ChooseFile(this, &encoding) : QString();
    if (!path.isEmpty()) SaveTraffic(path, encoding);
}
