#include "core/command_line.h"

#include <gtest/gtest.h>

#include <map>

#include "core/engine_flags.h"
#include "core/memory_plan.h"
#include "core/on_screen_keyboard.h"

namespace pagelark {
namespace {

constexpr std::string_view kDefault = "/home/k/Documents/Pagelark.TSO";

TEST(CommandLine, NamesTheFileOrTheDefault) {
    const struct {
        std::string line;
        std::string_view file;
    } cases[] = {{"   ", kDefault},
                 {" config ", kDefault},
                 {"\"/srv/My Files/show.TSO\" -x", "/srv/My Files/show.TSO"},
                 {"\"unterminated", "\"unterminated"},
                 // A path the shell split at its blank comes back whole.
                 {JoinArguments({"/srv/My", "Shows/a.tso"}), "/srv/My Shows/a.tso"},
                 {JoinArguments({"/srv/My Shows/a.tso", "-x"}), "/srv/My Shows/a.tso"},
                 // The one string Windows passes: a quoted path is the text between the quotes.
                 {JoinArguments({"\"/srv/My Shows/a b.tso\""}), "/srv/My Shows/a b.tso"},
                 {JoinArguments({"CONFIG "}), kDefault}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseCommandLine(c.line, kDefault), c.file) << c.line;
}

TEST(CommandLine, ConfigurationRequestsOptionsAndWhatTheProgramCannotTake) {
    using enum CommandRequest;
    const struct {
        std::vector<const char*> lines;
        CommandRequest request;
    } cases[] = {
        {{"CONFIG", " config ", "/C", "-c", "/c:1234", "-C:", "/config", "\" CONFIG\""}, Config},
        {{"", "CONFIGURE", "/srv/show.tso", "c", "x /C", "/cdrom/a.tso", "/Cx",
          "\"/srv/My Files/show.TSO\" -x", "/srv/My Shows/a.tso", "/srv/My Shows/a.tso -x",
          "missing.tso extra"},
         Play},
        {{"--help"}, Help},
        {{"--version"}, Version},
        {{"--bogus", "-x", "-Cx", "-", "CONFIG lobby.tso", "/C /srv/show.tso", "/c:1 a",
          "--help me", "--version 2", "\"CONFIG \" a.tso", "/srv/a.tso --bogus", "/srv/a.tso x",
          "missing.tso --bogus", "/srv/My Shows/b.tso -x"},
         Usage},
    };
    // Words that together name nothing, after a first that names something or before an option.
    const auto exists = [](const std::string& path) {
        return path == "/srv/a.tso" || path.starts_with("/srv/My Shows/a.tso");
    };
    for (const auto& c : cases)
        for (const char* line : c.lines)
            EXPECT_EQ(ReadCommandLine(line, exists), c.request) << line;
    // --config FILE comes out whole before Qt reads the rest, a FILE like Qt's options too.
    std::vector<std::string> line{"-platform", "xcb", "--config", "-reverse", "x"};
    EXPECT_EQ(TakeConfigFile(line), "-reverse");
    EXPECT_EQ(line, (std::vector<std::string>{"-platform", "xcb", "x"}));
    EXPECT_EQ(TakeConfigFile(line = {"--config"}), "");
    EXPECT_EQ(TakeConfigFile(line = {"CONFIG", "-config"}), std::nullopt);
    // The line before the usage names the word; after "--" a word is a path.
    EXPECT_EQ(UnexpectedWord({"a.tso", "--bogus"}), "unknown option --bogus");
    EXPECT_EQ(UnexpectedWord({"CONFIG", "lobby.tso"}), "unexpected word lobby.tso");
    TakeEndOfOptions(line = {"--", "-x.tso"});
    EXPECT_EQ(ReadCommandLine(JoinArguments(line)), Play);
    EXPECT_EQ(ParseCommandLine(JoinArguments(line), "d.tso"), "-x.tso");
}

TEST(CommandLine, QtsOwnOptionsAndWhetherThereIsADisplayToOpenAWindowOn) {
    for (const char* option : {"-platform", "--platform=xcb", "-reverse", "--style=fusion"})
        EXPECT_TRUE(IsQtOption(option)) << option;
    for (const char* word : {"--bogus", "-C", "platform", "-platforms", "lobby.tso"})
        EXPECT_FALSE(IsQtOption(word)) << word;
    const struct {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> environment;
        bool window;
    } cases[] = {
        {{}, {}, false},
        {{}, {{"DISPLAY", ":0"}}, true},
        {{}, {{"WAYLAND_DISPLAY", "wayland-1"}}, true},
        {{}, {{"XDG_RUNTIME_DIR", "/run/user/1000"}}, true},  // Wayland's usual socket is there
        {{}, {{"XDG_RUNTIME_DIR", "/run/user/0"}}, false},
        {{}, {{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {{}, {{"QT_QPA_PLATFORM", "wayland;xcb:nograb"}, {"DISPLAY", ":1"}}, true},
        {{"-platform", "offscreen"}, {}, true},
        {{"-display", ":2"}, {}, true},
        {{"--platform=xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}}, false},
        // Named, but nothing answers there, or no plugin has the name.
        {{}, {{"DISPLAY", ":90"}}, false},
        {{"-platform", "xcb", "-display", ":90"}, {{"DISPLAY", ":0"}}, false},
        {{}, {{"XDG_RUNTIME_DIR", "/run/user/1000"}, {"WAYLAND_DISPLAY", "wayland-9"}}, false},
        {{}, {{"QT_QPA_PLATFORM", "bogus"}}, false},
    };
    const DisplayProbes probes{
        [](const std::string& display) { return display != ":90"; },
        [](const std::string& socket) { return socket.ends_with("wayland-0"); },
        [] {
            return std::vector<std::string>{"xcb", "wayland", "offscreen"};
        }};
    const auto in = [](const std::map<std::string, std::string>& environment) {
        return [&environment](const char* name) {
            const auto found = environment.find(name);
            return found == environment.end() ? std::string() : found->second;
        };
    };
    for (const auto& c : cases) {
        const auto variable = in(c.environment);
        const auto exists = [](const std::string& path) {
            return path == "/run/user/1000/wayland-0";
        };
        EXPECT_EQ(WhyNoDisplay(c.arguments, variable, exists, probes).empty(), c.window)
            << JoinArguments(c.arguments) << " " << c.environment.size();
    }
    // The message names the cause: the platform asked for and its missing display; no window.
    const struct {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> environment;
        const char* why;
    } causes[] = {
        {{"-platform", "bogus"}, {}, "no platform named 'bogus' (this machine has: "},
        {{}, {{"QT_QPA_PLATFORM", "wayland"}, {"DISPLAY", ":66"}}, "asks for Wayland, and no "},
        {{}, {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "w"}}, "=xcb asks for X11, and "},
    };
    for (const auto& c : causes) {
        const std::string why = WhyNoDisplay(c.arguments, in(c.environment), {}, probes);
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
}

TEST(EngineFlags, EngineLogsOnlyWhenAskedAndNeverZoomsOrNavigatesOnAPinchOrOverscroll) {
    const struct {
        const char *flags, *rules, *result;
    } cases[] = {
        {"", "", "--log-level=3"},
        {"--disable-gpu", "pagelark.*.debug=true", "--disable-gpu --log-level=3"},
        {"--disable-gpu", "qt.webenginecontext.info=true", "--disable-gpu"},
        {"--log-level=0", "", "--log-level=0"},
        {"--enable-logging=stderr", "", "--enable-logging=stderr"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuietEngineFlags(c.flags, c.rules), c.result) << c.flags << " " << c.rules;
    EXPECT_EQ(KioskEngineFlags("--disable-gpu --disable-pinch"),
              "--disable-gpu --disable-pinch --overscroll-history-navigation=0");
    EXPECT_EQ(
        KioskEngineFlags("--overscroll-history-navigation=1"),
        "--overscroll-history-navigation=1 --disable-pinch --overscroll-history-navigation=0");
}

TEST(EngineFlags, DrawingAndMemoryFlagsFollowTheMachine) {
    const struct {
        bool chose, device;
        const char* flags;
        bool software;
    } cases[] = {{false, false, "", true},
                 {false, true, "", false},
                 {false, true, "--disable-gpu=1", true},
                 {false, true, "--disable-gpu-compositing", false},
                 {true, false, "--disable-gpu", false}};
    for (const auto& c : cases)
        EXPECT_EQ(DrawInSoftware(c.chose, c.device, c.flags), c.software) << c.flags;
    EXPECT_EQ(DrawingEngineFlags("--a", true), "--a --disable-gpu");
    EXPECT_EQ(MemoryEngineFlags("--a", false), "--a");
    EXPECT_EQ(MemoryEngineFlags("--js-flags=--jitless", true),
              "--js-flags=--jitless --enable-low-end-device-mode");
    EXPECT_EQ(MemoryEngineFlags("", true),
              "--enable-low-end-device-mode --js-flags=--optimize-for-size");
}

TEST(EngineFlags, OnlyRootWithTheSandboxOnIsRefusedByTheEngine) {
    EXPECT_TRUE(EngineRefusesUser(true, false, "--disable-gpu --no-sandbox-x", {"a.tso"}));
    EXPECT_FALSE(EngineRefusesUser(true, true, "", {}));
    EXPECT_FALSE(EngineRefusesUser(true, false, "--disable-gpu --no-sandbox", {}));
    EXPECT_FALSE(EngineRefusesUser(true, false, "", {"--no-sandbox", "a.tso"}));
    EXPECT_FALSE(EngineRefusesUser(false, false, "", {}));
}

TEST(EngineFlags, RemoteDebuggingSwitchesAreDropped) {
    std::vector<std::string> arguments{"--remote-debugging-port=9222", "/srv/a.tso",
                                       "-remote-debugging-pipe"};
    EXPECT_TRUE(DropRemoteDebugging(arguments));
    EXPECT_EQ(arguments, std::vector<std::string>{"/srv/a.tso"});
    EXPECT_FALSE(DropRemoteDebugging(arguments));
    std::string flags = "--no-sandbox --remote-debugging-port=1 --enable-logging";
    EXPECT_TRUE(DropRemoteDebugging(flags));
    EXPECT_EQ(flags, "--no-sandbox --enable-logging");
}

TEST(OnScreenKeyboard, SettingOrTouchScreenUnlessTheUserChoseAnInputMethod) {
    const struct {
        bool setting;
        std::optional<std::string> imModule;
        bool plugin, touchScreen, keyboard;
    } cases[] = {
        {true, std::nullopt, true, false, true},  {true, "ibus", true, true, false},
        {true, std::nullopt, false, true, false}, {false, std::nullopt, true, true, true},
        {false, "", true, true, false},           {false, std::nullopt, true, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UseOnScreenKeyboard({c.setting, c.imModule, c.plugin, c.touchScreen}), c.keyboard)
            << &c - cases;
}

constexpr long long kMiB = 1024;

TEST(MemoryPlan, SmallMachinesAndTheSettingGetACeilingOfHalfTheirMemoryWithinBounds) {
    const struct {
        long long availableKiB;
        bool setting;
        MemoryPlan plan;
    } cases[] = {
        {0, false, {}},                                   // unknown: as a large machine
        {2049 * kMiB, false, {}},                         // just above 2 GiB
        {2048 * kMiB, false, {true, 1024 * kMiB}},        // 2 GiB
        {1024 * kMiB, false, {true, 512 * kMiB}},         // a 1 GiB control group
        {300 * kMiB, false, {true, 256 * kMiB}},          // never below the floor
        {24 * (1024 * kMiB), true, {true, 1024 * kMiB}},  // asked for on a large machine
        {0, true, {true, 1024 * kMiB}},
    };
    for (const auto& c : cases) {
        const MemoryPlan plan = PlanMemory(c.availableKiB, c.setting);
        EXPECT_EQ(plan.low, c.plan.low) << c.availableKiB;
        EXPECT_EQ(plan.ceilingKiB, c.plan.ceilingKiB) << c.availableKiB;
    }
    const MemoryPlan plan = PlanMemory(1024 * kMiB, false);
    EXPECT_FALSE(OverCeiling(plan, 512 * kMiB));
    EXPECT_TRUE(OverCeiling(plan, 512 * kMiB + 1));
    EXPECT_FALSE(OverCeiling(MemoryPlan{}, 1LL << 40));
    EXPECT_NE(DescribePlan(plan).find("512 MiB"), std::string::npos);
    EXPECT_EQ(DescribePlan(MemoryPlan{}), "");
}

}  // namespace
}  // namespace pagelark
