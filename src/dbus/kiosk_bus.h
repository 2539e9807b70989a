#pragma once
// The kiosk's commands and status on the session bus: the interface org.pagelark.Kiosk1
// (org.pagelark.Kiosk1.xml beside this file, from which its adaptor is generated) at
// /org/pagelark/Kiosk1 of the name org.pagelark.Kiosk1. It knows the kiosk only through the
// remote services' port.

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <memory>

#include "core/ports/port_types.h"

namespace pagelark {

class RemoteControl;

class KioskBus final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(QString State READ State)
    Q_PROPERTY(int CurrentPage READ CurrentPage)
    Q_PROPERTY(QString CurrentAddress READ CurrentAddress)
    Q_PROPERTY(QString PresentationFile READ PresentationFile)
    Q_PROPERTY(bool ScreenOn READ ScreenOn)
    Q_PROPERTY(qulonglong Uptime READ Uptime)

  public:
    // On the session bus under the name; nullptr, after a log line that says why, when there
    // is no session bus or another program holds the name.
    static std::unique_ptr<KioskBus> Start(RemoteControl& remote);
    ~KioskBus() override;

    // Signals the properties that changed.
    void StatusChanged(const KioskStatus& status);

    // Called by the adaptor; a refusal becomes the caller's error reply.
    void Next();
    void Previous();
    void Pause();
    void Play();
    void Reload();
    void ShowAddress(const QString& address);
    void Snapshot(const QString& path);

    QString State() const;
    int CurrentPage() const;
    QString CurrentAddress() const;
    QString PresentationFile() const;
    bool ScreenOn() const;
    qulonglong Uptime() const;

  private:
    explicit KioskBus(RemoteControl& remote);
    void Call(Command command, const QString& argument = {});
    // The setting of ScreenOn: the screen off or on until the next scheduled change.
    void SetScreenOn(bool on);

    RemoteControl& remote_;
    KioskStatus signalled_;
};

}  // namespace pagelark
