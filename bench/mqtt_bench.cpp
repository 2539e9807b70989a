// What the MQTT client costs: the kiosk showing one page with MQTT off and on (connected to a
// mosquitto on loopback, its state published), in turns so that a change in the machine's load
// falls on both. Printed: the whole process tree's PSS and the kiosk process's own private
// memory, medians over the runs of each. Needs mosquitto and mosquitto-clients.

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "e2e/support/http_server.h"
#include "e2e/support/mosquitto.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;
using pagelark::bench::Median;

namespace {

constexpr int kRunsEach = 3;
// The engine's helpers start after the first paint; the client's connection soon after.
constexpr auto kSettle = 10s;

std::optional<pagelark::bench::TreeMemory> Run(const Desk& desk, const HttpServer& server,
                                               int port) {
    KioskFolders folders;
    if (port != 0)
        folders.Write("registry/machine.reg",
                      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvaro\\Pagelark]\n"
                      "\"MqttBroker\"=\"mqtt://127.0.0.1:" +
                          std::to_string(port) + "\"\n");
    const std::string show = folders.Write(
        "show.tso", "[Tessaro]\nDefaultTime=86400\n[Page1]\nURL=" + server.Url("/green") + "\n");
    Kiosk kiosk(desk.xvfb_, folders, {show});
    if (!desk.WaitForColor(kGreen.rgb, kStartUp)) return std::nullopt;
    if (port != 0) {
        // The retained state is there once the kiosk has connected.
        const auto state = RunCommand({"mosquitto_sub", "-p", std::to_string(port), "-t",
                                       "pagelark/+/state", "-C", "1", "-W", "15"},
                                      CurrentEnvironment());
        if (state.status != 0) return std::nullopt;
    }
    std::this_thread::sleep_for(kSettle);
    return pagelark::bench::SettledMemory(kiosk.Pid());
}

}  // namespace

int main() {
    Desk desk;
    HttpServer server;
    pagelark::testing::TempFolder folder;
    const int port = FreeLoopbackPort();
    Mosquitto broker(
        folder, "listener " + std::to_string(port) + " 127.0.0.1\nallow_anonymous true\n", port);
    std::vector<double> pss[2], own[2];
    for (int i = 0; i < kRunsEach; ++i) {
        for (int on = 0; on < 2; ++on) {
            const auto memory = Run(desk, server, on ? port : 0);
            if (!memory) {
                std::printf("mqtt: run %d with MQTT %s failed\n", i + 1, on ? "on" : "off");
                return 1;
            }
            pss[on].push_back(memory->pssMiB);
            own[on].push_back(memory->leaderPrivateMiB);
        }
    }
    std::printf("mqtt: one page on show, medians of %d runs each\n", kRunsEach);
    std::printf("  %-9s tree PSS %7.1f MiB  kiosk process private %6.1f MiB\n", "MQTT off",
                Median(pss[0]), Median(own[0]));
    std::printf("  %-9s tree PSS %7.1f MiB  kiosk process private %6.1f MiB\n", "MQTT on",
                Median(pss[1]), Median(own[1]));
    std::printf("  %-9s tree PSS %+7.1f MiB  kiosk process private %+6.1f MiB\n", "on - off",
                Median(pss[1]) - Median(pss[0]), Median(own[1]) - Median(own[0]));
    return 0;
}
