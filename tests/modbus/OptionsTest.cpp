// The gateway's Modbus options as an installer types them into GATEWAY_OPTIONS: where it
// listens, which unit it answers, who may write; anything it cannot use is refused with
// a message instead of serving something else.
#include "gateway/GatewayOptions.h"

#include <gtest/gtest.h>

namespace {

GatewayOptions Parsed(QStringList arguments, QString* problem = nullptr) {
    arguments.prepend(QStringLiteral("rdx410-gateway"));
    GatewayOptions o;
    const QString p = ParseGatewayOptions(arguments, &o);
    if (problem) *problem = p;
    return o;
}

}  // namespace

TEST(ModbusOptions, ListenAddressesUnitsAndWritersAreTakenAsWritten) {
    EXPECT_FALSE(Parsed({}).modbus.enabled);

    GatewayOptions o = Parsed({"--modbus", "1502"});
    EXPECT_TRUE(o.modbus.enabled);
    EXPECT_EQ(o.modbus.address, QHostAddress(QHostAddress::Any));
    EXPECT_EQ(o.modbus.port, 1502);
    EXPECT_EQ(o.modbus.unit, 1);
    EXPECT_FALSE(o.modbus.writable);

    o = Parsed({"--modbus", "[::1]:502", "--modbus-unit", "247", "--modbus-writable", "--modbus-max-clients", "3"});
    EXPECT_EQ(o.modbus.address, QHostAddress(QHostAddress::LocalHostIPv6));
    EXPECT_EQ(o.modbus.port, 502);
    EXPECT_EQ(o.modbus.unit, 247);
    EXPECT_TRUE(o.modbus.writable);
    EXPECT_EQ(o.modbus.maxClients, 3);

    o = Parsed({"--modbus", "192.168.1.5:502", "--modbus-writable", "--modbus-allow", "192.168.1.10, 10.0.0.0/8"});
    EXPECT_EQ(o.modbus.address, QHostAddress(QStringLiteral("192.168.1.5")));
    // An IPv4 client of a dual-stack listener arrives as ::ffff:a.b.c.d.
    EXPECT_TRUE(ModbusWriteAllowed(o.modbus, QHostAddress(QStringLiteral("::ffff:10.20.30.40"))));
    EXPECT_TRUE(ModbusWriteAllowed(o.modbus, QHostAddress(QStringLiteral("192.168.1.10"))));
    EXPECT_FALSE(ModbusWriteAllowed(o.modbus, QHostAddress(QStringLiteral("192.168.1.11"))));
    EXPECT_FALSE(ModbusWriteAllowed(o.modbus, QHostAddress(QStringLiteral("11.0.0.1"))));
}

TEST(ModbusOptions, WhatCannotBeServedIsRefusedWithAMessage) {
    const std::vector<QStringList> refused{
        {"--modbus", "0"},
        {"--modbus", "65536"},
        {"--modbus", "host:502"},
        {"--modbus", "[::1]502"},
        {"--modbus", "502", "--modbus-unit", "0"},
        {"--modbus", "502", "--modbus-unit", "248"},
        {"--modbus", "502", "--modbus-max-clients", "0"},
        {"--modbus", "502", "--modbus-allow", "10.0.0.0/33"},
        {"--modbus", "502", "--modbus-allow", ","},
        // A companion without --modbus would silently serve nothing.
        {"--modbus-writable"},
        {"--modbus-unit", "5"},
    };
    for (const QStringList& arguments : refused) {
        QString problem;
        Parsed(arguments, &problem);
        EXPECT_FALSE(problem.isEmpty()) << arguments.join(u' ').toStdString();
    }
}
