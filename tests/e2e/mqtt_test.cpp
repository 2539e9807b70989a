// The kiosk on a fleet's broker end to end: a real mosquitto on loopback, the kiosk's state,
// availability and discovery read back with libmosquitto, commands sent the same way.

#include <gtest/gtest.h>
#include <mosquitto.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <mutex>
#include <thread>

#include "e2e/support/kiosk_fixture.h"
#include "e2e/support/mosquitto.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

struct Received {
    std::string topic, payload;
    bool retained = false;
};

// Everything under the filters, as a fleet's operator sees it; subscribes again after the
// broker comes back.
class Listener {
  public:
    explicit Listener(int port, std::vector<std::string> filters, std::string user = "",
                      std::string password = "")
        : filters_(std::move(filters)) {
        mosquitto_lib_init();
        mosq_ = mosquitto_new(nullptr, true, this);
        if (!user.empty()) mosquitto_username_pw_set(mosq_, user.c_str(), password.c_str());
        mosquitto_connect_callback_set(mosq_, [](mosquitto* m, void* self, int code) {
            if (code != 0) return;
            for (const auto& filter : static_cast<Listener*>(self)->filters_)
                mosquitto_subscribe(m, nullptr, filter.c_str(), 1);
        });
        mosquitto_message_callback_set(
            mosq_, [](mosquitto*, void* self, const mosquitto_message* m) {
                auto* listener = static_cast<Listener*>(self);
                std::lock_guard lock(listener->mutex_);
                listener->received_.push_back(
                    {m->topic, std::string(static_cast<const char*>(m->payload), m->payloadlen),
                     m->retain});
            });
        mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
        mosquitto_connect_async(mosq_, "127.0.0.1", port, 10);
        mosquitto_loop_start(mosq_);
    }
    ~Listener() {
        mosquitto_disconnect(mosq_);
        mosquitto_loop_stop(mosq_, true);
        mosquitto_destroy(mosq_);
    }
    void Send(const std::string& topic, const std::string& payload) {
        mosquitto_publish(mosq_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                          payload.data(), 1, false);
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return received_.size();
    }
    std::vector<Received> All() {
        std::lock_guard lock(mutex_);
        return received_;
    }
    // The first message on topic from the from'th on whose payload holds text.
    std::optional<Received> WaitFor(const std::string& topic, const std::string& text,
                                    std::size_t from = 0, Millis patience = kPatience) {
        std::optional<Received> found;
        WaitUntil(
            [&] {
                std::lock_guard lock(mutex_);
                for (std::size_t i = from; i < received_.size() && !found; ++i)
                    if (received_[i].topic == topic &&
                        received_[i].payload.find(text) != std::string::npos)
                        found = received_[i];
                return found.has_value();
            },
            patience);
        return found;
    }

  private:
    std::vector<std::string> filters_;
    mosquitto* mosq_ = nullptr;
    std::mutex mutex_;
    std::vector<Received> received_;
};

std::string MachineIdOfThisMachine() {
    std::string id = testing::TempFolder::Read("/etc/machine-id");
    if (id.ends_with('\n')) id.pop_back();
    return id;
}

class MqttTest : public KioskTest {
  protected:
    void SetUp() override {
        if (machineId_.size() != 32) GTEST_SKIP() << "no /etc/machine-id";
    }
    void SetMachineSettings(const std::string& values) {
        folders_.Write("registry/machine.reg",
                       "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvaro\\Pagelark]\n" + values);
    }
    // Sends a command and returns its answer.
    std::string Command(Listener& listener, const std::string& name,
                        const std::string& payload = "") {
        const std::size_t from = listener.Count();
        listener.Send(base_ + "/cmd/" + name, payload);
        const auto answer = listener.WaitFor(base_ + "/result", "", from);
        return answer ? answer->payload : "no answer";
    }

    std::string machineId_ = MachineIdOfThisMachine();
    std::string base_ = "pagelark/" + machineId_;
};

