#include "services/SettingsStore.h"

#include <QSettings>

namespace {

QSettings& Store() {
    static QSettings settings(QSettings::IniFormat, QSettings::UserScope,
                              QString::fromUtf8(SettingsAppName), QString::fromUtf8(SettingsSection));
    return settings;
}

QString Key(const QString& key) {
    return QString::fromUtf8(SettingsSection) + QLatin1Char('/') + key;
}

}  // namespace

QString GetSetting(const QString& key, const QString& defaultValue) {
    const QVariant v = Store().value(Key(key));
    return v.isValid() ? v.toString() : defaultValue;
}

void SaveSetting(const QString& key, const QString& value) {
    Store().setValue(Key(key), value);
}

void FlushSettings() { Store().sync(); }

int GetSettingInt(const QString& key, int defaultValue) {
    bool ok = false;
    const int value = GetSetting(key, QString::number(defaultValue)).trimmed().toInt(&ok);
    if (!ok || value < -32768 || value > 32767) return defaultValue;
    return value;
}

bool GetSettingFlag(const QString& key) {
    bool ok = false;
    const double value = GetSetting(key, QStringLiteral("0")).trimmed().toDouble(&ok);
    return ok && value == 1.0;
}
