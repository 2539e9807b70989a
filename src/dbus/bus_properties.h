#pragma once
// org.freedesktop.DBus.Properties for one interface's adaptor, served in place of Qt's own,
// whose Set can only succeed or fail with "Internal error": a property whose setting is a
// command must be able to answer why it was refused, and later than at once.

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>
#include <QVariantMap>
#include <functional>

namespace pagelark {

class BusProperties final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // Qt describes the interface itself.
    Q_CLASSINFO("D-Bus Introspection", "")

  public:
    // Called with a writable property of the interface and a value of its type, while the Set
    // call is delivered: the object's QDBusContext answers it, now or later.
    using Setter = std::function<void(const QString& name, const QVariant& value)>;

    // An adaptor of object, beside interface, another of its adaptors.
    BusProperties(QObject* object, const QDBusAbstractAdaptor& interface, QString interfaceName,
                  Setter set);

  public slots:
    QDBusVariant Get(const QString& interfaceName, const QString& name, const QDBusMessage& call);
    QVariantMap GetAll(const QString& interfaceName, const QDBusMessage& call);
    void Set(const QString& interfaceName, const QString& name, const QDBusVariant& value,
             const QDBusMessage& call);

  private:
    // The property's index in the interface's adaptor, or -1 after an error reply.
    int Find(const QString& interfaceName, const QString& name, const QDBusMessage& call) const;
    bool Ours(const QString& interfaceName, const QDBusMessage& call) const;
    static void Refuse(const QDBusMessage& call, QDBusError::ErrorType type, const QString& why);

    const QDBusAbstractAdaptor& interface_;
    QString interfaceName_;
    Setter set_;
};

}  // namespace pagelark
