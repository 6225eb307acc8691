// Text lines as the program's own files hold them: Windows code page 932, every field
// quoted, fields separated by commas, CR LF at the end. Files are opened and closed per
// operation so that other programs can read them between writes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

enum class FileWriteResult {
    Ok,
    PermissionDenied,  // the file or its folder refuses writing (locked, read-only)
    WriteFailed,       // the file opened but took not all of the bytes (a full disk)
    Failed,            // anything else: no name, missing folder
};

// True for the failures the operator is told about: a refused file or a full disk.
bool OperatorShouldBeTold(FileWriteResult result);

QByteArray ToCp932(const QString& text);
// The characters of text that code page 932 has no code for (each once, in order); they
// would be written as "?" or dropped.
QString CharactersWithoutCp932(const QString& text);

// The control characters of text (CR, LF, TAB and every other C0 or C1 code, DEL), each
// once, in order. Names may hold them when pasted or when the store is edited by hand.
QString ControlCharactersIn(const QString& text);
// The text with each control character replaced by a space: a field written from it can
// never break its record over two lines, whatever a name holds.
QString OneLineField(const QString& text);

// One record line, every field through OneLineField. An embedded double quote is doubled
// so that the field stays one field.
QByteArray QuotedLine(const QStringList& fields);

// Creates the file (emptying an existing one) with the given bytes.
FileWriteResult WriteNewFile(const QString& path, const QByteArray& bytes);
// Appends the bytes to the file, creating it when it is missing. A write that fails part
// way is taken back, so a later line never joins a half-written one.
FileWriteResult AppendToFile(const QString& path, const QByteArray& bytes);
