// The kiosk on a fleet's broker end to end: a real mosquitto on loopback, the kiosk's state,
// availability and discovery read back with libmosquitto, commands sent the same way.

#include <mosquitto.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <mutex>
#include <thread>

#include "e2e/support/kiosk_fixture.h"
#include "e2e/support/mosquitto.h"
#include "platform/machine_id.h"
#include "platform/process_memory.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

struct Received {
    std::string topic, payload;
    bool retained = false;
};

// Everything on the broker as a fleet's operator sees it, subscribed again after a restart.
class Listener {
  public:
    explicit Listener(int port) {
        mosquitto_lib_init();
        mosq_ = mosquitto_new(nullptr, true, this);
        mosquitto_username_pw_set(mosq_, "kiosk", "pass word");
        mosquitto_connect_callback_set(
            mosq_, [](mosquitto* m, void*, int) { mosquitto_subscribe(m, nullptr, "#", 1); });
        mosquitto_message_callback_set(
            mosq_, [](mosquitto*, void* self, const mosquitto_message* m) {
                auto* listener = static_cast<Listener*>(self);
                std::lock_guard lock(listener->mutex_);
                listener->received_.push_back(
                    {m->topic, std::string(static_cast<const char*>(m->payload), m->payloadlen),
                     m->retain});
            });
        mosquitto_connect_async(mosq_, "127.0.0.1", port, 10);
        mosquitto_loop_start(mosq_);
    }
    ~Listener() {
        mosquitto_disconnect(mosq_);
        mosquitto_loop_stop(mosq_, true);
        mosquitto_destroy(mosq_);
    }
    // Sends a command and returns its answer.
    std::string Command(const std::string& name, const std::string& payload = "") {
        const std::size_t from = Count();
        mosquitto_publish(mosq_, nullptr, ("pagelark/" + MachineId() + "/cmd/" + name).c_str(),
                          static_cast<int>(payload.size()), payload.data(), 1, false);
        const auto answer = Wait("/result", "", from);
        return answer.empty() ? "no answer" : answer[0].payload;
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return received_.size();
    }
    // The messages from the from'th on whose topic ends with tail and payload holds text, once
    // there are want of them; none when they did not come.
    std::vector<Received> Wait(const std::string& tail, const std::string& text = "",
                               std::size_t from = 0, std::size_t want = 1,
                               Millis patience = kPatience) {
        std::vector<Received> found;
        const auto enough = [&] {
            std::lock_guard lock(mutex_);
            found.clear();
            for (std::size_t i = from; i < received_.size(); ++i)
                if (received_[i].topic.ends_with(tail) &&
                    received_[i].payload.find(text) != std::string::npos)
                    found.push_back(received_[i]);
            return found.size() >= want;
        };
        WaitUntil(enough, patience);
        return found.size() >= want ? found : std::vector<Received>();
    }

  private:
    mosquitto* mosq_ = nullptr;
    std::mutex mutex_;
    std::vector<Received> received_;
};

std::string Ok(const std::string& name) {
    return "{\"command\":\"" + name + "\",\"ok\":true}";
}

