#include "app/ModelessMessage.h"

#include <QMessageBox>
#include <QPointer>
#include <QSet>

void ShowModelessMessage(QWidget* parent, const QString& text) {
    static QSet<QString> open;
    if (open.contains(text)) return;
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("RDX-410 Monitor"), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    open.insert(text);
    QObject::connect(box, &QObject::destroyed, [text] { open.remove(text); });
    box->show();
}
