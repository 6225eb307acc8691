// Messages for the operator that do not wait for an answer. They are told from inside a
// polling step or a timer tick, where a waiting box would run a nested event loop in the
// middle of the step. The window shell shows them in boxes; a program without a screen
// writes them to its log.
#pragma once

#include <QString>

class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    // Tells the text; the same text still on show is not told a second time.
    virtual void Tell(const QString& text) = 0;
};
