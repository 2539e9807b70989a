#include "mqtt/mqtt_messages.h"

#include <array>

#include "core/ports/remote_control.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/temp_dir.h"
#include "platform/text.h"

namespace pagelark {
namespace {

struct CommandEntry {
    std::string_view name;
    Command command;
    std::string_view title;      // Home Assistant's name for its entity
    std::string_view component;  // and the entity's kind
};

constexpr std::array<CommandEntry, 8> kCommands{{
    {"next", Command::Next, "Next", "button"},
    {"previous", Command::Previous, "Previous", "button"},
    {"pause", Command::Pause, "Pause", "button"},
    {"play", Command::Play, "Play", "button"},
    {"reload", Command::Reload, "Reload", "button"},
    // An address is typed, not pressed.
    {"show_address", Command::ShowAddress, "Show address", "text"},
    {"snapshot", Command::Snapshot, "Snapshot", "button"},
    // ON or OFF; its state is the state JSON's "screen".
    {"screen", Command::ScreenOn, "Screen", "switch"},
}};

// An answer names the command as it came, but no longer than this.
constexpr std::size_t kMaxNameInAnswer = 64;

// A JSON object built member by member; strings are escaped, other values go in as given.
class JsonObject {
  public:
    JsonObject& String(std::string_view key, std::string_view value) {
        return Raw(key, JsonString(value));
    }
    JsonObject& Raw(std::string_view key, std::string_view value) {
        text_ += text_.empty() ? "{" : ",";
        text_ += JsonString(key) + ":" + std::string(value);
        return *this;
    }
    std::string Text() const { return text_.empty() ? "{}" : text_ + "}"; }

