// 回線診断: the counters of every present block, updated live, and the last frames on the
// line, with pause, clear and save. Non-modal; recording runs only while it is shown.
#pragma once

#include "display/TrafficText.h"
#include "exchange/LineDiagnostics.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

class LineDiagnosticsWindow : public QDialog {
    Q_OBJECT
public:
    // present(block): whether a block is on the line (absent blocks are not listed).
    LineDiagnosticsWindow(LineDiagnostics& diagnostics, std::function<bool(int block)> present,
                          QWidget* parent = nullptr);

    void Open();
    // Redraws the counters, and the traffic unless paused.
    void Refresh();
    void ResetCounters();
    void TogglePause();
    void ClearTraffic();
    // Asks for a file and an encoding; replaced by tests.
    std::function<QString(QWidget* parent, TrafficEncoding* encoding)> ChooseFile;
    // Tells the operator; replaced by tests.
    std::function<void(QWidget* parent, const QString& text)> Tell;
    // Writes the traffic shown to `path`; false (and the operator told) when it failed.
    bool SaveTraffic(const QString& path, TrafficEncoding encoding);
    void SaveClicked();

    QTableWidget* counters = nullptr;
    QTableWidget* traffic = nullptr;
    QLabel* since = nullptr;
    QPushButton* pause = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FillCounters();
    void FillTraffic();

    LineDiagnostics& diagnostics_;
    std::function<bool(int)> present_;
    QTimer* timer_ = nullptr;
    bool paused_ = false;
    quint64 shownSerial_ = ~quint64(0);
    // TrafficAppended() when the traffic table was last filled.
    quint64 shownAppended_ = 0;
};
