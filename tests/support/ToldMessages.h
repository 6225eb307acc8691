// Non-waiting operator messages that note what they were told.
#pragma once

#include "services/OperatorMessages.h"

#include <QStringList>

struct ToldMessages : OperatorMessages {
    QStringList told;
    void Tell(const QString& text) override { told << text; }
};
