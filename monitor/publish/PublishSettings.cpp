#include "publish/PublishSettings.h"

#include "services/SettingsStore.h"
#include "publish/BrokerMessages.h"
#include "publish/PasswordFile.h"
#include "publish/TopicTree.h"

#include <QFileInfo>
#include <QSysInfo>

namespace {

QString Get(const char* key, const QString& defaultValue = QString()) {
    return GetSetting(QString::fromLatin1(key), defaultValue);
}

void Put(const char* key, const QString& value) { SaveSetting(QString::fromLatin1(key), value); }

}  // namespace

QString DefaultLineName() {
    QString name = QSysInfo::machineHostName();
    // A host name may carry characters a topic level must not.
    for (QChar& c : name)
        if (c == u'/' || c == u'+' || c == u'#' || c.unicode() < 0x20) c = u'_';
    if (name.startsWith(u'$')) name[0] = u'_';
    name = name.left(LineNameMaxLength);
    return name.trimmed().isEmpty() ? QStringLiteral("line1") : name;
}

PublishSettings PublishSettings::Load() {
    PublishSettings s;
    s.enabled = GetSettingFlag(QString::fromLatin1(KeyMqttPublish));
    s.broker = Get(KeyMqttBroker, QString::fromLatin1(DefaultBrokerUrl));
    s.line = Get(KeyMqttLine, DefaultLineName());
    s.caFile = Get(KeyMqttCaFile);
    s.certFile = Get(KeyMqttCertFile);
    s.keyFile = Get(KeyMqttKeyFile);
    s.user = Get(KeyMqttUser);
    s.passwordFile = Get(KeyMqttPasswordFile);
    return s;
}

void PublishSettings::Save() const {
    Put(KeyMqttPublish, enabled ? QStringLiteral("1") : QStringLiteral("0"));
    Put(KeyMqttBroker, broker);
    Put(KeyMqttLine, line);
    Put(KeyMqttCaFile, caFile);
    Put(KeyMqttCertFile, certFile);
    Put(KeyMqttKeyFile, keyFile);
    Put(KeyMqttUser, user);
    Put(KeyMqttPasswordFile, passwordFile);
}

QString ResolvePublishConfig(const PublishSettings& s, PublishConfig* config) {
    PublishConfig c;
    if (!ParseBrokerUrl(s.broker, &c.address)) return QString::fromUtf8(BrokerUrlMessage);
    if (const QString problem = LineNameProblem(s.line); !problem.isEmpty()) return problem;
    c.line = s.line;
    if (c.address.tls && !s.caFile.isEmpty()) {
        const QFileInfo ca(s.caFile);
        if (!ca.isFile() || !ca.isReadable()) return QString::fromUtf8(CaFileMessage);
        c.caFile = ca.absoluteFilePath();
    }
    // Given with mqtt:// they would go unused without a word: checked all the same.
    if (s.certFile.isEmpty() != s.keyFile.isEmpty()) return QString::fromUtf8(ClientCertPairMessage);
    for (const QString& file : {s.certFile, s.keyFile}) {
        const QFileInfo info(file);
        if (!file.isEmpty() && (!info.isFile() || !info.isReadable())) return QString::fromUtf8(ClientCertFileMessage);
    }
    if (!s.certFile.isEmpty()) {
        c.certFile = QFileInfo(s.certFile).absoluteFilePath();
        c.keyFile = QFileInfo(s.keyFile).absoluteFilePath();
    }
    c.user = s.user;
    if (!s.passwordFile.isEmpty()) {
        if (s.user.isEmpty()) return QString::fromUtf8(PasswordWithoutUserMessage);
        if (const QString problem = ReadPasswordFile(s.passwordFile, &c.password); !problem.isEmpty())
            return problem;
    }
    if (config) *config = c;
    return {};
}
