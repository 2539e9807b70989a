#include "e2e/support/harness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace pagelark::e2e {
namespace {

std::vector<char*> Pointers(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const auto& text : strings)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

SpawnOptions KioskOptions(const Xvfb& server, const KioskFolders& folders,
                          std::vector<std::string> arguments,
                          std::vector<std::string> environment) {
    static std::atomic<int> runs{0};
    arguments.insert(arguments.begin(), PAGELARK_BINARY);
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

std::optional<TimePoint> WaitUntil(const std::function<bool()>& condition, Millis timeout,
                                   Millis step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (condition()) return now;
        if (now > deadline) return std::nullopt;
        std::this_thread::sleep_for(step);
    }
}

std::vector<std::string> CurrentEnvironment() {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.emplace_back(*entry);
    return environment;
}

Process::Process(const SpawnOptions& options)
    : outputFile_(options.outputFile.empty() ? "/dev/null" : options.outputFile),
      group_(options.ownProcessGroup) {
    const auto argv = Pointers(options.argv);
    const auto envp = Pointers(options.environment);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        // Only what is safe after a fork in a threaded process, then the program.
        if (group_) ::setpgid(0, 0);
        const int out = ::open(outputFile_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ::dup2(::open("/dev/null", O_RDONLY), 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        // A clean signal state whatever the test runner set up.
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD})
            ::signal(signal, SIG_DFL);
        ::execvpe(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    if (group_) ::setpgid(pid_, 0);  // before any stop, whichever side runs first
}

std::optional<int> Process::Poll() {
    if (status_) return status_;
    // WNOWAIT leaves the child a zombie, so its process group id stays ours until Stop.
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid_)
        status_ = info.si_code == CLD_EXITED ? info.si_status : -info.si_status;
    return status_;
}

std::optional<int> Process::WaitForExit(Millis timeout) {
    WaitUntil([this] { return Poll().has_value(); }, timeout, Millis(10));
    return Poll();
}

void Process::Stop() {
    if (reaped_) return;
    const pid_t target = group_ ? -pid_ : pid_;
    if (!Poll()) {
        ::kill(target, SIGTERM);
        if (!WaitForExit(Millis(5000))) {
            ::kill(target, SIGKILL);
            WaitForExit(Millis(30000));
        }
    }
    // Whatever the leader left behind in its group goes too.
    if (group_) ::kill(-pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    reaped_ = true;
}

int BindLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(fd);
        throw std::runtime_error("no free port on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return fd;
}

CommandResult RunCommand(std::vector<std::string> argv, std::vector<std::string> environment) {
    const testing::TempFolder folder;
    Process process({.argv = std::move(argv),
                     .environment = std::move(environment),
                     .outputFile = folder.File("output")});
    const auto status = process.WaitForExit(Millis(20000));
    return {status, process.Output()};
}

CommandResult KioskBus::operator()(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"busctl", "--user"});
    return RunCommand(std::move(arguments), environment);
}

namespace {
constexpr const char* kService = "org.pagelark.Kiosk1";
constexpr const char* kObject = "/org/pagelark/Kiosk1";
std::string ErrorOf(const CommandResult& result) {
    return result.status == 0 ? "" : result.output + " ";
}
}  // namespace

std::string KioskBus::Call(const std::string& method, const std::string& argument) const {
    std::vector<std::string> arguments{"call", kService, kObject, kService, method};
    if (!argument.empty()) arguments.insert(arguments.end(), {"s", argument});
    return ErrorOf((*this)(arguments));
}

std::string KioskBus::Set(const std::string& property, const std::string& type,
                          const std::string& value) const {
    return ErrorOf((*this)({"set-property", kService, kObject, kService, property, type, value}));
}

std::string KioskBus::Get(const std::string& property) const {
    return (*this)({"get-property", kService, kObject, kService, property}).output;
}

bool KioskBus::Answers(const std::string& name) const {
    std::vector<std::string> arguments{"status"};
    if (!name.empty()) arguments.push_back(name);
    const auto answered = [&] { return (*this)(arguments).status == 0; };
    return WaitUntil(answered, kPatience, Millis(200)).has_value();
}

bool KioskBus::StateBecomes(const std::string& state) const {
    const auto became = [&] { return Get("State") == "s \"" + state + "\"\n"; };
    return WaitUntil(became, kPatience, Millis(200)).has_value();
}

