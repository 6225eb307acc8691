// The waiting message boxes and the beep of the editing dialogs, replaceable so that
// widget tests can answer them. Used only from operator actions (button clicks, keys).
#pragma once

#include <QString>
#include <functional>

class QWidget;

struct Prompts {
    // OK only.
    std::function<void(QWidget* parent, const QString& text)> Message;
    // Yes/No with the warning icon; true for Yes.
    std::function<bool(QWidget* parent, const QString& text)> Confirm;
    std::function<void()> Beep;

    // Message boxes and the system beep.
    static Prompts Standard();
};

// Every question of the program is one whose Yes overwrites, initialises, ends or switches
// something off: the default button (Enter) is No, so a stray key press changes nothing.
bool AskYesNoDefaultNo(QWidget* parent, const QString& title, const QString& text, bool warningIcon);
