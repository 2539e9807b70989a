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
    virtual ~Process() { Stop(); }
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

// The running processes of a process group whose command line holds text.
std::vector<pid_t> ProcessesInGroup(pid_t group, std::string_view text = "");

struct CommandResult {
    std::optional<int> status;  // nullopt: it did not end within 20 s and was killed
    std::string output;
};

// A TCP socket bound to a free port of 127.0.0.1, and that port; throws when there is none.
int BindLoopback(int& port);

CommandResult RunCommand(std::vector<std::string> argv, std::vector<std::string> environment);

// busctl as an operator runs it, on the bus whose address the environment carries.
struct KioskBus {
    CommandResult operator()(std::vector<std::string> arguments) const;
    // A method or a property of the kiosk's interface: "" when it answered, else its error.
    std::string Call(const std::string& method, const std::string& argument = "") const;
    std::string Set(const std::string& property, const std::string& type,
                    const std::string& value) const;
    // A property's value as busctl prints it: "s \"playing\"\n".
    std::string Get(const std::string& property) const;
    // Whether, within kPatience, the bus answers (with a name: someone owns it) and the State
    // becomes state.
    bool Answers(const std::string& name = "") const;
    bool StateBecomes(const std::string& state) const;

    std::vector<std::string> environment;
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A pixel of our X server, which has 24 bits a pixel: 0xRRGGBB.
inline Rgb RgbOf(unsigned long pixel) {
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
}

std::string ToHex(Rgb color);

// Rendering may round a channel by a step or two; nothing we compare is that close.
inline bool Near(Rgb a, Rgb b, int tolerance = 24) {
    auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
}

// The server paints a page named after a colour in that colour alone: the screen tells the page.
struct NamedColor {
    std::string_view name;
    Rgb rgb;
};

inline constexpr NamedColor kRed{"red", {0xff, 0, 0}}, kGreen{"green", {0, 0xff, 0}},
    kBlue{"blue", {0, 0, 0xff}}, kYellow{"yellow", {0xff, 0xff, 0}}, kCyan{"cyan", {0, 0xff, 0xff}},
    kMagenta{"magenta", {0xff, 0, 0xff}}, kOrange{"orange", {0xff, 0x80, 0}},
    kPurple{"purple", {0x80, 0, 0xff}};
// The program's own page while no page of the show can be loaded.
inline constexpr NamedColor kOffline{"offline", {0x1f, 0x30, 0x40}};
// The program's page for a show that cannot start: a presentation unread, no copy and no answer.
inline constexpr NamedColor kProblem{"problem", {0x5a, 0x1e, 0x1e}};
inline constexpr std::array kPageColors{kRed,  kGreen,   kBlue,   kYellow,
                                        kCyan, kMagenta, kOrange, kPurple};

// Which X server: Xvfb, or Xorg with the dummy video driver (a real Xorg, run as root, for
// what Xvfb lacks, such as power saving).
enum class XServer { Xvfb, XorgDummy };

// The X server on a display number it picks itself; the constructor throws when Xvfb does not
// start, and for Xorg, which a machine may not allow, notes why in StartFailure.
class Xvfb {
  public:
    static constexpr int kWidth = 1024, kHeight = 768;

    explicit Xvfb(XServer server = XServer::Xvfb);
    const std::string& StartFailure() const { return startFailure_; }

    std::string Display() const { return ":" + std::to_string(number_); }
    // This process's environment with DISPLAY naming this server.
    std::vector<std::string> Environment() const;
    void SetRootColor(Rgb color) const;

  private:
    testing::TempFolder folder_;
    std::unique_ptr<Process> process_;
    int number_ = -1;
    std::string startFailure_;
};

struct Point {
    int x = 0, y = 0;
};

struct ColorSample {
    TimePoint time;
    Rgb rgb;
};

// The browser engine starts slowly under software rendering on a small machine.
inline constexpr Millis kStartUp{60000};
inline constexpr Millis kPatience{30000};
// The root window's colour, so that the kiosk window shows when it appears.
inline constexpr Rgb kRoot{0x20, 0x20, 0x20};
inline constexpr Point kCentre{Xvfb::kWidth / 2, Xvfb::kHeight / 2};
// Where the pointer rests when a run begins: inside the kiosk window, away from the centre.
inline constexpr Point kPointerRest{40, 700};
// The tool bars' default pictures: raised squares in a row whose top right corner is at the
// top right of the screen inside each bar's own frame: edges of 3 pixels (Tool Run) or 4 (Tool
// Nav, which can be resized) and a caption bar of 18.
inline constexpr int kButton = 24;
inline constexpr Rgb kFace{0xc0, 0xc0, 0xc0}, kLight{0xff, 0xff, 0xff}, kShade{0, 0, 0};
inline constexpr int kCaptionBar = 18;
inline constexpr Point kToolRunRow{Xvfb::kWidth - 3, 3 + kCaptionBar};
inline constexpr Point kToolNavRow{Xvfb::kWidth - 4, 4 + kCaptionBar};
// Inside Tool Nav's address box, right of the address it shows selected.
inline constexpr Point kAddressBox{kToolNavRow.x - 8, kToolNavRow.y + kButton + 12};

// A private X server, its screen read back and the visitor's hand on it; benchmarks use it too.
class Desk {
  public:
    explicit Desk(XServer server = XServer::Xvfb);
    ~Desk();

