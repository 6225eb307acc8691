// The broker password lives in a file that only its owner can read: never on the command
// line (where every user sees it in the process list) and never in the settings store.
#pragma once

#include <QByteArray>
#include <QString>

// Reads the first line of the file. The file must be a regular file owned by this user
// with no permissions for group or others (600 or 400). Returns an operator message when
// it cannot be used, empty on success.
QString ReadPasswordFile(const QString& path, QByteArray* password);
