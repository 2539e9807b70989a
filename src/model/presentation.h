#pragma once
// A presentation: its pages, include and exclude lists and options.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "help/help_paths.h"

namespace pagelark {

// A page's zoom, in percent: none, and the range the engine can lay a page out at.
inline constexpr std::int32_t kPlainZoom = 100;
inline constexpr std::int32_t kLeastZoom = 25;
inline constexpr std::int32_t kMostZoom = 500;

struct PresentationPage {
    std::string URL;
    bool UseDefaultTime = true;
    std::chrono::seconds Time{10};
    // When it is due (model/page_schedule.h), as stored; empty: always.
    std::string Days{};
    std::string From{};
    std::string To{};
    // How it moves on show (model/page_scroll.h), as stored; empty: still.
    std::string Scroll{};
    // Percent the page is laid out at (ZoomOf), as stored; empty: the presentation's Zoom.
    std::string Zoom{};
};

struct Presentation {
    std::vector<PresentationPage> Pages;  // position k is Pages[k - 1]
    std::vector<std::string> Include;
    std::vector<std::string> Exclude;
    std::string HomeURL;
    bool AutoHome = false;
    bool AutoLoop = true;
    std::chrono::seconds DefaultTime{10};
    bool WaitComplete = true;
    std::chrono::seconds MaxTime{300};
    bool AllowRestrictions = true;
    // The page the show starts from ([Tessaro] FirstPage); the player counts on from it.
    std::int32_t FirstPage = 1;
    // Shown while no page is due; empty: a black page of the program's own.
    std::string IdlePage;
    // Shown while no page of the show can be loaded; empty: a calm page of the program's own.
    std::string OfflinePage;
    // The page on show follows the clock, so screens beside each other show the same page.
    bool ClockAligned = false;
    // Percent the pages without a Zoom of their own are laid out at.
    std::int32_t Zoom = kPlainZoom;
};

std::int32_t PageCount(const Presentation& presentation);

// A whole percent the engine can lay a page out at; none for anything else ("125.5", "50%").
std::optional<std::int32_t> ParseZoom(std::string_view text);
// The page's own zoom; none or a bad one: the presentation's.
std::int32_t ZoomOf(const PresentationPage& page, const Presentation& presentation);

struct PageEntry {
    std::string address;
    std::chrono::seconds seconds{0};
    std::int32_t zoom = kPlainZoom;  // percent
    friend bool operator==(const PageEntry&, const PageEntry&) = default;
};

// The page at position (0 is the help index, shown for 2 seconds); none outside the pages.
// snapTiming: a page on the default time plays for 1 second; the model keeps its times.
std::optional<PageEntry> PageAt(const Presentation& presentation, const HelpDocumentList& help,
                                std::int32_t position, bool snapTiming = false);

// Pages and the home page that name the help's pages, moved to the help folder of this run.
void RelocateHelpPages(Presentation& presentation, const std::string& helpFolder);

// The empty presentation of the New command; WaitComplete, MaxTime and AllowRestrictions
// stay as they were.
void NewPresentation(Presentation& presentation);

}  // namespace pagelark
