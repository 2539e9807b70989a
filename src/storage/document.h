#pragma once
// The file a presentation is edited in: what the configuration window and the File commands
// know of it besides the presentation itself.

#include <optional>
#include <string>

namespace pagelark {

struct Document {
    // Full path of the presentation file.
    std::string CurrentFile;
    bool IsDefaultFile = false;
    // The file this run created as the starter, and its bytes as written: the only file the
    // program may remove, and only while it still holds exactly those bytes.
    std::string StarterFile;
    std::string StarterBytes;
    // Why the file could not be taken as a presentation when it was loaded: it is then saved
    // only under a name the operator chooses.
    std::string LoadProblem;
    // LoadProblem is no fault but plain information (a copy the program keeps): told once, as
    // information, when the window opens, and a save goes to Save As without telling it again.
    bool LoadProblemIsNote = false;
    // Made by New: the name may belong to a file nobody opened here.
    bool Untitled = false;
    // The file's bytes as loaded or last saved; none when there was no file.
    std::optional<std::string> DiskBytes;
    // Changed since the last load or save.
    bool Modified = false;
    // The configuration window has been filled from it.
    bool EditorLoaded = false;
};

// New's document: untitled, not the default file, nothing on disk; CurrentFile is the caller's.
void NewDocument(Document& document);

// CurrentFile is the starter this run wrote and still holds exactly what was written; its
// file is removed at the end of a run. A save, even of the same pages, makes it the operator's.
bool IsUntouchedStarter(const Document& document);

// Sets Modified, but only once the editor has been filled from the document.
void MarkModified(Document& document);

}  // namespace pagelark
