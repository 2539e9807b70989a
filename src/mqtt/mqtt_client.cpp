#include "mqtt/mqtt_client.h"

#include <mosquitto.h>

#include <QPointer>
#include <QSysInfo>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>

#include "core/ports/remote_control.h"
#include "platform/log.h"
#include "platform/machine_id.h"
#include "platform/process_memory.h"

namespace pagelark {
namespace {

using std::chrono::seconds;

// A kiosk that vanishes without a word is declared offline by the broker within 1.5 times this.
constexpr int kKeepAliveSeconds = 30;
constexpr seconds kFirstRetry{1};
constexpr seconds kLastRetry{60};
constexpr int kQos = 1;

}  // namespace

// What the main thread and the network thread share. The network thread holds it too, so it
// outlives a client that could not wait for the thread to end.
struct MqttClient::Link {
    mosquitto* mosq = nullptr;
    MqttClient* client = nullptr;
    std::mutex mutex;
    std::condition_variable changed;
    bool stopping = false;  // the client is going: nothing more is handed to it
    bool closed = false;    // the connection ended
    bool finished = false;  // the thread is done with mosq
    // The network thread's alone.
    bool accepted = false;  // the broker took this connection
    std::string refusal;    // and when it did not, why

    bool Stopping() {
        std::lock_guard lock(mutex);
        return stopping;
    }
    // Runs work on the main thread, unless the client is going. Under the lock, so that a
    // client past its destructor's first step is never posted to.
    void Post(std::function<void(MqttClient&)> work) {
        std::lock_guard lock(mutex);
        if (stopping) return;
        MqttClient* target = client;
        QMetaObject::invokeMethod(
            target, [target, work = std::move(work)] { work(*target); }, Qt::QueuedConnection);
    }
};

MqttClient::MqttClient(const MqttConfig& config, const std::string& machineId, DeviceInfo device,
                       RemoteControl& remote, std::string tempDir)
    : topics_(machineId),
      device_(std::move(device)),
      remote_(remote),
      tempDir_(std::move(tempDir)),
      where_(config.broker.host + ":" + std::to_string(config.broker.port)),
      link_(std::make_shared<Link>()) {
    [[maybe_unused]] static const int initialised = mosquitto_lib_init();
    link_->client = this;
    const std::string clientId = "pagelark-" + machineId;
    mosquitto* mosq = mosquitto_new(clientId.c_str(), true, link_.get());
    if (mosq == nullptr) {
        Warn(LogArea::Mqtt, "MQTT off: ", std::strerror(errno));
        return;
    }
    link_->mosq = mosq;
    mosquitto_threaded_set(mosq, true);
    mosquitto_connect_callback_set(mosq, OnConnect);
    mosquitto_disconnect_callback_set(mosq, OnDisconnect);
    mosquitto_message_callback_set(mosq, OnMessage);
    int code = mosquitto_will_set(mosq, topics_.availability.c_str(),
                                  static_cast<int>(kOffline.size()), kOffline.data(), kQos, true);
    if (code == MOSQ_ERR_SUCCESS && !config.user.empty())
        code = mosquitto_username_pw_set(
            mosq, config.user.c_str(), config.password.empty() ? nullptr : config.password.c_str());
    if (code == MOSQ_ERR_SUCCESS && config.broker.tls)
        code = config.caFile.empty() ? mosquitto_int_option(mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1)
                                     : mosquitto_tls_set(mosq, config.caFile.c_str(), nullptr,
                                                         nullptr, nullptr, nullptr);
    if (code != MOSQ_ERR_SUCCESS) {
        Warn(LogArea::Mqtt, "MQTT off: ", mosquitto_strerror(code));
        return;
    }
    everyMinute_.setInterval(60000);
    QObject::connect(&everyMinute_, &QTimer::timeout, this,
                     [this] { StatusChanged(remote_.Status()); });
    everyMinute_.start();
    thread_ = std::thread(Run, link_, config.broker);
}

MqttClient::~MqttClient() {
    if (!thread_.joinable()) {
        if (link_->mosq != nullptr) mosquitto_destroy(link_->mosq);
        return;
    }
    if (connected_) {
        // A clean disconnect keeps the broker from sending the last will: say it ourselves.
        Publish({topics_.availability, std::string(kOffline), true});
        mosquitto_disconnect(link_->mosq);
    }
    std::unique_lock lock(link_->mutex);
    if (connected_) link_->changed.wait_for(lock, seconds(2), [this] { return link_->closed; });
    link_->stopping = true;
    link_->changed.notify_all();
    // The thread may be stuck resolving the broker's name: the process is ending, let it be.
    const bool finished =
        link_->changed.wait_for(lock, seconds(3), [this] { return link_->finished; });
    lock.unlock();
    if (finished)
        thread_.join();
    else
        thread_.detach();
}

void MqttClient::Run(std::shared_ptr<Link> link, const BrokerAddress& broker) {
    seconds delay = kFirstRetry;
    for (bool first = true; !link->Stopping(); first = false) {
        link->accepted = false;
        link->refusal.clear();
        // Waits for the name, the connection and the TLS handshake, here where waiting harms
        // nothing: the asynchronous connect does not notice a refused TLS connection until the
        // keep-alive runs out, and tries only the first of a name's addresses.
        int code = first ? mosquitto_connect(link->mosq, broker.host.c_str(), broker.port,
                                             kKeepAliveSeconds)
                         : mosquitto_reconnect(link->mosq);
        int error = errno;
        while (code == MOSQ_ERR_SUCCESS && !link->Stopping()) {
            code = mosquitto_loop(link->mosq, 1000, 1);
            error = errno;
        }
        if (link->accepted) delay = kFirstRetry;
        std::string why = link->refusal;
        if (why.empty())
            why = code == MOSQ_ERR_ERRNO ? std::strerror(error) : mosquitto_strerror(code);
        if (why.ends_with('.')) why.pop_back();
        link->Post([why](MqttClient& client) { client.Failed(why); });
        std::unique_lock lock(link->mutex);
        if (link->changed.wait_for(lock, delay, [&link] { return link->stopping; })) break;
        delay = std::min(delay * 2, kLastRetry);
    }
    mosquitto_destroy(link->mosq);
    std::lock_guard lock(link->mutex);
    link->finished = true;
    link->changed.notify_all();
}

void MqttClient::OnConnect(mosquitto*, void* data, int code) {
    auto* link = static_cast<Link*>(data);
    if (code != 0) {
        link->refusal = mosquitto_connack_string(code);
        return;
    }
    link->accepted = true;
    link->Post([](MqttClient& client) { client.Connected(); });
}

void MqttClient::OnDisconnect(mosquitto*, void* data, int) {
    auto* link = static_cast<Link*>(data);
    std::lock_guard lock(link->mutex);
    link->closed = true;
    link->changed.notify_all();
}

void MqttClient::OnMessage(mosquitto*, void* data, const mosquitto_message* message) {
    std::string topic = message->topic;
    std::string payload(static_cast<const char*>(message->payload),
                        static_cast<std::size_t>(std::max(message->payloadlen, 0)));
    static_cast<Link*>(data)->Post([topic = std::move(topic), payload = std::move(payload),
                                    retained = message->retain](MqttClient& client) {
        client.Received(topic, payload, retained);
    });
}

void MqttClient::Connected() {
    if (lastFailure_.empty())
        Log(LogArea::Mqtt, "MQTT: connected to ", where_);
    else
        Warn(LogArea::Mqtt, "MQTT: connected to ", where_, " again");
    lastFailure_.clear();
    connected_ = true;
    {
        std::lock_guard lock(link_->mutex);
        link_->closed = false;
    }
    // A clean session: the subscription and the retained messages are made anew each time.
    mosquitto_subscribe(link_->mosq, nullptr, topics_.commands.c_str(), kQos);
    Publish({topics_.availability, std::string(kOnline), true});
    for (const MqttMessage& message : DiscoveryMessages(topics_, device_))
        Publish(message);
    StatusChanged(remote_.Status());
    auto [lines, dropped] = heldLines_.Take();
    if (dropped > 0)
        Warn(LogArea::Mqtt, "MQTT: ", dropped,
             " play log lines were dropped while the broker was away (the file has them)");
    for (std::string& line : lines)
        PlayLogLine(line);
}

void MqttClient::PlayLogLine(const std::string& line) {
    const int code =
        connected_ ? mosquitto_publish(link_->mosq, nullptr, topics_.playlog.c_str(),
                                       static_cast<int>(line.size()), line.data(), kQos, false)
                   : MOSQ_ERR_NO_CONN;
    if (code != MOSQ_ERR_SUCCESS) heldLines_.Hold(line);
}

void MqttClient::Failed(const std::string& why) {
    connected_ = false;
    if (why == lastFailure_) return;
    lastFailure_ = why;
    Warn(LogArea::Mqtt, "MQTT: no connection to ", where_, ": ", why, "; trying again");
}

void MqttClient::Received(const std::string& topic, const std::string& payload, bool retained) {
    const CommandParse command = ParseCommand(topics_, topic, payload, retained);
    if (!command.ours) return;
    if (!command.command)
        Warn(LogArea::Mqtt, "MQTT: command ", Clipped(topic),
             " refused: ", command.command.Error());
    // A late answer finds the client gone once the kiosk ends.
    AnswerCommand(command, topics_, remote_, tempDir_,
                  [client = QPointer<MqttClient>(this)](const MqttMessage& message) {
                      if (client) client->Publish(message);
                  });
}

void MqttClient::StatusChanged(const KioskStatus& status) {
    if (!connected_) return;
    Publish({topics_.state, StateJson(status, PssKiB(ProcessTree(CurrentProcessId()))), true});
}

void MqttClient::Publish(const MqttMessage& message) {
    if (!connected_) return;
    mosquitto_publish(link_->mosq, nullptr, message.topic.c_str(),
                      static_cast<int>(message.payload.size()), message.payload.data(), kQos,
                      message.retain);
}

std::unique_ptr<MqttClient> StartMqtt(const MachineSettings& machine, RemoteControl& remote,
                                      std::string tempDir, std::string version) {
    const Result<std::optional<MqttConfig>> read = ReadMqttConfig(machine);
    if (!read) Warn(LogArea::Mqtt, "MQTT off: ", read.Error());
    if (!read || !read.Value()) return nullptr;
    const std::string id = MachineId();
    if (id.empty()) {
        Warn(LogArea::Mqtt, "MQTT off: /etc/machine-id holds no machine id");
        return nullptr;
    }
    auto client = std::make_unique<MqttClient>(
        *read.Value(), id,
        DeviceInfo{QSysInfo::machineHostName().toStdString(), std::move(version)}, remote,
        std::move(tempDir));
    if (!client->Started()) return nullptr;
    return client;
}

}  // namespace pagelark
