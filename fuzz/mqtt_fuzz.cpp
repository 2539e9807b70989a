// Feeds arbitrary commands to the MQTT command parser: the bytes up to the first line end name
// the command, the rest is its payload; the same bytes go to the broker setting's parser.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "mqtt/mqtt_messages.h"
#include "mqtt/mqtt_settings.h"
#include "platform/text.h"

namespace {

using namespace pagelark;

void Check(bool condition) {
    if (!condition) std::abort();
}

bool HasAsciiControl(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MqttTopics topics("0123456789abcdef0123456789abcdef");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto newline = bytes.find('\n');
    const std::string_view name = bytes.substr(0, newline);
    const std::string_view payload =
        newline == std::string_view::npos ? std::string_view() : bytes.substr(newline + 1);

    const CommandParse parse = ParseCommand(topics, topics.Command(name), payload);
    Check(parse.ours);
    Check(parse.name.size() <= 64);
    if (parse.command) {
        Check(payload.size() <= kMaxCommandPayload && IsUtf8(payload));
        Check(IsUtf8(parse.address) && !HasAsciiControl(parse.address));
    }
    // The answer is one line of UTF-8, whatever the name held.
    const std::string answer =
        ResultJson(parse.name, parse.command ? Done() : Fail(parse.command.Error()));
    Check(IsUtf8(answer) && !HasAsciiControl(answer));

    const Result<BrokerAddress> broker = ParseBroker(bytes);
    Check(broker.Ok() == broker.Error().empty());
    if (broker) Check(broker->port >= 1 && broker->port <= 65535);
    return 0;
}
