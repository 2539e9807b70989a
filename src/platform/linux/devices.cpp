#include "platform/devices.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace pagelark {
namespace {

constexpr unsigned long kDirectInput = 1UL << 1;  // INPUT_PROP_DIRECT

bool DirectInput(const std::filesystem::path& properties) {
    std::ifstream in(properties);
    // A bitmap printed as hex words, the lowest last.
    std::string word;
    std::string last;
    while (in >> word)
        last = word;
    if (last.empty()) return false;
    try {
        return (std::stoul(last, nullptr, 16) & kDirectInput) != 0;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool TouchScreenPresent(const std::string& inputDevices) {
    std::error_code error;
    const std::string folder = inputDevices.empty() ? "/sys/class/input" : inputDevices;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().starts_with("event") &&
            DirectInput(entry.path() / "device" / "properties"))
            return true;
    }
    return false;
}

bool GraphicsDevicePresent(const std::string& renderNodes) {
    std::error_code error;
    const std::string folder = renderNodes.empty() ? "/dev/dri" : renderNodes;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().starts_with("renderD")) return true;
    }
    return false;
}

}  // namespace pagelark
