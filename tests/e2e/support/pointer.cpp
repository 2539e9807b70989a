#include "e2e/support/pointer.h"

#include <stdexcept>

#include "e2e/support/process.h"
#include "e2e/support/xvfb.h"

namespace pagelark::e2e {

Pointer::Pointer(const Xvfb& server) : environment_(server.Environment()) {}

void Pointer::MoveTo(int x, int y) const {
    Run({"mousemove", std::to_string(x), std::to_string(y)});
}

void Pointer::Click(int button) const {
    Run({"click", std::to_string(button)});
}

void Pointer::Key(std::string_view key) const {
    Run({"key", std::string(key)});
}

void Pointer::Type(std::string_view text) const {
    Run({"type", std::string(text)});
}

void Pointer::Run(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    const std::string command = arguments[1];
    const auto result = RunCommand(std::move(arguments), environment_);
    if (result.status != 0)
        throw std::runtime_error("xdotool " + command + " failed: " + result.output);
}

}  // namespace pagelark::e2e
