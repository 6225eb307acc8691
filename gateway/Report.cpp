#include "gateway/Report.h"

#include <QDateTime>
#include <cstdio>

namespace {

void WriteLine(const QString& text) {
    const QDateTime now = QDateTime::currentDateTime();
    // Qt::ISODateWithMs gives the offset only for a time that carries one.
    const QString time = now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
    const QByteArray line = (time + u' ' + text).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void QtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    WriteLine(qFormatLogMessage(type, context, message));
}

}  // namespace

void Report(const QString& text) { WriteLine(text); }

void RouteQtMessagesToReport() { qInstallMessageHandler(&QtMessage); }
