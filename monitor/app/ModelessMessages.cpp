#include "app/ModelessMessages.h"

#include <QMessageBox>
#include <QSet>

void ModelessMessages::Tell(const QString& text) {
    static QSet<QString> open;
    if (open.contains(text)) return;
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("RDX-410 Monitor"), text,
                                QMessageBox::Ok, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    open.insert(text);
    QObject::connect(box, &QObject::destroyed, [text] { open.remove(text); });
    box->show();
}
