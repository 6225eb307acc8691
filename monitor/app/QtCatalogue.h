// Qt's own texts (standard buttons, file dialogs) in the program's language.
#pragma once

#include <QString>

class QTranslator;

// Loads Qt's Japanese catalogue "qtbase_ja.qm" from `folder` (Qt's translations folder when
// empty) and installs it in the application, whatever the system locale says. Returns the
// installed translator (the caller owns it), or nullptr when the catalogue is missing: Qt's English texts stay.
QTranslator* InstallQtJapanese(const QString& folder = QString());
