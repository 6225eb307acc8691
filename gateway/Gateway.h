// The gateway's shell: the same objects the monitor builds at start-up (tables, alarm
// history, link, engine), with a view and a PV log that need no widgets, and the
// publisher. Runs the engine's loop until EndRequested, then ends in order.
#pragma once

#include "exchange/RDX_INC.h"
#include "gateway/GatewayOptions.h"
#include "gateway/GatewayView.h"
#include "gateway/LinkWatch.h"
#include "gateway/Report.h"
#include "history/AlarmHistory.h"
#include "publish/PublishSettings.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class ISTDComm;
class PollEngine;
class GatewayLogging;
class LinePublisher;
class LineModbusServer;

class Gateway : public QObject {
    Q_OBJECT
public:
    explicit Gateway(GatewayOptions options, QObject* parent = nullptr);
    ~Gateway() override;

    // Returns the program's exit status.
    int Run();
    // SIGTERM, SIGINT: the loop ends after the step that runs.
    void RequestEnd() { d_.EndRequested = true; }
    // Asked between the exchanges of the start-up read, where no event is handled.
    std::function<bool()> EndPending;

private:
    // The publishing choices checked before anything else: empty, or the problem that
    // ends the gateway with ExitConfigError.
    QString ResolvePublishing();
    void StartPublishing(const QString& folder);
    // The Modbus TCP server, when --modbus asks for it; false when it cannot listen.
    bool StartModbus();
    void OnStartupFinished();
    // Tells the publisher the serial line's state when it changed.
    void CheckLink();
    void OnHistoryEntry(const QString& code, int ch, int state, const AlarmHistory::Entry& entry);

    GatewayOptions options_;
    StandardErrorMessages messages_;
    RDX_INC d_;
    AlarmHistory history_;
    GatewayView view_;
    std::unique_ptr<ISTDComm> link_;
    std::unique_ptr<PollEngine> engine_;
    std::unique_ptr<GatewayLogging> logging_;
    std::optional<PublishConfig> publishConfig_;  // none: --no-publish
    std::unique_ptr<LinePublisher> publisher_;
    std::unique_ptr<LineModbusServer> modbus_;
    LinkWatch linkWatch_;
    // The port can go away while nothing else is told (between reopening attempts).
    QTimer linkTimer_;
    bool started_ = false;
};
