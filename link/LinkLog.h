// The link's logging category "rdx.link": every frame sent and received at debug, a
// corrupted reply or a port closed while waiting at warning. Quiet below warning unless
// QT_LOGGING_RULES turns it on ("rdx.link.debug=true").
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
