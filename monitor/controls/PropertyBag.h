// The host form's stored property set of a control: values by name, kept in the order the
// control wrote them, with the control's defaults applied on reading.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <utility>
#include <vector>

class PropertyBag {
public:
    PropertyBag() = default;
    // A bag restored from a host's store; the map's own order stands in for the write order.
    explicit PropertyBag(const QVariantMap& stored);

    // The stored value of the name, or the default when the name was never stored.
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const;
    // Stores the value under the name; a value equal to its default is not stored (and
    // replaces nothing: an earlier stored value of the name is dropped).
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue);

    bool Contains(const QString& name) const;
    bool IsEmpty() const { return entries_.empty(); }
    // Stored names in the order they were written.
    QStringList Names() const;
    // Names asked for by ReadProperty, in the order asked.
    const QStringList& ReadOrder() const { return readOrder_; }
    QVariantMap ToMap() const;

private:
    std::vector<std::pair<QString, QVariant>> entries_;
    mutable QStringList readOrder_;
};

// Typed reads with the control's default: a missing value, or one that does not convert
// to the type and range (a hand-edited store), yields the default.
qint16 ReadInt16(const PropertyBag& bag, const QString& name, qint16 defaultValue);
qint32 ReadInt32(const PropertyBag& bag, const QString& name, qint32 defaultValue);
quint32 ReadUInt32(const PropertyBag& bag, const QString& name, quint32 defaultValue);
quint8 ReadByte(const PropertyBag& bag, const QString& name, quint8 defaultValue);
bool ReadBool(const PropertyBag& bag, const QString& name, bool defaultValue);
QString ReadString(const PropertyBag& bag, const QString& name, const QString& defaultValue);

// Typed writes, so that a stored value always carries the property's declared width.
void WriteInt16(PropertyBag& bag, const QString& name, qint16 value, qint16 defaultValue);
void WriteInt32(PropertyBag& bag, const QString& name, qint32 value, qint32 defaultValue);
void WriteUInt32(PropertyBag& bag, const QString& name, quint32 value, quint32 defaultValue);
void WriteByte(PropertyBag& bag, const QString& name, quint8 value, quint8 defaultValue);
void WriteBool(PropertyBag& bag, const QString& name, bool value, bool defaultValue);
void WriteString(PropertyBag& bag, const QString& name, const QString& value,
                 const QString& defaultValue);
