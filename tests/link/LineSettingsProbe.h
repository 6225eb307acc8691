// What the serial layer asked the operating system for. Every tcsetattr() of this process
// passes through here on its way to the C library, and the last settings given for each
// file descriptor are kept. A pseudo-terminal cannot hold the character size and the
// parity (it always has 8 bits without parity): it is given 8 bits, and tcgetattr() here
// reports the size and parity as they were asked for, the way a real serial port keeps
// them, so that a layer which reads the settings back before changing one of them carries
// the others along. The modem lines can be made to read like a real port's as well.
#pragma once

#include <functional>
#include <optional>
#include <termios.h>

namespace LineSettingsProbe {
// The last settings requested for fd, if any.
std::optional<termios> LastRequested(int fd);

// The modem lines a serial port reports (TIOCMGET). A pseudo-terminal reports none; a
// test can make every terminal report these lines instead (TIOCM_CTS and so on), and
// go back to what the driver says with Real().
void ReportModemLines(int lines);
// The bytes the driver says are still waiting in its output queue (TIOCOUTQ); a
// pseudo-terminal's queue is always empty. Real() goes back to what the driver says.
void ReportOutputQueue(int bytes);
void Real();

// Makes the driver refuse (EINVAL) every request for which refuse() is true, the way a
// real port refuses a setting it cannot carry; nullptr accepts everything again.
void RefuseRequests(std::function<bool(const termios&)> refuse);
}  // namespace LineSettingsProbe
