#pragma once
// The fixture of the end-to-end tests: one X server, one page server and the kiosk runs of
// one test, with the kiosks' output printed when the test fails.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <iostream>
#include <thread>

#include "e2e/support/harness.h"
#include "e2e/support/http_server.h"

namespace pagelark::e2e {

// The page sections of a presentation: "[Page1]\nURL={server}/red\n"... for the targets in turn;
// further lines of a section follow its target: "/red\nTime=2".
inline std::string Pages(const std::vector<std::string>& targets) {
    std::string text;
    for (std::size_t k = 0; k < targets.size(); ++k)
        text += "[Page" + std::to_string(k + 1) + "]\nURL={server}" + targets[k] + "\n";
    return text;
}

// "HH:MM" of the minute minutes after the one begun, in UTC or local time; at: its start.
inline std::string MinuteAhead(int minutes, bool utc, std::time_t* at = nullptr) {
    const std::time_t start = std::time(nullptr) / 60 * 60 + std::time_t{60} * minutes;
    if (at != nullptr) *at = start;
    std::tm time{};
    utc ? gmtime_r(&start, &time) : localtime_r(&start, &time);
    char text[8];
    std::strftime(text, sizeof text, "%H:%M", &time);
    return text;
}

class KioskTest : public ::testing::Test, public Desk {
  protected:
    KioskTest() = default;
    explicit KioskTest(XServer server) : Desk(server) {}

    void TearDown() override {
        if (!HasFailure()) return;
        // The end of each: a compositor's log of requests is long.
        for (std::size_t i = 0; i < runs_.size(); ++i) {
            const std::string output = runs_[i]->Output();
            std::cout << "--- output of run " << i + 1 << " ---\n"
                      << output.substr(output.size() - std::min<std::size_t>(output.size(), 20000))
                      << "\n";
        }
        for (const auto& exchange : server_.Exchanges())
            std::cout << "request " << exchange.target << " " << exchange.status << "\n";
    }

    // A run of the kiosk, or of a session or compositor with it, stopped at the test's end.
    Process& Keep(const SpawnOptions& options) {
        return *runs_.emplace_back(std::make_unique<Process>(options));
    }
    Process& Run(std::vector<std::string> arguments, std::vector<std::string> environment = {}) {
        return Keep(KioskOptions(xvfb_, folders_, std::move(arguments), std::move(environment)));
    }
    // Starts the kiosk on a presentation; "{server}" in the text stands for the server's URL.
    Process& Start(std::string text, std::vector<std::string> environment = {}) {
        return Run({folders_.Write("show.tso", WithServer(text))}, std::move(environment));
    }
    std::string WithServer(std::string text) const {
        for (auto at = text.find("{server}"); at != std::string::npos; at = text.find("{server}"))
            text.replace(at, 8, server_.Url());
        return text;
    }
    // The machine's settings store: "\"Name\"=\"value\"\n" lines.
    void MachineSettings(const std::string& values) const {
        folders_.Write("registry/machine.reg",
                       "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvaro\\Pagelark]\n" + values);
    }

    // Whether the pixel at shows color within timeout; Shows: once after is over.
    ::testing::AssertionResult Comes(Rgb color, Millis timeout, Point at = kCentre) const {
        if (WaitUntil([&] { return Near(Pixel(at), color); }, timeout, Millis(5)))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << ToHex(Pixel(at)) << " on show at " << at.x << "," << at.y;
    }
    ::testing::AssertionResult Shows(Rgb color, Millis after = Millis(0),
                                     Point at = kCentre) const {
        std::this_thread::sleep_for(after);
        return Comes(color, Millis(0), at);
    }
    static ::testing::AssertionResult Says(const Process& process, const std::string& text,
                                           Millis timeout = kPatience) {
        if (WaitUntil([&] { return process.Output().find(text) != std::string::npos; }, timeout))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "it said:\n" << process.Output();
    }

    static bool OneOf(Rgb seen, std::initializer_list<NamedColor> palette) {
        return std::ranges::any_of(palette, [&](NamedColor c) { return Near(seen, c.rgb); });
    }
    // Whether the centre shows a colour of the palette within timeout.
    bool ComesOneOf(std::initializer_list<NamedColor> palette, Millis timeout) const {
        return WaitForCentre([&](Rgb seen) { return OneOf(seen, palette); }, timeout).has_value();
    }
    // Whether the centre shows another colour than color within timeout.
    bool Leaves(Rgb color, Millis timeout = kPatience) const {
        return WaitForCentre([&](Rgb seen) { return !Near(seen, color); }, timeout).has_value();
    }
    // The first colour on show over duration that is none of the palette's; "" when none came.
    std::string Stray(Millis duration, std::initializer_list<NamedColor> palette) const {
        for (const ColorSample& sample : RecordColors(duration))
            if (!OneOf(sample.rgb, palette)) return ToHex(sample.rgb);
        return "";
    }

    HttpServer server_;
    KioskFolders folders_;
    std::vector<std::unique_ptr<Process>> runs_;
};

}  // namespace pagelark::e2e
