#include "editing/Prompts.h"

#include <QApplication>
#include <QMessageBox>

namespace {
const QString kTitle = QStringLiteral("RDX-410 Monitor");
}

Prompts Prompts::Standard() {
    Prompts p;
    p.Message = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, parent);
        box.exec();
    };
    p.Confirm = [](QWidget* parent, const QString& text) {
        return AskYesNoDefaultNo(parent, kTitle, text, true);
    };
    p.Beep = [] { QApplication::beep(); };
    return p;
}

bool AskYesNoDefaultNo(QWidget* parent, const QString& title, const QString& text, bool warningIcon) {
    QMessageBox box(warningIcon ? QMessageBox::Warning : QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
