#pragma once
// The MQTT machine settings, checked once at start-up: a setting that is off in any way
// leaves MQTT off with one reason for the log, and the show plays on.

#include <optional>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace pagelark {

struct MachineSettings;

struct BrokerAddress {
    bool tls = false;
    std::string host;
    int port = 0;
    friend bool operator==(const BrokerAddress&, const BrokerAddress&) = default;
};

// mqtt://host[:port] (1883) or mqtts://host[:port] (8883); an IPv6 host in brackets.
Result<BrokerAddress> ParseBroker(std::string_view text);

struct MqttConfig {
    BrokerAddress broker;
    std::string caFile;  // "": the system's certificate authorities
    std::string user;    // "": anonymous
    std::string password;
};

// None when no broker is set; the reason MQTT stays off when a setting is off.
Result<std::optional<MqttConfig>> ReadMqttConfig(const MachineSettings& machine);

}  // namespace pagelark
