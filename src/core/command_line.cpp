#include "core/command_line.h"

#include <algorithm>
#include <iterator>

#include "ini/stored_values.h"

namespace pagelark {

namespace {

bool Quoted(std::string_view text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// The first argument of a line that begins with a double quote: up to the first blank outside
// quotes, without the quotes around it; and the rest of the line.
std::pair<std::string, std::string_view> QuotedArgument(std::string_view line) {
    bool inside = false;
    std::size_t end = 0;
    for (; end < line.size(); ++end) {
        if (line[end] == '"') inside = !inside;
        if (!inside && line[end] == ' ') break;
    }
    std::string_view argument = line.substr(0, end);
    if (Quoted(argument)) argument = argument.substr(1, argument.size() - 2);
    return {std::string(argument), line.substr(end)};
}

// An unquoted line is one path, blanks and all.
std::string NamedPath(std::string_view raw) {
    if (raw.front() == '"') return QuotedArgument(raw).first;
    return QuotedArgument('"' + std::string(raw) + '"').first;
}

}  // namespace

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string raw;
    for (const auto& argument : arguments) {
        if (!raw.empty()) raw += ' ';
        if (argument.find(' ') != std::string::npos && !Quoted(argument)) {
            raw += '"' + argument + '"';
        } else {
            raw += argument;
        }
    }
    return raw;
}

std::string ParseCommandLine(std::string_view raw, std::string_view defaultFilePath) {
    if (TrimBlanks(raw).empty() || IsConfigCommandLine(raw)) return std::string(defaultFilePath);
    return NamedPath(raw);
}

const char kUsage[] =
    "usage: pagelark                 play the default presentation\n"
    "       pagelark FILE.tso        play that presentation\n"
    "       pagelark ADDRESS         play a presentation published on a web server\n"
    "       pagelark CONFIG          edit the default presentation, then end (also /C, -C)\n"
    "       pagelark --config FILE   edit that presentation, then end\n"
    "       pagelark --help | --version\n"
    "Escape or Alt+F4 ends the show while a Quit button is visible. See pagelark(1).\n";

CommandRequest ReadCommandLine(std::string_view raw, const PathExists& exists) {
    const std::string_view line = TrimBlanks(raw);
    if (line.empty()) return CommandRequest::Play;
    const bool quoted = line.front() == '"';
    const std::size_t blank = std::min(line.find(' '), line.size());
    auto [first, rest] = quoted ? QuotedArgument(line)
                                : std::pair(std::string(line.substr(0, blank)), line.substr(blank));
    const std::string_view word = TrimBlanks(first);
    const bool alone = TrimBlanks(rest).empty();
    // A switch ends at a ':' (/c:1234); /cdrom/show.tso is a path.
    const std::string name = ToUpper(word.substr(0, word.find(':')));
    if (ToUpper(word) == "CONFIG" || name == "/C" || name == "-C" || name == "/CONFIG" ||
        name == "-CONFIG")
        return alone ? CommandRequest::Config : CommandRequest::Usage;
    if (word == "--help") return alone ? CommandRequest::Help : CommandRequest::Usage;
    if (word == "--version") return alone ? CommandRequest::Version : CommandRequest::Usage;
    // A quoted path may be followed by other words, which are ignored.
    if (quoted) return CommandRequest::Play;
    if (word.front() == '-') return CommandRequest::Usage;
    // Unquoted words are one path with blanks, unless that names nothing and they look like a
    // path with something after it.
    if (alone || !exists || exists(NamedPath(raw))) return CommandRequest::Play;
    bool option = false;
    for (std::size_t at = rest.find_first_not_of(' '); at != std::string_view::npos;
         at = rest.find_first_not_of(' ', rest.find(' ', at)))
        option = option || rest[at] == '-';
    return option || exists(first) ? CommandRequest::Usage : CommandRequest::Play;
}

void TakeEndOfOptions(std::vector<std::string>& arguments) {
    if (arguments.size() < 2 || arguments.front() != "--") return;
    arguments.erase(arguments.begin());
    if (!Quoted(arguments.front())) arguments.front() = '"' + arguments.front() + '"';
}

std::string UnexpectedWord(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool known =
            i == 0 && (IsConfigCommandLine(word) || word == "--help" || word == "--version");
        if (word.starts_with('-') && !known) return "unknown option " + word;
    }
    return arguments.size() > 1 ? "unexpected word " + arguments[1] : "";
}

