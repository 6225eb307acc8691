#include "app/QtCatalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* InstallQtJapanese(const QString& folder) {
    if (!QCoreApplication::instance()) return nullptr;
    const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* catalogue = new QTranslator;
    if (!catalogue->load(QStringLiteral("qtbase_ja.qm"), from) || !QCoreApplication::installTranslator(catalogue)) {
        delete catalogue;
        return nullptr;
    }
    return catalogue;
}
