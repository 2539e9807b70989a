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
        bool ours;
        std::optional<CommandKind> kind;
        std::string address, error;  // error: a part of it
    } cases[] = {
        {cmd + "next", "", true, CommandKind::Next, "", ""},
        {cmd + "pause", "PRESS", true, CommandKind::Pause, "", ""},  // Home Assistant's button
        {cmd + "show_address", " http://a/ \r\n", true, CommandKind::ShowAddress, "http://a/", ""},
        {cmd + "show_address", "http://a/\xc3\xa9", true, CommandKind::ShowAddress,
         "http://a/\xc3\xa9", ""},
        {cmd + "snapshot", "/etc/passwd", true, CommandKind::Snapshot, "", ""},  // never a path
        {cmd + "next", std::string(4096, 'x'), true, CommandKind::Next, "", ""},
        {cmd + "next", std::string(4097, 'x'), true, {}, "", "over 4 KiB"},
        {cmd + "show_address", "", true, {}, "", "needs the address"},
        {cmd + "show_address", "http://a/\xff", true, {}, "", "not UTF-8"},
        {cmd + "show_address", "http://a/\xc0\xaf", true, {}, "", "not UTF-8"},  // overlong
        {cmd + "show_address", "http://a/\nhttp://b/", true, {}, "", "control character"},
        {cmd + "show_address", "http://a/\x1b[2J", true, {}, "", "control character"},
        {cmd + "show_address", "http://a/\xc2\x85", true, {}, "", "control character"},  // NEL
        {cmd + "NEXT", "", true, {}, "", "no such command"},
        {cmd + "next/now", "", true, {}, "", "no such command"},
        {cmd, "", true, {}, "", "no such command"},
        {"pagelark/fedcba9876543210fedcba9876543210/cmd/next", "", false, {}, "", ""},
        {kTopics.state, "", false, {}, "", ""},
    };
    for (const auto& c : cases) {
        const CommandParse parse = ParseCommand(kTopics, c.topic, c.payload);
        const std::string where = c.topic + " " + c.payload.substr(0, 40);
        EXPECT_EQ(parse.ours, c.ours) << where;
        EXPECT_EQ(parse.kind, c.kind) << where;
        EXPECT_EQ(parse.address, c.address) << where;
        EXPECT_NE(parse.error.find(c.error), std::string::npos) << where << ": " << parse.error;
        EXPECT_EQ(parse.error.empty(), c.error.empty()) << where << ": " << parse.error;
    }
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

TEST(StateJsonTest, TextIsEscapedAndNumbersAreBare) {
    KioskStatus status{"playing",       2,  "http://a/?q=\"x\"\\",
                       "/srv/show.tso", "", std::chrono::seconds(61),
                       "http://down/\n"};
    EXPECT_EQ(StateJson(status, 123456),
              "{\"state\":\"playing\",\"page\":2,\"address\":\"http://a/?q=\\\"x\\\"\\\\\","
              "\"presentation\":\"/srv/show.tso\",\"version\":\"\",\"uptime\":61,"
              "\"memory_kib\":123456,\"last_load_error\":\"http://down/\\n\"}");
    EXPECT_EQ(ResultJson("x\"y", "no \"z\""),
              "{\"command\":\"x\\\"y\",\"ok\":false,\"error\":\"no \\\"z\\\"\"}");
}

}  // namespace
}  // namespace pagelark
