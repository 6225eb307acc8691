#include "controls/PropertyBag.h"

#include <algorithm>
#include <limits>

PropertyBag::PropertyBag(const QVariantMap& stored)
{
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        entries_.emplace_back(it.key(), it.value());
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    readOrder_.append(name);
    for (const auto& [key, value] : entries_)
        if (key == name)
            return value;
    return defaultValue;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue)
{
    std::erase_if(entries_, [&](const auto& entry) { return entry.first == name; });
    if (value != defaultValue)
        entries_.emplace_back(name, value);
}

bool PropertyBag::Contains(const QString& name) const
{
    return std::any_of(entries_.cbegin(), entries_.cend(),
                       [&](const auto& entry) { return entry.first == name; });
}

QStringList PropertyBag::Names() const
{
    QStringList names;
    for (const auto& entry : entries_)
        names.append(entry.first);
    return names;
}

QVariantMap PropertyBag::ToMap() const
{
    QVariantMap map;
    for (const auto& [key, value] : entries_)
        map.insert(key, value);
    return map;
}

namespace {

template <typename T>
T ReadIntegral(const PropertyBag& bag, const QString& name, T defaultValue)
{
    const QVariant stored = bag.ReadProperty(name, QVariant());
    if (!stored.isValid())
        return defaultValue;
    bool ok = false;
    const qlonglong value = stored.toLongLong(&ok);
    if (!ok || value < qlonglong(std::numeric_limits<T>::min())
        || value > qlonglong(std::numeric_limits<T>::max()))
        return defaultValue;
    return static_cast<T>(value);
}

}  // namespace

qint16 ReadInt16(const PropertyBag& bag, const QString& name, qint16 defaultValue)
{
    return ReadIntegral<qint16>(bag, name, defaultValue);
}

qint32 ReadInt32(const PropertyBag& bag, const QString& name, qint32 defaultValue)
{
    return ReadIntegral<qint32>(bag, name, defaultValue);
}

quint32 ReadUInt32(const PropertyBag& bag, const QString& name, quint32 defaultValue)
{
    return ReadIntegral<quint32>(bag, name, defaultValue);
}

quint8 ReadByte(const PropertyBag& bag, const QString& name, quint8 defaultValue)
{
    return ReadIntegral<quint8>(bag, name, defaultValue);
}

bool ReadBool(const PropertyBag& bag, const QString& name, bool defaultValue)
{
    const QVariant stored = bag.ReadProperty(name, QVariant());
    if (!stored.isValid() || !stored.canConvert<bool>())
        return defaultValue;
    return stored.toBool();
}

QString ReadString(const PropertyBag& bag, const QString& name, const QString& defaultValue)
{
    const QVariant stored = bag.ReadProperty(name, QVariant());
    if (!stored.isValid() || !stored.canConvert<QString>())
        return defaultValue;
    return stored.toString();
}

void WriteInt16(PropertyBag& bag, const QString& name, qint16 value, qint16 defaultValue)
{
    bag.WriteProperty(name, QVariant::fromValue(value), QVariant::fromValue(defaultValue));
}

void WriteInt32(PropertyBag& bag, const QString& name, qint32 value, qint32 defaultValue)
{
    bag.WriteProperty(name, QVariant::fromValue(value), QVariant::fromValue(defaultValue));
}

void WriteUInt32(PropertyBag& bag, const QString& name, quint32 value, quint32 defaultValue)
{
    bag.WriteProperty(name, QVariant::fromValue(value), QVariant::fromValue(defaultValue));
}

void WriteByte(PropertyBag& bag, const QString& name, quint8 value, quint8 defaultValue)
{
    bag.WriteProperty(name, QVariant::fromValue(value), QVariant::fromValue(defaultValue));
}

void WriteBool(PropertyBag& bag, const QString& name, bool value, bool defaultValue)
{
    bag.WriteProperty(name, QVariant(value), QVariant(defaultValue));
}

void WriteString(PropertyBag& bag, const QString& name, const QString& value,
                 const QString& defaultValue)
{
    bag.WriteProperty(name, QVariant(value), QVariant(defaultValue));
}
