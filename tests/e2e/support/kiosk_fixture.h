#pragma once
// The fixture of the end-to-end tests: one X server, one page server and the kiosk runs of
// one test, with the kiosks' output printed when the test fails.

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "e2e/support/http_server.h"
#include "e2e/support/kiosk.h"
#include "e2e/support/screen.h"
#include "e2e/support/xvfb.h"

namespace pagelark::e2e {

// The browser engine starts slowly under software rendering on a small machine.
inline constexpr Millis kStartUp{60000};
inline constexpr Millis kPatience{30000};
// The root window's colour, so that the kiosk window shows when it appears.
inline constexpr Rgb kRoot{0x20, 0x20, 0x20};
// Where the pointer rests when a test begins: out of the way of the centre pixel the tests
// read, inside the kiosk window.
inline constexpr Point kPointerRest{40, 700};

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
        for (const auto& request : server_.Requests())
            std::cout << "request " << request.target << "\n";
    }

    // Starts the kiosk on a presentation; "{server}" in the text stands for the server's URL.
    // environment: further NAME=value entries for the kiosk.
    Kiosk& Start(std::string text, std::vector<std::string> environment = {}) {
        for (auto at = text.find("{server}"); at != std::string::npos;
             at = text.find("{server}", at))
            text.replace(at, 8, server_.Url());
        const auto file = folders_.Write("show.tso", text);
        kiosks_.push_back(
            std::make_unique<Kiosk>(xvfb_, folders_, std::vector{file}, std::move(environment)));
        return *kiosks_.back();
    }

    std::optional<TimePoint> WaitUntilKioskShows() {
        return screen_.WaitForCentre([](Rgb seen) { return !Near(seen, kRoot, 4); }, kStartUp);
    }

    // The visitor's hand: returns once the event is delivered, with what xdotool printed.
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

    Xvfb xvfb_;
    HttpServer server_;
    Screen screen_;
    KioskFolders folders_;
    std::vector<std::unique_ptr<Kiosk>> kiosks_;
};

}  // namespace pagelark::e2e
