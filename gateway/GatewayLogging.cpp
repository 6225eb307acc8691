#include "gateway/GatewayLogging.h"

#include "services/SettingsStore.h"
#include "gateway/Report.h"
#include "format/ValueFormat.h"

#include <QDir>
#include <QFileInfo>

GatewayLogging::GatewayLogging(const RDX_INC& inc, QString programFolder, QObject* parent)
    : QObject(parent), logger_([&inc](int ch) { return FormatItemValue(inc, 0, ch); }), folder_(std::move(programFolder)) {
    // A block out of contact gets empty fields, not its frozen values (as in the monitor).
    logger_.BlockOutOfContact = [&inc](int block) {
        return block >= 0 && block < BlockCount && inc.BlockOutOfContact[block];
    };
        timer_.setInterval(200);
    connect(&timer_, &QTimer::timeout, this, &GatewayLogging::Tick);
}

void GatewayLogging::ResumeAtStartup() {
    if (Running() || !GetSettingFlag(QStringLiteral("log_start"))) return;
    const QString fresh = NewLogFileName(folder_, logger_.Time->Now());
    const bool resume = GetSettingFlag(QStringLiteral("log_restart"));
    const QString path = resume ? GetSetting(QStringLiteral("log_name"), fresh) : fresh;
    const bool exists = QFileInfo::exists(path);
    // Nobody can be asked whether to overwrite a file; it is left alone.
    if (exists && !resume) {
        Report(QStringLiteral("同じﾌｧｲﾙ名のﾌｧｲﾙが存在するため、PVﾛｷﾞﾝｸﾞを始めません: %1").arg(path));
        return;
    }
    for (int n = 0; n < BlockCount; ++n)
        ticked_[n] = GetSettingInt(QStringLiteral("LogBlock") + QString::number(n), 0) == 1;
    const FileWriteResult result =
        logger_.StartLog(path, resume && exists, ticked_, GetSettingInt(QStringLiteral("Logtim"), 0));
    QDir::setCurrent(folder_);
    if (result != FileWriteResult::Ok) {
        Report(QString::fromUtf8(LogWriteFailedMessage) + QStringLiteral(" ") + path);
        return;
    }
    path_ = path;
    timer_.start();
    Report(QStringLiteral("PVﾛｷﾞﾝｸﾞを続けます: %1").arg(path_));
}

void GatewayLogging::Tick() {
    const PvLogger::TickResult r = logger_.LogTick(path_, ticked_);
    // One message per run of failures, not one every interval.
    if (r == PvLogger::TickResult::Failed && !failing_)
        Report(QString::fromUtf8(LogWriteFailedMessage) + QStringLiteral(" ") + path_);
    if (r != PvLogger::TickResult::NotDue) failing_ = r == PvLogger::TickResult::Failed;
}
