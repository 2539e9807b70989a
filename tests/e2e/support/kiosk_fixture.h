#pragma once
// The fixture of the end-to-end tests: one X server, one page server and the kiosk runs of
// one test, with the kiosks' output printed when the test fails.

#include <gtest/gtest.h>

#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "e2e/support/harness.h"
#include "e2e/support/http_server.h"

namespace pagelark::e2e {

// The browser engine starts slowly under software rendering on a small machine.
inline constexpr Millis kStartUp{60000};
inline constexpr Millis kPatience{30000};
// The root window's colour, so that the kiosk window shows when it appears.
inline constexpr Rgb kRoot{0x20, 0x20, 0x20};
// Where the pointer rests when a test begins: out of the way of the centre pixel the tests
// read, inside the kiosk window.
inline constexpr Point kPointerRest{40, 700};
// The tool bars' default pictures are raised squares of this size and face colour, hanging
// from the top right corner.
inline constexpr int kButton = 24;
inline constexpr Rgb kFace{0xc0, 0xc0, 0xc0}, kLight{0xff, 0xff, 0xff}, kShade{0, 0, 0};
// Inside the address box under the buttons of Tool Nav, right of the address it shows
// selected.
inline constexpr Point kAddressBox{1016, 36};

// The page sections of a presentation: "[Page1]\nURL={server}/red\n"... for the targets in turn;
// further lines of a section follow its target: "/red\nTime=2".
inline std::string Pages(const std::vector<std::string>& targets) {
    std::string text;
    for (std::size_t k = 0; k < targets.size(); ++k)
        text += "[Page" + std::to_string(k + 1) + "]\nURL={server}" + targets[k] + "\n";
    return text;
}

class KioskTest : public ::testing::Test {
  protected:
    KioskTest() : screen_(xvfb_) {
        xvfb_.SetRootColor(kRoot);
        MoveTo(kPointerRest);
    }

    void TearDown() override {
        if (!HasFailure()) return;
        for (std::size_t i = 0; i < kiosks_.size(); ++i)
            std::cout << "--- output of kiosk run " << i + 1 << " ---\n"
                      << kiosks_[i]->Output() << "\n";
        for (const auto& target : server_.Requests())
            std::cout << "request " << target << "\n";
    }

    // environment: further NAME=value entries.
    Kiosk& Run(std::vector<std::string> arguments, std::vector<std::string> environment = {}) {
        kiosks_.push_back(
            std::make_unique<Kiosk>(xvfb_, folders_, std::move(arguments), std::move(environment)));
        return *kiosks_.back();
    }
    // Starts the kiosk on a presentation; "{server}" in the text stands for the server's URL.
    Kiosk& Start(std::string text, std::vector<std::string> environment = {}) {
        return Run({folders_.Write("show.tso", WithServer(text))}, std::move(environment));
    }
    std::string WithServer(std::string text) const {
        for (auto at = text.find("{server}"); at != std::string::npos; at = text.find("{server}"))
            text.replace(at, 8, server_.Url());
        return text;
    }

    std::optional<TimePoint> WaitForCentre(const std::function<bool(Rgb)>& condition,
                                           Millis timeout) const {
        return WaitUntil([&] { return condition(screen_.Centre()); }, timeout, Millis(5));
    }
    ::testing::AssertionResult Comes(Rgb color, Millis timeout) const {
        if (screen_.WaitForColor(color, timeout)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the centre shows " << ToHex(screen_.Centre());
    }
    // Whether the centre shows color once after is over.
    ::testing::AssertionResult CentreShows(Rgb color, Millis after = Millis(0)) const {
        std::this_thread::sleep_for(after);
        const Rgb seen = screen_.Centre();
        if (Near(seen, color)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the centre shows " << ToHex(seen);
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
    std::vector<std::string> Windows(const std::string& caption) const {
        const auto found = RunCommand({"xdotool", "search", "--onlyvisible", "--name", caption},
                                      xvfb_.Environment());
        std::istringstream ids(found.status == 0 ? found.output : "");
        return {std::istream_iterator<std::string>(ids), {}};
    }
    // The first of them once there is one; "" when none came.
    std::string WaitForWindow(const std::string& caption, Millis patience) const {
        std::vector<std::string> found;
        WaitUntil([&] { return !(found = Windows(caption)).empty(); }, patience);
        return found.empty() ? "" : found[0];
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

    Xvfb xvfb_;
    HttpServer server_;
    Screen screen_;
    KioskFolders folders_;
    std::vector<std::unique_ptr<Kiosk>> kiosks_;
};

}  // namespace pagelark::e2e
