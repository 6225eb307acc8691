#include "gateway/GatewayView.h"

#include "gateway/Report.h"
#include "services/PortFailureText.h"

#include <QTimer>

GatewayView::GatewayView(RDX_INC& data, QObject* parent) : QObject(parent), d(data) {}

void GatewayView::StartupFinished() {
    int present = 0;
    for (int b = 0; b < BlockCount; ++b) present += d.BlockAbsent[b] == 0 ? 1 : 0;
    Report(QStringLiteral("起動時の読込みが終わりました（ﾌﾞﾛｯｸ %1 台）。監視を始めます。").arg(present));
    reported_.reset();
    LineChanged();
    if (OnStartupFinished) OnStartupFinished();
}

void GatewayView::StartupInterrupted() {
    Report(QStringLiteral("起動時の読込み中に通信ﾎﾟｰﾄが使えなくなりました。ﾎﾟｰﾄが戻ったら読込みをやり直します。"));
    LineChanged();
}

void GatewayView::ShowPortDialog(const QString& port, const QString& speed, const OpenFailureInfo& failure) {
    // The engine asks again every PortRetryMs: a cause is said when it begins, and again
    // only when another takes its place.
    if (reported_ != failure) {
        OpenFailureInfo told = failure;
        if (told.device.isEmpty()) told.device = Device;
        Report(PortFailureText(Port.isEmpty() ? port : Port, Speed.isEmpty() ? speed : Speed, told) +
               QStringLiteral("%1秒ごとに再試行します。").arg(PortRetryMs / 1000));
    }
    reported_ = failure;
    LineChanged();
    QTimer::singleShot(PortRetryMs, this, [this] { d.LinkFailed = false; });
}
