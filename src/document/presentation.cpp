#include "document/presentation.h"

namespace pagelark {

std::int32_t PageCount(const Presentation& presentation) {
    return static_cast<std::int32_t>(presentation.Pages.size());
}

bool PageAt(const Presentation& presentation, const HelpDocumentList& help, std::int32_t position,
            std::string& address, std::int32_t& seconds) {
    if (position == 0) {
        address = help[0];
        seconds = 2;
        return true;
    }
    if (position < 0 || position > PageCount(presentation)) return false;
    const PresentationPage& page = presentation.Pages[static_cast<std::size_t>(position - 1)];
    address = page.URL;
    seconds = page.Time;
    return true;
}

void NewPresentation(Presentation& presentation, DocumentEvents& events) {
    presentation.Pages.clear();
    presentation.Include.clear();
    presentation.Exclude.clear();
    presentation.HomeURL.clear();
    presentation.AutoHome = false;
    presentation.AutoLoop = true;
    presentation.DefaultTime = 10;
    presentation.CurrentPage = 1;
    presentation.EditorLoaded = false;
    events.RefillEditor();
    presentation.Modified = false;
}

bool IsUntouchedStarter(const Presentation& presentation, const HelpDocumentList& help) {
    if (presentation.HomeURL != help[0] || presentation.Pages.size() >= help.size()) return false;
    for (std::size_t k = 0; k < presentation.Pages.size(); ++k) {
        const PresentationPage& page = presentation.Pages[k];
        if (page.URL != help[k + 1] || !page.UseDefaultTime) return false;
    }
    return true;
}

void MarkModified(Presentation& presentation) {
    if (presentation.EditorLoaded) presentation.Modified = true;
}

}  // namespace pagelark
