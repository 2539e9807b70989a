#include "core/locked.h"

#include "core/address_check.h"
#include "model/presentation.h"
#include "platform/text.h"

namespace pagelark {

namespace {

// A page given as a path, as the engine reports it once loaded.
std::string AsReported(const std::string& page) {
    return page.starts_with('/') ? "file://" + page : page;
}

// Query and fragment aside: a local page is the same file whatever follows it.
std::string_view FilePart(std::string_view address) {
    return address.substr(0, address.find_first_of("?#"));
}

bool NamedPage(const Presentation& presentation, const std::string& normalized) {
    const auto same = [&](const std::string& page) {
        return !page.empty() &&
               EqualsNoCase(FilePart(NormalizeAddress(AsReported(page))), FilePart(normalized));
    };
    if (same(presentation.HomeURL) || same(presentation.IdlePage) || same(presentation.OfflinePage))
        return true;
    for (const PresentationPage& page : presentation.Pages) {
        if (same(page.URL)) return true;
    }
    return false;
}

bool Included(const Presentation& presentation, const std::string& normalized) {
    for (const std::string& entry : presentation.Include) {
        if (PrefixMatches(NormalizeAddress(entry), normalized)) return true;
    }
    return false;
}

}  // namespace

bool NavigationOffered(bool locked, const Presentation& presentation) {
    return !locked || !presentation.Include.empty();
}

ToolbarButtons ShownButtons(const ToolbarButtons& records, bool locked, bool navigationOffered) {
    ToolbarButtons shown = records;
    if (!locked) return shown;
    for (ToolbarButton& button : shown.ToolRunButtons)
        button.Visible = false;
    for (std::size_t i = 0; i < kToolNavSlots; ++i) {
        switch (static_cast<ToolNavSlot>(i)) {
            case ToolNavSlot::Back:
            case ToolNavSlot::Forward:
            case ToolNavSlot::Reload:
            case ToolNavSlot::Home:
            case ToolNavSlot::Play:
                shown.ToolNavButtons[i].Visible &= navigationOffered;
                break;
            default:
                shown.ToolNavButtons[i].Visible = false;
        }
    }
    shown.ToolNavUrlVisible &= navigationOffered;
    return shown;
}

bool LockedRefuses(const Presentation& presentation, std::string_view address,
                   std::string_view helpFolder, bool topLevel) {
    const std::string normalized = NormalizeAddress(address);
    if (IsEnginePage(address)) return !Included(presentation, normalized);
    if (!topLevel || !StartsWithNoCase(normalized, "file:")) return false;
    return !Included(presentation, normalized) && !InHelpFolder(normalized, helpFolder) &&
           !NamedPage(presentation, normalized);
}

}  // namespace pagelark
