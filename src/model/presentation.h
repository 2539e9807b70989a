#pragma once
// The one open presentation: its pages, include and exclude lists and options.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "help/help_paths.h"

namespace pagelark {

struct PresentationPage {
    std::string URL;
    bool UseDefaultTime = true;
    std::chrono::seconds Time{10};
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
    std::int32_t CurrentPage = 1;
    std::string CurrentFile;
    bool Modified = false;
    bool EditorLoaded = false;
    bool IsDefaultFile = false;
    // The file this run created as the starter, and its bytes as written: the only file the
    // program may remove, and only while it still holds exactly those bytes.
    std::string StarterFile;
    // Why the file could not be taken as a presentation when it was loaded: it is then saved
    // only under a name the operator chooses.
    std::string LoadProblem;
    // Made by New: the name may belong to a file nobody opened here.
    bool Untitled = false;
    // The file's bytes as loaded or last saved; none when there was no file.
    std::optional<std::string> DiskBytes;
    std::string StarterBytes;
};

std::int32_t PageCount(const Presentation& presentation);

struct PageEntry {
    std::string address;
    std::chrono::seconds seconds{0};
    friend bool operator==(const PageEntry&, const PageEntry&) = default;
};

// The page at position (0 is the help index, shown for 2 seconds); none outside the pages.
// snapTiming: a page on the default time plays for 1 second; the model keeps its times.
std::optional<PageEntry> PageAt(const Presentation& presentation, const HelpDocumentList& help,
                                std::int32_t position, bool snapTiming = false);

// Pages and the home page that name the help's pages, moved to the help folder of this run.
void RelocateHelpPages(Presentation& presentation, const std::string& helpFolder);

// The empty presentation of the New command, untitled and not the default file;
// WaitComplete, MaxTime, AllowRestrictions and CurrentFile stay as they were.
void NewPresentation(Presentation& presentation);

// CurrentFile is the starter this run wrote and still holds exactly what was written; its
// file is removed at the end of a run. A save, even of the same pages, makes it the operator's.
bool IsUntouchedStarter(const Presentation& presentation);

// Sets Modified, but only once the editor has been filled from the model.
void MarkModified(Presentation& presentation);

}  // namespace pagelark
