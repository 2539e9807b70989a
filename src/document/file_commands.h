#pragma once
// The File menu's commands on the one presentation: New, Open, Save and Save As.

#include <string>
#include <string_view>

namespace pagelark {

struct DocumentContext;
struct Presentation;

enum class FileCommandId { New = 0, Open = 1, Save = 2, SaveAs = 3 };
enum class Answer { Yes, No, Cancel };

inline constexpr std::string_view kPresentationFilter = "Pagelark file (*.tso)|*.tso";
inline constexpr std::string_view kPictureFilter =
    "All Picture Files|*.gif;*.jpg;*.jpeg;*.bmp;*.dib;*.ico";
inline constexpr std::string_view kPageFileFilter = "HTML Files|*.htm;*.html";

// The open and save-as dialogs and the questions of the commands. Filters are
// "description|patterns" pairs joined by "|"; a cancelled dialog returns "".
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // Only an existing file may be chosen.
    virtual std::string OpenFileDialog(const std::string& initialFolder,
                                       const std::string& fileName, std::string_view filter,
                                       int filterIndex, const std::string& title) = 0;
    // Asks before overwriting; defaultExtension is like ".tso".
    virtual std::string SaveFileDialog(const std::string& initialFolder,
                                       const std::string& fileName, std::string_view filter,
                                       int filterIndex, const std::string& defaultExtension,
                                       const std::string& title) = 0;
    // "Confirm" with Yes, No and Cancel.
    virtual Answer AskSaveChanges(const std::string& text) = 0;
    // "Error" with one OK button.
    virtual void ShowError(const std::string& text) = 0;
};

struct FileCommandResult {
    bool done = false;    // false: cancelled, or a save failed
    std::string caption;  // the window's new caption when done
};

// Runs one command. A failed save keeps the old file and Modified, and reports the path and
// the reason through ShowError.
FileCommandResult FileCommand(FileCommandId command, Presentation& presentation,
                              DocumentContext& context, FileDialogs& dialogs);

}  // namespace pagelark
