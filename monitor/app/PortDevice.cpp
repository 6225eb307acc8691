#include "app/PortDevice.h"

#include "services/SettingsStore.h"

#include <QSerialPortInfo>
#include <cerrno>
#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

int PortNumber(const QString& port) {
    bool ok = false;
    const int n = port.mid(3).toInt(&ok);
    return ok && port.startsWith(QStringLiteral("COM")) && n >= 1 ? n : 1;
}

// The group that may use the device; "dialout" when it is root's or unknown, since
// advising to join root would be wrong.
QString DeviceGroup(const QString& device) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(device.toLocal8Bit().constData(), &st) == 0 && st.st_gid != 0) {
        if (const group* g = ::getgrgid(st.st_gid)) return QString::fromLocal8Bit(g->gr_name);
    }
#else
    Q_UNUSED(device);
#endif
    return QStringLiteral("dialout");
}

}  // namespace

QString PortDeviceKey(const QString& port) {
    return QStringLiteral("PortDevice%1").arg(PortNumber(port));
}

QString DefaultPortDevice(const QString& port) {
    return QStringLiteral("/dev/ttyS%1").arg(PortNumber(port) - 1);
}

QString StoredPortDevice(const QString& port) {
    const QString stored = GetSetting(PortDeviceKey(port), QString()).trimmed();
    return stored.isEmpty() ? DefaultPortDevice(port) : stored;
}

QString PortDeviceOverrideVariable(const QString& port) {
    return QStringLiteral("TESMARCOMM_COM%1").arg(PortNumber(port));
}

QStringList AvailablePortDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) devices << info.systemLocation();
    devices.sort();
    return devices;
}

int DeviceAccessErrno(const QString& device) {
#ifdef Q_OS_UNIX
    return ::access(device.toLocal8Bit().constData(), R_OK | W_OK) == 0 ? 0 : errno;
#else
    Q_UNUSED(device);
    return 0;  // the link reports what the native port refuses
#endif
}

DeviceProblem PortDeviceProblem(const QString& device, const DeviceAccessFn& access) {
    if (device.trimmed().isEmpty()) return DeviceProblem::None;
    const int err = access ? access(device) : 0;
    if (err == EACCES || err == EPERM) return DeviceProblem::NoPermission;
    if (err == ENOENT) return DeviceProblem::Missing;
    return DeviceProblem::None;
}

QString PortDeviceProblemText(const QString& device, DeviceProblem problem) {
    switch (problem) {
    case DeviceProblem::NoPermission:
        return QStringLiteral("%1 を開く権限がありません。\nユーザーを %2 グループに追加し"
                              "（sudo usermod -aG %2 ユーザー名）、ログインし直してください。")
            .arg(device, DeviceGroup(device));
    case DeviceProblem::Missing:
        return QStringLiteral("%1 が見つかりません。\nｼﾘｱﾙﾎﾟｰﾄの接続とﾃﾞﾊﾞｲｽ名を確かめてください。").arg(device);
    case DeviceProblem::None: break;
    }
    return QString();
}
