// The window shell's non-waiting messages: OK-only boxes that are shown and not waited for.
#pragma once

#include "services/OperatorMessages.h"

#include <QPointer>
#include <QWidget>

class ModelessMessages : public OperatorMessages {
public:
    explicit ModelessMessages(QWidget* parent = nullptr) : parent_(parent) {}
    // While a box with the same text is still open, no second one is stacked.
    void Tell(const QString& text) override;

private:
    QPointer<QWidget> parent_;
};
