#include "document/presentation.h"

namespace pagelark {

std::int32_t PageCount(const Presentation& presentation) {
    return static_cast<std::int32_t>(presentation.Pages.size());
}

std::optional<PageEntry> PageAt(const Presentation& presentation, const HelpDocumentList& help,
                                std::int32_t position) {
    if (position == 0) return PageEntry{help[0], 2};
    if (position < 0 || position > PageCount(presentation)) return std::nullopt;
    const PresentationPage& page = presentation.Pages[static_cast<std::size_t>(position - 1)];
    return PageEntry{page.URL, page.Time};
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
    presentation.IsDefaultFile = false;
    presentation.Untitled = true;
    presentation.LoadProblem.clear();
    presentation.DiskBytes.reset();
    presentation.EditorLoaded = false;
    events.RefillEditor();
    presentation.Modified = false;
}

bool IsUntouchedStarter(const Presentation& presentation, const HelpDocumentList& help) {
    if (presentation.StarterFile.empty() || presentation.StarterFile != presentation.CurrentFile)
        return false;
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
