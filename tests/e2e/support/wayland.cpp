#include "e2e/support/wayland.h"

// Qt's headers before Xlib's, whose macros they would trip over.
#include <QDir>
#include <QLibraryInfo>

#include <X11/Xlib.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace pagelark::e2e {
namespace {

// Made on first use where the tests run as root: cage will not run as root.
constexpr const char* kUserName = "pagelark-e2e";

bool OnPath(const std::string& program) {
    return RunCommand({"sh", "-c", "command -v \"$0\"", program}, CurrentEnvironment()).status == 0;
}

std::optional<User> UserNamed(const char* name) {
    const passwd* entry = ::getpwnam(name);
    if (entry == nullptr) return std::nullopt;
    return User{entry->pw_uid, entry->pw_gid, entry->pw_name};
}

// An X connection for one request; throws when the server is gone.
using XConnection = std::unique_ptr<::Display, decltype(&XCloseDisplay)>;
XConnection Connect(const Xvfb& server) {
    XConnection display(XOpenDisplay(server.Display().c_str()), &XCloseDisplay);
    if (!display) throw std::runtime_error("cannot open " + server.Display());
    return display;
}

// The folder and everything in it become the user's, so the kiosk can use its private folders.
void HandOver(const std::string& folder, const User& user) {
    namespace fs = std::filesystem;
    const auto give = [&](const fs::path& path) {
        if (::lchown(path.c_str(), user.uid, user.gid) != 0)
            throw std::runtime_error("cannot hand over " + path.string());
    };
    give(folder);
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        give(entry.path());
}

// The command that runs argv as the user.
std::vector<std::string> AsUser(const User& user, std::vector<std::string> argv) {
    if (user.uid == ::geteuid()) return argv;
    argv.insert(argv.begin(), {"setpriv", "--reuid=" + std::to_string(user.uid),
                               "--regid=" + std::to_string(user.gid), "--init-groups", "--"});
    return argv;
}

// The program, or where the user cannot run it (a build in a private folder such as /root's),
// a copy of it in the folders that the user can.
std::string Reachable(const std::string& program, const User& user, const KioskFolders& folders) {
    namespace fs = std::filesystem;
    const auto runs = [&](const std::string& path) {
        return RunCommand(AsUser(user, {"sh", "-c", "test -r \"$0\" && test -x \"$0\"", path}),
                          CurrentEnvironment())
                   .status == 0;
    };
    if (runs(program)) return program;
    // Both programs stand alone: the kiosk needs system libraries only, the script itself.
    const fs::path copy = fs::path(folders.File("bin")) / fs::path(program).filename();
    // A running copy cannot be written over.
    if (fs::exists(copy)) return copy.string();
    fs::create_directories(copy.parent_path());
    fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    return copy.string();
}

}  // namespace

std::string WaylandMissing(const std::vector<std::string>& programs) {
    std::vector<std::string> needed = programs;
    if (::geteuid() == 0) needed.emplace_back("setpriv");
    std::string missing;
    for (const auto& program : needed)
        if (!OnPath(program)) missing += (missing.empty() ? "" : ", ") + program;
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
    if (plugins.entryList({"libqwayland-*.so"}, QDir::Files).isEmpty())
        missing += std::string(missing.empty() ? "" : ", ") + "Qt's Wayland platform (qt6-wayland)";
    return missing.empty() ? "" : "not installed: " + missing;
}

std::optional<User> CompositorUser(std::string& why) {
    if (::geteuid() != 0) {
        const passwd* self = ::getpwuid(::geteuid());
        if (self != nullptr) return User{self->pw_uid, self->pw_gid, self->pw_name};
        why = "this process's user has no name";
        return std::nullopt;
    }
    if (auto user = UserNamed(kUserName)) return user;
    const auto made =
        RunCommand({"useradd", "--system", "--user-group", "--no-create-home", "--home-dir",
                    "/nonexistent", "--shell", "/usr/sbin/nologin", kUserName},
                   CurrentEnvironment());
    // Another run may have made it meanwhile.
    if (auto user = UserNamed(kUserName)) return user;
    why = std::string("cage refuses root, and no user ") + kUserName +
          " could be made: " + made.output;
    return std::nullopt;
}

