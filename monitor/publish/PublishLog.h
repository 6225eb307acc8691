// Publishing's logging category "rdx.mqtt" (the MQTT client library's own log included):
// quiet below warning unless QT_LOGGING_RULES turns it on ("rdx.mqtt.debug=true").
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMqtt)
