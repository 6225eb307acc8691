#include "app/PortDevice.h"

#include "services/SettingsStore.h"

#include <QSerialPortInfo>
#include <cerrno>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

int PortNumber(const QString& port) {
    bool ok = false;
    const int n = port.mid(3).toInt(&ok);
    return ok && port.startsWith(QStringLiteral("COM")) && n >= 1 ? n : 1;
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

QString DeviceOfPort(const QString& port) {
    const QString overridden = qEnvironmentVariable(PortDeviceOverrideVariable(port).toLatin1().constData());
    return overridden.isEmpty() ? StoredPortDevice(port) : overridden;
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

OpenFailure PortDeviceProblem(const QString& device, const DeviceAccessFn& access) {
    if (device.trimmed().isEmpty()) return OpenFailure::None;
    const int err = access ? access(device) : 0;
    if (err == EACCES || err == EPERM) return OpenFailure::NoPermission;
    if (err == ENOENT) return OpenFailure::NotFound;
    return OpenFailure::None;
}
