#include "mqtt/mqtt_settings.h"

#include <charconv>

#include "platform/file_io.h"
#include "platform/files.h"
#include "settings/settings.h"

namespace pagelark {
namespace {

BrokerParse Refused(std::string why) {
    return {std::nullopt, std::move(why)};
}

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

BrokerParse ParseBroker(std::string_view text) {
    BrokerAddress address;
    if (text.starts_with("mqtts://")) {
        address.tls = true;
        text.remove_prefix(8);
    } else if (text.starts_with("mqtt://")) {
        text.remove_prefix(7);
    } else {
        return Refused("MqttBroker must start with mqtt:// or mqtts://");
    }
    if (text.ends_with('/')) text.remove_suffix(1);
    if (text.find('@') != std::string_view::npos)
        return Refused("MqttBroker may not hold a user name; use MqttCredentials");
    if (text.find('/') != std::string_view::npos)
        return Refused("MqttBroker is a host and a port, without a path");
    std::string_view port;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) return Refused("MqttBroker has no closing ]");
        address.host = text.substr(1, close - 1);
        if (address.host.empty() ||
            address.host.find_first_not_of("0123456789abcdefABCDEF:.") != std::string::npos)
            return Refused("MqttBroker's bracketed host is not an IPv6 address");
        text.remove_prefix(close + 1);
        if (!text.empty() && !text.starts_with(':'))
            return Refused("MqttBroker has something after the ]");
        port = text.empty() ? text : text.substr(1);
    } else {
        const auto colon = text.find(':');
        address.host = text.substr(0, colon);
        if (!IsHostName(address.host)) return Refused("MqttBroker names no valid host");
        if (colon != std::string_view::npos) port = text.substr(colon + 1);
    }
    address.port = address.tls ? 8883 : 1883;
    if (text.find(':') != std::string_view::npos) {
        int value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (port.empty() || error != std::errc() || end != port.data() + port.size() || value < 1 ||
            value > 65535)
            return Refused("MqttBroker's port is not a number from 1 to 65535");
        address.port = value;
    }
    return {address, ""};
}

MqttConfigRead ReadMqttConfig(const MachineSettings& machine) {
    if (machine.MqttBroker.empty()) return {};
    BrokerParse broker = ParseBroker(machine.MqttBroker);
    if (!broker.address) return {std::nullopt, broker.error};
    MqttConfig config{*broker.address, machine.MqttCaFile, "", ""};
    if (!config.broker.tls && !config.caFile.empty())
        return {std::nullopt, "MqttCaFile is set, but MqttBroker is mqtt://, without TLS"};
    if (!config.caFile.empty() && !FileExists(config.caFile))
        return {std::nullopt, "MqttCaFile " + config.caFile + " is not a readable file"};
    if (!machine.MqttCredentials.empty()) {
        const ReadResult read = ReadSecretFile(machine.MqttCredentials, 4096);
        const std::string name = "MqttCredentials " + machine.MqttCredentials;
        if (read.status != ReadStatus::Ok) return {std::nullopt, name + ": " + read.error};
        const std::string_view text = read.data;
        const auto newline = text.find('\n');
        config.user = WithoutCarriageReturn(text.substr(0, newline));
        if (newline != std::string_view::npos) {
            const std::string_view rest = text.substr(newline + 1);
            config.password = WithoutCarriageReturn(rest.substr(0, rest.find('\n')));
        }
        if (config.user.empty())
            return {std::nullopt, name + " holds no user name on its first line"};
    }
    return {config, ""};
}

}  // namespace pagelark
