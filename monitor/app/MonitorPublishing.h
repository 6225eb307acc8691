// Publishing from the monitor: off unless switched on in the dialog under 設定; started
// again with the new choices whenever the dialog stores them. Everything else the monitor
// does stays as it was; the poll loop only hands finished messages over.
#pragma once

#include "exchange/RDX_INC.h"
#include "history/AlarmHistory.h"

#include <QObject>
#include <memory>

class LineDiagnostics;
class LinePublisher;
class OperatorMessages;
class PollEngine;
class SubDisp_Mqtt;
class QWidget;

class MonitorPublishing : public QObject {
    Q_OBJECT
public:
    // The dialog belongs to window; what the operator must know is told through messages.
    MonitorPublishing(const RDX_INC& data, QWidget* window, OperatorMessages& messages);
    ~MonitorPublishing() override;

    // The engine's and the history's hooks lead here from now on.
    void Attach(PollEngine& engine, AlarmHistory& history);
    // Stops what runs and starts again from the stored choices (nothing when off).
    void Apply();
    // The end of a start-up read: every present block's document goes out.
    void StartupFinished();
    SubDisp_Mqtt& dialog() { return *dialog_; }
    bool Publishing() const { return publisher_ != nullptr; }

private:
    void Stop();

    const RDX_INC& d_;
    OperatorMessages& messages_;
    SubDisp_Mqtt* dialog_ = nullptr;
    std::unique_ptr<LinePublisher> publisher_;
    const LineDiagnostics* diagnostics_ = nullptr;  // the engine's, once attached
    bool startedUp_ = false;
    bool connectedOnce_ = false;
};
