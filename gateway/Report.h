// The gateway's messages go to standard error, one line each, in UTF-8, each after the
// local time in ISO 8601 with its offset: a log read later, or mailed from another time
// zone, still says when. Under systemd journald adds its own time; the line keeps ours.
#pragma once

#include "services/OperatorMessages.h"

#include <QString>

void Report(const QString& text);
// Qt's own messages (qCWarning and the like, the MQTT client library's included) go the
// same way, so no line on standard error is without its time.
void RouteQtMessagesToReport();

// The messages the window shows in boxes, for a program without a screen.
class StandardErrorMessages : public OperatorMessages {
public:
    void Tell(const QString& text) override { Report(text); }
};