  private:
    std::string text_;
};

// C0, DEL and the C1 controls U+0080 to U+009F (0xC2 0x80..0x9F in UTF-8).
bool HasControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return true;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

std::string KnownNames() {
    std::string names;
    for (const CommandEntry& entry : kCommands)
        names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}

Result<> TakeSnapshot(RemoteControl& remote, const MqttTopics& topics, const std::string& tempDir,
                      std::vector<MqttMessage>& out) {
    // A reserved name the next start removes, should the kiosk die before it does.
    const std::string file = tempDir.empty() ? "" : ReserveTempFile(tempDir);
    if (file.empty()) return Fail("the kiosk has no private folder for the picture");
    Result<> taken = Done();
    // Answered at once.
    remote.Run({Command::Snapshot, CommandSource::Remote, file,
                [&taken](const Result<>& result) { taken = result; }});
    if (taken) {
        ReadResult read = ReadWholeFile(file);
        if (read.status == ReadStatus::Ok)
            out.push_back({topics.snapshot, std::move(read.data), false});
        else
            taken = Fail("the picture cannot be read back: " + read.error);
    }
    RemoveFile(file);
    return taken;
}

}  // namespace

MqttTopics::MqttTopics(const std::string& id)
    : machineId(id),
      base("pagelark/" + id),
      state(base + "/state"),
      availability(base + "/availability"),
      result(base + "/result"),
      snapshot(base + "/snapshot"),
      playlog(base + "/playlog"),
      commands(base + "/cmd/+") {}

void HeldLines::Hold(std::string line) {
    if (lines_.size() >= cap_) {
        lines_.pop_front();
        ++dropped_;
    }
    lines_.push_back(std::move(line));
}

std::pair<std::deque<std::string>, std::size_t> HeldLines::Take() {
    return {std::exchange(lines_, {}), std::exchange(dropped_, 0)};
}

std::string StateJson(const KioskStatus& status, long long memoryKiB) {
    return JsonObject()
        .String("state", status.state)
        .Raw("page", std::to_string(status.page))
        .String("address", status.address)
        .String("presentation", status.presentation)
        .String("version", status.version)
        .Raw("uptime", std::to_string(status.uptime.count()))
        .Raw("memory_kib", std::to_string(memoryKiB))
        .String("last_load_error", status.lastLoadError)
        .String("screen", status.screenOn ? kOn : kOff)
        .Text();
}

std::vector<MqttMessage> DiscoveryMessages(const MqttTopics& topics, const DeviceInfo& device) {
    const std::string node = "pagelark_" + topics.machineId;
    const std::string deviceJson = JsonObject()
                                       .Raw("identifiers", "[" + JsonString(node) + "]")
                                       .String("name", device.name)
                                       .String("manufacturer", "Pagelark")
                                       .String("model", "Pagelark web kiosk")
                                       .String("sw_version", device.version)
                                       .Text();
    std::vector<MqttMessage> out;
    const auto add = [&](std::string_view component, std::string_view object,
                         std::string_view title, JsonObject fields) {
        fields.String("name", title)
            .String("unique_id", node + "_" + std::string(object))
            .String("availability_topic", topics.availability)
            .String("payload_available", kOnline)
            .String("payload_not_available", kOffline)
            .Raw("device", deviceJson);
        out.push_back({"homeassistant/" + std::string(component) + "/" + node + "/" +
                           std::string(object) + "/config",
                       fields.Text(), true});
    };
    add("sensor", "state", "State",
        JsonObject()
            .String("state_topic", topics.state)
            .String("value_template", "{{ value_json.state }}")
            .String("json_attributes_topic", topics.state));
    for (const CommandEntry& entry : kCommands) {
        JsonObject fields;
        fields.String("command_topic", topics.Command(entry.name));
        if (entry.component == "text") fields.Raw("max", "255");
        if (entry.component == "switch")
            fields.String("state_topic", topics.state)
                .String("value_template", "{{ value_json.screen }}");
        add(entry.component, entry.name, entry.title, fields);
    }
    add("image", "snapshot_image", "Last snapshot",
        JsonObject().String("image_topic", topics.snapshot).String("content_type", "image/png"));
    return out;
}

CommandParse ParseCommand(const MqttTopics& topics, std::string_view topic,
                          std::string_view payload, bool retained) {
    CommandParse parse;
    const std::string prefix = topics.base + "/cmd/";
    if (!topic.starts_with(prefix)) return parse;
    parse.ours = true;
    const std::string_view name = topic.substr(prefix.size());
    parse.name = name.substr(0, kMaxNameInAnswer);
    const auto refuse = [&parse](std::string why) {
        parse.command = Fail(std::move(why));
        return parse;
    };
    if (retained) return refuse("a retained command is not carried out; send it unretained");
    if (payload.size() > kMaxCommandPayload) return refuse("the payload is over 4 KiB");
    if (!IsUtf8(payload)) return refuse("the payload is not UTF-8 text");
    if (payload.ends_with('\n')) payload.remove_suffix(1);
    if (payload.ends_with('\r')) payload.remove_suffix(1);
    if (HasControlCharacter(payload)) return refuse("the payload holds a control character");
    for (const CommandEntry& entry : kCommands) {
        if (entry.name != name) continue;
        if (entry.command == Command::ShowAddress) {
            parse.address = TrimBlanksAndTabs(payload);
            if (parse.address.empty()) return refuse("show_address needs the address as payload");
        }
        Command command = entry.command;
        if (command == Command::ScreenOn) {
            const std::string_view state = TrimBlanksAndTabs(payload);
            if (EqualsNoCase(state, kOff))
                command = Command::ScreenOff;
            else if (!EqualsNoCase(state, kOn))
                return refuse("screen needs ON or OFF as payload");
        }
        parse.command = command;
        return parse;
    }
    return refuse("no such command; the commands are " + KnownNames());
}

std::string ResultJson(std::string_view command, const Result<>& result,
                       std::optional<std::string_view> address) {
    JsonObject json;
    json.String("command", command);
    if (address) json.String("address", *address);
    json.Raw("ok", result ? "true" : "false");
    if (!result) json.String("error", result.Error());
    return json.Text();
}

void AnswerCommand(const CommandParse& command, const MqttTopics& topics, RemoteControl& remote,
                   const std::string& tempDir,
                   const std::function<void(const MqttMessage&)>& publish) {
    std::vector<MqttMessage> out;
    Result<> result = Done();
    if (!command.command) {
        result = Fail(command.command.Error());
    } else if (command.command.Value() == Command::Snapshot) {
        result = TakeSnapshot(remote, topics, tempDir, out);
    } else {
        const bool shown = command.command.Value() == Command::ShowAddress;
        remote.Run({command.command.Value(), CommandSource::Remote, command.address,
                    [publish, topic = topics.result, name = command.name,
                     address = shown ? std::optional(command.address)
                                     : std::nullopt](const Result<>& answer) {
                        publish({topic, ResultJson(name, answer, address), false});
                    }});
        return;
    }
    out.push_back({topics.result, ResultJson(command.name, result), false});
    for (const MqttMessage& message : out)
        publish(message);
}

}  // namespace pagelark
