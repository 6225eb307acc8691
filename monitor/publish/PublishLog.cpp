#include "publish/PublishLog.h"

Q_LOGGING_CATEGORY(lcMqtt, "rdx.mqtt", QtWarningMsg)
