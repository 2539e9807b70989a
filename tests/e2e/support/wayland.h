#pragma once
// The kiosk under a real Wayland compositor: cage, each of its outputs a window of the Desk's
// X server, so that the Desk reads the composited screen and xdotool's pointer and keys reach
// the kiosk through the compositor; grim reads the screen through the compositor itself.
// cage refuses to run as root: it, the kiosk and their session bus run as an ordinary user.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "e2e/support/harness.h"

namespace pagelark::e2e {

// Why the kiosk cannot be tried under cage here (a program or Qt's Wayland plugin missing); ""
// when it can.
std::string WaylandMissing(const std::vector<std::string>& programs = {"cage"});

struct User {
    uid_t uid = 0;
    gid_t gid = 0;
    std::string name;
};

// Whom cage runs as: this process's user, or when that is root an ordinary user made on first
// use; nullopt with why when there is none.
std::optional<User> CompositorUser(std::string& why);

struct CageSetup {
    int outputs = 1;
    // WAYLAND_DEBUG=server: cage logs every request it receives to its output.
    bool logRequests = false;
    // cage's output is no window but memory: no X server is involved, only grim reads the screen.
    bool headless = false;
    // The session script that starts cage itself (with --wayland, the kiosk as PAGELARK_BINARY)
    // and chooses Qt's platform; "" for cage started here.
    std::string session{};
};

// cage on the server's display with the kiosk as its client (started as KioskOptions starts it
// but on the Wayland platform), run as the user with the folders handed over; cage ends when
// the kiosk does.
SpawnOptions CageOptions(const Xvfb& server, const KioskFolders& folders, const User& user,
                         const CageSetup& setup, std::vector<std::string> arguments,
                         std::vector<std::string> environment);

// A session bus that the user's programs and root's busctl may both use; its address.
SpawnOptions UserBusOptions(const KioskFolders& folders, const User& user, std::string& address);

// grim's picture of all the compositor's outputs as a PNG file, taken as the user; false with
// grim's output in why when it failed.
bool Grim(const KioskFolders& folders, const User& user, const std::string& file, std::string& why);

// The compositor's output windows on the X server, bottom to top.
std::vector<unsigned long> OutputWindows(const Xvfb& server);
// Asks for an output window to close, as a window manager does: the output goes.
void CloseOutputWindow(const Xvfb& server, unsigned long window);

}  // namespace pagelark::e2e
