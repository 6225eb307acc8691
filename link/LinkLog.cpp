#include "LinkLog.h"

Q_LOGGING_CATEGORY(lcLink, "rdx.link", QtWarningMsg)
