#include "core/engine_flags.h"

#include <algorithm>

#include "core/command_line.h"
#include "ini/stored_values.h"

namespace pagelark {
namespace {

bool IsRemoteDebugging(std::string_view argument) {
    while (!argument.empty() && argument.front() == '-')
        argument.remove_prefix(1);
    return StartsWithNoCase(argument, "remote-debugging");
}

// The engine's flags variable, split at its blanks.
std::vector<std::string> SplitFlags(std::string_view flags) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos < flags.size()) {
        const std::size_t end = std::min(flags.find(' ', pos), flags.size());
        if (end > pos) parts.emplace_back(flags.substr(pos, end - pos));
        pos = end + 1;
    }
    return parts;
}

// A switch, alone or with its value.
bool HasFlag(std::string_view flags, std::string_view flag) {
    return std::ranges::any_of(SplitFlags(flags), [flag](std::string_view token) {
        return token == flag || (token.starts_with(flag) && token[flag.size()] == '=');
    });
}

void AddFlag(std::string& flags, std::string_view flag) {
    if (HasFlag(flags, flag)) return;
    if (!flags.empty()) flags += ' ';
    flags += flag;
}

}  // namespace

bool DropRemoteDebugging(std::vector<std::string>& arguments) {
    return std::erase_if(arguments, [](const std::string& a) { return IsRemoteDebugging(a); }) > 0;
}

std::string KioskEngineFlags(std::string flags) {
    AddFlag(flags, "--disable-pinch");
    // Added after another value of the operator's: the last one given wins.
    AddFlag(flags, "--overscroll-history-navigation=0");
    return flags;
}

bool DrawInSoftware(bool environmentChose, bool graphicsDevice, std::string_view engineFlags) {
    if (environmentChose) return false;
    return !graphicsDevice || HasFlag(engineFlags, "--disable-gpu");
}

std::string DrawingEngineFlags(std::string flags, bool software) {
    if (software) AddFlag(flags, "--disable-gpu");
    return flags;
}

std::string MemoryEngineFlags(std::string flags, bool low) {
    if (!low) return flags;
    AddFlag(flags, "--enable-low-end-device-mode");
    // The operator's script flags stand: the engine would take only the last.
    if (!HasFlag(flags, "--js-flags")) AddFlag(flags, "--js-flags=--optimize-for-size");
    return flags;
}

std::string QuietEngineFlags(std::string flags, std::string_view loggingRules) {
    const auto has = [](std::string_view text, std::string_view part) {
        return ToUpper(text).find(ToUpper(part)) != std::string::npos;
    };
    if (has(loggingRules, "qt.webengine") || has(flags, "--log-level") ||
        has(flags, "--enable-logging"))
        return flags;
    // Only fatal errors: the engine otherwise writes its own errors at every start.
    AddFlag(flags, "--log-level=3");
    return flags;
}

bool EngineRefusesUser(bool root, bool sandboxOffInEnvironment, std::string_view engineFlags,
                       const std::vector<std::string>& arguments) {
    return root && !sandboxOffInEnvironment && !HasFlag(engineFlags, "--no-sandbox") &&
           std::ranges::find(arguments, "--no-sandbox") == arguments.end();
}

bool DropRemoteDebugging(std::string& flags) {
    std::vector<std::string> parts = SplitFlags(flags);
    if (!DropRemoteDebugging(parts)) return false;
    flags = JoinArguments(parts);
    return true;
}

}  // namespace pagelark
