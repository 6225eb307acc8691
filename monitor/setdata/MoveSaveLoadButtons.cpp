#include "setdata/MoveSaveLoadButtons.h"

#include "setdata/SetDataMessages.h"

#include <QPushButton>
#include <QVBoxLayout>

QVBoxLayout* BuildMoveSaveLoadButtons(QWidget* owner, std::array<QPushButton*, 5>& buttons,
                                      const std::function<void(int index)>& clicked) {
    auto* column = new QVBoxLayout;
    column->addStretch(1);
    for (int i = 0; i < 5; ++i) {
        buttons[i] = new QPushButton(QString::fromLatin1(SetDataMsg::MoveSaveLoadButtons[i]), owner);
        QObject::connect(buttons[i], &QPushButton::clicked, owner, [clicked, i] { clicked(i); });
        if (i == int(buttons.size()) - 1) column->addSpacing(24);  // "Return" stands apart
        column->addWidget(buttons[i]);
    }
    column->addStretch(1);
    return column;
}
