#include "gateway/GatewayView.h"

#include "gateway/Report.h"

#include <QTimer>

GatewayView::GatewayView(RDX_INC& data, QObject* parent) : QObject(parent), d(data) {}

void GatewayView::StartupFinished() {
    int present = 0;
    for (int b = 0; b < BlockCount; ++b) present += d.BlockAbsent[b] == 0 ? 1 : 0;
    Report(QStringLiteral("起動時の読込みが終わりました（ﾌﾞﾛｯｸ %1 台）。監視を始めます。").arg(present));
    portReported_ = false;
    if (OnStartupFinished) OnStartupFinished();
}

void GatewayView::StartupInterrupted() {
    Report(QStringLiteral("起動時の読込み中に通信ﾎﾟｰﾄが使えなくなりました。ﾎﾟｰﾄが戻ったら読込みをやり直します。"));
}

void GatewayView::ShowPortDialog(const QString& port, const QString& speed) {
    // Said once per outage; the engine asks again every PortRetryMs.
    if (!portReported_) {
        QString where = Port.isEmpty() ? port : Port;
        if (!Device.isEmpty()) where += QStringLiteral("（%1）").arg(Device);
        Report(QStringLiteral("%1、%2bps でMGU-500が応答しません。ﾎﾟｰﾄ、速度と配線を確認してください。"
                              "%3秒ごとに再試行します。")
                   .arg(where, Speed.isEmpty() ? speed : Speed)
                   .arg(PortRetryMs / 1000));
    }
    portReported_ = true;
    QTimer::singleShot(PortRetryMs, this, [this] { d.LinkFailed = false; });
}
