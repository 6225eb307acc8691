#include "modbus/ModbusLog.h"

Q_LOGGING_CATEGORY(lcModbus, "rdx.modbus", QtWarningMsg)