// Over TLS with a user name and password; the test listens on a plain port of the same broker.
TEST_F(KioskTest, MqttStateDiscoveryEachCommandRefusalsReconnectionTheLastWillAndAnOrderlyEnd) {
    if (MachineId().empty()) GTEST_SKIP() << "no /etc/machine-id";
    const auto made = RunCommand(
        {"sh", "-c",
         "cd \"$0\" && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
         "-keyout ca.key -out ca.crt -days 1 -subj /CN=ca && "
         "openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout server.key "
         "-out server.csr -subj /CN=localhost && "
         "printf 'subjectAltName=DNS:localhost\\n' >san && openssl x509 -req -in server.csr "
         "-CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt -days 1 -extfile san && "
         "mosquitto_passwd -c -b passwords kiosk 'pass word'",
         folders_.path()},
        CurrentEnvironment());
    ASSERT_EQ(made.status, 0) << made.output;
    const int tls = FreeLoopbackPort();
    int plain = FreeLoopbackPort();
    while (plain == tls)
        plain = FreeLoopbackPort();
    Mosquitto broker(folders_,
                     "allow_anonymous false\npassword_file " + folders_.File("passwords") +
                         "\nlistener " + std::to_string(plain) + " 127.0.0.1\nlistener " +
                         std::to_string(tls) + " 127.0.0.1\ncafile " + folders_.File("ca.crt") +
                         "\ncertfile " + folders_.File("server.crt") + "\nkeyfile " +
                         folders_.File("server.key") + "\n",
                     tls);
    Listener listener(plain);
    const std::string login = folders_.Write("login", "kiosk\npass word\n");
    ::chmod(login.c_str(), 0600);
    MachineSettings("\"MqttBroker\"=\"mqtts://localhost:" + std::to_string(tls) +
                    "\"\n\"MqttCaFile\"=\"" + folders_.File("ca.crt") +
                    "\"\n\"MqttCredentials\"=\"" + login + "\"\n\"PlayLog\"=\"Yes\"\n");
    Process& kiosk = Start("[Tessaro]\nDefaultTime=600\n" + Pages({"/red", "/green", "/blue"}));
    ASSERT_FALSE(listener.Wait("/state", "\"state\":\"playing\"", 0, 1, kStartUp).empty());
    ASSERT_TRUE(Comes(kRed.rgb, kPatience));

    // A newcomer gets the retained state, the availability and the discovery messages; the
    // memory is the whole tree's, the engine's processes with the kiosk's own.
    {
        Listener newcomer(plain);
        const auto state = newcomer.Wait("/state");
        ASSERT_FALSE(state.empty());
        EXPECT_TRUE(state[0].retained);
        const std::string& json = state[0].payload;
        EXPECT_GT(std::stoll(json.substr(json.find("\"memory_kib\":") + 13)),
                  MemoryOfProcess(kiosk.Pid()).pssKiB + 20 * 1024)
            << json;
        EXPECT_FALSE(newcomer.Wait("/availability", "online").empty());
        EXPECT_NE(json.find("\"screen\":\"ON\""), std::string::npos) << json;
        const auto discovery = newcomer.Wait("/config", "/availability", 0, 10);
        ASSERT_EQ(discovery.size(), 10u);
        for (const Received& message : discovery)
            EXPECT_TRUE(message.retained && message.topic.starts_with("homeassistant/"));
    }

    EXPECT_EQ(listener.Command("next"), Ok("next"));
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience));
    // The page that left the show, as its line in the play log.
    const auto logged = listener.Wait("/playlog", "\"page\":1,");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_FALSE(logged[0].retained);
    EXPECT_NE(logged[0].payload.find("\"address\":\"" + server_.Url("/red") + "\",\"loaded\":true"),
              std::string::npos)
        << logged[0].payload;
    EXPECT_EQ(listener.Command("previous"), Ok("previous"));
    EXPECT_EQ(listener.Command("pause", "PRESS"), Ok("pause"));
    EXPECT_EQ(listener.Command("next"),
              "{\"command\":\"next\",\"ok\":false,\"error\":\"the show is not playing\"}");
    EXPECT_EQ(listener.Command("play"), Ok("play"));
    EXPECT_EQ(listener.Command("reload"), Ok("reload"));
    EXPECT_EQ(
        listener.Command("show_address", server_.Url("/blue")),
        "{\"command\":\"show_address\",\"address\":\"" + server_.Url("/blue") + "\",\"ok\":true}");
    EXPECT_TRUE(Comes(kBlue.rgb, kPatience));
    const std::size_t before = listener.Count();
    EXPECT_EQ(listener.Command("snapshot", "/tmp/elsewhere.png"), Ok("snapshot"));
    EXPECT_FALSE(listener.Wait("/snapshot", "\x89PNG\r\n", before).empty());
    EXPECT_FALSE(std::filesystem::exists("/tmp/elsewhere.png"));
    // Refusals (ParseCommandTest's) are answered over the broker, and the show plays on.
    EXPECT_NE(listener.Command("next", std::string(5000, 'x')).find("over 4 KiB"),
              std::string::npos);
    const std::size_t played = listener.Count();
    EXPECT_EQ(listener.Command("play"), Ok("play"));
    EXPECT_FALSE(listener.Wait("/state", "\"state\":\"playing\"", played).empty());
    // The screen's switch: carried out, and the state follows.
    const std::size_t switched = listener.Count();
    EXPECT_EQ(listener.Command("screen", "OFF"), Ok("screen"));
    EXPECT_FALSE(listener.Wait("/state", "\"state\":\"dark\"", switched).empty());
    const std::size_t on = listener.Count();
    EXPECT_EQ(listener.Command("screen", "ON"), Ok("screen"));
    EXPECT_FALSE(listener.Wait("/state", "\"screen\":\"ON\"", on).empty());

    // The broker goes and comes back empty: the kiosk connects again and says it all anew.
    broker.Stop();
    std::this_thread::sleep_for(2s);
    broker.Start();
    const std::size_t restarted = listener.Count();
    EXPECT_FALSE(listener.Wait("/state", "\"state\":", restarted, 1, kStartUp).empty());
    EXPECT_FALSE(listener.Wait("/availability", "online", restarted).empty());

    ::kill(kiosk.Pid(), SIGKILL);
    EXPECT_FALSE(listener.Wait("/availability", "offline", restarted).empty()) << "no last will";

    // An orderly end disconnects cleanly, which the broker answers with no last will.
    Process& again = Start("[Tessaro]\nDefaultTime=600\n" + Pages({"/red"}));
    const std::size_t started = listener.Count();
    ASSERT_FALSE(listener.Wait("/availability", "online", started, 1, kStartUp).empty());
    again.Stop();
    EXPECT_FALSE(listener.Wait("/availability", "offline", started).empty());
}

}  // namespace
}  // namespace pagelark::e2e