    // A row of width pixels from at, read at one moment.
    std::vector<Rgb> Row(Point at, int width) const;
    Rgb Pixel(Point at) const { return Row(at, 1).front(); }
    Rgb Centre() const { return Pixel(kCentre); }
    // The centre pixel, sampled as often as it can for the given time.
    std::vector<ColorSample> RecordColors(Millis duration) const;

    std::optional<TimePoint> WaitForCentre(const std::function<bool(Rgb)>& condition,
                                           Millis timeout) const {
        return WaitUntil([&] { return condition(Centre()); }, timeout, Millis(5));
    }
    std::optional<TimePoint> WaitForColor(Rgb color, Millis timeout) const {
        return WaitForCentre([color](Rgb seen) { return Near(seen, color); }, timeout);
    }
    std::optional<TimePoint> WaitUntilKioskShows() const {
        return WaitForCentre([](Rgb seen) { return !Near(seen, kRoot, 4); }, kStartUp);
    }
    // How the screen differs from a row of count buttons whose top right corner is end; "" if not.
    std::string RowFault(int count, Point end = kToolRunRow) const {
        for (int index = 0; index < count; ++index) {
            const int left = end.x - (count - index) * kButton;
            const Rgb light = Pixel({left, end.y}), face = Pixel({left + 2, end.y + 2});
            const Rgb shade = Pixel({left + kButton - 1, end.y + kButton - 1});
            if (!Near(light, kLight, 8) || !Near(face, kFace, 8) || !Near(shade, kShade, 8))
                return "button " + std::to_string(index) + " at x " + std::to_string(left) + ": " +
                       ToHex(light) + " " + ToHex(face) + " " + ToHex(shade);
        }
        return "";
    }
    // Whether exactly count buttons come to end at end.
    bool WaitForRow(int count, Point end = kToolRunRow) const {
        const auto rowOf = [&] {
            return RowFault(count, end).empty() && !RowFault(count + 1, end).empty();
        };
        return WaitUntil(rowOf, kPatience).has_value();
    }
    // Past the grace after play began, a pointer move brings Tool Nav; false when it never came.
    bool EnterNavigationMode(int buttons = 9) const {
        std::this_thread::sleep_for(Millis(2500));
        MoveTo({600, 450});
        return WaitForRow(buttons, kToolNavRow);
    }

    // The visitor's hand: returns once the event is delivered.
    std::string Xdotool(std::vector<std::string> arguments) const;
    void MoveTo(Point at) const {
        Xdotool({"mousemove", std::to_string(at.x), std::to_string(at.y)});
    }
    void Click(int button = 1) const { Xdotool({"click", std::to_string(button)}); }  // 3: right
    void ClickAt(Point at) const {
        MoveTo(at);
        Click();
    }
    void Key(const std::string& key) const { Xdotool({"key", key}); }  // as xdotool names it
    // Types an address into Tool Nav's address box and goes there, as a visitor does.
    void EnterAddress(const std::string& address) const {
        ClickAt(kAddressBox);
        Key("ctrl+a");
        Xdotool({"type", address});
        Key("Return");
    }
    // The first visible window of that caption once there is one; "" when none came.
    std::string WaitForWindow(const std::string& caption, Millis patience) const {
        std::string found;
        const auto shown = [&] {
            const auto ids = RunCommand({"xdotool", "search", "--onlyvisible", "--name", caption},
                                        xvfb_.Environment());
            found = ids.status == 0 ? ids.output.substr(0, ids.output.find('\n')) : "";
            return !found.empty();
        };
        WaitUntil(shown, patience);
        return found;
    }

    Xvfb xvfb_;

  private:
    ::Display* display_ = nullptr;
};

// The centre pixels of several desks, read in turn as often as they can be for the duration.
std::vector<std::vector<ColorSample>> RecordColors(const std::vector<const Desk*>& desks,
                                                   Millis duration);

// Consecutive samples of one colour: a page's name, or the hex of a colour none has.
struct ColorRun {
    std::string name;
    TimePoint first;
    TimePoint last;
};
std::vector<ColorRun> Runs(const std::vector<ColorSample>& samples);

// The folders of one or more kiosk runs; runs that share them see each other's lock.
class KioskFolders : public testing::TempFolder {
  public:
    KioskFolders();

    std::string TempDir() const { return File("tmp"); }
    std::string HomeDir() const { return File("home"); }
};

// How the kiosk program under test starts: as an operator starts it, but with every folder
// private, in a process group of its own (its browser engine's helpers must go with it).
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
