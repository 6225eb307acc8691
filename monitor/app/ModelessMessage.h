// An OK-only message that does not wait: shown from inside a polling step or a timer tick,
// where a waiting box would run a nested event loop in the middle of the step.
#pragma once

#include <QString>

class QWidget;

// Shows the text; while a box with the same text is still open, no second one is stacked.
void ShowModelessMessage(QWidget* parent, const QString& text);
