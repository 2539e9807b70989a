#include "e2e/support/kiosk.h"

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "e2e/support/xvfb.h"

namespace pagelark::e2e {
namespace {

#ifdef PAGELARK_BINARY
constexpr const char* kBinary = PAGELARK_BINARY;
#else
constexpr const char* kBinary = nullptr;  // this build has no kiosk program
#endif

SpawnOptions Options(const Xvfb& server, const KioskFolders& folders,
                     std::vector<std::string> arguments, std::vector<std::string> environment) {
    if (kBinary == nullptr) throw std::runtime_error("built without the kiosk program");
    static std::atomic<int> runs{0};
    arguments.insert(arguments.begin(), kBinary);
    // A fresh environment, not the test runner's: a stray QT_QPA_PLATFORM=offscreen or a
    // session bus would change what the program does.
    const char* path = std::getenv("PATH");
    environment.insert(
        environment.end(),
        {"PATH=" + std::string(path ? path : "/usr/bin:/bin"), "LANG=C.UTF-8",
         "DISPLAY=" + server.Display(), "QT_QPA_PLATFORM=xcb", "TMPDIR=" + folders.TempDir(),
         "XDG_RUNTIME_DIR=" + folders.File("run"),
         "PAGELARK_REGISTRY_DIR=" + folders.File("registry"), "HOME=" + folders.HomeDir(),
         // No session bus and no accessibility bus: nothing outside the test may answer.
         "DBUS_SESSION_BUS_ADDRESS=unix:path=" + folders.File("no-session-bus"), "NO_AT_BRIDGE=1",
         // The tests run as root, where the browser engine refuses its sandbox.
         "QTWEBENGINE_DISABLE_SANDBOX=1",
         "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-first-run --disable-background-networking "
         "--disable-component-update --disable-sync",
         "LIBGL_ALWAYS_SOFTWARE=1"});
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(name))
            environment.push_back(name + ("=" + std::string(value)));
    return {.argv = std::move(arguments),
            .environment = std::move(environment),
            .outputFile = folders.File("kiosk-" + std::to_string(++runs) + ".log"),
            .ownProcessGroup = true};
}

}  // namespace

KioskFolders::KioskFolders() {
    for (const auto& folder : {"tmp", "run", "registry", "home"})
        if (::mkdir(File(folder).c_str(), 0700) != 0)
            throw std::runtime_error("cannot create " + File(folder));
}

Kiosk::Kiosk(const Xvfb& server, const KioskFolders& folders, std::vector<std::string> arguments,
             std::vector<std::string> extraEnvironment)
    : Process(Options(server, folders, std::move(arguments), std::move(extraEnvironment))) {}

}  // namespace pagelark::e2e
