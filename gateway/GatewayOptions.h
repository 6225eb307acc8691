// The gateway's command line. Everything else comes from the settings store the monitor
// uses; options hold for this run only and are never stored.
#pragma once

#include "modbus/ModbusOptions.h"
#include "publish/PublishSettings.h"

#include <QString>
#include <QStringList>

inline constexpr char GatewayProgramName[] = "rdx410-gateway";
// The broker address from the environment (mqtt://host:port or mqtts://host:port); it
// overrides the stored one, and --broker overrides it.
inline constexpr char BrokerUrlVariable[] = "RDX410_MQTT_URL";
// EX_CONFIG of sysexits.h: the options or the stored publishing choices cannot be used.
// The gateway ends at once with it, before touching the line, so that systemd shows the
// unit failed instead of a service that runs without doing its job.
inline constexpr int ExitConfigError = 78;

struct GatewayOptions {
    bool help = false;
    bool version = false;
    QString port;    // "COM1" / "COM2"; empty: the stored "Port"
    QString device;  // a device path given with --port (used as COM1)
    QString speed;   // "9600" / "19200"; empty: the stored "Speed"
    QString broker;
    QString line;
    QString caFile;
    QString certFile;
    QString keyFile;
    QString user;
    QString passwordFile;
    bool noPublish = false;
    // Read the line's settings into this all-channel set-data file, or compare them with
    // it, and end (SettingsCommand.h); never both.
    QString saveSettings;
    QString compareSettings;
    // The line as a Modbus TCP server (--modbus and its companions); off unless given.
    ModbusOptions modbus;
};

// Empty on success, else the message to show (the program then ends with ExitConfigError).
QString ParseGatewayOptions(const QStringList& arguments, GatewayOptions* options);
QString GatewayHelpText();

// What this run publishes with: the stored choices, the environment's broker over the
// stored one, and the options over both.
PublishSettings GatewayPublishSettings(const GatewayOptions& options, const QString& environmentBroker);
