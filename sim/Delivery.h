// How the receiving end's hardware hands the characters on the wire to the program. Each
// character is on the wire at the time the pacing gives it; what changes is when the
// reader gets it.
#pragma once

#include "Pacing.h"

#include <QString>

#include <optional>
#include <vector>

namespace rdxsim {

enum class Delivery {
    Char,  // each character as soon as it is in (a UART without FIFO)
    Fifo,  // a 16550's receive FIFO: an interrupt at 14 characters or after a quiet spell
    Usb,   // a USB adapter: a packet when 62 characters wait or 16 ms after the oldest
};

// "char", "fifo", "usb".
std::optional<Delivery> DeliveryNamed(const QString& name);

// A 16550 raises its receive interrupt at this many characters...
inline constexpr int kFifoTrigger = 14;
// ...or when no character has come for this many character times with some waiting.
inline constexpr double kFifoTimeoutChars = 4;
// A USB adapter's packet holds 62 characters (64 bytes less two of status)...
inline constexpr int kUsbPacket = 62;
// ...and goes when its latency timer runs out with fewer waiting.
inline constexpr double kUsbLatencyMs = 16;

// wire: the pacing's schedule (one character each when paced). The result has the same
// characters in the same order, in the pieces and at the times the reader gets them.
std::vector<TimedWrite> Deliver(const std::vector<TimedWrite>& wire, Delivery delivery, int baud);

}  // namespace rdxsim
