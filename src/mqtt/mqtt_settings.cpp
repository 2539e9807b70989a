#include "mqtt/mqtt_settings.h"

#include <charconv>

#include "platform/file_io.h"
#include "platform/files.h"
#include "settings/settings.h"

namespace pagelark {
namespace {

bool IsHostName(std::string_view host) {
    return !host.empty() && host.find_first_not_of(
                                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                "0123456789.-_") == std::string_view::npos;
}

std::string WithoutCarriageReturn(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    return std::string(line);
}

}  // namespace

Result<BrokerAddress> ParseBroker(std::string_view text) {
    BrokerAddress address;
    if (text.starts_with("mqtts://")) {
        address.tls = true;
        text.remove_prefix(8);
    } else if (text.starts_with("mqtt://")) {
        text.remove_prefix(7);
    } else {
        return Fail("MqttBroker must start with mqtt:// or mqtts://");
    }
    if (text.ends_with('/')) text.remove_suffix(1);
    if (text.find('@') != std::string_view::npos)
        return Fail("MqttBroker may not hold a user name; use MqttCredentials");
    if (text.find('/') != std::string_view::npos)
        return Fail("MqttBroker is a host and a port, without a path");
    std::string_view port;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) return Fail("MqttBroker has no closing ]");
        address.host = text.substr(1, close - 1);
        if (address.host.empty() ||
            address.host.find_first_not_of("0123456789abcdefABCDEF:.") != std::string::npos)
            return Fail("MqttBroker's bracketed host is not an IPv6 address");
        text.remove_prefix(close + 1);
        if (!text.empty() && !text.starts_with(':'))
            return Fail("MqttBroker has something after the ]");
        port = text.empty() ? text : text.substr(1);
    } else {
        const auto colon = text.find(':');
        address.host = text.substr(0, colon);
        if (!IsHostName(address.host)) return Fail("MqttBroker names no valid host");
        if (colon != std::string_view::npos) port = text.substr(colon + 1);
    }
    address.port = address.tls ? 8883 : 1883;
    if (text.find(':') != std::string_view::npos) {
        int value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (port.empty() || error != std::errc() || end != port.data() + port.size() || value < 1 ||
            value > 65535)
            return Fail("MqttBroker's port is not a number from 1 to 65535");
        address.port = value;
    }
    return address;
}

Result<std::optional<MqttConfig>> ReadMqttConfig(const MachineSettings& machine) {
    if (machine.MqttBroker.empty()) return std::optional<MqttConfig>();
    const Result<BrokerAddress> broker = ParseBroker(machine.MqttBroker);
    if (!broker) return Fail(broker.Error());
    MqttConfig config{broker.Value(), machine.MqttCaFile, "", ""};
    if (!config.broker.tls && !config.caFile.empty())
        return Fail("MqttCaFile is set, but MqttBroker is mqtt://, without TLS");
    if (!config.caFile.empty() && !FileExists(config.caFile))
        return Fail("MqttCaFile " + config.caFile + " is not a readable file");
    if (!machine.MqttCredentials.empty()) {
        const ReadResult read = ReadSecretFile(machine.MqttCredentials, 4096);
        const std::string name = "MqttCredentials " + machine.MqttCredentials;
        if (read.status != ReadStatus::Ok) return Fail(name + ": " + read.error);
        const std::string_view text = read.data;
        const auto newline = text.find('\n');
        config.user = WithoutCarriageReturn(text.substr(0, newline));
        if (newline != std::string_view::npos) {
            const std::string_view rest = text.substr(newline + 1);
            config.password = WithoutCarriageReturn(rest.substr(0, rest.find('\n')));
        }
        if (config.user.empty()) return Fail(name + " holds no user name on its first line");
    }
    return std::optional(config);
}

}  // namespace pagelark
