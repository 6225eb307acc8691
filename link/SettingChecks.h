// Checks of the link's text properties and the link's numbered errors.
#pragma once

#include <QString>

namespace LinkError {
inline constexpr int PortName = 30001;
inline constexpr int Speed = 30002;
inline constexpr int Parity = 30003;
inline constexpr int DataBit = 30004;
inline constexpr int StopBit = 30005;
inline constexpr int Handshake = 30006;
inline constexpr int Connect = 30019;
// Raised by the port layer for an operation on a closed port.
inline constexpr int PortNotOpen = 8018;

// Throws STDCommError with the number's text.
[[noreturn]] void Raise(int number);
QString Text(int number);
}  // namespace LinkError

namespace SettingChecks {
// Each returns the value for the port layer or raises its numbered error.
int PortNumber(const QString& port);           // "COM1".."COM8", any case -> 1..8
QString Speed(const QString& speed);           // "2400", "4800", "9600", "19200"
QString ParityLetter(const QString& parity);   // NONE/EVEN/ODD, any case -> N/E/O
QString DataBit(const QString& bits);          // "7" or "8"
QString StopBit(const QString& bits);          // "1" or "2"
int HandshakeCode(const QString& flow);        // NONE, XON/XOFF, RTS/CTS, BOTH -> 0..3
// Name of a handshake code; empty for an unknown code.
QString HandshakeName(int code);
}  // namespace SettingChecks