SpawnOptions CageOptions(const Xvfb& server, const KioskFolders& folders, const User& user,
                         const CageSetup& setup, std::vector<std::string> arguments,
                         std::vector<std::string> environment) {
    if (setup.headless) {
        environment.emplace_back("WLR_BACKENDS=headless");
    } else {
        // The compositor looks these up without creating them; unknown, it could not name its
        // windows nor hear a request to close one.
        const XConnection display = Connect(server);
        for (const char* atom : {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "_NET_WM_NAME", "UTF8_STRING"})
            XInternAtom(display.get(), atom, False);
        XSync(display.get(), False);
        environment.insert(environment.end(), {"WLR_BACKENDS=x11",
                                               "WLR_X11_OUTPUTS=" + std::to_string(setup.outputs)});
    }
    environment.insert(environment.end(), {"WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1"});
    if (setup.logRequests) environment.emplace_back("WAYLAND_DEBUG=server");
    SpawnOptions options =
        KioskOptions(server, folders, std::move(arguments), std::move(environment));
    options.argv[0] = Reachable(options.argv[0], user, folders);
    // DISPLAY stays for a windowed cage, which draws its outputs there.
    std::erase(options.environment, "QT_QPA_PLATFORM=xcb");
    if (setup.headless) std::erase(options.environment, "DISPLAY=" + server.Display());
    if (!setup.session.empty()) {
        options.environment.push_back("PAGELARK_BINARY=" + options.argv[0]);
        options.argv.insert(options.argv.begin(),
                            {Reachable(setup.session, user, folders), "--wayland"});
        options.argv.erase(options.argv.begin() + 2);
    } else {
        options.environment.emplace_back("QT_QPA_PLATFORM=wayland");
        // No decorations: the kiosk's window alone fills the output.
        options.argv.insert(options.argv.begin(), {"cage", "-d", "--"});
    }
    HandOver(folders.path(), user);
    options.argv = AsUser(user, std::move(options.argv));
    return options;
}

SpawnOptions UserBusOptions(const KioskFolders& folders, const User& user, std::string& address) {
    address = "unix:path=" + folders.File("bus_socket");
    // A session bus lets in its own user alone; root's busctl must be let in as well.
    const std::string config = folders.Write(
        "bus.conf", "<busconfig><type>session</type><listen>" + address +
                        "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                        "<allow user=\"*\"/><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    HandOver(folders.path(), user);
    return {.argv = AsUser(user, {"dbus-daemon", "--config-file=" + config, "--nofork"}),
            .environment = CurrentEnvironment(),
            .outputFile = folders.File("bus.log")};
}

bool Grim(const KioskFolders& folders, const User& user, const std::string& file,
          std::string& why) {
    std::filesystem::remove(file);
    // cage's socket is the first in its user's own runtime folder.
    const char* path = std::getenv("PATH");
    const auto result =
        RunCommand(AsUser(user, {"grim", file}),
                   {"PATH=" + std::string(path ? path : "/usr/bin:/bin"),
                    "XDG_RUNTIME_DIR=" + folders.File("run"), "WAYLAND_DISPLAY=wayland-0"});
    why = result.output;
    return result.status == 0 && std::filesystem::exists(file);
}

std::vector<unsigned long> OutputWindows(const Xvfb& server) {
    const XConnection display = Connect(server);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<unsigned long> windows;
    if (XQueryTree(display.get(), DefaultRootWindow(display.get()), &root, &parent, &children,
                   &count) == 0)
        return windows;
    for (unsigned k = 0; k < count; ++k) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display.get(), children[k], &attributes) != 0 &&
            attributes.map_state == IsViewable)
            windows.push_back(children[k]);
    }
    if (children != nullptr) XFree(children);
    return windows;
}

void CloseOutputWindow(const Xvfb& server, unsigned long window) {
    const XConnection display = Connect(server);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display.get(), window, False, NoEventMask, &event);
    XSync(display.get(), False);
}

}  // namespace pagelark::e2e
