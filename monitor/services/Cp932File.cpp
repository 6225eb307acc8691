#include "services/Cp932File.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace {

// QFile reports every failed open as OpenError; tell a refusal apart by looking at the
// file and its folder, since only a refusal has an operator message of its own.
FileWriteResult ClassifyFailure(const QString& path) {
    const QFileInfo file(path);
    if (file.exists()) return file.isWritable() ? FileWriteResult::Failed : FileWriteResult::PermissionDenied;
    const QFileInfo folder(file.absolutePath());
    if (folder.isDir() && !folder.isWritable()) return FileWriteResult::PermissionDenied;
    return FileWriteResult::Failed;
}

FileWriteResult Write(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode) {
    if (path.isEmpty()) return FileWriteResult::Failed;
    QFile file(path);
    // Unbuffered, so that a write taken back is not written again when the file closes.
    if (!file.open(mode | QIODevice::Unbuffered)) return ClassifyFailure(path);
    const qint64 sizeBefore = file.size();
    const bool complete = file.write(bytes) == bytes.size();
    const bool flushed = file.flush();
    if (!(complete && flushed) && (mode & QIODevice::Append) && file.isSequential() == false)
        file.resize(sizeBefore);
    file.close();
    return complete && flushed ? FileWriteResult::Ok : FileWriteResult::WriteFailed;
}

// C0 codes (CR, LF, TAB among them), DEL and the C1 codes.
bool IsControl(QChar c) { return c.category() == QChar::Other_Control; }

}  // namespace

bool OperatorShouldBeTold(FileWriteResult result) {
    return result == FileWriteResult::PermissionDenied || result == FileWriteResult::WriteFailed;
}

QByteArray ToCp932(const QString& text) {
    QStringEncoder encoder("Shift_JIS");
    return encoder.encode(text);
}

QString CharactersWithoutCp932(const QString& text) {
    QString missing;
    for (qsizetype i = 0; i < text.size();) {
        // A character outside the basic plane takes two code units.
        const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, width);
        QStringEncoder encoder("Shift_JIS", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(ch);  // the encoding runs on conversion
        if (encoder.hasError() && !missing.contains(ch)) missing += ch;
        i += width;
    }
    return missing;
}

QString ControlCharactersIn(const QString& text) {
    QString found;
    for (const QChar c : text)
        if (IsControl(c) && !found.contains(c)) found += c;
    return found;
}

QString OneLineField(const QString& text) {
    QString field = text;
    for (QChar& c : field)
        if (IsControl(c)) c = QLatin1Char(' ');
    return field;
}

QByteArray QuotedLine(const QStringList& fields) {
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) line += QLatin1Char(',');
        QString field = OneLineField(fields[i]);
        field.replace(QLatin1String("\""), QLatin1String("\"\""));
        line += QLatin1Char('"') + field + QLatin1Char('"');
    }
    line += QLatin1String("\r\n");
    return ToCp932(line);
}

FileWriteResult WriteNewFile(const QString& path, const QByteArray& bytes) {
    return Write(path, bytes, QIODevice::WriteOnly | QIODevice::Truncate);
}

FileWriteResult AppendToFile(const QString& path, const QByteArray& bytes) {
    return Write(path, bytes, QIODevice::WriteOnly | QIODevice::Append);
}
