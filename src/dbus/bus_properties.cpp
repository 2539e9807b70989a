#include "dbus/bus_properties.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QMetaProperty>
#include <utility>

namespace pagelark {

BusProperties::BusProperties(QObject* object, const QDBusAbstractAdaptor& interface,
                             QString interfaceName, Setter set)
    : QDBusAbstractAdaptor(object),
      interface_(interface),
      interfaceName_(std::move(interfaceName)),
      set_(std::move(set)) {}

QDBusVariant BusProperties::Get(const QString& interfaceName, const QString& name,
                                const QDBusMessage& call) {
    const int index = Find(interfaceName, name, call);
    if (index < 0) return {};
    return QDBusVariant(interface_.metaObject()->property(index).read(&interface_));
}

QVariantMap BusProperties::GetAll(const QString& interfaceName, const QDBusMessage& call) {
    QVariantMap all;
    if (!Ours(interfaceName, call)) return all;
    const QMetaObject* meta = interface_.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        all.insert(meta->property(i).name(), meta->property(i).read(&interface_));
    return all;
}

void BusProperties::Set(const QString& interfaceName, const QString& name,
                        const QDBusVariant& value, const QDBusMessage& call) {
    const int index = Find(interfaceName, name, call);
    if (index < 0) return;
    const QMetaProperty property = interface_.metaObject()->property(index);
    if (!property.isWritable())
        return Refuse(call, QDBusError::PropertyReadOnly, "the property " + name + " is read-only");
    if (value.variant().metaType() != property.metaType())
        return Refuse(call, QDBusError::InvalidArgs,
                      "the property " + name + " takes a value of type " + property.typeName());
    set_(name, value.variant());
}

int BusProperties::Find(const QString& interfaceName, const QString& name,
                        const QDBusMessage& call) const {
    if (!Ours(interfaceName, call)) return -1;
    const QMetaObject* meta = interface_.metaObject();
    const int index = meta->indexOfProperty(name.toUtf8().constData());
    if (index < meta->propertyOffset()) {
        Refuse(call, QDBusError::UnknownProperty, "no property " + name + " in " + interfaceName_);
        return -1;
    }
    return index;
}

bool BusProperties::Ours(const QString& interfaceName, const QDBusMessage& call) const {
    // An empty name means whichever interface has the property.
    if (interfaceName.isEmpty() || interfaceName == interfaceName_) return true;
    Refuse(call, QDBusError::UnknownInterface, "no interface " + interfaceName + " here");
    return false;
}

void BusProperties::Refuse(const QDBusMessage& call, QDBusError::ErrorType type,
                           const QString& why) {
    call.setDelayedReply(true);
    QDBusConnection::sessionBus().send(call.createErrorReply(type, why));
}

}  // namespace pagelark
