// The gateway's messages go to standard error, one line each, in UTF-8 (journald keeps
// them with their time when it runs as a service).
#pragma once

#include "services/OperatorMessages.h"

#include <QString>

void Report(const QString& text);

// The messages the window shows in boxes, for a program without a screen.
class StandardErrorMessages : public OperatorMessages {
public:
    void Tell(const QString& text) override { Report(text); }
};
