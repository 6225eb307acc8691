#include "publish/DiagnosticsDocument.h"

#include "publish/Documents.h"
#include "publish/JsonText.h"

namespace {

QByteArray Milliseconds(double ms) { return QByteArray::number(ms, 'f', 1); }

QByteArray BlockItem(int block, const BlockCounters& c) {
    JsonObject o;
    o.AddInt("block", block + 1)
        .AddInt("requests", qint64(c.requests))
        .AddInt("replies", qint64(c.replies))
        .AddInt("timeouts", qint64(c.timeouts))
        .AddInt("naks", qint64(c.naks))
        .AddInt("checksumErrors", qint64(c.corrupted))
        .AddRaw("responseMsMean", Milliseconds(c.MeanMs()))
        .AddRaw("responseMsMax", Milliseconds(c.maxMs));
    if (c.lastError.isEmpty()) o.AddNull("lastError");
    else o.AddString("lastError", c.lastError);
    if (c.lastErrorAt.isValid()) o.AddString("lastErrorAt", DocumentTime(c.lastErrorAt));
    else o.AddNull("lastErrorAt");
    return o.Text();
}

}  // namespace

QByteArray DiagnosticsDocument(const QString& line, const QDateTime& time, const LineDiagnostics& diagnostics,
                               const std::array<bool, BlockCount>& present) {
    QList<QByteArray> blocks;
    for (int b = 0; b < BlockCount; ++b)
        if (present[size_t(b)]) blocks << BlockItem(b, diagnostics.Block(b));
    return JsonObject()
        .AddString("line", line)
        .AddString("time", DocumentTime(time))
        .AddString("since", DocumentTime(diagnostics.Since()))
        .AddRaw("blocks", JsonArray(blocks))
        .Text();
}