namespace {

// The option's name without its dashes and value: --style=fusion is "style".
std::string_view OptionName(std::string_view argument) {
    if (!argument.starts_with('-')) return {};
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

}  // namespace

bool IsQtOption(std::string_view argument) {
    static constexpr std::string_view kQtOptions[] = {"platform",
                                                      "platformpluginpath",
                                                      "platformtheme",
                                                      "plugin",
                                                      "qwindowgeometry",
                                                      "qwindowicon",
                                                      "qwindowtitle",
                                                      "reverse",
                                                      "session",
                                                      "display",
                                                      "geometry",
                                                      "title",
                                                      "icon",
                                                      "style",
                                                      "stylesheet",
                                                      "widgetcount",
                                                      "nograb",
                                                      "dograb",
                                                      "sync",
                                                      "visual",
                                                      "ncols",
                                                      "cmap",
                                                      "name",
                                                      "qmljsdebugger",
                                                      "testability"};
    const std::string_view name = OptionName(argument);
    return std::ranges::find(kQtOptions, name) != std::end(kQtOptions);
}

std::string WhyNoDisplay(const std::vector<std::string>& arguments, const Environment& variable,
                         const PathExists& exists, const DisplayProbes& probes) {
    std::string platforms = variable("QT_QPA_PLATFORM");
    std::string display = variable("DISPLAY");
    std::string asked = "QT_QPA_PLATFORM=";  // where the platforms were named
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = OptionName(arguments[i]);
        if (option != "platform" && option != "display") continue;
        const std::size_t equals = arguments[i].find('=');
        std::string value;
        if (equals != std::string::npos)
            value = arguments[i].substr(equals + 1);
        else if (i + 1 < arguments.size())
            value = arguments[i + 1];
        (option == "platform" ? platforms : display) = value;
        if (option == "platform") asked = "-platform ";
    }
    // Asked for by name, a platform without its plugin is said; Qt's own choice passes it over.
    const bool chosen = !platforms.empty();
    if (!chosen) platforms = "xcb;wayland";
    const std::string runtime = variable("XDG_RUNTIME_DIR");
    const std::string waylandName = variable("WAYLAND_DISPLAY");
    const std::string socket =
        waylandName.starts_with('/') ? waylandName
        : runtime.empty()            ? std::string()
                          : runtime + "/" + (waylandName.empty() ? "wayland-0" : waylandName);
    const bool wayland = !waylandName.empty() || (!socket.empty() && exists && exists(socket));
    const std::vector<std::string> known =
        probes.platforms ? probes.platforms() : std::vector<std::string>{};
    // What the first platform tried lacked; any one that can open a window wins.
    std::string why;
    bool needsX = false, needsWayland = false, noWaylandPlugin = false;
    const auto lacks = [&why](std::string text) {
        if (why.empty()) why = std::move(text);
    };
    for (std::size_t start = 0; start <= platforms.size();) {
        const std::size_t end = std::min(platforms.find(';', start), platforms.size());
        // "xcb:option=value": the plugin's name comes before its options.
        const std::string_view entry = std::string_view(platforms).substr(start, end - start);
        const std::string name(TrimBlanks(entry.substr(0, entry.find(':'))));
        start = end + 1;
        if (name.empty()) continue;
        if (!known.empty() && std::ranges::find(known, name) == known.end()) {
            noWaylandPlugin = noWaylandPlugin || name.starts_with("wayland");
            if (!chosen) continue;
            std::string list;
            for (const std::string& k : known)
                list += (list.empty() ? "" : ", ") + k;
            lacks("no platform named '" + name + "' (this machine has: " + list + ")");
        } else if (name == "xcb") {
            if (display.empty()) {
                needsX = true;
                continue;
            }
            if (!probes.x11Opens || probes.x11Opens(display)) return "";
            lacks("cannot open the display '" + display + "': no X server lets the kiosk in there");
        } else if (name.starts_with("wayland")) {
            if (!wayland) {
                needsWayland = true;
                continue;
            }
            if (!probes.waylandAnswers || socket.empty() || probes.waylandAnswers(socket))
                return "";
            lacks("no Wayland compositor answers at '" + socket + "'");
        } else {
            return "";
        }
    }
    if (!why.empty()) return why;
    if (noWaylandPlugin && display.empty() && !waylandName.empty())
        return "no display to show the kiosk on: DISPLAY is not set, and Qt has no Wayland "
               "platform here for WAYLAND_DISPLAY (install qt6-wayland)";
    // Asked for by name, the platforms' own displays are the cause, whatever else is set.
    asked += platforms;
    if (chosen && needsWayland && !needsX)
        return asked + " asks for Wayland, and no compositor is named (WAYLAND_DISPLAY is not set)";
    if (chosen && needsX && !needsWayland) return asked + " asks for X11, and DISPLAY is not set";
    return "no display to show the kiosk on: DISPLAY and WAYLAND_DISPLAY are not set (start it "
           "in a graphical session, or with QT_QPA_PLATFORM=offscreen for a trial without one)";
}

bool IsConfigCommandLine(std::string_view raw) {
    return ReadCommandLine(raw) == CommandRequest::Config;
}

std::optional<std::string> TakeConfigFile(std::vector<std::string>& arguments) {
    const auto option = std::ranges::find(arguments, "--config");
    if (option == arguments.end()) return std::nullopt;
    const auto file = std::next(option);
    if (file == arguments.end()) {
        arguments.erase(option);
        return "";
    }
    std::string taken = std::move(*file);
    arguments.erase(option, std::next(file));
    return taken;
}

}  // namespace pagelark
