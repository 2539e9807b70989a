#include "dbus/kiosk_bus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

#include "core/ports/remote_control.h"
#include "dbus/bus_properties.h"
#include "kiosk1_adaptor.h"
#include "qtshared/log_categories.h"

namespace pagelark {
namespace {

const QString kName = "org.pagelark.Kiosk1";
const QString kPath = "/org/pagelark/Kiosk1";
const QString kInterface = "org.pagelark.Kiosk1";
const QString kRefused = "org.pagelark.Kiosk1.Error.Refused";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

KioskBus::KioskBus(RemoteControl& remote) : remote_(remote), signalled_(remote.Status()) {
    const auto* adaptor = new Kiosk1Adaptor(this);
    // ScreenOn is the one writable property.
    new BusProperties(this, *adaptor, kInterface,
                      [this](const QString&, const QVariant& on) { SetScreenOn(on.toBool()); });
}

std::unique_ptr<KioskBus> KioskBus::Start(RemoteControl& remote) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(lcDBus).noquote()
            << "no session bus, so no D-Bus service:" << bus.lastError().message();
        return nullptr;
    }
    std::unique_ptr<KioskBus> service(new KioskBus(remote));
    // The object first, so that whoever sees the name finds it.
    if (!bus.registerObject(kPath, service.get(), QDBusConnection::ExportAdaptors)) {
        qCWarning(lcDBus).noquote() << "cannot offer" << kPath << "on the session bus";
        return nullptr;
    }
    if (!bus.registerService(kName)) {
        const uint owner = bus.interface()->servicePid(kName).value();
        qCWarning(lcDBus).noquote()
            << "no D-Bus service: the name" << kName << "is taken"
            << (owner == 0 ? QString() : QString("by process %1").arg(owner));
        return nullptr;
    }
    return service;
}

// Also what a failed start undoes.
KioskBus::~KioskBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(kName);
    bus.unregisterObject(kPath);
}

void KioskBus::StatusChanged(const KioskStatus& status) {
    QVariantMap changed;
    if (status.state != signalled_.state) changed["State"] = Text(status.state);
    if (status.page != signalled_.page) changed["CurrentPage"] = status.page;
    if (status.address != signalled_.address) changed["CurrentAddress"] = Text(status.address);
    if (status.presentation != signalled_.presentation)
        changed["PresentationFile"] = Text(status.presentation);
    if (status.screenOn != signalled_.screenOn) changed["ScreenOn"] = status.screenOn;
    signalled_ = status;
    if (changed.isEmpty()) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << kInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void KioskBus::Call(Command command, const QString& argument) {
    // Answered once carried out or refused; a shown address once its page has loaded, or could
    // not be.
    setDelayedReply(true);
    remote_.Run({command, CommandSource::Remote, argument.toStdString(),
                 [bus = connection(), call = message()](const Result<>& result) {
                     bus.send(result ? call.createReply()
                                     : call.createErrorReply(kRefused, Text(result.Error())));
                 }});
}

void KioskBus::Next() {
    Call(Command::Next);
}

void KioskBus::Previous() {
    Call(Command::Previous);
}

void KioskBus::Pause() {
    Call(Command::Pause);
}

void KioskBus::Play() {
    Call(Command::Play);
}

void KioskBus::Reload() {
    Call(Command::Reload);
}

void KioskBus::ShowAddress(const QString& address) {
    Call(Command::ShowAddress, address);
}

void KioskBus::Snapshot(const QString& path) {
    Call(Command::Snapshot, path);
}

void KioskBus::SetScreenOn(bool on) {
    Call(on ? Command::ScreenOn : Command::ScreenOff);
}

QString KioskBus::State() const {
    return Text(remote_.Status().state);
}

int KioskBus::CurrentPage() const {
    return remote_.Status().page;
}

QString KioskBus::CurrentAddress() const {
    return Text(remote_.Status().address);
}

QString KioskBus::PresentationFile() const {
    return Text(remote_.Status().presentation);
}

bool KioskBus::ScreenOn() const {
    return remote_.Status().screenOn;
}

qulonglong KioskBus::Uptime() const {
    return static_cast<qulonglong>(remote_.Status().uptime.count());
}

}  // namespace pagelark
