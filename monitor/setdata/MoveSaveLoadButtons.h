// The button column the channel and the block dialog share: "Move-->", "<---Move",
// "Save-->", "<--Load" and, set a little apart, "Return".
#pragma once

#include <array>
#include <functional>

class QPushButton;
class QVBoxLayout;
class QWidget;

// Creates the five buttons on owner into buttons, each calling clicked with its index,
// and returns the column that holds them.
QVBoxLayout* BuildMoveSaveLoadButtons(QWidget* owner, std::array<QPushButton*, 5>& buttons,
                                      const std::function<void(int index)>& clicked);
