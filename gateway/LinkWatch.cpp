#include "gateway/LinkWatch.h"

bool LinkWatch::Update(bool open, const OpenFailureInfo& failure, const QDateTime& now) {
    const QString state = open ? QStringLiteral("open")
                          : failure.kind == OpenFailure::NotFound ? QStringLiteral("missing")
                                                                  : QStringLiteral("lost");
    if (state == facts_.state) return false;
    facts_.state = state;
    if (!failure.device.isEmpty()) facts_.device = failure.device;
    else if (facts_.device.isEmpty()) facts_.device = DefaultDevice;
    facts_.since = now;
    return true;
}
