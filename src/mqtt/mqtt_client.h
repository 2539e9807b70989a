#pragma once
// The kiosk's link to a fleet's broker over libmosquitto. The network runs on a thread of its
// own, which resolves names and reconnects with back-off without ever stalling the show;
// whatever it hears is handed to the Qt main thread, the only one that uses the remote port.

#include <QObject>
#include <QTimer>
#include <memory>
#include <string>
#include <thread>

#include "core/ports/port_types.h"
#include "mqtt/mqtt_messages.h"
#include "mqtt/mqtt_settings.h"

struct mosquitto;
struct mosquitto_message;

namespace pagelark {

class RemoteControl;

class MqttClient final : public QObject {
  public:
    MqttClient(const MqttConfig& config, const std::string& machineId, DeviceInfo device,
               RemoteControl& remote, std::string tempDir);
    // Says "offline" and disconnects, waiting a moment for the broker to hear it.
    ~MqttClient() override;
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // False when libmosquitto refused the settings; the reason went to the log.
    bool Started() const { return thread_.joinable(); }
    void StatusChanged(const KioskStatus& status);
    // A play log line, published now or once the broker is back.
    void PlayLogLine(const std::string& line);

  private:
    struct Link;

    static void Run(std::shared_ptr<Link> link, const BrokerAddress& broker);
    static void OnConnect(mosquitto* mosq, void* data, int code);
    static void OnDisconnect(mosquitto* mosq, void* data, int code);
    static void OnMessage(mosquitto* mosq, void* data, const mosquitto_message* message);

    void Connected();
    void Failed(const std::string& why);
    void Received(const std::string& topic, const std::string& payload, bool retained);
    void Publish(const MqttMessage& message);

    MqttTopics topics_;
    DeviceInfo device_;
    RemoteControl& remote_;
    std::string tempDir_;
    std::string where_;        // host:port, for the log
    std::string lastFailure_;  // said once, until a connection succeeds
    bool connected_ = false;
    HeldLines heldLines_;
    QTimer everyMinute_;
    std::shared_ptr<Link> link_;
    std::thread thread_;
};

// MQTT as the machine settings ask, or nullptr, with one log line, when they leave it off or
// a setting or the machine id is not usable.
std::unique_ptr<MqttClient> StartMqtt(const MachineSettings& machine, RemoteControl& remote,
                                      std::string tempDir, std::string version);

}  // namespace pagelark
