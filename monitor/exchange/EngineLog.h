// The engine's logging category "rdx.engine": quiet below warning unless QT_LOGGING_RULES
// turns it on (e.g. QT_LOGGING_RULES="rdx.engine.debug=true").
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcEngine)