TEST_F(MqttTest, StateDiscoveryEachCommandRefusalsReconnectionAndTheLastWill) {
    const int port = FreeLoopbackPort();
    Mosquitto broker(
        folders_, "listener " + std::to_string(port) + " 127.0.0.1\nallow_anonymous true\n", port);
    Listener listener(port, {"pagelark/#"});
    SetMachineSettings("\"MqttBroker\"=\"mqtt://127.0.0.1:" + std::to_string(port) + "\"\n");
    Kiosk& kiosk = Start("[Tessaro]\nDefaultTime=600\n" + Pages({"/red", "/green", "/blue"}));
    ASSERT_TRUE(listener.WaitFor(base_ + "/state", "\"state\":\"playing\"", 0, kStartUp))
        << "no state";
    ASSERT_TRUE(Comes(kRed.rgb, kPatience));

    // A newcomer gets the retained state, the availability and the discovery messages.
    {
        Listener newcomer(port, {"pagelark/#", "homeassistant/#"});
        const auto state = newcomer.WaitFor(base_ + "/state", "\"memory_kib\":");
        ASSERT_TRUE(state && state->retained);
        EXPECT_EQ(state->payload.find("\"memory_kib\":0,"), std::string::npos) << state->payload;
        const auto online = newcomer.WaitFor(base_ + "/availability", "online");
        EXPECT_TRUE(online && online->retained);
        const std::string node = "homeassistant/button/pagelark_" + machineId_;
        ASSERT_TRUE(newcomer.WaitFor(node + "/snapshot/config", base_ + "/cmd/snapshot"));
        int discovery = 0;
        for (const Received& message : newcomer.All()) {
            if (!message.topic.starts_with("homeassistant/")) continue;
            ++discovery;
            EXPECT_TRUE(message.retained) << message.topic;
            EXPECT_NE(message.payload.find(base_ + "/availability"), std::string::npos)
                << message.payload;
        }
        EXPECT_EQ(discovery, 9);
    }

    const auto ok = [](const std::string& name) {
        return "{\"command\":\"" + name + "\",\"ok\":true}";
    };
    EXPECT_EQ(Command(listener, "next"), ok("next"));
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience));
    EXPECT_EQ(Command(listener, "previous"), ok("previous"));
    EXPECT_EQ(Command(listener, "pause", "PRESS"), ok("pause"));
    EXPECT_TRUE(listener.WaitFor(base_ + "/state", "\"state\":\"paused\""));
    EXPECT_EQ(Command(listener, "next"),
              "{\"command\":\"next\",\"ok\":false,\"error\":\"the show is not playing\"}");
    EXPECT_EQ(Command(listener, "play"), ok("play"));
    EXPECT_EQ(Command(listener, "reload"), ok("reload"));
    EXPECT_EQ(Command(listener, "show_address", server_.Url("/blue")), ok("show_address"));
    EXPECT_TRUE(Comes(kBlue.rgb, kPatience));
    EXPECT_NE(Command(listener, "show_address", "file:///etc/passwd").find("\"ok\":false"),
              std::string::npos);
    const std::size_t before = listener.Count();
    EXPECT_EQ(Command(listener, "snapshot", "/tmp/elsewhere.png"), ok("snapshot"));
    const auto picture = listener.WaitFor(base_ + "/snapshot", "\x89PNG", before);
    EXPECT_TRUE(picture && picture->payload.starts_with("\x89PNG"));
    EXPECT_FALSE(std::filesystem::exists("/tmp/elsewhere.png"));
    // Bad payloads and names are answered, and the show plays on.
    EXPECT_NE(Command(listener, "next", std::string(5000, 'x')).find("over 4 KiB"),
              std::string::npos);
    EXPECT_NE(Command(listener, "show_address", "http://a/\x01").find("control character"),
              std::string::npos);
    EXPECT_NE(Command(listener, "reboot").find("no such command"), std::string::npos);
    const std::size_t played = listener.Count();
    EXPECT_EQ(Command(listener, "play"), ok("play"));
    EXPECT_TRUE(listener.WaitFor(base_ + "/state", "\"state\":\"playing\"", played));

    // The broker goes and comes back empty: the kiosk connects again and says it all anew.
    broker.Stop();
    std::this_thread::sleep_for(2s);
    broker.Start();
    const std::size_t restarted = listener.Count();
    EXPECT_TRUE(listener.WaitFor(base_ + "/state", "\"state\":", restarted, kStartUp))
        << "no state after the broker came back";
    EXPECT_TRUE(listener.WaitFor(base_ + "/availability", "online", restarted));

    ::kill(kiosk.Pid(), SIGKILL);
    EXPECT_TRUE(listener.WaitFor(base_ + "/availability", "offline", restarted)) << "no last will";
}

TEST_F(MqttTest, OverTlsWithAUserAndPassword) {
    const testing::TempFolder& files = folders_;
    const auto made = RunCommand(
        {"sh", "-c",
         "cd \"$0\" && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
         "-keyout ca.key -out ca.crt -days 1 -subj /CN=ca && "
         "openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout server.key "
         "-out server.csr -subj /CN=localhost && "
         "printf 'subjectAltName=DNS:localhost\\n' >san && openssl x509 -req -in server.csr "
         "-CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt -days 1 -extfile san && "
         "mosquitto_passwd -c -b passwords kiosk 'pass word'",
         files.path()},
        CurrentEnvironment());
    ASSERT_EQ(made.status, 0) << made.output;
    const int tls = FreeLoopbackPort();
    int plain = FreeLoopbackPort();
    while (plain == tls)
        plain = FreeLoopbackPort();
    Mosquitto broker(folders_,
                     "allow_anonymous false\npassword_file " + files.File("passwords") +
                         "\nlistener " + std::to_string(plain) + " 127.0.0.1\nlistener " +
                         std::to_string(tls) + " 127.0.0.1\ncafile " + files.File("ca.crt") +
                         "\ncertfile " + files.File("server.crt") + "\nkeyfile " +
                         files.File("server.key") + "\n",
                     tls);
    Listener listener(plain, {"pagelark/#"}, "kiosk", "pass word");
    const std::string login = folders_.Write("login", "kiosk\npass word\n");
    ::chmod(login.c_str(), 0600);
    SetMachineSettings("\"MqttBroker\"=\"mqtts://localhost:" + std::to_string(tls) +
                       "\"\n\"MqttCaFile\"=\"" + files.File("ca.crt") +
                       "\"\n\"MqttCredentials\"=\"" + login + "\"\n");
    Kiosk& kiosk = Start("[Tessaro]\nDefaultTime=600\n" + Pages({"/red"}));
    ASSERT_TRUE(listener.WaitFor(base_ + "/state", "\"state\":", 0, kStartUp)) << "no state";
    // An orderly end disconnects cleanly, which the broker answers with no last will.
    const std::size_t before = listener.Count();
    kiosk.Stop();
    EXPECT_TRUE(listener.WaitFor(base_ + "/availability", "offline", before));
}

}  // namespace
}  // namespace pagelark::e2e
