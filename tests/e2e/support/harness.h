#pragma once
// What the end-to-end tests drive and watch: child processes, a private X server, its screen
// read back pixel by pixel, and the kiosk program with every folder it touches private.

#include <sys/types.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

typedef struct _XDisplay Display;

namespace pagelark::e2e {

using Millis = std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

inline double SecondsBetween(TimePoint from, TimePoint to) {
    return std::chrono::duration<double>(to - from).count();
}

// When condition first held, polled every step, or nullopt once the time is up.
std::optional<TimePoint> WaitUntil(const std::function<bool()>& condition, Millis timeout,
                                   Millis step = Millis(20));

std::vector<std::string> CurrentEnvironment();

struct SpawnOptions {
    std::vector<std::string> argv;         // argv[0] is searched in PATH
    std::vector<std::string> environment;  // complete environment of the child
    std::string outputFile;                // stdout and stderr; empty for /dev/null
    bool ownProcessGroup = false;          // stop kills the child's descendants as well
};

// A child that cannot run its program exits with 127; stopped and reaped without fail.
class Process {
  public:
    explicit Process(const SpawnOptions& options);
    ~Process() { Stop(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running() { return !Poll(); }
    // The exit code, or minus the signal that ended it; nullopt while it still runs.
    std::optional<int> WaitForExit(Millis timeout);
    // SIGTERM, SIGKILL 5 s later; with its own group, to the whole group. Idempotent.
    void Stop();
    std::string Output() const { return testing::TempFolder::Read(outputFile_); }

  private:
    std::optional<int> Poll();

    std::string outputFile_;
    pid_t pid_ = -1;
    bool group_ = false;
    bool reaped_ = false;
    std::optional<int> status_;
};

// The running processes of a process group (a kiosk and its browser engine's helpers) whose
// command line holds text.
std::vector<pid_t> ProcessesInGroup(pid_t group, std::string_view text = "");
// Their proportional memory together, in KiB.
long long GroupPssKiB(pid_t group);

struct CommandResult {
    std::optional<int> status;  // nullopt: it did not end within 20 s and was killed
    std::string output;
};

CommandResult RunCommand(std::vector<std::string> argv, std::vector<std::string> environment);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::string ToHex(Rgb color);

// Rendering may round a channel by a step or two; nothing we compare is that close.
inline bool Near(Rgb a, Rgb b, int tolerance = 24) {
    auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
}

// A page the server names after a colour is painted in exactly that colour, so the screen
// tells which page is on show.
struct NamedColor {
    std::string_view name;
    Rgb rgb;
};

inline constexpr NamedColor kRed{"red", {0xff, 0x00, 0x00}};
inline constexpr NamedColor kGreen{"green", {0x00, 0xff, 0x00}};
inline constexpr NamedColor kBlue{"blue", {0x00, 0x00, 0xff}};
inline constexpr NamedColor kYellow{"yellow", {0xff, 0xff, 0x00}};
inline constexpr NamedColor kCyan{"cyan", {0x00, 0xff, 0xff}};
inline constexpr NamedColor kMagenta{"magenta", {0xff, 0x00, 0xff}};
inline constexpr NamedColor kOrange{"orange", {0xff, 0x80, 0x00}};
inline constexpr NamedColor kPurple{"purple", {0x80, 0x00, 0xff}};

inline constexpr std::array kPageColors{kRed,  kGreen,   kBlue,   kYellow,
                                        kCyan, kMagenta, kOrange, kPurple};

// Xvfb on a display number it picks itself; the constructor throws when it does not start.
class Xvfb {
  public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    Xvfb();

    std::string Display() const { return ":" + std::to_string(number_); }
    // This process's environment with DISPLAY naming this server.
    std::vector<std::string> Environment() const;
    void SetRootColor(Rgb color) const;

  private:
    testing::TempFolder folder_;
    std::unique_ptr<Process> process_;
    int number_ = -1;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct ColorSample {
    TimePoint time;
    Rgb rgb;
};

class Screen {
  public:
    explicit Screen(const Xvfb& server);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Rgb Pixel(int x, int y) const;
    Rgb Centre() const { return Pixel(Xvfb::kWidth / 2, Xvfb::kHeight / 2); }
    // The centre pixel, sampled as often as it can for the given time.
    std::vector<ColorSample> RecordColors(Millis duration) const;

  private:
    ::Display* display_ = nullptr;
};

// The browser engine starts slowly under software rendering on a small machine.
inline constexpr Millis kStartUp{60000};
inline constexpr Millis kPatience{30000};
// The root window's colour, so that the kiosk window shows when it appears.
inline constexpr Rgb kRoot{0x20, 0x20, 0x20};
// Where the pointer rests when a run begins: out of the way of the centre pixel the tests
// read, inside the kiosk window.
inline constexpr Point kPointerRest{40, 700};
// The tool bars' default pictures are raised squares of this size and face colour, hanging
// from the top right corner.
inline constexpr int kButton = 24;
inline constexpr Rgb kFace{0xc0, 0xc0, 0xc0}, kLight{0xff, 0xff, 0xff}, kShade{0, 0, 0};
// Inside the address box under the buttons of Tool Nav, right of the address it shows
// selected.
inline constexpr Point kAddressBox{1016, 36};

// A private X server, its screen read back and the visitor's hand on it, for the end-to-end
// tests and the benchmarks alike.
class Desk {
  public:
    Desk() : screen_(xvfb_) {
        xvfb_.SetRootColor(kRoot);
        MoveTo(kPointerRest);
    }

    std::optional<TimePoint> WaitForCentre(const std::function<bool(Rgb)>& condition,
                                           Millis timeout) const {
        return WaitUntil([&] { return condition(screen_.Centre()); }, timeout, Millis(5));
    }
    std::optional<TimePoint> WaitForColor(Rgb color, Millis timeout) const {
        return WaitForCentre([color](Rgb seen) { return Near(seen, color); }, timeout);
    }
    std::optional<TimePoint> WaitUntilKioskShows() const {
        return WaitForCentre([](Rgb seen) { return !Near(seen, kRoot, 4); }, kStartUp);
    }
    // The left edge of button index of a row of count buttons ending at right.
    static int ButtonLeft(int count, int index, int right = Xvfb::kWidth) {
        return right - (count - index) * kButton;
    }
    // What differs from a row of count raised squares ending at right, top; empty when it is
    // there. With stopAtFirst, only whether anything does.
    std::string RowFaults(int count, int right = Xvfb::kWidth, int top = 0,
                          bool stopAtFirst = false) const {
        std::string faults;
        for (int index = 0; index < count && !(stopAtFirst && !faults.empty()); ++index) {
            const int left = ButtonLeft(count, index, right);
            const Rgb light = screen_.Pixel(left, top), face = screen_.Pixel(left + 2, top + 2);
            const Rgb shade = screen_.Pixel(left + kButton - 1, top + kButton - 1);
            if (!Near(light, kLight, 8) || !Near(face, kFace, 8) || !Near(shade, kShade, 8))
                faults += "button " + std::to_string(index) + " at x " + std::to_string(left) +
                          ": " + ToHex(light) + " " + ToHex(face) + " " + ToHex(shade) + "\n";
        }
        return faults;
    }
    // Whether exactly count buttons come to hang from the top right corner.
    bool WaitForRow(int count) const {
        const auto rowOf = [&] {
            return RowFaults(count).empty() && !RowFaults(count + 1, Xvfb::kWidth, 0, true).empty();
        };
        return WaitUntil(rowOf, kPatience).has_value();
    }
    // Past the grace after play began, a pointer move brings Tool Nav; false when it never came.
    bool EnterNavigationMode(int buttons = 9) const {
        std::this_thread::sleep_for(Millis(2500));
        MoveTo({600, 450});
        return WaitForRow(buttons);
    }

    // The visitor's hand: returns once the event is delivered.
    std::string Xdotool(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), "xdotool");
        const auto result = RunCommand(arguments, xvfb_.Environment());
        if (result.status != 0) throw std::runtime_error("xdotool failed: " + result.output);
        return result.output;
    }
    void MoveTo(Point at) const {
        Xdotool({"mousemove", std::to_string(at.x), std::to_string(at.y)});
    }
    void Click(int button = 1) const { Xdotool({"click", std::to_string(button)}); }  // 3: right
    void Key(const std::string& key) const { Xdotool({"key", key}); }  // as xdotool names it
    // Types an address into Tool Nav's address box and goes there, as a visitor does.
    void EnterAddress(const std::string& address) const {
        MoveTo(kAddressBox);
        Click();
        Key("ctrl+a");
        Xdotool({"type", address});
        Key("Return");
    }
    // The first visible window of that caption once there is one; "" when none came.
    std::string WaitForWindow(const std::string& caption, Millis patience) const {
        std::string found;
        WaitUntil(
            [&] {
                const auto ids = RunCommand(
                    {"xdotool", "search", "--onlyvisible", "--name", caption}, xvfb_.Environment());
                found = ids.status == 0 ? ids.output.substr(0, ids.output.find('\n')) : "";
                return !found.empty();
            },
            patience);
        return found;
    }

    Xvfb xvfb_;
    Screen screen_;
};

// The folders of one or more kiosk runs; runs that share them see each other's lock.
class KioskFolders : public testing::TempFolder {
  public:
    KioskFolders();

    std::string TempDir() const { return File("tmp"); }
    std::string HomeDir() const { return File("home"); }
};

// How the kiosk program under test starts: as an operator starts it, but with every folder
// private, in a process group of its own (its browser engine's helpers must go with it).
// environment: further NAME=value entries.
SpawnOptions KioskOptions(const Xvfb& server, const KioskFolders& folders,
                          std::vector<std::string> arguments, std::vector<std::string> environment);

class Kiosk : public Process {
  public:
    Kiosk(const Xvfb& server, const KioskFolders& folders, std::vector<std::string> arguments,
          std::vector<std::string> extraEnvironment = {})
        : Process(
              KioskOptions(server, folders, std::move(arguments), std::move(extraEnvironment))) {}
};

}  // namespace pagelark::e2e
