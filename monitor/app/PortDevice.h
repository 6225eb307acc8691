// Which serial device a COM port of the port dialog maps to on this system, and why the
// operator may not be able to open it.
#pragma once

#include "OpenFailure.h"

#include <QString>
#include <QStringList>
#include <functional>

// Settings key of the device of "COM1"/"COM2": "PortDevice1"/"PortDevice2".
QString PortDeviceKey(const QString& port);
// The device the link uses when none is stored: "/dev/ttyS0" for COM1, "/dev/ttyS1" for COM2.
QString DefaultPortDevice(const QString& port);
// The stored device of a port, or its default.
QString StoredPortDevice(const QString& port);
// The environment variable that overrides a port's device in the link (TESMARCOMM_COM1...).
QString PortDeviceOverrideVariable(const QString& port);
// The device the link opens for a port: the override variable's, else the stored one.
QString DeviceOfPort(const QString& port);
// The serial ports the system reports (/dev/ttyUSB0, /dev/ttyS0, ...).
QStringList AvailablePortDevices();

// Result of trying read-write access to a device: 0 or an errno value.
using DeviceAccessFn = std::function<int(const QString& device)>;
int DeviceAccessErrno(const QString& device);

// NoPermission, NotFound, or None when the check finds nothing against the device.
OpenFailure PortDeviceProblem(const QString& device, const DeviceAccessFn& access = DeviceAccessErrno);
