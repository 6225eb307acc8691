#include "exchange/EngineLog.h"

Q_LOGGING_CATEGORY(lcEngine, "rdx.engine", QtWarningMsg)
