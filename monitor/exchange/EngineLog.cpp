#include "exchange/EngineLog.h"

#include "ISTDComm.h"

Q_LOGGING_CATEGORY(lcEngine, "rdx.engine", QtWarningMsg)

void LogSkippedStep(const char* where, const std::exception& e) {
    if (const auto* link = dynamic_cast<const STDCommError*>(&e))
        qCWarning(lcEngine).noquote() << where << "skipped: link error" << link->number() << link->text();
    else
        qCWarning(lcEngine).noquote() << where << "skipped:" << e.what();
}
