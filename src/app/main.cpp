// The program's start: the command line answered where it can be without a kiosk, the browser
// engine and Qt set up, then the kiosk run.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

#include "app/engine_setup.h"
#include "app/input_method.h"
#include "app/kiosk.h"
#include "core/command_line.h"
#include "core/engine_flags.h"
#include "platform/files.h"
#include "platform/log.h"
#include "qtshared/log_categories.h"

namespace pagelark {
namespace {

bool NamesSomething(const std::string& path) {
    return FileExists(path) || DirExists(path);
}

// The machine asked before Qt, which aborts where it cannot open a window.
DisplayProbes MachineDisplayProbes() {
    return {[](const std::string& display) {
                xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
                const bool opened = xcb_connection_has_error(connection) == 0;
                xcb_disconnect(connection);
                return opened;
            },
            [](const std::string& socketPath) {
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                if (socketPath.size() >= sizeof(address.sun_path)) return false;
                std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
                const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                if (fd < 0) return false;
                // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API
                const bool answered =
                    connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
                close(fd);
                return answered;
            },
            [] {
                // Plugins from elsewhere are Qt's to find: no judgement then.
                std::vector<std::string> names;
                if (std::getenv("QT_QPA_PLATFORM_PLUGIN_PATH") != nullptr ||
                    std::getenv("QT_PLUGIN_PATH") != nullptr)
                    return names;
                const QDir folder(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
                for (const QString& file : folder.entryList({"libq*.so"}, QDir::Files))
                    names.push_back(file.mid(4, file.size() - 7).toStdString());
                // Qt's Wayland plugins (wayland-egl, wayland-generic) answer to "wayland" too.
                if (std::any_of(names.begin(), names.end(), [](const std::string& name) {
                        return name.starts_with("wayland-");
                    }))
                    names.emplace_back("wayland");
                return names;
            }};
}

int Usage(const std::string& why) {
    if (!why.empty()) std::cerr << "pagelark: " << why << "\n";
    std::cerr << kUsage;
    return 2;
}

// --help, --version and a command line the program cannot take are answered without a kiosk:
// the status to end with, or none.
std::optional<int> AnswerAlone(const std::vector<std::string>& arguments,
                               const std::optional<std::string>& configFile) {
    if (configFile) {
        if (configFile->empty()) return Usage("--config needs a FILE");
        if (!arguments.empty()) return Usage("unexpected word " + arguments.front());
        return std::nullopt;
    }
    switch (ReadCommandLine(JoinArguments(arguments), NamesSomething)) {
        case CommandRequest::Help:
            std::cout << kUsage;
            return 0;
        case CommandRequest::Version:
            std::cout << "pagelark " << PAGELARK_VERSION << "\n";
            return 0;
        case CommandRequest::Usage:
            return Usage(UnexpectedWord(arguments));
        case CommandRequest::Play:
        case CommandRequest::Config:
            break;
    }
    return std::nullopt;
}

int Start(int argc, char** argv) {
    // The engine reads its switches from the arguments and the environment when it starts.
    std::vector<std::string> given(argv + 1, argv + argc);
    const bool remoteDebugging = DropRemoteDebugging(given);
    const std::optional<std::string> configFile = TakeConfigFile(given);
    TakeEndOfOptions(given);
    // Answered before Qt, which wants a screen, unless an option is one Qt takes.
    const bool qtOption = std::ranges::any_of(given, [](auto& a) { return IsQtOption(a); });
    if (!qtOption ||
        ReadCommandLine(JoinArguments(given), NamesSomething) != CommandRequest::Usage) {
        if (const auto status = AnswerAlone(given, configFile)) return *status;
    }
    // Qt would abort, with lines about its plugins.
    const std::string noDisplay = WhyNoDisplay(
        given,
        [](const char* name) {
            const char* value = std::getenv(name);
            return std::string(value != nullptr ? value : "");
        },
        NamesSomething, MachineDisplayProbes());
    if (!noDisplay.empty()) {
        std::cerr << "pagelark: " << noDisplay << "\n";
        return 1;
    }
    const Result<EngineSetup> engine = SetUpEngine(given, remoteDebugging);
    if (!engine) {
        std::cerr << "pagelark: " << engine.Error() << "\n";
        return 1;
    }
    std::vector<char*> qtArgv{argv[0]};
    for (std::string& argument : given)
        qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(given.size()) + 1;

    ChooseInputMethod(given, configFile);
    ChooseDrawing(engine.Value());
    QApplication app(qtArgc, qtArgv.data());
    DrawingStarted(engine.Value());
    QApplication::setApplicationName("Pagelark");
    QApplication::setQuitOnLastWindowClosed(false);
    static QtLogSink logSink;  // outlives every object that logs
    SetLogSink(&logSink);

    // What Qt left of the arguments once it took its own.
    const std::vector<std::string> arguments(qtArgv.begin() + 1, qtArgv.begin() + qtArgc);
    if (const auto status = AnswerAlone(arguments, configFile)) return *status;
    return RunKiosk(arguments, configFile);
}

}  // namespace
}  // namespace pagelark

int main(int argc, char** argv) {
    return pagelark::Start(argc, argv);
}
