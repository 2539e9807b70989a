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

}  // namespace

KioskFolders::KioskFolders() {
    for (const auto& folder : {TempDir(), RuntimeDir(), RegistryDir(), HomeDir()})
        if (::mkdir(folder.c_str(), 0700) != 0) throw std::runtime_error("cannot create " + folder);
}

std::string KioskFolders::WritePresentation(const std::string& name,
                                            const std::string& text) const {
    return root_.Write(name, text);
}

Kiosk::Kiosk(const Xvfb& server, const KioskFolders& folders, std::vector<std::string> arguments,
             std::vector<std::string> extraEnvironment) {
    if (kBinary == nullptr) throw std::runtime_error("built without the kiosk program");
    static std::atomic<int> runs{0};
    outputFile_ = folders.Root() + "/kiosk-" + std::to_string(++runs) + ".log";

    // A fresh environment, not the test runner's: a stray QT_QPA_PLATFORM=offscreen or a
    // session bus would change what the program does.
    std::vector<std::string> environment;
    const char* path = std::getenv("PATH");
    SetVariable(environment, "PATH", path ? path : "/usr/bin:/bin");
    SetVariable(environment, "LANG", "C.UTF-8");
    SetVariable(environment, "DISPLAY", server.Display());
    SetVariable(environment, "QT_QPA_PLATFORM", "xcb");
    SetVariable(environment, "TMPDIR", folders.TempDir());
    SetVariable(environment, "XDG_RUNTIME_DIR", folders.RuntimeDir());
    SetVariable(environment, "PAGELARK_REGISTRY_DIR", folders.RegistryDir());
    SetVariable(environment, "HOME", folders.HomeDir());
    // No session bus and no accessibility bus: nothing outside the test may answer.
    SetVariable(environment, "DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + folders.Root() + "/no-session-bus");
    SetVariable(environment, "NO_AT_BRIDGE", "1");
    // The tests run as root, where the browser engine refuses its sandbox.
    SetVariable(environment, "QTWEBENGINE_DISABLE_SANDBOX", "1");
    SetVariable(environment, "QTWEBENGINE_CHROMIUM_FLAGS",
                "--disable-gpu --no-first-run --disable-background-networking "
                "--disable-component-update --disable-sync");
    SetVariable(environment, "LIBGL_ALWAYS_SOFTWARE", "1");
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(name)) SetVariable(environment, name, value);
    for (const auto& entry : extraEnvironment) {
        const auto equals = entry.find('=');
        SetVariable(environment, entry.substr(0, equals),
                    equals == std::string::npos ? "" : entry.substr(equals + 1));
    }

    SpawnOptions options;
    options.argv = {kBinary};
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.environment = std::move(environment);
    options.outputFile = outputFile_;
    options.ownProcessGroup = true;
    process_ = std::make_unique<Process>(options);
}

Kiosk::~Kiosk() = default;

std::string Kiosk::Output() const {
    return testing::TempFolder::Read(outputFile_);
}

}  // namespace pagelark::e2e
