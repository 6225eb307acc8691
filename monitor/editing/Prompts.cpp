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
        QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
        return box.exec() == QMessageBox::Yes;
    };
    p.Beep = [] { QApplication::beep(); };
    return p;
}
