// PV logging in the gateway. There is no logging tab to start it: like the monitor at the
// end of its start-up, the gateway goes on logging when the stored choices say logging
// was running ("log_start"), into the stored file when asked to continue it
// ("log_restart", "log_name") or else a new file, with the stored blocks and interval.
#pragma once

#include "exchange/RDX_INC.h"
#include "history/PvLogger.h"

#include <QObject>
#include <QString>
#include <QTimer>

class GatewayLogging : public QObject {
    Q_OBJECT
public:
    GatewayLogging(const RDX_INC& inc, QString programFolder, QObject* parent = nullptr);

    void ResumeAtStartup();
    bool Running() const { return timer_.isActive(); }
    QString Path() const { return path_; }

private:
    void Tick();

    PvLogger logger_;
    QString folder_;
    QString path_;
    BlockSelection ticked_{};
    QTimer timer_;
    bool failing_ = false;
};
