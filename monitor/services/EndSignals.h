// SIGTERM and SIGINT as a request to end in order. The handler only records the signal and
// writes a byte; the event loop runs onEnd between steps, and a long step that handles no
// events (the start-up read) can ask EndSignalled() between its exchanges.
#pragma once

#include <QObject>
#include <functional>

// Installs the handlers; onEnd runs in the event loop of owner's thread, once per signal.
// False when the signal channel could not be made (the program then ends as signals do).
bool CatchEndSignals(QObject* owner, std::function<void()> onEnd);

// True once SIGTERM or SIGINT arrived. Cheap; safe to ask at any time.
bool EndSignalled();
