#include "e2e/support/mosquitto.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace pagelark::e2e {

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(fd);
        throw std::runtime_error("no free loopback port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
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
