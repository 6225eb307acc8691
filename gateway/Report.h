// The gateway's messages go to standard error, one line each, in UTF-8 (journald keeps
// them with their time when it runs as a service).
#pragma once

#include <QString>

void Report(const QString& text);
