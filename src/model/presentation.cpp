#include "model/presentation.h"

#include <algorithm>

#include "help/help_files.h"
#include "platform/text.h"

namespace pagelark {

std::int32_t PageCount(const Presentation& presentation) {
    return static_cast<std::int32_t>(presentation.Pages.size());
}

std::optional<std::int32_t> ParseZoom(std::string_view text) {
    text = TrimBlanksAndTabs(text);
    if (text.empty() || text.size() > 4 ||
        !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int32_t zoom = 0;
    for (const char c : text)
        zoom = zoom * 10 + (c - '0');
    if (zoom < kLeastZoom || zoom > kMostZoom) return std::nullopt;
    return zoom;
}

std::int32_t ZoomOf(const PresentationPage& page, const Presentation& presentation) {
    return ParseZoom(page.Zoom).value_or(presentation.Zoom);
}

std::optional<PageEntry> PageAt(const Presentation& presentation, const HelpDocumentList& help,
                                std::int32_t position, bool snapTiming) {
    if (position == 0) return PageEntry{help[0], std::chrono::seconds{2}};
    if (position < 0 || position > PageCount(presentation)) return std::nullopt;
    const PresentationPage& page = presentation.Pages[static_cast<std::size_t>(position - 1)];
    const bool onDefault = page.Time == presentation.DefaultTime;
    return PageEntry{page.URL, snapTiming && onDefault ? std::chrono::seconds{1} : page.Time,
                     ZoomOf(page, presentation)};
}

void RelocateHelpPages(Presentation& presentation, const std::string& helpFolder) {
    if (helpFolder.empty()) return;
    presentation.HomeURL = RelocatedHelpPage(presentation.HomeURL, helpFolder);
    for (PresentationPage& page : presentation.Pages)
        page.URL = RelocatedHelpPage(page.URL, helpFolder);
}

void NewPresentation(Presentation& presentation) {
    presentation.Pages.clear();
    presentation.Include.clear();
    presentation.Exclude.clear();
    presentation.HomeURL.clear();
    presentation.AutoHome = false;
    presentation.AutoLoop = true;
    presentation.DefaultTime = std::chrono::seconds{10};
    presentation.FirstPage = 1;
    presentation.IdlePage.clear();
    presentation.Zoom = kPlainZoom;
    presentation.OfflinePage.clear();
}

}  // namespace pagelark
