#include "setdata/SetDataFile.h"

#include "setdata/SetDataValues.h"

#include <QFile>
#include <QSaveFile>

SetDataText SetDataTextOf(QByteArrayView bytes, int sizeClass) {
    SetDataText result;
    if (SetDataSizeClass(bytes.size()) != sizeClass) {
        result.outcome.status = SetDataStatus::WrongSizeClass;
        return result;
    }
    std::optional<QString> text = DecodeCp932(bytes);
    if (!text) {
        result.outcome.status = SetDataStatus::BadEncoding;
        return result;
    }
    result.text = std::move(*text);
    return result;
}

SetDataText ReadSetDataText(const QString& path, int sizeClass) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {{SetDataStatus::OpenFailed}, {}};
    // A file of another variant is refused before anything of it is read.
    if (SetDataSizeClass(file.size()) != sizeClass) return {{SetDataStatus::WrongSizeClass}, {}};
    const QByteArray bytes = file.readAll();
    const bool failed = file.error() != QFileDevice::NoError;
    file.close();
    if (failed) return {{SetDataStatus::OpenFailed}, {}};
    return SetDataTextOf(bytes, sizeClass);
}

SetDataOutcome WriteSetDataBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {SetDataStatus::OpenFailed};
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return {SetDataStatus::WriteFailed};
    }
    if (!file.commit()) return {SetDataStatus::WriteFailed};
    return {};
}
