// The engine's logging category "rdx.engine": quiet below warning unless QT_LOGGING_RULES
// turns it on (e.g. QT_LOGGING_RULES="rdx.engine.debug=true").
#pragma once

#include <QLoggingCategory>
#include <exception>

Q_DECLARE_LOGGING_CATEGORY(lcEngine)

// A failure caught where a step is skipped, as a warning on rdx.engine: the link's numbered
// error with its number and text, anything else with what(); `where` names the step.
void LogSkippedStep(const char* where, const std::exception& e);
