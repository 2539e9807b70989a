#include "e2e/support/mosquitto.h"

#include <unistd.h>

#include <stdexcept>

namespace pagelark::e2e {

int FreeLoopbackPort() {
    int port = 0;
    ::close(BindLoopback(port));
    return port;
}

Mosquitto::Mosquitto(const testing::TempFolder& folder, const std::string& config, int port)
    : file_(folder.Write("mosquitto-" + std::to_string(port) + ".conf",
                         // Run by root, it would read its files as the user mosquitto.
                         "persistence false\nuser root\n" + config)),
      log_(folder.File("mosquitto-" + std::to_string(port) + ".log")),
      port_(port) {
    Start();
}

void Mosquitto::Start() {
    process_ = std::make_unique<Process>(
        SpawnOptions{{"mosquitto", "-c", file_}, CurrentEnvironment(), log_});
    const auto listens = [this] {
        return RunCommand({"bash", "-c", "exec 3<>/dev/tcp/127.0.0.1/" + std::to_string(port_)}, {})
                   .status == 0;
    };
    if (!WaitUntil(listens, Millis(10000)))
        throw std::runtime_error("mosquitto did not start: " + process_->Output());
}

}  // namespace pagelark::e2e