std::vector<pid_t> ProcessesInGroup(pid_t group, std::string_view text) {
    std::vector<pid_t> members;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = std::stoi(name);
        if (::getpgid(pid) == group &&
            testing::TempFolder::Read("/proc/" + name + "/cmdline").find(text) != std::string::npos)
            members.push_back(pid);
    }
    return members;
}

std::string ToHex(Rgb color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color.r, color.g, color.b);
    return text;
}

Xvfb::Xvfb(XServer server) {
    // Without a display argument, -displayfd makes the server take the first free number and
    // write it there once it listens.
    const std::string file = folder_.File("display");
    std::string command = "exec Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>\"$0\"";
    if (server == XServer::XorgDummy) {
        command =
            "exec Xorg -displayfd 3 -config \"$1\" -logfile \"$2\" -noreset -nolisten tcp "
            "3>\"$0\"";
    }
    process_ = std::make_unique<Process>(SpawnOptions{
        .argv = {"sh", "-c", command, file, PAGELARK_E2E_XORG_CONFIG, folder_.File("xorg.log")},
        .environment = CurrentEnvironment(),
        .outputFile = folder_.File("xvfb.log"),
        .ownProcessGroup = true});
    std::string text;
    if (!WaitUntil([&] { return (text = testing::TempFolder::Read(file)).ends_with('\n'); },
                   Millis(30000), Millis(50))) {
        const std::string why = "the X server did not start: " + process_->Output();
        if (server == XServer::Xvfb) throw std::runtime_error(why);
        startFailure_ = why.substr(0, 2000);
        process_->Stop();
        return;
    }
    number_ = std::stoi(text);
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

Desk::Desk(XServer server) : xvfb_(server) {
    if (!xvfb_.StartFailure().empty()) return;
    // A server that has just started listening can still refuse a connection for a while (seen
    // when another server on the same number was going away).
    if (!WaitUntil([&] { return (display_ = XOpenDisplay(xvfb_.Display().c_str())) != nullptr; },
                   Millis(30000), Millis(50)))
        throw std::runtime_error("cannot open display " + xvfb_.Display());
    // Xlib's default handler ends the process; a failed read should fail one test instead.
    XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
    xvfb_.SetRootColor(kRoot);
    MoveTo(kPointerRest);
}

Desk::~Desk() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

std::vector<Rgb> Desk::Row(Point at, int width) const {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), at.x, at.y,
                              static_cast<unsigned>(width), 1, AllPlanes, ZPixmap);
    if (image == nullptr) throw std::runtime_error("XGetImage failed");
    std::vector<Rgb> row;
    for (int x = 0; x < width; ++x)
        row.push_back(RgbOf(XGetPixel(image, x, 0)));
    XDestroyImage(image);
    return row;
}

std::vector<ColorSample> Desk::RecordColors(Millis duration) const {
    return e2e::RecordColors({this}, duration).front();
}

std::vector<std::vector<ColorSample>> RecordColors(const std::vector<const Desk*>& desks,
                                                   Millis duration) {
    std::vector<std::vector<ColorSample>> samples(desks.size());
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        for (std::size_t d = 0; d < desks.size(); ++d) {
            const Rgb seen = desks[d]->Centre();
            samples[d].push_back({std::chrono::steady_clock::now(), seen});
        }
        // A breath between samples leaves the X servers and the renderers some CPU; any frame
        // on show for even a few milliseconds is still caught.
        std::this_thread::sleep_for(Millis(1));
    }
    return samples;
}

std::vector<ColorRun> Runs(const std::vector<ColorSample>& samples) {
    std::vector<ColorRun> runs;
    for (const auto& sample : samples) {
        std::string name = ToHex(sample.rgb);
        for (const auto& color : kPageColors)
            if (Near(sample.rgb, color.rgb)) name = color.name;
        if (!runs.empty() && runs.back().name == name)
            runs.back().last = sample.time;
        else
            runs.push_back({name, sample.time, sample.time});
    }
    return runs;
}

std::string Desk::Xdotool(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    const auto result = RunCommand(arguments, xvfb_.Environment());
    if (result.status != 0) throw std::runtime_error("xdotool failed: " + result.output);
    return result.output;
}

KioskFolders::KioskFolders() {
    for (const auto& folder : {"tmp", "run", "registry", "home"})
        if (::mkdir(File(folder).c_str(), 0700) != 0)
            throw std::runtime_error("cannot create " + File(folder));
}

}  // namespace pagelark::e2e
