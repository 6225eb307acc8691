// The tag list an HMI imports (docs/modbus-map.csv) names only registers the server has,
// in the table it says, and every register of the map has a tag.
#include "modbus/RegisterImage.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

TEST(ModbusMapFile, EveryTagIsARegisterOfTheServerAndEveryRegisterHasATag) {
    QFile file(QStringLiteral(RDX_MODBUS_MAP_CSV));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QList<QByteArray> rows = file.readAll().split('\n');
    RegisterImage image;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QSet<QByteArray> tags;
    QSet<QString> addresses;
    QList<quint16> value;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QList<QByteArray> f = rows[i].trimmed().split(',');
        if (f.size() < 8) continue;
        const QByteArray table = f[1];
        const int address = f[3].toInt(), reference = f[4].toInt();
        bool known = false;
        if (table == "input register") known = image.InputRegisters(address, 1, now, &value) && reference == 300001 + address;
        else if (table == "discrete input") known = image.DiscreteInputs(address, 1, &value) && reference == 100001 + address;
        else if (table == "holding register") known = image.HoldingRegisters(address, 1, &value) && reference == 400001 + address;
        EXPECT_TRUE(known) << rows[i].constData();
        EXPECT_FALSE(tags.contains(f[0])) << "tag twice: " << f[0].constData();
        tags.insert(f[0]);
        addresses.insert(QString::fromLatin1(table) + QString::number(address));
    }
    for (int a = 0; a < 0x10000; ++a) {
        const auto tagged = [&](const char* table) { return addresses.contains(QString::fromLatin1(table) + QString::number(a)); };
        EXPECT_TRUE(!image.InputRegisters(a, 1, now, &value) || tagged("input register")) << a;
        EXPECT_TRUE(!image.DiscreteInputs(a, 1, &value) || tagged("discrete input")) << a;
        EXPECT_TRUE(!image.HoldingRegisters(a, 1, &value) || tagged("holding register")) << a;
    }
}
