#pragma once
// The File menu's commands on the document the configuration window edits: New, Open, Save
// and Save As.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "settings/settings.h"
#include "storage/document.h"

namespace pagelark {

struct DocumentContext;

enum class FileCommandId { New = 0, Open = 1, Save = 2, SaveAs = 3 };
enum class Answer { Yes, No, Cancel };

// The files a dialog offers: a name and the patterns the names match.
struct FileFilter {
    std::string_view name;
    std::vector<std::string_view> patterns;
};

inline const FileFilter kPresentationFilter{"Pagelark file", {"*.tso"}};
inline const FileFilter kPictureFilter{"All Picture Files",
                                       {"*.gif", "*.jpg", "*.jpeg", "*.bmp", "*.dib", "*.ico"}};
inline const FileFilter kPageFileFilter{"HTML Files", {"*.htm", "*.html"}};

// The open and save-as dialogs and the questions of the commands; a cancelled dialog
// returns "".
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // Only an existing file may be chosen.
    virtual std::string OpenFileDialog(const std::string& initialFolder,
                                       const std::string& fileName, const FileFilter& filter,
                                       const std::string& title) = 0;
    // Asks before overwriting; defaultExtension is like ".tso".
    virtual std::string SaveFileDialog(const std::string& initialFolder,
                                       const std::string& fileName, const FileFilter& filter,
                                       const std::string& defaultExtension,
                                       const std::string& title) = 0;
    // "Confirm" with Yes, No and Cancel.
    virtual Answer AskSaveChanges(const std::string& text) = 0;
    // The file changed on disk: Yes reloads it, No saves over it, Cancel does neither.
    virtual Answer AskReload(const std::string& text) = 0;
    // "Error" with one OK button.
    virtual void ShowError(const std::string& text) = 0;
    // The product's name as title, an information icon and one OK button.
    virtual void ShowInformation(const std::string& text) = 0;
};

// What the configuration window edits and a save writes together: the presentation with the
// tool bar buttons and the machine settings, and the file it is edited in.
struct EditedDocument {
    Presentation presentation;
    MachineSettings machine;
    ToolbarButtons buttons;
    Document document;
};

struct FileCommandResult {
    bool done = false;    // false: cancelled, refused, or a save failed
    bool refill = false;  // the edited document was replaced: New, Open or a reload
    // A file was saved, even when the settings store then failed: the caller hands the show the
    // saved presentation with the context's buttons and machine settings, now in force.
    bool showSaved = false;
};

// Runs one command on the edited document; the context's buttons and machine settings are the
// ones in force. keep copies the window's fields into the edited document before any save, and
// refuses (false) once it has said why.
// A save writes the file, then the machine settings to the settings store; the context takes
// the file's part once the file is written and the rest once the store is. Each failure is told
// through ShowError with the path or the store and the reason. Nothing here reaches a window or
// the show: the result says what the caller must bring up to date.
FileCommandResult FileCommand(FileCommandId command, EditedDocument& edited,
                              DocumentContext& context, FileDialogs& dialogs,
                              const std::function<bool()>& keep = {});

}  // namespace pagelark
