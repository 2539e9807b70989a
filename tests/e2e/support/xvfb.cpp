#include "e2e/support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>

namespace pagelark::e2e {
namespace {

// The display number Xvfb writes to -displayfd once it listens; -1 when it does not in 30 s.
int ReadDisplayNumber(int fd) {
    std::string text;
    pollfd ready{fd, POLLIN, 0};
    char buffer[32];
    for (ssize_t count; text.find('\n') == std::string::npos;) {
        if (::poll(&ready, 1, 30000) <= 0 || (count = ::read(fd, buffer, sizeof buffer)) <= 0)
            return -1;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return std::stoi(text);
}

}  // namespace

Xvfb::Xvfb() {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    try {
        // Without a display argument, -displayfd makes the server take the first free number.
        process_ = std::make_unique<Process>(SpawnOptions{
            .argv = {"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
            .environment = CurrentEnvironment(),
            .outputFile = folder_.File("xvfb.log"),
            .ownProcessGroup = true,
            .passFd = pipeFds[1]});
    } catch (...) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        throw;
    }
    ::close(pipeFds[1]);
    number_ = ReadDisplayNumber(pipeFds[0]);
    ::close(pipeFds[0]);
    if (number_ < 0) throw std::runtime_error("Xvfb did not start: " + process_->Output());
}

std::vector<std::string> Xvfb::Environment() const {
    auto environment = CurrentEnvironment();
    std::erase_if(environment,
                  [](const std::string& entry) { return entry.starts_with("DISPLAY="); });
    environment.push_back("DISPLAY=" + Display());
    return environment;
}

void Xvfb::SetRootColor(Rgb color) const {
    const auto result = RunCommand({"xsetroot", "-solid", ToHex(color)}, Environment());
    if (result.status != 0) throw std::runtime_error("xsetroot failed: " + result.output);
}

}  // namespace pagelark::e2e
