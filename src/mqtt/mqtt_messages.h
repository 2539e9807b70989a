#pragma once
// What the kiosk and a fleet's broker say to each other: the topics, the state and the
// answers the kiosk publishes, the Home Assistant discovery messages, and the commands it
// takes. Plain text in, plain text out; the client only carries it.

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ports/port_types.h"

namespace pagelark {

class RemoteControl;

struct MqttMessage {
    std::string topic;
    std::string payload;
    bool retain = false;
};

// All under pagelark/<machine id>/.
struct MqttTopics {
    explicit MqttTopics(const std::string& machineId);
    std::string machineId;
    std::string base;
    std::string state;         // retained JSON, on each change and every minute
    std::string availability;  // retained "online", the last will "offline"
    std::string result;        // the answer to each command
    std::string snapshot;      // the PNG a snapshot command took
    std::string playlog;       // each play log line, not retained
    std::string commands;      // the subscription: cmd/<name>
    std::string Command(std::string_view name) const { return base + "/cmd/" + std::string(name); }
};

// Play log lines kept while the broker is away: the newest within a cap, the others counted.
class HeldLines {
  public:
    explicit HeldLines(std::size_t cap = 1000) : cap_(cap) {}
    void Hold(std::string line);
    // Everything held, oldest first, and how many lines were dropped since the last take.
    std::pair<std::deque<std::string>, std::size_t> Take();

  private:
    std::size_t cap_;
    std::deque<std::string> lines_;
    std::size_t dropped_ = 0;
};

inline constexpr std::string_view kOnline = "online";
inline constexpr std::string_view kOffline = "offline";
inline constexpr std::string_view kOn = "ON";  // the screen's state and command
inline constexpr std::string_view kOff = "OFF";
inline constexpr std::size_t kMaxCommandPayload = 4096;

std::string StateJson(const KioskStatus& status, long long memoryKiB);

struct DeviceInfo {
    std::string name;  // the machine's host name
    std::string version;
};

// Retained, under homeassistant/: a sensor of the state with the whole JSON as its attributes,
// a button per command, a text box for show_address, a switch of the screen and an image of the
// last snapshot.
std::vector<MqttMessage> DiscoveryMessages(const MqttTopics& topics, const DeviceInfo& device);

struct CommandParse {
    bool ours = false;  // a command topic of this kiosk: it gets an answer
    std::string name;   // as the topic gave it, for the answer
    // The command, or why it is refused.
    Result<Command> command = Fail("not a command of this kiosk");
    std::string address;  // show_address's payload
};

// Any payload is refused without harm when it is over 4 KiB, not UTF-8 or holds a control
// character (one line end at its end aside); screen takes ON or OFF (any case), the other
// commands but show_address ignore it. A
// retained command is refused: the broker would hand it over again at every reconnection.
CommandParse ParseCommand(const MqttTopics& topics, std::string_view topic,
                          std::string_view payload, bool retained = false);

// {"command":"next","ok":true} or {"command":"pause","ok":false,"error":"..."}; a show_address
// answer names its address, so that answers can be told apart: {"command":"show_address",
// "address":"https://...","ok":true}.
std::string ResultJson(std::string_view command, const Result<>& result,
                       std::optional<std::string_view> address = std::nullopt);

// Carries a command out through the port and hands publish its answer and, for a snapshot,
// the picture first, taken into a private file of tempDir that is gone again when this
// returns. show_address is answered once its page has loaded, or could not be: publish is
// kept until then.
void AnswerCommand(const CommandParse& command, const MqttTopics& topics, RemoteControl& remote,
                   const std::string& tempDir,
                   const std::function<void(const MqttMessage&)>& publish);

}  // namespace pagelark
