#include "mqtt/mqtt_messages.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace pagelark {
namespace {

const MqttTopics kTopics("0123456789abcdef0123456789abcdef");

TEST(ParseCommandTest, NamesPayloadsAndRefusals) {
    const std::string cmd = kTopics.base + "/cmd/";
    const struct {
        std::string topic, payload;
        std::optional<CommandKind> kind;
        std::string address, error;  // error: a part of it
    } cases[] = {
        {cmd + "next", "", CommandKind::Next, "", ""},
        // Home Assistant's buttons send this.
        {cmd + "pause", "PRESS", CommandKind::Pause, "", ""},
        {cmd + "show_address", " http://a/ \r\n", CommandKind::ShowAddress, "http://a/", ""},
        {cmd + "show_address", "http://a/\xc3\xa9", CommandKind::ShowAddress, "http://a/\xc3\xa9",
         ""},
        // Never a path on the kiosk.
        {cmd + "snapshot", "/etc/passwd", CommandKind::Snapshot, "", ""},
        {cmd + "next", std::string(4096, 'x'), CommandKind::Next, "", ""},
        {cmd + "next", std::string(4097, 'x'), {}, "", "over 4 KiB"},
        {cmd + "show_address", "", {}, "", "needs the address"},
        {cmd + "show_address", "http://a/\xff", {}, "", "not UTF-8"},
        {cmd + "show_address", "http://a/\nhttp://b/", {}, "", "control character"},
        {cmd + "show_address", "http://a/\xc2\x85", {}, "", "control character"},
        {cmd + "NEXT", "", {}, "", "no such command"},
        // Not ours: no answer at all.
        {"pagelark/fedcba9876543210fedcba9876543210/cmd/next", "", {}, "", ""},
        {kTopics.state, "", {}, "", ""},
    };
    for (const auto& c : cases) {
        const CommandParse parse = ParseCommand(kTopics, c.topic, c.payload);
        const std::string where = c.topic + " " + c.payload.substr(0, 40);
        EXPECT_EQ(parse.ours, c.topic.starts_with(cmd)) << where;
        EXPECT_EQ(parse.kind, c.kind) << where;
        EXPECT_EQ(parse.address, c.address) << where;
        EXPECT_NE(parse.error.find(c.error), std::string::npos) << where << ": " << parse.error;
        EXPECT_EQ(parse.error.empty(), c.error.empty()) << where << ": " << parse.error;
    }
    // The broker would hand a retained one over again at each reconnection.
    const CommandParse retained = ParseCommand(kTopics, cmd + "next", "", true);
    EXPECT_FALSE(retained.kind);
    EXPECT_NE(retained.error.find("retained"), std::string::npos);
}

// What Home Assistant would send back on each entity's command topic is taken, and every
// message names where the kiosk says it is online.
TEST(DiscoveryTest, EveryCommandTopicParsesBackAndEachEntityHasItsAvailability) {
    const std::regex commandTopic("\"command_topic\":\"([^\"]+)\"");
    int commands = 0;
    for (const MqttMessage& message : DiscoveryMessages(kTopics, {"kiosk \"7\"", "1.2"})) {
        EXPECT_TRUE(message.retain) << message.topic;
        EXPECT_TRUE(message.topic.starts_with("homeassistant/")) << message.topic;
        EXPECT_NE(message.payload.find("\"availability_topic\":\"" + kTopics.availability + "\""),
                  std::string::npos)
            << message.payload;
        EXPECT_NE(message.payload.find("\"name\":\"kiosk \\\"7\\\"\""), std::string::npos);
        std::smatch match;
        if (!std::regex_search(message.payload, match, commandTopic)) continue;
        ++commands;
        const std::string payload =
            message.topic.find("/text/") != std::string::npos ? "https://example.org/" : "PRESS";
        const CommandParse parse = ParseCommand(kTopics, match[1].str(), payload);
        EXPECT_TRUE(parse.kind) << match[1] << ": " << parse.error;
    }
    EXPECT_EQ(commands, 7);
}

}  // namespace
}  // namespace pagelark
